#include "ui/UIImage.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>

namespace {
QString mg_sResourcePath;
QHash<QString, QPixmap> mg_cache;
}

namespace UIImage {

void setResourcePath(const QString& path)
{
    mg_sResourcePath = path;
    mg_cache.clear();
}

QString resourcePath() { return mg_sResourcePath; }

QPixmap imageNamed(const QString& name)
{
    if (auto it = mg_cache.constFind(name); it != mg_cache.constEnd())
        return *it;

    QPixmap pixmap;
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    if (ratio > 1.0 && name.endsWith(QLatin1String(".png"))) {
        QString hiRes = name;
        hiRes.insert(hiRes.size() - 4, QLatin1String("@2x"));
        if (pixmap.load(mg_sResourcePath + QLatin1Char('/') + hiRes))
            pixmap.setDevicePixelRatio(2.0);
    }
    if (pixmap.isNull())
        pixmap.load(mg_sResourcePath + QLatin1Char('/') + name);
    if (!pixmap.isNull())
        mg_cache.insert(name, pixmap);
    return pixmap;
}

QSize logicalSize(const QPixmap& pixmap)
{
    return (QSizeF(pixmap.size()) / pixmap.devicePixelRatio()).toSize();
}

} // namespace UIImage
