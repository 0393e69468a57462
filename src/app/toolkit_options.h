#pragma once

#include <QString>
#include <QStringList>

class QCommandLineOption;
class QCommandLineParser;

namespace zv {

// The window toolkit's own command-line options (-platform, -style, ...). The toolkit takes them
// out of the arguments when it starts; the program's own parsing runs before that, so it sets
// them aside itself and lists them for --help-all.

// `arguments` without the toolkit's options and their values.
QStringList WithoutToolkitOptions(const QStringList& arguments);

// Prints the parser's help for `usage` ("zevuvora scan [options]") on standard output when the
// arguments ask for it: --help, or --help-all with the toolkit's options too. True when it did.
// Needs no running toolkit.
bool PrintHelpIfAsked(const QCommandLineParser& parser, const QCommandLineOption& help,
                      const QString& usage);

// Tells of bad arguments to `command` ("zevuvora", "zevuvora scan") on standard error, with the
// way to its help; answers the exit status of bad arguments (2).
int UsageError(const char* command, const QString& message);

}  // namespace zv
