#pragma once
// The desktop window around the 320 x 480 screen (UIWindow). Qt widgets have
// no scale of their own, so the screen is embedded in a graphics view and
// drawn through a uniform scale transform: the window can be resized and
// maximised, the screen fills it as far as it fits without distortion and
// stays centred on a dark surround. Widgets paint through the scale, so text
// and vector drawing are rasterised at the real device pixel size, and the
// named images pick the variant drawn for it (UIImage::draw); input, focus,
// tooltips, popups and the screen's own alerts all go through the transform.
//
// Zoom steps (zoomIn, zoomOut, resetZoom; Ctrl+=, Ctrl+-, Ctrl+0) size the
// window to the next scale; the size and the maximised state are saved and
// restored with saveState/restoreState.

#include "ui/UIWindow.h"

#include <QGraphicsView>
#include <QPointer>

class QGraphicsProxyWidget;

class UIWindowHost : public QGraphicsView {
    Q_OBJECT
public:
    // The scales the zoom keys step through; 1 is the phone's size.
    static constexpr qreal kZoomSteps[] = {0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0};

    explicit UIWindowHost(UIWindow* screen);
    ~UIWindowHost() override;

    UIWindow* screenWindow() const { return m_pScreen; }
    // Logical pixels of the window per point of the screen.
    qreal screenScale() const { return m_fScale; }
    // Where the screen lies in the window.
    QRect screenRect() const;

    // The next zoom step up or down from the present scale; the window is
    // resized (leaving the maximised state) so that the screen shows at it.
    void zoomIn();
    void zoomOut();
    void resetZoom();
    void setZoom(qreal zoom);

    // Device pixels per logical pixel a widget of the screen is shown at
    // (the zoom of its host times the device pixel ratio).
    static qreal deviceScaleOf(const QWidget* widget);
    // A picture of a widget painted at that scale, for animations that move
    // pictures of screens.
    static QPixmap grabSharp(QWidget* widget);

    // The window's size, place and maximised state, as saved bytes.
    QByteArray saveState() const;
    bool restoreState(const QByteArray& state);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitScreen();

    QPointer<UIWindow> m_pScreen;
    QGraphicsProxyWidget* m_pProxy = nullptr;
    qreal m_fScale = 1.0;
};
