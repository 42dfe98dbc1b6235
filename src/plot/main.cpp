// calcudex-plot: draws the chart of a sweep into a PNG without a display,
// with the same chart the plot page shows. calcudex-cli runs it for
// `calc --sweep … --plot OUT.png` and writes the sweep's CSV to its standard
// input; the CSV can also come from a file.
//
//   calcudex-plot --output OUT.png [--size WxH] [--title TEXT]
//                 [--x-description TEXT] [--x-symbol TEX] [--x-unit TEX]
//                 [--y-description TEXT] [--y-symbol TEX] [--y-unit TEX]
//                 [--log-x] [--log-y] [--mark X,Y] [CSV-FILE]
//
// Exit status: 0 drawn, 1 the CSV or the PNG could not be read or written,
// 2 bad arguments.
#include <QApplication>
#include <QFile>
#include <QChart>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <map>
#include <string>

#include "calc/FormulaChartView.h"
#include "calc/SweepCsv.h"

namespace {

constexpr const char* kUsage =
    "usage: calcudex-plot --output OUT.png [--size WxH] [--title TEXT] [--x-description TEXT] [--x-symbol TEX]\n"
    "                     [--x-unit TEX] [--y-description TEXT] [--y-symbol TEX] [--y-unit TEX]\n"
    "                     [--log-x] [--log-y] [--mark X,Y] [CSV-FILE]\n";

// The offscreen platform's notes (no window manager, no runtime folder) are
// not the user's business; real failures still come through.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& strMessage)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "calcudex-plot: %s\n", qPrintable(strMessage));
}

int Usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

struct PLOT_ARGS {
    std::map<std::string, std::string> mapValues;  // "--x-unit" -> "\text{m}"
    bool bLogX = false;
    bool bLogY = false;
    std::string strCsvFile;
};

bool ReadArgs(int argc, char** argv, PLOT_ARGS& args)
{
    static const char* const kValued[] = {"--output", "--size", "--title", "--x-description", "--x-symbol",
                                          "--x-unit", "--y-description", "--y-symbol", "--y-unit", "--mark"};
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        if (strArg == "--log-x") {
            args.bLogX = true;
        } else if (strArg == "--log-y") {
            args.bLogY = true;
        } else if (std::find(std::begin(kValued), std::end(kValued), strArg) != std::end(kValued)) {
            if (i + 1 >= argc)
                return false;
            args.mapValues[strArg] = argv[++i];
        } else if (strArg.rfind("--", 0) == 0 || !args.strCsvFile.empty()) {
            return false;
        } else {
            args.strCsvFile = strArg;
        }
    }
    return args.mapValues.count("--output") != 0;
}

bool ReadCsvText(const std::string& strFile, std::string& strText)
{
    if (strFile.empty()) {
        strText.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    QFile file(QString::fromStdString(strFile));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    strText = file.readAll().toStdString();
    return true;
}

PLOT_AXIS Axis(const PLOT_ARGS& args, const std::string& strAxis, bool bLog)
{
    auto value = [&](const char* pszKey) {
        const auto it = args.mapValues.find("--" + strAxis + "-" + pszKey);
        return it == args.mapValues.end() ? std::string() : it->second;
    };
    return PLOT_AXIS{value("description"), value("symbol"), value("unit"), bLog};
}

}  // namespace

int main(int argc, char** argv)
{
    PLOT_ARGS args;
    if (!ReadArgs(argc, argv, args))
        return Usage();
    int nWidth = 640;
    int nHeight = 480;
    if (args.mapValues.count("--size") &&
        (std::sscanf(args.mapValues["--size"].c_str(), "%dx%d", &nWidth, &nHeight) != 2 || nWidth < 100 ||
         nHeight < 100 || nWidth > 8000 || nHeight > 8000))
        return Usage();
    double dbMarkX = 0.0;
    double dbMarkY = 0.0;
    const std::string strMark = args.mapValues["--mark"];
    const size_t nComma = strMark.find(',');
    const bool bMark = !strMark.empty();
    if (bMark && (nComma == std::string::npos || !ParseResultNumber(strMark.substr(0, nComma), dbMarkX) ||
                  !ParseResultNumber(strMark.substr(nComma + 1), dbMarkY)))
        return Usage();

    std::string strText;
    std::vector<SWEEP_POINT> vecPoints;
    std::string strXName;
    std::string strYName;
    int nBadLine = 0;
    if (!ReadCsvText(args.strCsvFile, strText)) {
        std::fprintf(stderr, "calcudex-plot: cannot read %s\n", args.strCsvFile.c_str());
        return 1;
    }
    if (!ReadSweepCsv(strText, vecPoints, strXName, strYName, &nBadLine) || vecPoints.empty()) {
        std::fprintf(stderr, "calcudex-plot: line %d of the CSV is no point of a sweep\n", std::max(nBadLine, 1));
        return 1;
    }

    // Drawn without a display unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);

    PLOT_AXIS x = Axis(args, "x", args.bLogX);
    PLOT_AXIS y = Axis(args, "y", args.bLogY);
    // Without names the CSV header's aliases title the axes.
    if (x.strDescription.empty() && x.strSymbol.empty())
        x.strSymbol = strXName;
    if (y.strDescription.empty() && y.strSymbol.empty())
        y.strSymbol = strYName;
    const auto [itMin, itMax] = std::minmax_element(
        vecPoints.begin(), vecPoints.end(), [](const SWEEP_POINT& a, const SWEEP_POINT& b) { return a.dbX < b.dbX; });

    if (args.bLogX && itMin->dbX <= 0) {
        std::fprintf(stderr, "calcudex-plot: %s\n", SWEEP_MSG_LOG_RANGE);
        return 1;
    }

    FormulaChartView view;
    view.resize(nWidth, nHeight);
    if (args.mapValues.count("--title"))
        view.chart()->setTitle(QString::fromStdString(args.mapValues["--title"]).toHtmlEscaped());
    if (bMark)
        view.setCurrentPoint(QPointF(dbMarkX, dbMarkY));
    view.setPlot(x, y, itMin->dbX, itMax->dbX, vecPoints);
    view.show();
    QApplication::processEvents();

    const QString strOutput = QString::fromStdString(args.mapValues["--output"]);
    if (!view.grab().save(strOutput, "PNG")) {
        std::fprintf(stderr, "calcudex-plot: cannot write %s\n", qPrintable(strOutput));
        return 1;
    }
    return 0;
}
