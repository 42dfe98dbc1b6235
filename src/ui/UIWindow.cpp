#include "ui/UIWindow.h"

#include "ui/UIStyle.h"

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTime>

namespace {
QPointer<UIWindow> mg_pKeyWindow;
}

UIStatusBar::UIStatusBar(QWidget* parent) : QWidget(parent) {}

void UIStatusBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(20, 20, 22));
    p.setPen(Qt::white);
    p.setFont(UIStyle::systemFont(12, true));
    p.drawText(rect(), Qt::AlignCenter, QTime::currentTime().toString(QStringLiteral("h:mm AP")));
    p.setFont(UIStyle::systemFont(11, true));
    p.drawText(rect().adjusted(6, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Calcudex"));

    // Battery, drawn as a filled cell.
    const QRectF body(width() - 31.5, 5.5, 22, 10);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body, 2, 2);
    p.fillRect(QRectF(body.right() + 1, 8.5, 2, 4), Qt::white);
    p.fillRect(body.adjusted(2, 2, -4, -2), Qt::white);
}

UIWindow::UIWindow(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kScreenWidth, kScreenHeight);
    setAttribute(Qt::WA_QuitOnClose);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    m_pStatusBar = new UIStatusBar(this);
    m_pStatusBar->setGeometry(0, 0, kScreenWidth, UIStyle::kStatusBarHeight);
}

UIWindow::~UIWindow()
{
    if (mg_pKeyWindow == this)
        mg_pKeyWindow = nullptr;
}

UIWindow* UIWindow::keyWindow()
{
    return mg_pKeyWindow;
}

void UIWindow::makeKeyAndVisible()
{
    mg_pKeyWindow = this;
    show();
    if (QGraphicsProxyWidget* proxy = graphicsProxyWidget(); proxy && proxy->scene()) {
        for (QGraphicsView* view : proxy->scene()->views()) {
            view->window()->show();
            view->window()->raise();
            view->window()->activateWindow();
        }
        return;
    }
    raise();
    activateWindow();
}

void UIWindow::setStatusBarHidden(bool hidden)
{
    m_bStatusBarHidden = hidden;
    m_pStatusBar->setVisible(!hidden);
}

QRect UIWindow::applicationFrame() const
{
    const int top = m_bStatusBarHidden ? 0 : UIStyle::kStatusBarHeight;
    return QRect(0, top, width(), height() - top);
}

void UIWindow::resizeEvent(QResizeEvent*)
{
    m_pStatusBar->setGeometry(0, 0, width(), UIStyle::kStatusBarHeight);
}

QWidget* UIOverlayHost()
{
    if (mg_pKeyWindow)
        return mg_pKeyWindow;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget* w : tops)
        if (w->isVisible())
            return w;
    return nullptr;
}
