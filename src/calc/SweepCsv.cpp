#include "calc/SweepCsv.h"

namespace {

std::string CsvField(const std::string& strText)
{
    if (strText.find_first_of(",\"\r\n") == std::string::npos)
        return strText;
    std::string strOut = "\"";
    for (char c : strText) {
        if (c == '"')
            strOut += '"';
        strOut += c;
    }
    return strOut + "\"";
}

// The fields of one line; false for an unclosed quote.
bool SplitCsvLine(const std::string& strLine, std::vector<std::string>& vecFields)
{
    vecFields.assign(1, std::string());
    bool bQuoted = false;
    for (size_t i = 0; i < strLine.size(); ++i) {
        const char c = strLine[i];
        if (bQuoted) {
            if (c == '"' && i + 1 < strLine.size() && strLine[i + 1] == '"')
                vecFields.back() += strLine[++i];
            else if (c == '"')
                bQuoted = false;
            else
                vecFields.back() += c;
        } else if (c == '"') {
            bQuoted = true;
        } else if (c == ',') {
            vecFields.emplace_back();
        } else {
            vecFields.back() += c;
        }
    }
    return !bQuoted;
}

// The lines of a text; a quoted field may hold a line break.
std::vector<std::string> CsvLines(const std::string& strText)
{
    std::vector<std::string> vecLines(1);
    bool bQuoted = false;
    for (char c : strText) {
        if (c == '"')
            bQuoted = !bQuoted;
        if (c == '\n' && !bQuoted) {
            if (!vecLines.back().empty() && vecLines.back().back() == '\r')
                vecLines.back().pop_back();
            vecLines.emplace_back();
        } else {
            vecLines.back() += c;
        }
    }
    if (vecLines.back().empty())
        vecLines.pop_back();
    return vecLines;
}

bool ReadPoint(const std::vector<std::string>& vecFields, SWEEP_POINT& point)
{
    if (vecFields.size() < 2 || vecFields.size() > 3 || !ParseResultNumber(vecFields[0], point.dbX))
        return false;
    if (vecFields[1].empty()) {
        point.strMessage = vecFields.size() == 3 ? vecFields[2] : std::string();
        return true;
    }
    point.strY = vecFields[1];
    point.bValid = ParseResultNumber(point.strY, point.dbY);
    return point.bValid && vecFields.size() == 2;
}

}  // namespace

std::string SweepCsvText(const std::vector<SWEEP_POINT>& vecPoints, const std::string& strXName,
                         const std::string& strYName)
{
    std::string strOut = CsvField(strXName) + "," + CsvField(strYName) + "\n";
    for (const SWEEP_POINT& point : vecPoints) {
        strOut += SweepNumberText(point.dbX) + ",";
        strOut += point.bValid ? point.strY : "," + CsvField(point.strMessage);
        strOut += "\n";
    }
    return strOut;
}

bool ReadSweepCsv(const std::string& strText, std::vector<SWEEP_POINT>& vecPoints, std::string& strXName,
                  std::string& strYName, int* pnBadLine)
{
    vecPoints.clear();
    const std::vector<std::string> vecLines = CsvLines(strText);
    std::vector<std::string> vecFields;
    for (size_t i = 0; i < vecLines.size(); ++i) {
        const bool bHeader = i == 0;
        SWEEP_POINT point;
        const bool bRead = SplitCsvLine(vecLines[i], vecFields) &&
                           (bHeader ? vecFields.size() == 2 : ReadPoint(vecFields, point));
        if (!bRead) {
            if (pnBadLine)
                *pnBadLine = static_cast<int>(i) + 1;
            return false;
        }
        if (bHeader) {
            strXName = vecFields[0];
            strYName = vecFields[1];
        } else {
            vecPoints.push_back(std::move(point));
        }
    }
    if (vecLines.empty() && pnBadLine)
        *pnBadLine = 1;
    return !vecLines.empty();
}
