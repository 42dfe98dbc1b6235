#pragma once
// Small controls of the formula wizard's pages: text fields that hand Return
// to the page instead of inserting a line break, the framed text field whose
// background is painted from three images, a rounded frame, an on/off switch
// and the small "Delete" button of the image list.

#include <QAbstractButton>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>

// A one-line field without a frame of its own (its container draws one).
class UIFormLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit UIFormLineEdit(QWidget* parent = nullptr);

    std::function<void()> onReturn;
    std::function<void()> onFocusIn;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

// A text area: Return and Enter are not inserted but handed to onReturn;
// pasted line breaks become blanks. With ignoresFirstReturn the first Return
// after the area took the focus does nothing at all.
class UIFormTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit UIFormTextView(QWidget* parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString& text);
    void setIgnoresFirstReturn(bool ignores) { m_bIgnoresFirstReturn = ignores; }

    std::function<void()> onReturn;
    std::function<void()> onFocusIn;
    std::function<void()> onTextChanged;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool m_bIgnoresFirstReturn = false;
    bool m_bReturnSeen = false;
};

// The field of the Step 1 name and description and of the Step 2 TeX: its
// background is "EditBkgr_Top.png" at the top, "EditBkgr_Bottom.png" at the
// bottom, each at its own height, and "EditBkgr_Body.png" stretched between
// them, all over the full width. It holds a line or an area.
class UIxTextField : public QWidget {
    Q_OBJECT
public:
    UIxTextField(const QRect& frame, bool multiLine, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    UIFormLineEdit* lineEdit() const { return m_pLineEdit; }
    UIFormTextView* textView() const { return m_pTextView; }
    // The widget that takes the typing.
    QWidget* editor() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QPixmap m_pixTop;
    QPixmap m_pixBody;
    QPixmap m_pixBottom;
    UIFormLineEdit* m_pLineEdit = nullptr;
    UIFormTextView* m_pTextView = nullptr;
};

// A white rounded rectangle with a thin grey border, behind a field or a preview.
class UIRoundRectView : public QWidget {
    Q_OBJECT
public:
    explicit UIRoundRectView(const QRect& frame, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

// An on/off switch; a tap flips it and calls onValueChanged.
class UISwitch : public QAbstractButton {
    Q_OBJECT
public:
    explicit UISwitch(const QPoint& origin, QWidget* parent = nullptr);

    bool isOn() const { return isChecked(); }
    void setOn(bool on) { setChecked(on); }
    QSize sizeHint() const override { return QSize(51, 31); }

    std::function<void(UISwitch*)> onValueChanged;

protected:
    void paintEvent(QPaintEvent*) override;
};

// The red "Delete" button at the end of an image row.
class UIDeleteButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit UIDeleteButton(QWidget* parent = nullptr);
    QSize sizeHint() const override { return QSize(64, 28); }

protected:
    void paintEvent(QPaintEvent*) override;
};

// The wizard's text styles.
namespace WizardStyle {
QFont titleFont();       // "Step 1"
QFont labelFont();       // field captions
QFont fieldFont();       // typed text
QFont hintFont();        // examples and notes
QColor labelColor();
QColor hintColor();
}

// A button drawn from two named images: one at rest, one while pressed.
class UIImageButton : public QAbstractButton {
    Q_OBJECT
public:
    UIImageButton(const QRect& frame, const QString& normalImage, const QString& highlightedImage,
                  QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap m_pixNormal;
    QPixmap m_pixHighlighted;
};
