// The command line of the tarvik program: an optional project file and the two informational
// options. Read from the raw argument list so that --help and --version work without a display.
#pragma once

#include <QString>
#include <QStringList>

class CommandLine
{
public:
    enum Action { Run, ShowHelp, ShowVersion, Fail };

    // `arguments` includes the program name first, as argv does. Single-dash options are left
    // to Qt (-platform, -style, ...), so only --help/-h, --version/-v and the file are read here.
    static CommandLine parse(const QStringList &arguments);
    static QString usage(const QString &program);
    static QString versionText();

    Action action = Run;
    QString file; // empty when none was given
    QString error; // for Fail: what was wrong
};
