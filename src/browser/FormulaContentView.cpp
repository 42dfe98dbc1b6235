#include "browser/FormulaContentView.h"

#include "ui/GlobalDisplay.h"

#include <QPainter>

namespace {

std::u16string toU16(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

} // namespace

FormulaContentView::FormulaContentView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setProperty("tag", kTag);
}

CharSizeFunction FormulaContentView::charSizeFunction()
{
    return [](char16_t c) {
        const QSizeF s = characterSize(QChar(c));
        return TextCharSize{s.width(), s.height()};
    };
}

QSizeF FormulaContentView::getSize(const QString& text)
{
    const TextCharSize s = measureFormulaText(toU16(text), charSizeFunction());
    return QSizeF(s.width, s.height);
}

QSizeF FormulaContentView::getSize2(const QString& text)
{
    const TextCharSize s = measureFormulaText2(toU16(text), charSizeFunction());
    return QSizeF(s.width, s.height);
}

void FormulaContentView::setContent(const QString& content, const QString& highlight)
{
    if (content.isNull())
        return;
    m_arrHighlightRange.clear();
    m_sContent = content;
    if (!highlight.isEmpty())
        m_arrHighlightRange = findHighlightRanges(toU16(content), toU16(highlight));
    if (!content.isEmpty()) {
        const QSizeF size = getSize(content);
        resize(width(), formulaRowHeight(size.height()));
    }
    update();
}

void FormulaContentView::paintEvent(QPaintEvent*)
{
    if (m_sContent.isEmpty())
        return;
    QPainter p(this);
    p.setFont(g_fontText);
    const std::vector<CharBox> boxes = layoutFormulaText(toU16(m_sContent), m_arrHighlightRange, height(), charSizeFunction());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const CharBox& b = boxes[i];
        const QRectF box(b.x, b.y, b.width, b.height);
        if (b.highlighted)
            p.fillRect(box, g_clrHighlight);
        p.setPen(g_clrText);
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop, QString(m_sContent.at(static_cast<qsizetype>(i))));
    }
}
