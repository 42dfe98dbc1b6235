#pragma once
// The shared display state set at start-up: the colours and the font of the
// list rows and the rendered size of each character of the measuring alphabet.

#include <QColor>
#include <QFont>
#include <QList>
#include <QSizeF>
#include <QString>

extern QColor g_clrText;
extern QColor g_clrHighlight;
extern QColor g_clrBackground;
extern QFont g_fontText;

// The characters whose sizes are measured once at start-up; any other
// character is measured when it is met.
inline constexpr char kMeasuringAlphabet[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -+_&.()'";
inline constexpr int kMeasuringAlphabetLength = sizeof(kMeasuringAlphabet) - 1; // 71

// Entry i is the size of kMeasuringAlphabet[i] in g_fontText.
extern QList<QSizeF> g_arrCharacterSize;

// Sets the colours, g_fontText (bold system font of size 18) and g_arrCharacterSize.
void initDisplayGlobals();

// Size of one character in g_fontText, from the table when it is in the alphabet.
QSizeF characterSize(QChar c);
