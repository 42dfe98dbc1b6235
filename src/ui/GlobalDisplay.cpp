#include "ui/GlobalDisplay.h"

#include "ui/UIStyle.h"

#include <QFontMetricsF>

QColor g_clrText;
QColor g_clrHighlight;
QColor g_clrBackground;
QFont g_fontText;
QList<QSizeF> g_arrCharacterSize;

namespace {

QSizeF measureAlone(QChar c)
{
    const QFontMetricsF fm(g_fontText);
    return QSizeF(fm.horizontalAdvance(c), fm.height());
}

} // namespace

void initDisplayGlobals()
{
    g_clrText = QColor::fromRgbF(0, 0, 0, 1);
    g_clrHighlight = QColor::fromRgbF(1, 184.0f / 255.0f, 0, 1);
    g_clrBackground = QColor::fromRgbF(1, 1, 1, 1);
    g_fontText = UIStyle::systemFont(18, true);

    g_arrCharacterSize.clear();
    for (int i = 0; i < kMeasuringAlphabetLength; ++i)
        g_arrCharacterSize.append(measureAlone(QLatin1Char(kMeasuringAlphabet[i])));
}

QSizeF characterSize(QChar c)
{
    if (c.unicode() < 128 && g_arrCharacterSize.size() == kMeasuringAlphabetLength) {
        for (int i = 0; i < kMeasuringAlphabetLength; ++i)
            if (kMeasuringAlphabet[i] == c.toLatin1())
                return g_arrCharacterSize[i];
    }
    return measureAlone(c);
}
