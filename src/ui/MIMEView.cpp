#include "ui/MIMEView.h"

#include "tex/TexRender.h"

#include <QImage>
#include <QPainter>

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
    tex::TEX_RASTER raster = processBrackets
                                 ? tex::renderExpression(std::string_view(text.constData(), text.size()),
                                                         std::string_view(size.constData(), size.size()))
                                 : tex::renderExpression2(std::string_view(text.constData(), text.size()),
                                                          std::string_view(size.constData(), size.size()));
    if (!raster.empty())
        setRaster(raster.m_nWidth, raster.m_nHeight, std::move(raster.m_vecBits));
    update();
}

QPoint MIMEView::imageOrigin() const
{
    const int y0 = static_cast<int>((height() - m_bmHeight) * 0.5);
    int x0;
    if (m_nAlignment == 0)
        x0 = 10;
    else if (m_nAlignment == 2)
        x0 = static_cast<int>(width() - 2 - m_bmWidth);
    else
        x0 = static_cast<int>((width() - m_bmWidth) * 0.5);
    return QPoint(x0, y0);
}

void MIMEView::paintEvent(QPaintEvent*)
{
    if (m_pData.empty())
        return;
    // The raster's bit order (least significant bit = leftmost pixel) is that
    // of QImage's MonoLSB format, so the rows are used as they are: colour 0
    // is left transparent, colour 1 is ink.
    QImage image(m_pData.data(), m_bmWidth, m_bmHeight, m_bmWidth / 8, QImage::Format_MonoLSB);
    image.setColorTable({qRgba(0, 0, 0, 0), qRgba(0, 0, 0, 255)});
    QPainter p(this);
    p.drawImage(imageOrigin(), image);
}
