#include "app/commandline.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace {

QStringList rawArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
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
