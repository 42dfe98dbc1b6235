#pragma once
// Named images from the resource folder ("Formulas.png", "fx0.png", ...).
// The artwork generator paints every image at 1x and again at 2x, 3x and 4x
// ("<name>@2x.png" ...). Screens keep the pixmaps imageNamed() and part() give
// them, and draw them with draw(): a pixmap of a named image (or of a part of
// one) is drawn from the variant painted for the device pixels the painter
// really covers (the window's zoom times the screen's device pixel ratio), so
// artwork stays sharp at every size of the window and under QT_SCALE_FACTOR.

#include <QPixmap>
#include <QString>
#include <QWidget>

class QPainter;

namespace UIImage {

void setResourcePath(const QString& path);
QString resourcePath();

// A null pixmap when the file is missing; sizes are in logical pixels. This
// is the variant for the screen's device pixel ratio, for sizes and for
// drawing where no painter is at hand.
QPixmap imageNamed(const QString& name);
QSize logicalSize(const QPixmap& pixmap);
// The image's size in logical pixels (its 1x size); empty when it is missing.
QSize sizeOfImage(const QString& name);

// A part of an image (a rectangle in logical pixels) as a pixmap of its own
// that draw() still knows as that part of the named image.
QPixmap part(const QPixmap& image, const QRectF& logicalRect);

// Device pixels per logical pixel of what the painter paints on.
qreal deviceScale(const QPainter& painter);
// The named image painted for at least that many device pixels per logical
// pixel (the largest there is when none is).
QPixmap imageForScale(const QString& name, qreal scale);

// Draws a pixmap into `target` (logical pixels). A named image or a part of
// one is drawn from the variant for the painter's device scale; any other
// pixmap as it is, smoothly scaled.
void draw(QPainter& painter, const QRectF& target, const QPixmap& pixmap);
void draw(QPainter& painter, const QRectF& target, const QString& name);

} // namespace UIImage

// A view that shows one image stretched over its bounds, drawn by
// UIImage::draw (in place of a label holding a pixmap, which would scale it
// as a bitmap).
class UIImageView : public QWidget {
    Q_OBJECT
public:
    explicit UIImageView(QWidget* parent = nullptr);
    QPixmap pixmap() const { return m_pixmap; }
    void setPixmap(const QPixmap& pixmap);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap m_pixmap;
};
