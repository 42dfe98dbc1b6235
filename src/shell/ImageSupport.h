#pragma once
// Small image helpers shared by the screens.

#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

// Writes `image` as PNG; creates the parent folders first and replaces the
// file atomically, so a failed write never leaves half an image behind.
bool savePNGImage(const QImage& image, const QString& path);

// A new image cut from `rect` (clipped to the image); null when nothing is left.
QImage createSubImage(const QImage& image, const QRect& rect);

// Fills and strokes in white a rounded rectangle whose corners are arcs of
// `radius`; the outline starts at the middle of the left edge.
void drawRoundRect(QPainter& painter, const QRectF& rect, qreal radius);
