#pragma once

// Diagnostics of the Qt-free layers (the number library's error reports, the
// session file, ...). Nothing here writes to standard output: a message goes
// to the installed sink, and without one it goes to standard error only when
// the environment variable CALCUDEX_DIAGNOSTICS is set (to anything but "" or
// "0"). The window installs a sink that hands every message to a Qt logging
// category named after the message's category ("calcudex.numerics", ...), so
// QT_LOGGING_RULES switches them on; the command line sends them to standard
// error.

// Receives one message without a trailing line break.
using DiagnosticSink = void (*)(const char* pszCategory, const char* pszMessage);

// Installs the sink (nullptr: back to the default) and returns the previous one.
DiagnosticSink SetDiagnosticSink(DiagnosticSink fnSink);

// Formats the message printf-style and hands it to the sink.
void LogDiagnostic(const char* pszCategory, const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));

// The sink that writes "category: message" lines to standard error.
void DiagnosticToStderr(const char* pszCategory, const char* pszMessage);
