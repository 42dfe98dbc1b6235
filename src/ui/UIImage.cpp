#include "ui/UIImage.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <cmath>

namespace {

QString mg_sResourcePath;
QHash<QString, QPixmap> mg_cache;  // by file name, a missing file as a null pixmap

// What a pixmap handed out shows: a named image, or a part of one.
struct IMAGE_ORIGIN {
    QString strName;
    QRectF rcPart;  // logical pixels of the image; null for all of it
};
QHash<qint64, IMAGE_ORIGIN> mg_origins;  // by QPixmap::cacheKey()

// The variants the artwork generator paints.
constexpr int kVariantScales[] = {1, 2, 3, 4};

QString variantName(const QString& name, int scale)
{
    if (scale == 1 || !name.endsWith(QLatin1String(".png")))
        return name;
    QString variant = name;
    variant.insert(variant.size() - 4, QStringLiteral("@%1x").arg(scale));
    return variant;
}

QPixmap loadVariant(const QString& name, int scale)
{
    const QString file = variantName(name, scale);
    if (auto it = mg_cache.constFind(file); it != mg_cache.constEnd())
        return *it;
    QPixmap pixmap;
    if (pixmap.load(mg_sResourcePath + QLatin1Char('/') + file))
        pixmap.setDevicePixelRatio(scale);
    mg_cache.insert(file, pixmap);
    return pixmap;
}

// The smallest variant painted for at least `scale` device pixels per
// logical pixel, else the largest there is.
QPixmap variantFor(const QString& name, qreal scale)
{
    QPixmap best;
    for (int variant : kVariantScales) {
        const QPixmap pixmap = loadVariant(name, variant);
        if (pixmap.isNull())
            continue;
        best = pixmap;
        if (variant + 0.01 >= scale)
            break;
    }
    return best;
}

} // namespace

namespace UIImage {

void setResourcePath(const QString& path)
{
    mg_sResourcePath = path;
    mg_cache.clear();
}

QString resourcePath() { return mg_sResourcePath; }

QPixmap imageNamed(const QString& name)
{
    const QPixmap pixmap = variantFor(name, qApp ? qApp->devicePixelRatio() : 1.0);
    if (!pixmap.isNull())
        mg_origins.insert(pixmap.cacheKey(), IMAGE_ORIGIN{name, QRectF()});
    return pixmap;
}

QPixmap part(const QPixmap& image, const QRectF& logicalRect)
{
    if (image.isNull())
        return QPixmap();
    const qreal ratio = image.devicePixelRatio();
    QPixmap piece = image.copy(QRectF(logicalRect.topLeft() * ratio, logicalRect.size() * ratio).toRect());
    piece.setDevicePixelRatio(ratio);
    if (auto it = mg_origins.constFind(image.cacheKey()); it != mg_origins.constEnd() && it->rcPart.isNull())
        mg_origins.insert(piece.cacheKey(), IMAGE_ORIGIN{it->strName, logicalRect});
    return piece;
}

QPixmap imageForScale(const QString& name, qreal scale)
{
    return variantFor(name, scale);
}

QSize logicalSize(const QPixmap& pixmap)
{
    return (QSizeF(pixmap.size()) / pixmap.devicePixelRatio()).toSize();
}

QSize sizeOfImage(const QString& name)
{
    return logicalSize(loadVariant(name, 1));
}

qreal deviceScale(const QPainter& painter)
{
    // The length a logical unit has on the device, whatever rotates it.
    const QTransform t = painter.deviceTransform();
    return std::max(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
}

void draw(QPainter& painter, const QRectF& target, const QPixmap& pixmap)
{
    if (pixmap.isNull())
        return;
    QPixmap drawn = pixmap;
    QRectF source(pixmap.rect());
    if (auto it = mg_origins.constFind(pixmap.cacheKey()); it != mg_origins.constEnd()) {
        const QPixmap variant = variantFor(it->strName, deviceScale(painter));
        if (!variant.isNull()) {
            const qreal ratio = variant.devicePixelRatio();
            drawn = variant;
            source = it->rcPart.isNull() ? QRectF(variant.rect())
                                         : QRectF(it->rcPart.topLeft() * ratio, it->rcPart.size() * ratio);
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, drawn, source);
    painter.restore();
}

void draw(QPainter& painter, const QRectF& target, const QString& name)
{
    draw(painter, target, imageNamed(name));
}

} // namespace UIImage

UIImageView::UIImageView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void UIImageView::setPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    update();
}

void UIImageView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    UIImage::draw(p, QRectF(rect()), m_pixmap);
}
