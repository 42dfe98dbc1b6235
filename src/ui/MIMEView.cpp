#include "ui/MIMEView.h"

#include <QImage>
#include <QPainter>
#include <QTransform>
#include <cmath>

namespace {

qreal mg_dZoom = 1;

// Colour table of a coverage image: black at the coverage's opacity.
const QList<QRgb>& InkTable()
{
    static const QList<QRgb> table = [] {
        QList<QRgb> colours;
        for (int i = 0; i < 256; ++i)
            colours << qRgba(0, 0, 0, i);
        return colours;
    }();
    return table;
}

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace

MIMEView::MIMEView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAttribute(Qt::WA_TranslucentBackground);
}

MIMEView::~MIMEView() = default;

void MIMEView::setAlignment(int alignment)
{
    m_nAlignment = alignment;
    update();
}

void MIMEView::releaseData()
{
    m_pData.clear();
    m_pData.shrink_to_fit();
    m_bmWidth = 0;
    m_bmHeight = 0;
    m_nBaseline = 0;
    m_nOriginX = 0;
    m_arrUnknown.clear();
    m_bHasText = false;
    m_grayRaster.clear();
}

bool MIMEView::setRaster(int width, int height, std::vector<std::uint8_t> data)
{
    releaseData();
    if (width <= 0 || height <= 0 || width % 8 != 0
        || data.size() != static_cast<std::size_t>(width / 8) * static_cast<std::size_t>(height)) {
        update();
        return false;
    }
    m_pData = std::move(data);
    m_bmWidth = width;
    m_bmHeight = height;
    update();
    return true;
}

void MIMEView::renderExpression(const QString& expression, const QString& sizeCommand)
{
    render(expression, sizeCommand, true);
}

void MIMEView::renderExpression2(const QString& expression, const QString& sizeCommand)
{
    render(expression, sizeCommand, false);
}

void MIMEView::render(const QString& expression, const QString& sizeCommand, bool processBrackets)
{
    // The previous image always goes first, so a failed render leaves the view empty.
    releaseData();
    const QByteArray text = expression.toUtf8();
    const QByteArray size = sizeCommand.toUtf8();
    tex::TEX_RASTER raster = processBrackets ? tex::renderExpression(View(text), View(size))
                                             : tex::renderExpression2(View(text), View(size));
    if (!raster.empty() && setRaster(raster.m_nWidth, raster.m_nHeight, std::move(raster.m_vecBits))) {
        m_nBaseline = raster.m_nBaseline;
        m_nOriginX = raster.m_nOriginX;
        for (const std::string& name : raster.m_vecUnknown)
            m_arrUnknown << QString::fromStdString(name);
        m_strExpression = expression;
        m_strSizeCommand = sizeCommand;
        m_bProcessBrackets = processBrackets;
        m_bHasText = true;
    }
    update();
}

QString MIMEView::unknownCommandsMessage() const
{
    QStringList lines;
    for (const QString& name : m_arrUnknown)
        lines << QStringLiteral("Unknown TeX command: %1").arg(name);
    return lines.join(QLatin1Char('\n'));
}

void MIMEView::setZoom(qreal zoom)
{
    if (zoom > 0)
        mg_dZoom = zoom;
}

qreal MIMEView::zoom()
{
    return mg_dZoom;
}

QPoint MIMEView::imageOrigin() const
{
    const qreal viewWidth = width() / mg_dZoom;
    const qreal viewHeight = height() / mg_dZoom;
    const int y0 = static_cast<int>((viewHeight - m_bmHeight) * 0.5);
    int x0;
    if (m_nAlignment == 0)
        x0 = 10;
    else if (m_nAlignment == 2)
        x0 = static_cast<int>(viewWidth - 2 - m_bmWidth);
    else
        x0 = static_cast<int>((viewWidth - m_bmWidth) * 0.5);
    return QPoint(x0, y0);
}

void MIMEView::paintEvent(QPaintEvent*)
{
    if (m_pData.empty())
        return;
    QPainter p(this);
    p.scale(mg_dZoom, mg_dZoom);
    const QPoint origin = imageOrigin();
    // Device pixels per logical pixel: the screen's ratio, any scaling of
    // the painter (a zoomed or transformed window) and the zoom.
    const QTransform device = p.deviceTransform();
    const qreal scale = std::hypot(device.m11(), device.m12());
    if (std::abs(scale - 1.0) < 1e-3 || !paintCoverage(p, origin, scale))
        paintBits(p, origin);
}

void MIMEView::paintBits(QPainter& p, QPoint origin) const
{
    // The raster's bit order (least significant bit = leftmost pixel) is that
    // of QImage's MonoLSB format, so the rows are used as they are: colour 0
    // is left transparent, colour 1 is ink.
    QImage image(m_pData.data(), m_bmWidth, m_bmHeight, m_bmWidth / 8, QImage::Format_MonoLSB);
    image.setColorTable({qRgba(0, 0, 0, 0), qRgba(0, 0, 0, 255)});
    p.drawImage(origin, image);
}

bool MIMEView::paintCoverage(QPainter& p, QPoint origin, qreal scale)
{
    const tex::TEX_GRAY_RASTER* gray = coverageAt(scale);
    bool invertible = false;
    const QTransform device = p.deviceTransform();
    const QTransform logical = device.inverted(&invertible);
    if (!gray || !invertible)
        return false;
    QImage image(gray->m_vecCoverage.data(), gray->m_nWidth, gray->m_nHeight, gray->m_nWidth,
                 QImage::Format_Indexed8);
    image.setColorTable(InkTable());
    image.setDevicePixelRatio(scale);
    // The formula's left edge and baseline fall where the one-bit image has
    // them, rounded to whole device pixels so that no pixel is resampled.
    const QPointF anchor = device.map(QPointF(origin.x() + m_nOriginX, origin.y() + m_nBaseline + 1));
    const QPointF topLeft(std::round(anchor.x()) - gray->m_nOriginX, std::round(anchor.y()) - (gray->m_nBaseline + 1));
    p.drawImage(logical.map(topLeft), image);
    return true;
}

const tex::TEX_GRAY_RASTER* MIMEView::coverageAt(qreal scale)
{
    if (!m_bHasText)
        return nullptr;
    if (m_grayRaster.empty() || std::abs(m_grayRaster.m_dScale - scale) > 1e-3) {
        const QByteArray text = m_strExpression.toUtf8();
        const QByteArray size = m_strSizeCommand.toUtf8();
        m_grayRaster = tex::renderExpressionGray(View(text), View(size), scale, m_bProcessBrackets);
    }
    return m_grayRaster.empty() ? nullptr : &m_grayRaster;
}
