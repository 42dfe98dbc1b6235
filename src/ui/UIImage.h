#pragma once
// Named images from the resource folder ("Formulas.png", "fx0.png", ...).
// Every image exists at 1x and, as "<name>@2x.png", at 2x; the 2x file is
// preferred on screens that scale, so icons stay sharp under QT_SCALE_FACTOR=2.

#include <QPixmap>
#include <QString>

namespace UIImage {

void setResourcePath(const QString& path);
QString resourcePath();

// A null pixmap when the file is missing; sizes are in logical pixels.
QPixmap imageNamed(const QString& name);
QSize logicalSize(const QPixmap& pixmap);

} // namespace UIImage
