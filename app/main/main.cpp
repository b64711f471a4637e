#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // No organisation name: the configuration folder is then ~/.config/Tarvik.
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    QApplication::setApplicationVersion(QStringLiteral("1.3.6.0"));
    MainWindow window;
    window.show();
    return app.exec();
}
