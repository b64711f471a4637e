#include "gantt/ryganttbackgroundpainter.h"
#include "gantt/rytimescale.h"
#include "models/ryconstants.h"
#include "models/ryworkingtime.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

const QColor Shade(200, 200, 200);

// December 2024: the 25th is a holiday, Saturday the 28th a working day.
RyWorkingTime calendar()
{
    RyWorkingTime time;
    time.setFromCalendar(true);
    time.addException(QDate(2024, 12, 25), QDate(2024, 12, 25), { false, {} });
    time.addException(QDate(2024, 12, 28), QDate(2024, 12, 28), { true, { { 480, 720 } } });
    return time;
}

QImage paint(int flags, const RyWorkingTime &time, RyTimeScale *scale)
{
    scale->setTimelineFlags(quint8(flags));
    scale->setRange(QDate(2024, 12, 22), QDate(2024, 12, 31));
    QImage image(scale->rangeEndX(), 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const RyGanttBackgroundPainter::Area area { 0, 0, 20, QPoint(), image.width(), 20 };
    RyGanttBackgroundPainter::paintNonWorkingTime(painter, area, *scale, scale->startDate(),
                                                  scale->finishDate(), time, Shade);
    return image;
}

} // namespace

class TestRyGanttBackgroundPainter : public QObject
{
    Q_OBJECT
private slots:
    void shadesDaysOff_data();
    void shadesDaysOff();
};

void TestRyGanttBackgroundPainter::shadesDaysOff_data()
{
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<bool>("shaded");
    QTest::newRow("working Tuesday") << false << QDate(2024, 12, 24) << false;
    QTest::newRow("holiday") << false << QDate(2024, 12, 25) << true;
    QTest::newRow("working Saturday") << false << QDate(2024, 12, 28) << false;
    QTest::newRow("Sunday") << false << QDate(2024, 12, 29) << true;
    QTest::newRow("fallback Saturday") << true << QDate(2024, 12, 28) << true;
    QTest::newRow("fallback Wednesday") << true << QDate(2024, 12, 25) << false;
}

void TestRyGanttBackgroundPainter::shadesDaysOff()
{
    QFETCH(bool, fallback);
    QFETCH(QDate, day);
    QFETCH(bool, shaded);
    RyTimeScale scale;
    const QImage image = paint(Ry::Month | Ry::Day, fallback ? RyWorkingTime() : calendar(), &scale);
    const int middle = scale.dateToX(day) + scale.unitWidth() / 2;
    QCOMPARE(QColor(image.pixel(middle, 10)) == Shade, shaded);
}

QTEST_MAIN(TestRyGanttBackgroundPainter)
#include "tst_ryganttbackgroundpainter.moc"
