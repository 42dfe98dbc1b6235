#pragma once
// A search field with a magnifier, a clear button and an optional Cancel
// button. textDidChange follows the user's edits (not text set from code),
// searchButtonClicked the Return key, arrowDown the Down key in the field.

#include <QWidget>
#include <functional>

class QLineEdit;
class UIBarButton;
class UIBarButtonItem;

class UISearchBar : public QWidget {
    Q_OBJECT
public:
    explicit UISearchBar(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QString placeholder() const;
    void setPlaceholder(const QString& placeholder);
    void setShowsCancelButton(bool shows);
    bool showsCancelButton() const { return m_bShowsCancel; }
    void setAutocorrectionEnabled(bool) {}  // desktop fields do no autocorrection
    void setAutocapitalizationEnabled(bool) {}
    void resignFirstResponder();
    bool isFirstResponder() const;
    QLineEdit* textField() const { return m_pField; }
    UIBarButton* cancelButton() const { return m_pCancelButton; }

    std::function<void(const QString&)> onTextDidChange;
    std::function<void()> onSearchButtonClicked;
    std::function<void()> onCancelButtonClicked;
    std::function<void()> onArrowDown;

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void layoutContents();
    QLineEdit* m_pField;
    UIBarButtonItem* m_pCancelItem;
    UIBarButton* m_pCancelButton;
    bool m_bShowsCancel = false;
};
