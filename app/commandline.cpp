#include "app/commandline.h"

#include <QDir>
#include <QFileInfo>

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine result;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded
                   && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            result.action = ShowHelp;
            return result;
        } else if (!optionsEnded
                   && (argument == QLatin1String("--version") || argument == QLatin1String("-v"))) {
            result.action = ShowVersion;
            return result;
        } else if (!optionsEnded && argument.startsWith(QLatin1String("--"))) {
            result.action = Fail;
            result.error = QStringLiteral("unknown option %1").arg(argument);
            return result;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            // Qt's own options; those taking a value swallow the next argument.
            static const QStringList withValue {
                QStringLiteral("-platform"),        QStringLiteral("-platformpluginpath"),
                QStringLiteral("-platformtheme"),   QStringLiteral("-plugin"),
                QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowtitle"),
                QStringLiteral("-qwindowicon"),     QStringLiteral("-style"),
                QStringLiteral("-stylesheet"),      QStringLiteral("-display"),
                QStringLiteral("-geometry")
            };
            if (withValue.contains(argument))
                ++i;
        } else if (result.file.isEmpty()) {
#ifdef Q_OS_WIN
            // "C:\path\plan.mpp" as Explorer and the shell give it; "\" is a plain character
            // in a Linux file name, so only Windows reads it as a separator.
            result.file = QDir::fromNativeSeparators(argument);
#else
            result.file = argument;
#endif
        } else {
            result.action = Fail;
            result.error = QStringLiteral("only one file can be opened");
            return result;
        }
    }
    return result;
}

QString CommandLine::usage(const QString &program)
{
    const QString name
        = program.isEmpty() ? QStringLiteral("tarvik") : QFileInfo(program).fileName();
    return QStringLiteral("Usage: %1 [options] [FILE.mpp]\n"
                          "Tarvik, a viewer for Microsoft Project schedules (.mpp).\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help     Show this help and exit.\n"
                          "  -v, --version  Show the version and exit.\n"
                          "\n"
                          "Arguments:\n"
                          "  FILE.mpp       The schedule to open at start-up.\n")
        .arg(name);
}

QString CommandLine::versionText()
{
    return QStringLiteral("Tarvik %1\n").arg(QStringLiteral(TARVIK_VERSION));
}
