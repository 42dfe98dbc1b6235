#pragma once
// The window's logging categories. Every diagnostic of the program goes
// through one of them and they are all off below warnings unless
// QT_LOGGING_RULES switches them on ("calcudex.*.debug=true"); Qt writes what
// is enabled to standard error, so standard output stays empty.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcScreens)   // "calcudex.screens": screens coming and going
Q_DECLARE_LOGGING_CATEGORY(lcWindow)    // "calcudex.window": window size, zoom, device pixel scale
Q_DECLARE_LOGGING_CATEGORY(lcKeyboard)  // "calcudex.keyboard": shortcuts and typed keys

// Routes the diagnostics of the Qt-free layers (numerics/DiagnosticLog.h) into
// Qt logging categories of the same names, as debug messages.
void UIInstallDiagnosticSink();
