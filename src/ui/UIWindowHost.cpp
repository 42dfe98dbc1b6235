#include "ui/UIWindowHost.h"

#include "ui/UILogging.h"
#include "ui/UIWindow.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

// The window's size for a zoom: the screen's points times the zoom.
QSize windowSizeFor(qreal zoom)
{
    return QSize(qRound(UIWindow::kScreenWidth * zoom), qRound(UIWindow::kScreenHeight * zoom));
}

} // namespace

UIWindowHost::UIWindowHost(UIWindow* screen) : m_pScreen(screen)
{
    setWindowTitle(screen->windowTitle());
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackgroundBrush(QColor(28, 28, 30));
    setAlignment(Qt::AlignCenter);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    // The screen repaints only what changed; the view follows.
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    setAttribute(Qt::WA_QuitOnClose);

    auto* scene = new QGraphicsScene(this);
    scene->setSceneRect(0, 0, UIWindow::kScreenWidth, UIWindow::kScreenHeight);
    m_pProxy = scene->addWidget(screen);
    setScene(scene);
    setMinimumSize(windowSizeFor(kZoomSteps[0]));
    resize(windowSizeFor(1.0));
    fitScreen();
}

UIWindowHost::~UIWindowHost()
{
    // The screen belongs to its owner, not to the scene.
    if (m_pProxy && m_pScreen)
        m_pProxy->setWidget(nullptr);
}

QRect UIWindowHost::screenRect() const
{
    const QPoint topLeft = mapFromScene(QPointF(0, 0));
    const QPoint bottomRight = mapFromScene(QPointF(UIWindow::kScreenWidth, UIWindow::kScreenHeight));
    return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

void UIWindowHost::fitScreen()
{
    const QSize size = viewport()->size();
    m_fScale = std::max(0.1, std::min(size.width() / qreal(UIWindow::kScreenWidth),
                                      size.height() / qreal(UIWindow::kScreenHeight)));
    setTransform(QTransform::fromScale(m_fScale, m_fScale));
    centerOn(UIWindow::kScreenWidth / 2.0, UIWindow::kScreenHeight / 2.0);
    qCDebug(lcWindow) << "window" << size << "screen scale" << m_fScale << "device pixel ratio" << devicePixelRatioF();
}

void UIWindowHost::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    fitScreen();
}

void UIWindowHost::setZoom(qreal zoom)
{
    if (isMaximized() || isFullScreen())
        showNormal();
    QSize size = windowSizeFor(zoom);
    // Never larger than the desktop offers.
    if (QScreen* screen = this->screen()) {
        const QSize room = screen->availableGeometry().size();
        if (size.width() > room.width() || size.height() > room.height())
            size = windowSizeFor(std::min(room.width() / qreal(UIWindow::kScreenWidth),
                                          room.height() / qreal(UIWindow::kScreenHeight)));
    }
    resize(size.expandedTo(minimumSize()));
}

void UIWindowHost::zoomIn()
{
    for (qreal step : kZoomSteps) {
        if (step > m_fScale + 0.01) {
            setZoom(step);
            return;
        }
    }
}

void UIWindowHost::zoomOut()
{
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
        if (*it < m_fScale - 0.01) {
            setZoom(*it);
            return;
        }
    }
}

void UIWindowHost::resetZoom()
{
    setZoom(1.0);
}

qreal UIWindowHost::deviceScaleOf(const QWidget* widget)
{
    const QWidget* top = widget ? widget->window() : nullptr;
    QGraphicsProxyWidget* proxy = top ? top->graphicsProxyWidget() : nullptr;
    if (!proxy || !proxy->scene() || proxy->scene()->views().isEmpty())
        return widget ? widget->devicePixelRatioF() : 1.0;
    QGraphicsView* view = proxy->scene()->views().first();
    return view->transform().m11() * view->devicePixelRatioF();
}

QPixmap UIWindowHost::grabSharp(QWidget* widget)
{
    const qreal scale = deviceScaleOf(widget);
    QPixmap pixmap(widget->size() * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    widget->render(&pixmap);
    return pixmap;
}

QByteArray UIWindowHost::saveState() const
{
    return saveGeometry();
}

bool UIWindowHost::restoreState(const QByteArray& state)
{
    return !state.isEmpty() && restoreGeometry(state);
}
