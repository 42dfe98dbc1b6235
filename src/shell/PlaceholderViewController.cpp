#include "shell/PlaceholderViewController.h"

#include "ui/UIStyle.h"
#include "ui/UIView.h"

#include <QLabel>

PlaceholderViewController::PlaceholderViewController(const QString& title, const QString& imageName, int tag, QObject* parent)
    : UIViewController(parent)
{
    setTitle(title);
    tabBarItem() = UITabBarItem{title, imageName, tag};
}

void PlaceholderViewController::loadView()
{
    auto* view = new UIView(UIStyle::groupBackgroundColor());
    auto* label = new QLabel(title(), view);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(UIStyle::systemFont(22, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, UIStyle::secondaryTextColor());
    label->setPalette(palette);
    view->onLayout = [label](UIView* v) { label->setGeometry(v->rect()); };
    setView(view);
}
