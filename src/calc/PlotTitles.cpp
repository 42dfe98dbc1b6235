#include "calc/PlotTitles.h"

#include "calc/CalculationProcedure.h"
#include "tex/TexParser.h"

#include <QStringList>

namespace {

using namespace tex;

constexpr char32_t kRing = 0x2218;    // what the parser makes of ^o and ^\circ
constexpr char32_t kDegree = 0x00B0;

// The parser maps letters to the math alphabets' own code points (italic v is
// U+1D463); a title shows the plain letter, in italics when it was italic.
char32_t PlainLetter(char32_t cp, bool& bItalic)
{
    bItalic = false;
    if (cp == 0x210E) {  // italic h sits among the letterlike symbols
        bItalic = true;
        return U'h';
    }
    if (cp >= 0x1D400 && cp < 0x1D6A4) {
        // 13 Latin alphabets of 52 letters: bold, italic, bold italic, script, ...
        const unsigned nAlphabet = (cp - 0x1D400) / 52;
        const unsigned nLetter = (cp - 0x1D400) % 52;
        bItalic = nAlphabet == 1 || nAlphabet == 2 || nAlphabet == 10 || nAlphabet == 11;
        return nLetter < 26 ? U'A' + nLetter : U'a' + (nLetter - 26);
    }
    if (cp >= 0x1D6A8 && cp < 0x1D7CA) {
        // 5 Greek alphabets of 58: capitals (with the capital theta symbol
        // where the Greek block has its gap), nabla, small letters, partial,
        // and the six variant forms.
        const unsigned nAlphabet = (cp - 0x1D6A8) / 58;
        const unsigned n = (cp - 0x1D6A8) % 58;
        bItalic = nAlphabet == 1 || nAlphabet == 2 || nAlphabet == 4;
        static const char32_t kVariants[] = {0x2202, 0x03F5, 0x03D1, 0x03F0, 0x03D5, 0x03F1, 0x03D6};
        if (n < 17)
            return 0x0391 + n;
        if (n == 17)
            return 0x03F4;
        if (n < 25)
            return 0x03A3 + (n - 18);
        if (n == 25)
            return 0x2207;
        if (n < 51)
            return 0x03B1 + (n - 26);
        return kVariants[n - 51];
    }
    if (cp >= 0x1D7CE && cp <= 0x1D7FF)
        return U'0' + (cp - 0x1D7CE) % 10;
    return cp;
}

QString Character(char32_t cp)
{
    return QString::fromUcs4(&cp, 1);
}

// Scripts of plain text in Unicode's superscript and subscript digits where
// every character has one, else after ^ or _.
QString PlainScript(const QString& strText, bool bSup)
{
    static const QString kDigitsSup = QStringLiteral("⁰¹²³⁴⁵⁶⁷⁸⁹");
    static const QString kDigitsSub = QStringLiteral("₀₁₂₃₄₅₆₇₈₉");
    QString strOut;
    for (QChar c : strText) {
        if (c.isDigit() && c.unicode() < 128)
            strOut += (bSup ? kDigitsSup : kDigitsSub)[c.unicode() - '0'];
        else if (c == QLatin1Char('-') || c == QChar(0x2212))  // the parser's minus sign
            strOut += bSup ? QChar(0x207B) : QChar(0x208B);
        else
            return (bSup ? QStringLiteral("^") : QStringLiteral("_")) + strText;
    }
    return strOut;
}

class TitleWriter {
public:
    explicit TitleWriter(bool bHtml) : m_bHtml(bHtml) {}

    QString List(const TexList& list)
    {
        QString strOut;
        for (const TexNode& node : list)
            strOut += Node(node);
        return strOut;
    }

private:
    QString Text(const QString& strText) const { return m_bHtml ? strText.toHtmlEscaped() : strText; }

    QString Glyph(char32_t cp) const
    {
        bool bItalic = false;
        const QString strChar = Text(Character(PlainLetter(cp, bItalic)));
        return bItalic && m_bHtml ? QStringLiteral("<i>") + strChar + QStringLiteral("</i>") : strChar;
    }

    // A fraction's part keeps its meaning on one line: m/(s K).
    QString Bracketed(const TexList& list)
    {
        const QString strText = List(list);
        return list.size() > 1 ? QStringLiteral("(") + strText + QStringLiteral(")") : strText;
    }

    QString Body(const TexNode& node)
    {
        if (const auto* p = node.as<TEX_CHAR>())
            return Glyph(p->m_nCodepoint);
        if (const auto* p = node.as<TEX_TEXT>())
            return Text(QString::fromStdString(p->m_strText));
        if (const auto* p = node.as<TEX_WORD>())
            return Text(QString::fromStdString(p->m_strText));
        if (const auto* p = node.as<TEX_FRAC>())
            return Bracketed(p->m_listNumerator) + QStringLiteral("/") + Bracketed(p->m_listDenominator);
        if (const auto* p = node.as<TEX_RADICAL>())
            return QStringLiteral("√") + Bracketed(p->m_listRadicand);
        if (const auto* p = node.as<TEX_LEFTRIGHT>()) {
            QString strOut = p->m_nLeft ? Text(Character(p->m_nLeft)) : QString();
            for (size_t i = 0; i < p->m_vecSegments.size(); ++i) {
                if (i > 0 && i - 1 < p->m_vecMiddle.size() && p->m_vecMiddle[i - 1])
                    strOut += Text(Character(p->m_vecMiddle[i - 1]));
                strOut += List(p->m_vecSegments[i]);
            }
            return strOut + (p->m_nRight ? Text(Character(p->m_nRight)) : QString());
        }
        if (const auto* p = node.as<TEX_BIGDELIM>())
            return Text(Character(p->m_nCodepoint));
        if (const auto* p = node.as<TEX_ACCENT>())
            return List(p->m_listBase) + Character(p->m_nCodepoint);
        if (const auto* p = node.as<TEX_SPACE>())
            return p->m_width.m_dAmount > 0 ? QStringLiteral(" ") : QString();
        if (node.as<TEX_NEWLINE>())
            return QStringLiteral(" ");
        if (const auto* p = node.as<TEX_ARRAY>()) {
            QStringList vecCells;
            for (const std::vector<TexList>& row : p->m_vecRows)
                for (const TexList& cell : row)
                    vecCells << List(cell);
            return vecCells.join(QLatin1Char(' '));
        }
        if (const auto* p = node.as<TEX_STACK>())
            return List(p->m_listBase);
        if (const auto* p = node.as<TEX_UNKNOWN>())
            return Text(QString::fromStdString(p->m_strSource));
        // Groups, boxes, bars and the rest show their body.
        return List(BodyOf(node));
    }

    static const TexList& BodyOf(const TexNode& node)
    {
        static const TexList kEmpty;
        if (const auto* p = node.as<TEX_GROUP>())
            return p->m_listBody;
        if (const auto* p = node.as<TEX_PHANTOM>())
            return p->m_bInk ? p->m_listBody : kEmpty;
        if (const auto* p = node.as<TEX_BAR>())
            return p->m_listBody;
        if (const auto* p = node.as<TEX_FRAME>())
            return p->m_listBody;
        if (const auto* p = node.as<TEX_RAISE>())
            return p->m_listBody;
        if (const auto* p = node.as<TEX_LAP>())
            return p->m_listBody;
        if (const auto* p = node.as<TEX_VCENTER>())
            return p->m_listBody;
        if (const auto* p = node.as<TEX_NOT>())
            return p->m_listBody;
        if (const auto* p = node.as<TEX_CHOICE>())
            return p->m_arrBranches[1];
        return kEmpty;
    }

    QString Script(const TexList& list, bool bSup)
    {
        if (bSup && list.size() == 1 && list[0].as<TEX_CHAR>() && list[0].as<TEX_CHAR>()->m_nCodepoint == kRing)
            return Character(kDegree);
        if (!m_bHtml)
            return PlainScript(List(list), bSup);
        return (bSup ? QStringLiteral("<sup>") : QStringLiteral("<sub>")) + List(list) +
               (bSup ? QStringLiteral("</sup>") : QStringLiteral("</sub>"));
    }

    QString Node(const TexNode& node)
    {
        QString strOut = Body(node);
        if (node.m_bHasSub)
            strOut += Script(node.m_listSub, false);
        if (node.m_bHasSup)
            strOut += Script(node.m_listSup, true);
        return strOut;
    }

    bool m_bHtml;
};

}  // namespace

QString TexTitleText(const std::string& strTex, bool bHtml)
{
    TexList list;
    if (!tex::ParseTex(strTex, list))
        return bHtml ? QString::fromStdString(strTex).toHtmlEscaped() : QString::fromStdString(strTex);
    return TitleWriter(bHtml).List(list).simplified();
}

QString UnitTitleText(const std::string& strUnit, bool bHtml)
{
    if (strUnit.empty() || strUnit == "1")
        return {};
    // "^0" selects degree mode as "^o" does; the parser would write a zero.
    if (IsDegreeUnit(strUnit))
        return Character(kDegree);
    return TexTitleText(strUnit, bHtml);
}

QString AxisTitleHtml(const std::string& strDescription, const std::string& strSymbol, const std::string& strUnit)
{
    QStringList vecParts;
    if (!strDescription.empty())
        vecParts << QString::fromStdString(strDescription).toHtmlEscaped();
    if (!strSymbol.empty())
        vecParts << TexTitleText(strSymbol);
    const QString strUnitText = UnitTitleText(strUnit);
    if (!strUnitText.isEmpty())
        vecParts << QStringLiteral("(") + strUnitText + QStringLiteral(")");
    return vecParts.join(QLatin1Char(' '));
}

QString AxisTitleHtml(const _tag_formula_parameter& param)
{
    return AxisTitleHtml(param.m_strDescription, param.m_strName, param.m_strUnit);
}

QString ParameterChoiceText(const _tag_formula_parameter& param)
{
    const QString strSymbol = TexTitleText(param.m_strName, false);
    const QString strDescription = QString::fromStdString(param.m_strDescription);
    if (strSymbol.isEmpty())
        return strDescription.isEmpty() ? QString::fromStdString(param.m_strAlias) : strDescription;
    return strDescription.isEmpty() ? strSymbol : strSymbol + QStringLiteral("  ") + strDescription;
}
