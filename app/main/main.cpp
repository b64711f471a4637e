#include "app/commandline.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace {

QStringList rawArguments(int argc, char *argv[])
{
    QStringList arguments;
#ifdef Q_OS_WIN
    // argv holds the arguments in the ANSI code page, which loses the characters of a file
    // name outside it; the wide command line keeps them all.
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    if (wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
    }
#else
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
#endif
    return arguments;
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char *argv[])
{
    // Read before the application object exists: --help and --version need no display.
    const QStringList arguments = rawArguments(argc, argv);
    const CommandLine commandLine = CommandLine::parse(arguments);
    switch (commandLine.action) {
    case CommandLine::ShowHelp:
        print(stdout, CommandLine::usage(arguments.value(0)));
        return 0;
    case CommandLine::ShowVersion:
        print(stdout, CommandLine::versionText());
        return 0;
    case CommandLine::Fail:
        print(stderr, QStringLiteral("tarvik: %1\n").arg(commandLine.error));
        print(stderr, CommandLine::usage(arguments.value(0)));
        return 2;
    case CommandLine::Run:
        break;
    }

#ifdef Q_OS_LINUX
    // Without TZ the C library checks the zone file again on every local time conversion; naming
    // the same file keeps the zone and makes the check happen once. Other systems keep their
    // own zone settings.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
#endif
    QApplication app(argc, argv);
    // No organisation name: the configuration folder is then ~/.config/Tarvik.
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    QApplication::setApplicationVersion(QStringLiteral(TARVIK_VERSION));
    MainWindow window;
    window.show();
    // Queued, so that a message about a bad path appears over the shown window.
    if (!commandLine.file.isEmpty()) {
        const QString file = commandLine.file;
        QTimer::singleShot(0, &window, [&window, file] { window.openProjectFile(file); });
    }
    return app.exec();
}
