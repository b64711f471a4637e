// Renders one SVG icon source to a PNG of the given size. Used by render.sh only; the build
// compiles the committed PNGs into the program and never runs this.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: svgtopng <in.svg> <out.png> <size>\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid())
        return 1;
    const int size = args.at(3).toInt();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.save(args.at(2), "PNG") ? 0 : 1;
}
