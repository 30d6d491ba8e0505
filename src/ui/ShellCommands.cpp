#include "ShellCommands.h"

#include <QDir>
#include <QFileInfo>

namespace kestrune::ui {

QStringList QtNameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // Windows separates patterns with ";", Qt with blanks.
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString suffix = QStringLiteral("(%1)").arg(patterns);
        // A description that already shows the patterns, in either spelling, shows them once.
        QString shown = suffix;
        shown.replace(QLatin1Char(' '), QLatin1Char(';'));
        if (description.endsWith(shown)) {
            description.chop(shown.size());
            description = description.trimmed();
        } else if (description.endsWith(suffix)) {
            description.chop(suffix.size());
            description = description.trimmed();
        }
        result.append(description.isEmpty() ? suffix
                                            : QStringLiteral("%1 %2").arg(description, suffix));
    }
    return result;
}

QString HoldOpenShellLine() {
    // The exit status is shown, then one key (not a whole line) closes the window.
    return QStringLiteral(
        "/bin/sh \"$0\"; status=$?; echo; echo \"[exit status $status] Press any key to "
        "close this window.\"; stty -icanon -echo min 1 2>/dev/null; dd bs=1 count=1 "
        ">/dev/null 2>&1; stty icanon echo 2>/dev/null");
}

namespace {

// The switch after which a terminal takes a command and its arguments: most use "-e", some
// read one string after "-e" and take the words after "-x" or "--" instead, some need none.
QString CommandSwitch(const QString& program) {
    const QString name = QFileInfo(program).fileName();
    if (name == QLatin1String("gnome-terminal") || name == QLatin1String("kgx")) {
        return QStringLiteral("--");
    }
    if (name == QLatin1String("xfce4-terminal") || name == QLatin1String("mate-terminal") ||
        name == QLatin1String("terminator")) {
        return QStringLiteral("-x");
    }
    if (name == QLatin1String("kitty") || name == QLatin1String("foot")) {
        return {};
    }
    return QStringLiteral("-e");
}

Command InTerminal(const QString& terminal, const QString& script) {
    Command command{terminal, {}};
    if (const QString flag = CommandSwitch(terminal); !flag.isEmpty()) {
        command.arguments << flag;
    }
    command.arguments << QStringLiteral("/bin/sh") << QStringLiteral("-c") << HoldOpenShellLine()
                      << script;
    return command;
}

}  // namespace

std::optional<Command> TerminalCommand(const QString& script, const QString& terminalVariable,
                                       const ProgramFinder& find) {
    if (QString found = find(QStringLiteral("x-terminal-emulator")); !found.isEmpty()) {
        return InTerminal(found, script);
    }
    if (!terminalVariable.trimmed().isEmpty()) {
        if (QString found = find(terminalVariable.trimmed()); !found.isEmpty()) {
            return InTerminal(found, script);
        }
    }
    static const char* const kCommon[] = {
        "gnome-terminal", "konsole", "xfce4-terminal", "mate-terminal", "terminator", "kgx",
        "alacritty",      "kitty",   "foot",           "xterm",         "urxvt",
    };
    for (const char* name : kCommon) {
        if (QString found = find(QString::fromLatin1(name)); !found.isEmpty()) {
            return InTerminal(found, script);
        }
    }
    return std::nullopt;
}

QString DetachedOutputPath(const QString& script) {
    const QFileInfo info(script);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".out"));
}

QString StripSurroundingQuotes(const QString& parameter) {
    if (parameter.size() >= 2 && parameter.startsWith(QLatin1Char('"')) &&
        parameter.endsWith(QLatin1Char('"'))) {
        return parameter.mid(1, parameter.size() - 2);
    }
    return parameter;
}

}  // namespace kestrune::ui
