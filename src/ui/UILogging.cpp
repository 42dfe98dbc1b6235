#include "ui/UILogging.h"

#include "numerics/DiagnosticLog.h"

#include <map>
#include <memory>
#include <string>

Q_LOGGING_CATEGORY(lcScreens, "calcudex.screens", QtWarningMsg)
Q_LOGGING_CATEGORY(lcWindow, "calcudex.window", QtWarningMsg)
Q_LOGGING_CATEGORY(lcKeyboard, "calcudex.keyboard", QtWarningMsg)

namespace {

// A category keeps a pointer to its name: both live in the map for the
// rest of the process.
const QLoggingCategory& categoryNamed(const char* pszName)
{
    static std::map<std::string, std::unique_ptr<QLoggingCategory>> s_categories;
    auto it = s_categories.find(pszName);
    if (it == s_categories.end()) {
        it = s_categories.emplace(pszName, nullptr).first;
        it->second = std::make_unique<QLoggingCategory>(it->first.c_str(), QtWarningMsg);
    }
    return *it->second;
}

void forwardToQt(const char* pszCategory, const char* pszMessage)
{
    const QLoggingCategory& category = categoryNamed(pszCategory);
    if (category.isDebugEnabled())
        QMessageLogger(nullptr, 0, nullptr, category.categoryName()).debug().noquote() << pszMessage;
}

} // namespace

void UIInstallDiagnosticSink()
{
    SetDiagnosticSink(forwardToQt);
}
