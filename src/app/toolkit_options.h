#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace zv {

// The window toolkit's own command-line options (-platform, -style, ...). The toolkit takes them
// out of the arguments when it starts; the program's own parsing runs before that, so it sets
// them aside itself and lists them for --help-all.

// `arguments` without the toolkit's options and their values.
QStringList WithoutToolkitOptions(const QStringList& arguments);

// The parser's help for `usage` ("zevuvora scan [options]"); with the toolkit's options too when
// `all` (--help-all). Needs no running toolkit.
QString HelpText(const QCommandLineParser& parser, const QString& usage, bool all);

// Tells of bad arguments to `command` ("zevuvora", "zevuvora scan") on standard error, with the
// way to its help; answers the exit status of bad arguments (2).
int UsageError(const char* command, const QString& message);

}  // namespace zv
