#include "gantt/ryganttviewbarstyle.h"
#include "gantt/ryganttviewdelegate.h"
#include "gantt/ryitempainter.h"
#include "tests/support/warningguard.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// Shapes drawn at size 11, one text row per pixel row ('#' = pen colour).
const QMap<int, QStringList> ExpectedShapes {
    { RyItemPainter::Square,
      { "...........", ".#########.", ".#########.", ".#########.", ".#########.", ".#########.",
        ".#########.", ".#########.", ".#########.", ".#########.", "..........." } },
    { RyItemPainter::Diamond,
      { ".....#.....", "....###....", "...#####...", "..#######..", ".#########.", "###########",
        ".#########.", "..#######..", "...#####...", "....###....", ".....#....." } },
    { RyItemPainter::SouthPenta,
      { "###########", "###########", "###########", "###########", "###########", "###########",
        ".#########.", "..#######..", "...#####...", "....###....", ".....#....." } },
    { RyItemPainter::NorthPenta,
      { ".....#.....", "....###....", "...#####...", "..#######..", ".#########.", "###########",
        "###########", "###########", "###########", "###########", "###########" } },
    { RyItemPainter::WestPenta,
      { ".....######", "....#######", "...########", "..#########", ".##########", "###########",
        ".##########", "..#########", "...########", "....#######", ".....######" } },
    { RyItemPainter::EastPenta,
      { "######.....", "#######....", "########...", "#########..", "##########.", "###########",
        "##########.", "#########..", "########...", "#######....", "######....." } },
    { RyItemPainter::NorthCone,
      { ".....#.....", "....###....", "....###....", "...#####...", "...#####...", "..#######..",
        "..#######..", ".#########.", ".#########.", "###########", "###########" } },
    { RyItemPainter::SouthCone,
      { "###########", ".#########.", ".#########.", "..#######..", "..#######..", "...#####...",
        "...#####...", "....###....", "....###....", ".....#.....", ".....#....." } },
    { RyItemPainter::EastCone,
      { "#..........", "###........", "#####......", "#######....", "#########..", "###########",
        "#########..", "#######....", "#####......", "###........", "#.........." } },
    { RyItemPainter::WestCone,
      { ".........##", ".......####", ".....######", "...########", ".##########", "###########",
        ".##########", "...########", ".....######", ".......####", ".........##" } },
};

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

// The image as text rows, cut out at `box`.
QStringList pattern(const QImage &image, const QRect &box)
{
    QStringList rows;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        QString row;
        for (int x = box.left(); x <= box.right(); ++x)
            row += image.pixelColor(x, y) == QColor(Qt::white) ? QLatin1Char('.')
                                                               : QLatin1Char('#');
        rows << row;
    }
    return rows;
}

bool isBlank(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                return false;
    return true;
}

QStyleOptionViewItem barOption(const QRect &rect)
{
    QStyleOptionViewItem option;
    option.rect = rect;
    option.palette.setColor(QPalette::WindowText, Qt::black);
    return option;
}

} // namespace

class TestRyItemPainter : public QObject
{
    Q_OBJECT
private slots:
    void shapeCode_data();
    void shapeCode();
    void shapes_data();
    void shapes();
    void circleOutline();
    void unknownShapeDrawsNothing();
    void innerBar();
    void innerBarWarnsOnEmptyBrush();
    void milestoneDiamondCentredOnStart();
    void invalidStartColourDrawsNoMarker();
    void endMarkerAtBarEnd();
    void criticalStyleIsRedTask();
    void labels_data();
    void labels();
    void labelTextsAreTheTables_data();
    void labelTextsAreTheTables();
};

void TestRyItemPainter::shapeCode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    const char *names[]
        = { "Circle",    "Square",    "Diamond",   "SouthPenta", "NorthPenta", "WestPenta",
            "EastPenta", "NorthCone", "SouthCone", "EastCone",   "WestCone" };
    for (int i = 0; i < 11; ++i)
        QTest::newRow(names[i]) << QString::fromLatin1(names[i]) << i + 1;
    QTest::newRow("<None>") << "<None>" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("case matters") << "diamond" << 0;
    QTest::newRow("unknown") << "Star" << 0;
}

void TestRyItemPainter::shapeCode()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    QCOMPARE(RyItemPainter::shapeCode(name), code);
}

void TestRyItemPainter::shapes_data()
{
    QTest::addColumn<int>("code");
    for (auto it = ExpectedShapes.cbegin(); it != ExpectedShapes.cend(); ++it)
        QTest::newRow(qPrintable(QString::number(it.key()))) << it.key();
}

void TestRyItemPainter::shapes()
{
    QFETCH(int, code);
    QImage image = blankImage(21, 21);
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::red); // shapes use the pen only
        RyItemPainter().drawShape(&painter, QRect(5, 4, 11, 11), code, 11);
    }
    QCOMPARE(pattern(image, QRect(5, 4, 11, 11)), ExpectedShapes.value(code));
    // Nothing outside the box.
    QCOMPARE(pattern(image, QRect(0, 0, 21, 4)).join(QString()).count(QLatin1Char('#')), 0);
    QCOMPARE(pattern(image, QRect(0, 15, 21, 6)).join(QString()).count(QLatin1Char('#')), 0);
    QCOMPARE(pattern(image, QRect(0, 0, 5, 21)).join(QString()).count(QLatin1Char('#')), 0);
    QCOMPARE(pattern(image, QRect(16, 0, 5, 21)).join(QString()).count(QLatin1Char('#')), 0);
}

void TestRyItemPainter::circleOutline()
{
    QImage image = blankImage(21, 21);
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::red);
        RyItemPainter().drawShape(&painter, QRect(5, 4, 11, 11), RyItemPainter::Circle, 11);
    }
    const QStringList rows = pattern(image, QRect(5, 4, 11, 11));
    // An outline around the centre (10, 9): drawn at the four extremes, empty inside, no fill.
    QCOMPARE(rows.at(5).at(5), QLatin1Char('.'));
    QCOMPARE(rows.at(0).at(5), QLatin1Char('#'));
    QCOMPARE(rows.at(10).at(5), QLatin1Char('#'));
    QCOMPARE(rows.at(5).at(0), QLatin1Char('#'));
    QCOMPARE(rows.at(5).at(10), QLatin1Char('#'));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QVERIFY(image.pixelColor(x, y) != QColor(Qt::red));
}

void TestRyItemPainter::unknownShapeDrawsNothing()
{
    QImage image = blankImage(21, 21);
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        RyItemPainter().drawShape(&painter, QRect(5, 4, 11, 11), 0, 11);
        RyItemPainter().drawShape(&painter, QRect(5, 4, 11, 11), 12, 11);
    }
    QVERIFY(isBlank(image));
}

void TestRyItemPainter::innerBar()
{
    QImage image = blankImage(40, 22);
    {
        QPainter painter(&image);
        RyItemPainter().drawInnerBar(&painter, QRect(5, 0, 20, 22), QBrush(Qt::blue), 11, 6);
        RyItemPainter().drawInnerBar(&painter, QRect(30, 0, 5, 22), QBrush(Qt::blue), 0, 6);
    }
    QCOMPARE(image.pixelColor(5, 6), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(24, 16), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
    QCOMPARE(image.pixelColor(5, 17), QColor(Qt::white));
    QCOMPARE(image.pixelColor(25, 10), QColor(Qt::white));
    QCOMPARE(image.pixelColor(32, 10), QColor(Qt::white)); // height 0: nothing
}

void TestRyItemPainter::innerBarWarnsOnEmptyBrush()
{
    QImage image = blankImage(40, 22);
    QPainter painter(&image);
    QTest::ignoreMessage(QtWarningMsg, "Invalid brush assigned in drawInnerBar");
    RyItemPainter().drawInnerBar(&painter, QRect(5, 0, 20, 22), QBrush(), 11, 6);
    // No warning for an empty body.
    WarningGuard guard;
    RyItemPainter().drawInnerBar(&painter, QRect(5, 0, 20, 22), QBrush(), 0, 6);
    QVERIFY2(guard.warnings().isEmpty(), guard.report());
}

void TestRyItemPainter::milestoneDiamondCentredOnStart()
{
    RyGanttViewDelegate delegate;
    delegate.setBarStyles(RyGanttViewBarStyle::defaultStyles());
    QImage image = blankImage(200, 22);
    {
        QPainter painter(&image);
        delegate.paintBar(&painter, barOption(QRect(100, 0, 32, 22)), QModelIndex(), 1);
    }
    const QStringList rows = pattern(image, QRect(95, 6, 11, 11));
    QCOMPARE(rows, ExpectedShapes.value(RyItemPainter::Diamond));
    // 11 pixels wide, centred on x = 100, nothing else drawn (no body, no end marker).
    QCOMPARE(pattern(image, QRect(0, 11, 200, 1)).first().count(QLatin1Char('#')), 11);
    QCOMPARE(image.pixelColor(100, 6), QColor(Qt::black));
    QCOMPARE(image.pixelColor(94, 11), QColor(Qt::white));
    QCOMPARE(image.pixelColor(106, 11), QColor(Qt::white));
    int marked = 0;
    for (const QString &row : pattern(image, image.rect()))
        marked += row.count(QLatin1Char('#'));
    QCOMPARE(marked, 61);
}

void TestRyItemPainter::invalidStartColourDrawsNoMarker()
{
    RyGanttViewBarStyle style;
    style.startPointShape = QStringLiteral("Diamond");
    style.endPointShape = QStringLiteral("Square");
    style.bodyShapeOffset = 6;
    RyGanttViewDelegate delegate;
    delegate.setBarStyles({ style });
    QImage image = blankImage(200, 22);
    {
        QPainter painter(&image);
        delegate.paintBar(&painter, barOption(QRect(100, 0, 32, 22)), QModelIndex(), 0);
    }
    QVERIFY(isBlank(image));
}

void TestRyItemPainter::endMarkerAtBarEnd()
{
    const RyGanttViewBarStyle summary = RyGanttViewBarStyle::defaultStyles().at(2);
    QImage image = blankImage(200, 22);
    {
        QPainter painter(&image);
        RyItemPainter().drawBar(&painter, QRect(50, 0, 60, 22), summary, Qt::black);
    }
    // Markers from row 3 (the body offset), 11 rows, centred on the bar's left and right pixel.
    QCOMPARE(pattern(image, QRect(45, 3, 11, 11)), ExpectedShapes.value(RyItemPainter::SouthPenta));
    QCOMPARE(pattern(image, QRect(104, 3, 11, 11)),
             ExpectedShapes.value(RyItemPainter::SouthPenta));
    QCOMPARE(image.pixelColor(80, 3), QColor(Qt::black)); // body 5 high at offset 3
    QCOMPARE(image.pixelColor(80, 7), QColor(Qt::black));
    QCOMPARE(image.pixelColor(80, 8), QColor(Qt::white));
}

void TestRyItemPainter::criticalStyleIsRedTask()
{
    RyGanttViewDelegate delegate;
    delegate.setBarStyles(RyGanttViewBarStyle::defaultStyles());
    const RyGanttViewBarStyle critical = delegate.styleForKind(-1);
    QCOMPARE(critical.bodyColor, QColor(Qt::red));
    QCOMPARE(critical.bodyShapeHeight, 11);
    QCOMPARE(critical.bodyShapeOffset, 6);
    QCOMPARE(delegate.styleForKind(7), RyGanttViewBarStyle());
    delegate.setBarStyles({});
    QCOMPARE(delegate.styleForKind(-1).bodyColor, QColor(Qt::red));
    QCOMPARE(delegate.styleForKind(-1).bodyShapeHeight, 0);
}

void TestRyItemPainter::labels_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<int>("alignment");
    const QRect bar(100, 22, 50, 22); // right() 149, bottom() 43
    QTest::newRow("right") << 2 << QRect(159, 22, 30, 22) << int(Qt::AlignLeft | Qt::AlignVCenter);
    QTest::newRow("top") << 32 << QRect(100, 1, 30, 22) << int(Qt::AlignHCenter | Qt::AlignBottom);
    QTest::newRow("bottom") << 64 << QRect(100, 43, 30, 22) << int(Qt::AlignHCenter | Qt::AlignTop);
    QTest::newRow("inside") << 132 << QRect(110, 22, 30, 22) << int(Qt::AlignCenter);
    QTest::newRow("left") << 1 << QRect(61, 22, 30, 22) << int(Qt::AlignRight | Qt::AlignVCenter);
    QTest::newRow("unknown as left")
        << 7 << QRect(61, 22, 30, 22) << int(Qt::AlignRight | Qt::AlignVCenter);
}

void TestRyItemPainter::labels()
{
    QFETCH(int, position);
    QFETCH(QRect, box);
    QFETCH(int, alignment);
    int actualAlignment = 0;
    QCOMPARE(RyGanttViewDelegate::labelBox(position, QRect(100, 22, 50, 22), 30, &actualAlignment),
             box);
    QCOMPARE(actualAlignment, alignment);
}

void TestRyItemPainter::labelTextsAreTheTables_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("date") << QVariant(QDateTime(QDate(2017, 1, 5), QTime(8, 0), Qt::UTC))
                          << "05-01-2017";
    QTest::newRow("code prefix") << QVariant("TT_Task") << "Task";
    QTest::newRow("decimal") << QVariant(1.0 / 3) << "0.33";
}

void TestRyItemPainter::labelTextsAreTheTables()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QStandardItemModel model(1, 1);
    model.setHorizontalHeaderLabels({ "Label" });
    model.setData(model.index(0, 0), value);
    RyGanttViewBarStyle style;
    style.displayColumns.insert(RyGanttViewBarStyle::Right, QStringLiteral("Label"));
    QImage image = blankImage(400, 22);
    QStyleOptionViewItem option;
    option.fontMetrics = QFontMetrics(QApplication::font());
    {
        QPainter painter(&image);
        painter.setFont(QApplication::font());
        painter.setPen(Qt::black);
        RyGanttViewDelegate::drawLabels(&painter, option, model.index(0, 0), QRect(0, 0, 10, 22),
                                        style);
    }
    // The drawn text ends where the table's text would, not where the raw value's would.
    int rightmost = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).lightness() < 128)
                rightmost = qMax(rightmost, x);
        }
    }
    const int expectedEnd = 9 + 10 + option.fontMetrics.horizontalAdvance(text);
    QVERIFY2(qAbs(rightmost - expectedEnd) <= 3,
             qPrintable(QStringLiteral("%1 / %2").arg(rightmost).arg(expectedEnd)));
}

QTEST_MAIN(TestRyItemPainter)
#include "tst_ryitempainter.moc"
