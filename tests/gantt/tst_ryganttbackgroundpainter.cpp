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
    QTest::addColumn<int>("flags");
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<bool>("shaded");
    const int days = Ry::Month | Ry::Day;
    const int hours = Ry::Day | Ry::Hour;
    const auto at = [](int day, int hour, int minute = 0) {
        return QDateTime(QDate(2024, 12, day), QTime(hour, minute), Qt::UTC);
    };
    QTest::newRow("working Tuesday") << false << days << at(24, 12) << false;
    QTest::newRow("holiday") << false << days << at(25, 12) << true;
    QTest::newRow("working Saturday") << false << days << at(28, 12) << false;
    QTest::newRow("Sunday") << false << days << at(29, 12) << true;
    QTest::newRow("fallback Saturday") << true << days << at(28, 12) << true;
    QTest::newRow("fallback Wednesday") << true << days << at(25, 12) << false;
    // At the hour tier the hours off are shaded as well.
    QTest::newRow("hours: working morning") << false << hours << at(24, 10) << false;
    QTest::newRow("hours: night") << false << hours << at(24, 3) << true;
    QTest::newRow("hours: evening") << false << hours << at(24, 18, 30) << true;
    QTest::newRow("hours: holiday morning") << false << hours << at(25, 10) << true;
    QTest::newRow("hours: working Saturday morning") << false << hours << at(28, 10) << false;
    QTest::newRow("hours: Saturday afternoon off") << false << hours << at(28, 14) << true;
}

void TestRyGanttBackgroundPainter::shadesDaysOff()
{
    QFETCH(bool, fallback);
    QFETCH(int, flags);
    QFETCH(QDateTime, at);
    QFETCH(bool, shaded);
    RyTimeScale scale;
    const QImage image = paint(flags, fallback ? RyWorkingTime() : calendar(), &scale);
    QCOMPARE(QColor(image.pixel(scale.dateTimeToX(at) + 1, 10)) == Shade, shaded);
}

QTEST_MAIN(TestRyGanttBackgroundPainter)
#include "tst_ryganttbackgroundpainter.moc"
