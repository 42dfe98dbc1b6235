#include "shell/ImageSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

bool savePNGImage(const QImage& image, const QString& path)
{
    if (image.isNull() || path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QImage createSubImage(const QImage& image, const QRect& rect)
{
    const QRect clipped = rect.intersected(image.rect());
    if (clipped.isEmpty())
        return QImage();
    return image.copy(clipped);
}

void drawRoundRect(QPainter& painter, const QRectF& rect, qreal radius)
{
    const qreal r = std::min({radius, rect.width() / 2, rect.height() / 2});
    QPainterPath path;
    path.moveTo(rect.left(), rect.center().y());
    path.arcTo(QRectF(rect.left(), rect.top(), 2 * r, 2 * r), 180, -90);
    path.arcTo(QRectF(rect.right() - 2 * r, rect.top(), 2 * r, 2 * r), 90, -90);
    path.arcTo(QRectF(rect.right() - 2 * r, rect.bottom() - 2 * r, 2 * r, 2 * r), 0, -90);
    path.arcTo(QRectF(rect.left(), rect.bottom() - 2 * r, 2 * r, 2 * r), 270, -90);
    path.closeSubpath();
    painter.save();
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawPath(path);
    painter.restore();
}
