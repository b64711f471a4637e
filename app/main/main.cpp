#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
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
    QApplication::setApplicationVersion(QStringLiteral("1.3.6.0"));
    MainWindow window;
    window.show();
    return app.exec();
}
