#pragma once
// How the desktop side starts files and shows dialog filters, as plain functions so the choices
// can be checked without starting anything.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kestrune::ui {

// "Preset Files (*.zrp)|*.zrp|All Files (*.*)|*.*" as Qt's name filters: each description
// followed by its patterns in parentheses, unless it already ends with them.
QStringList QtNameFilters(const QString& filter);

// A program and its arguments.
struct Command {
    QString program;
    QStringList arguments;
    friend bool operator==(const Command&, const Command&) = default;
};

// Finds a program on the search path; the empty text when there is none.
using ProgramFinder = std::function<QString(const QString& name)>;

// The terminal emulator that shows a running script: the system's x-terminal-emulator, else
// $TERMINAL, else the first common one found. Nothing when there is none.
std::optional<Command> TerminalCommand(const QString& script, const QString& terminalVariable,
                                       const ProgramFinder& find);

// The shell line a terminal runs: the script with /bin/sh, then a prompt that keeps the window
// open until a key is pressed.
QString HoldOpenShellLine();

// Where a script started without a terminal writes its output: beside the script.
QString DetachedOutputPath(const QString& script);

// The parameter the core passes to the log viewer with its surrounding double quotes removed.
QString StripSurroundingQuotes(const QString& parameter);

}  // namespace kestrune::ui
