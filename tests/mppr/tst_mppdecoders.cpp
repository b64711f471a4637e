// Value decoders and CompObj texts. Dates are wall-clock values: the same in every time zone,
// also across daylight-saving changes, so each date case runs under several zones.

#include "tests/support/mppblockbuilder.h"
#include "tests/support/mppschedulebuilder.h"

#include "mppr/compobjinfo.h"
#include "mppr/fieldreader.h"
#include "mppr/project.h"

#include <QtTest>

#include <ctime>

using namespace mppr;

namespace {

const char *const Zones[]
    = { "UTC", "America/New_York", "Asia/Kolkata", "America/Sao_Paulo", "Europe/Berlin" };

void setZone(const QByteArray &zone)
{
    qputenv("TZ", zone);
    tzset();
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QString text(const QDateTime &date)
{
    return isUnset(date) ? QStringLiteral("unset")
                         : date.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

} // namespace

class TestMppDecoders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void dates_data();
    void dates();
    void datesOfAReadScheduleInEveryZone();
    void unsetDateIsOneConstant();
    void integers_data();
    void integers();
    void numbers();
    void texts_data();
    void texts();
    void versions_data();
    void versions();
    void compObjStringsEndAtNul();
    void compObjStandardClipboardFormat();

private:
    QByteArray m_zone;
};

void TestMppDecoders::initTestCase()
{
    m_zone = qgetenv("TZ");
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

void TestMppDecoders::cleanupTestCase()
{
    setZone(m_zone);
}

void TestMppDecoders::dates_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no date") << hex("ffffffff") << "unset";
    QTest::newRow("day 0 time 0 is the unset value") << hex("00000000") << "unset";
    QTest::newRow("time 60 of day 1") << hex("3c000100") << "1984-01-01T00:06:00";
    QTest::newRow("only time is FFFF") << hex("ffff0100") << "1984-01-05T13:13:30";
    QTest::newRow("wrong size") << hex("3c0001") << "unset";
    // 2014-03-09 02:30 does not exist in New York; 2014-11-02 01:30 happens twice there.
    QTest::newRow("spring gap") << MppBlockBuilder::dateBytes(
        QDateTime(QDate(2014, 3, 9), QTime(2, 30), Qt::UTC))
                                << "2014-03-09T02:30:00";
    QTest::newRow("autumn overlap")
        << MppBlockBuilder::dateBytes(QDateTime(QDate(2014, 11, 2), QTime(1, 30), Qt::UTC))
        << "2014-11-02T01:30:00";
    // Sao Paulo skipped its midnight on 2018-11-04.
    QTest::newRow("skipped midnight")
        << MppBlockBuilder::dateBytes(QDateTime(QDate(2018, 11, 4), QTime(0, 0), Qt::UTC))
        << "2018-11-04T00:00:00";
    QTest::newRow("working day end")
        << MppBlockBuilder::dateBytes(QDateTime(QDate(2019, 3, 31), QTime(17, 0), Qt::UTC))
        << "2019-03-31T17:00:00";
}

void TestMppDecoders::dates()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    for (const char *zone : Zones) {
        setZone(zone);
        const QDateTime date = decodeDate(ByteView(bytes));
        QCOMPARE(date.timeSpec(), Qt::UTC);
        QVERIFY2(text(date) == expected, zone);
    }
}

void TestMppDecoders::datesOfAReadScheduleInEveryZone()
{
    MppScheduleSpec spec;
    MppTaskSpec summary;
    summary.uniqueId = 0;
    MppTaskSpec t;
    t.uniqueId = 1;
    t.parentUniqueId = 0;
    t.name = QStringLiteral("Across the change");
    t.scheduledStart = QDateTime(QDate(2014, 3, 7), QTime(8, 0), Qt::UTC);
    t.scheduledFinish = QDateTime(QDate(2014, 3, 10), QTime(17, 0), Qt::UTC);
    t.start = t.scheduledStart;
    t.finish = t.scheduledFinish;
    t.earlyStart = QDateTime(QDate(2014, 3, 9), QTime(2, 30), Qt::UTC);
    spec.tasks = { summary, t };
    const QByteArray file = buildMppFile(spec);
    for (const char *zone : Zones) {
        setZone(zone);
        Project project(QStringLiteral("dates.mpp"));
        QCOMPARE(project.readData(file), int(StatusOk));
        const Task *task = project.task(1);
        QVERIFY2(text(task->start) == "2014-03-07T08:00:00", zone);
        QVERIFY2(text(task->finish) == "2014-03-10T17:00:00", zone);
        QVERIFY2(text(task->earlyStart) == "2014-03-09T02:30:00", zone);
        QVERIFY2(isUnset(task->actualStart), zone);
    }
}

void TestMppDecoders::unsetDateIsOneConstant()
{
    for (const char *zone : Zones) {
        setZone(zone);
        QCOMPARE(epoch(), QDateTime(QDate(1983, 12, 31), QTime(0, 0), Qt::UTC));
        QCOMPARE(epoch().toMSecsSinceEpoch(), Q_INT64_C(441676800000));
        QVERIFY(isUnset(Task().start));
        // The same instant in another time spec is unset too; an invalid date is not.
        QVERIFY(isUnset(epoch().toLocalTime()));
        QVERIFY(!isUnset(QDateTime()));
        QVERIFY(!isUnset(epoch().addSecs(60)));
        QVERIFY(isUnset(Assignment().af14));
    }
}

void TestMppDecoders::integers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("1 byte signed") << hex("ff") << -1;
    QTest::newRow("2 bytes signed") << hex("feff") << -2;
    QTest::newRow("3 bytes read as 2") << hex("0100ff") << 1;
    QTest::newRow("4 bytes") << hex("00000080") << int(0x80000000);
    QTest::newRow("more than 4") << hex("0700000009") << 7;
}

void TestMppDecoders::integers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QCOMPARE(decodeInteger(ByteView(bytes)), expected);
}

void TestMppDecoders::numbers()
{
    QCOMPARE(decodeNumber(ByteView(MppBlockBuilder::f64Bytes(480000.0))), 480000.0);
    QCOMPARE(decodeNumber(ByteView(hex("0000"))), 0.0);
    QCOMPARE(truncateToInt32(-2.9), -2);
    QCOMPARE(truncateToInt32(1e300), std::numeric_limits<qint32>::max());
    QCOMPARE(truncateToInt32(std::nan("")), 0);
}

void TestMppDecoders::texts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("terminated") << MppBlockBuilder::textBytes("Task") << "Task";
    QTest::newRow("unterminated") << hex("41004200") << "AB";
    QTest::newRow("single NUL stays") << hex("0000") << QString(QChar(0));
    QTest::newRow("odd byte ignored") << hex("410042") << "A";
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestMppDecoders::texts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(decodeText(ByteView(bytes)), expected);
}

void TestMppDecoders::versions_data()
{
    QTest::addColumn<QString>("userType");
    QTest::addColumn<int>("fallback");
    QTest::addColumn<int>("expected");
    QTest::newRow("15.0") << "Microsoft.Project 15.0" << 14 << 15;
    QTest::newRow("16") << "Microsoft.Project 16" << 14 << 16;
    QTest::newRow("not a number") << "Microsoft.Project x" << 14 << 0;
    QTest::newRow("no prefix") << "Microsoft Project 12.0" << 14 << 14;
    QTest::newRow("no prefix, other fallback") << "Microsoft Project 4.0" << 15 << 15;
}

void TestMppDecoders::versions()
{
    QFETCH(QString, userType);
    QFETCH(int, fallback);
    QFETCH(int, expected);
    QCOMPARE(versionFromUserType(userType, fallback), expected);
}

void TestMppDecoders::compObjStringsEndAtNul()
{
    CompObjInfo info;
    QCOMPARE(info.parse(MppBlockBuilder::compObjStream("Microsoft.Project 15.0", "MSProject.MPP14",
                                                       "MSProject.Project.9")),
             0);
    QCOMPARE(info.ansiUserType, QStringLiteral("Microsoft.Project 15.0"));
    QCOMPARE(info.ansiClipboardFormat, QStringLiteral("MSProject.MPP14"));
    // The empty Unicode user type that follows does not wipe the ProgID.
    QCOMPARE(info.progId, QStringLiteral("MSProject.Project.9"));
    QCOMPARE(CompObjInfo().parse(QByteArray(27, '\0')), 1);
}

void TestMppDecoders::compObjStandardClipboardFormat()
{
    QByteArray stream(28, '\0');
    MppBlockBuilder::putU32(stream, 28, 0); // no user type
    MppBlockBuilder::putU32(stream, 32, 0xFFFFFFFF);
    MppBlockBuilder::putU32(stream, 36, 3);
    CompObjInfo info;
    QCOMPARE(info.parse(stream), 0);
    QCOMPARE(info.ansiClipboardFormat, QStringLiteral("0x00000003 (CF_METAFILEPICT)"));
    MppBlockBuilder::putU32(stream, 36, 0x1234);
    QCOMPARE(info.parse(stream), 0);
    QCOMPARE(info.ansiClipboardFormat, QStringLiteral("0x1234"));
    MppBlockBuilder::putU32(stream, 32, 401); // a name longer than allowed
    QCOMPARE(info.parse(stream), 1);
}

QTEST_GUILESS_MAIN(TestMppDecoders)
#include "tst_mppdecoders.moc"
