#pragma once
// A bar of buttons, in the default (light) or black style. Items of a fixed
// width are spread evenly across the bar; flexible spaces take what is left.

#include <QList>
#include <QPointer>
#include <QWidget>

class UIBarButtonItem;
class UIBarButton;

class UIToolbar : public QWidget {
    Q_OBJECT
public:
    enum BarStyle { Default, Black };

    explicit UIToolbar(QWidget* parent = nullptr);
    void setBarStyle(BarStyle style);
    void setItems(const QList<UIBarButtonItem*>& items);
    QList<UIBarButton*> buttons() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void layoutItems();
    BarStyle m_nStyle = Default;
    QList<QPointer<UIBarButtonItem>> m_vecItems;
    QList<UIBarButton*> m_vecButtons; // null for flexible spaces
};
