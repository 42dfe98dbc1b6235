#pragma once
// A button of a navigation bar or toolbar: a title or an image, a style and an
// action. The bars build a UIBarButton widget for each item and keep it in step
// with the item's title and enabled state.

#include <QAbstractButton>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class UIBarButtonItem : public QObject {
    Q_OBJECT
public:
    enum Style { Plain, Bordered, Done };

    UIBarButtonItem(const QString& title, Style style, std::function<void()> action, QObject* parent = nullptr);
    // An image item, "CalcToDetail.png" and the like; the name is looked up with UIImage.
    static UIBarButtonItem* withImage(const QString& imageName, Style style, std::function<void()> action, QObject* parent = nullptr);
    // Flexible space between toolbar items.
    static UIBarButtonItem* flexibleSpace(QObject* parent = nullptr);

    QString title() const { return m_strTitle; }
    void setTitle(const QString& title);
    QString imageName() const { return m_strImage; }
    void setImageName(const QString& name);
    Style style() const { return m_nStyle; }
    bool isEnabled() const { return m_bEnabled; }
    void setEnabled(bool enabled);
    int width() const { return m_nWidth; } // 0: sized to the content
    void setWidth(int width);
    bool isFlexibleSpace() const { return m_bFlexible; }

    void trigger();

signals:
    void changed();

private:
    QString m_strTitle;
    QString m_strImage;
    Style m_nStyle;
    bool m_bEnabled = true;
    int m_nWidth = 0;
    bool m_bFlexible = false;
    std::function<void()> m_action;
};

// The widget that shows one item. `onDark` draws for the black toolbar style;
// `back` draws the navigation bar's back button with its chevron.
class UIBarButton : public QAbstractButton {
    Q_OBJECT
public:
    UIBarButton(UIBarButtonItem* item, bool onDark, bool back, QWidget* parent);
    UIBarButtonItem* item() const { return m_pItem; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    // Tab reaches the button; Enter or Space taps it.
    void keyPressEvent(QKeyEvent*) override;

private:
    void sync();
    QPointer<UIBarButtonItem> m_pItem;
    bool m_bOnDark;
    bool m_bBack;
};
