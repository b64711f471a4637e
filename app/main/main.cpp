#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    QApplication::setApplicationVersion(QStringLiteral("1.3.6.0"));
    return 0;
}
