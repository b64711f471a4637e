// Calendars and project properties: recurrence expansion, agreement with the authoring tool's
// XML exports of the samples, and damaged calendar blocks.

#include "mppr/calendarreader.h"
#include "mppr/compoundfilestore.h"
#include "mppr/project.h"
#include "mppr/recurrence.h"

#include "cfb/compoundfile.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <QtTest>

using mppr::Recurrence;

namespace {

QString samples()
{
    return QString::fromLocal8Bit(qgetenv("TARVIK_SAMPLES"));
}

QString daysText(const QVector<QDate> &days)
{
    QStringList out;
    for (const QDate &d : days)
        out.append(d.toString(Qt::ISODate));
    return out.join(QLatin1Char(' '));
}

QString rangesText(const QVector<mppr::TimeRange> &ranges)
{
    QStringList out;
    for (const mppr::TimeRange &r : ranges)
        out.append(QStringLiteral("%1-%2").arg(r.from).arg(r.to % 1440));
    return out.join(QLatin1Char(' '));
}

// What the XML export says, in the reader's terms.
struct XmlCalendar
{
    qint32 uniqueId = 0;
    QString name;
    qint32 base = -1;
    QMap<int, QString> weekDays; // day 1-7 -> "working ranges"
    QMap<QDate, QString> exceptionDays; // first day -> "last working ranges"
};

struct XmlProject
{
    QMap<QString, QString> properties;
    QVector<XmlCalendar> calendars;
};

int minutesOf(const QString &time)
{
    return QTime::fromString(time, QStringLiteral("HH:mm:ss")).msecsSinceStartOfDay() / 60000;
}

// Reads the text of the element the reader stands on and of its named children.
QMap<QString, QString> readChildren(QXmlStreamReader &xml, QVector<QPair<int, int>> *ranges)
{
    QMap<QString, QString> values;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("WorkingTime")) {
            const QMap<QString, QString> t = readChildren(xml, nullptr);
            if (ranges)
                ranges->append({ minutesOf(t.value("FromTime")), minutesOf(t.value("ToTime")) });
        } else if (xml.name() == QLatin1String("WorkingTimes")
                   || xml.name() == QLatin1String("TimePeriod")) {
            values.insert(readChildren(xml, ranges));
        } else {
            values.insert(xml.name().toString(), xml.readElementText());
        }
    }
    return values;
}

QString dayText(const QString &working, const QVector<QPair<int, int>> &ranges)
{
    QStringList out;
    for (const auto &r : ranges)
        out.append(QStringLiteral("%1-%2").arg(r.first).arg(r.second));
    return working + QLatin1Char(' ') + out.join(QLatin1Char(' '));
}

XmlCalendar readXmlCalendar(QXmlStreamReader &xml)
{
    XmlCalendar c;
    bool isBase = false; // wins over whatever BaseCalendarUID says
    while (xml.readNextStartElement()) {
        const QStringRef name = xml.name();
        if (name == QLatin1String("UID")) {
            c.uniqueId = xml.readElementText().toInt();
        } else if (name == QLatin1String("Name")) {
            c.name = xml.readElementText();
        } else if (name == QLatin1String("BaseCalendarUID")) {
            c.base = xml.readElementText().toInt();
        } else if (name == QLatin1String("IsBaseCalendar")) {
            isBase = xml.readElementText() == QLatin1String("1");
        } else if (name == QLatin1String("WeekDays")) {
            while (xml.readNextStartElement()) {
                QVector<QPair<int, int>> ranges;
                const QMap<QString, QString> d = readChildren(xml, &ranges);
                const int type = d.value("DayType").toInt();
                const QString text = dayText(d.value("DayWorking"), ranges);
                if (type >= 1 && type <= 7) {
                    c.weekDays.insert(type, text);
                } else {
                    const QDate from = QDate::fromString(d.value("FromDate").left(10), Qt::ISODate);
                    c.exceptionDays.insert(from, d.value("ToDate").left(10) + QLatin1Char(' ') + text);
                }
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    if (isBase || c.base < 0)
        c.base = -1;
    return c;
}

XmlProject readXml(const QString &path)
{
    QFile file(path);
    XmlProject p;
    if (!file.open(QIODevice::ReadOnly))
        return p;
    QXmlStreamReader xml(&file);
    xml.readNextStartElement(); // Project
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Calendars")) {
            while (xml.readNextStartElement())
                p.calendars.append(readXmlCalendar(xml));
        } else if (xml.name() == QLatin1String("Tasks") || xml.name() == QLatin1String("Resources")
                   || xml.name() == QLatin1String("Assignments")) {
            xml.skipCurrentElement();
        } else {
            const QString name = xml.name().toString();
            p.properties.insert(name, xml.readElementText(QXmlStreamReader::SkipChildElements));
        }
    }
    return p;
}

QString dateText(const QDateTime &date)
{
    return mppr::isUnset(date) ? QString() : date.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

// A store that hands out the streams of a real file, one of them replaced.
class ReplacingStore : public mppr::StreamStore
{
public:
    ReplacingStore(const mppr::StreamStore &base, const QString &path, const QByteArray &bytes)
        : m_base(base)
        , m_path(path)
        , m_bytes(bytes)
    {
    }
    bool exists(const QString &path) const override { return m_base.exists(path); }
    QStringList list(const QString &path) const override { return m_base.list(path); }
    QByteArray read(const QString &path) const override
    {
        return path == m_path ? m_bytes : m_base.read(path);
    }

private:
    const mppr::StreamStore &m_base;
    QString m_path;
    QByteArray m_bytes;
};

} // namespace

class TestCalendars : public QObject
{
    Q_OBJECT

private slots:
    void recurrence_data();
    void recurrence();
    void absurdRecurrenceIsBounded();
    void agreesWithXmlExport_data();
    void agreesWithXmlExport();
    void damagedCalendarBlock_data();
    void damagedCalendarBlock();
};

void TestCalendars::recurrence_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("a"); // weekDays, dayOfMonth or position
    QTest::addColumn<int>("b"); // month or dayOfWeek
    QTest::addColumn<QString>("expected");

    const auto add = [](const char *name, Recurrence::Type type, QDate from, QDate to, int count,
                        int period, int a, int b, const char *expected) {
        QTest::newRow(name) << int(type) << from << to << count << period << a << b
                            << QString::fromLatin1(expected);
    };
    using T = Recurrence::Type;
    add("range keeps its first day", T::Range, { 2024, 1, 1 }, { 2024, 1, 3 }, 3, 1, 0, 0,
        "2024-01-01");
    add("daily by count", T::Daily, { 2000, 2, 1 }, { 2000, 3, 1 }, 4, 3, 0, 0,
        "2000-02-01 2000-02-04 2000-02-07 2000-02-10");
    add("daily by end date", T::Daily, { 2000, 2, 27 }, { 2000, 3, 2 }, 0, 2, 0, 0,
        "2000-02-27 2000-02-29 2000-03-02");
    add("weekly two days", T::Weekly, { 2024, 3, 6 }, { 2024, 3, 31 }, 3, 1, 0x02 | 0x20, 0,
        "2024-03-08 2024-03-11 2024-03-15");
    add("weekly every other week", T::Weekly, { 2001, 1, 1 }, { 2001, 2, 13 }, 4, 2, 0x04, 0,
        "2001-01-02 2001-01-16 2001-01-30 2001-02-13");
    add("monthly day 31 at month ends", T::MonthlyByDate, { 2023, 1, 1 }, { 2023, 4, 30 }, 0, 1,
        31, 0, "2023-01-31 2023-02-28 2023-03-31 2023-04-30");
    add("monthly by date before the start", T::MonthlyByDate, { 2003, 1, 15 }, { 2003, 5, 30 }, 2,
        2, 1, 0, "2003-03-01 2003-05-01");
    add("last Friday", T::MonthlyByPosition, { 2024, 1, 1 }, { 2024, 3, 31 }, 0, 1, 4, 5,
        "2024-01-26 2024-02-23 2024-03-29");
    add("second Sunday every 8 months", T::MonthlyByPosition, { 2002, 1, 1 }, { 2003, 12, 31 }, 3,
        8, 1, 7, "2002-01-13 2002-09-08 2003-05-11");
    add("yearly 29 February in leap and common years", T::YearlyByDate, { 2023, 1, 1 },
        { 2025, 12, 31 }, 0, 1, 29, 2, "2023-02-28 2024-02-29 2025-02-28");
    add("yearly first Tuesday of March", T::YearlyByPosition, { 2004, 1, 1 }, { 2007, 12, 31 }, 4,
        1, 0, 2, "2004-03-02 2005-03-01 2006-03-07 2007-03-06");
    add("end before start", T::Daily, { 2024, 1, 2 }, { 2024, 1, 1 }, 3, 1, 0, 0, "");
}

void TestCalendars::recurrence()
{
    QFETCH(int, type);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, count);
    QFETCH(int, period);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QString, expected);
    Recurrence r;
    r.type = Recurrence::Type(type);
    r.from = from;
    r.to = to;
    r.count = count;
    r.period = period;
    switch (r.type) {
    case Recurrence::Type::Weekly:
        r.weekDays = a;
        break;
    case Recurrence::Type::MonthlyByDate:
    case Recurrence::Type::YearlyByDate:
        r.dayOfMonth = a;
        r.month = b;
        break;
    default:
        r.position = a;
        r.month = type == int(Recurrence::Type::YearlyByPosition) ? 3 : 1;
        r.dayOfWeek = b;
        break;
    }
    QCOMPARE(daysText(r.occurrences()), expected);
}

void TestCalendars::absurdRecurrenceIsBounded()
{
    Recurrence r;
    r.type = Recurrence::Type::Daily;
    r.from = QDate(2000, 1, 1);
    r.to = QDate(99999, 12, 31);
    r.count = 0;
    const QVector<QDate> days = r.occurrences();
    QCOMPARE(days.size(), int(Recurrence::MaxOccurrences));
    QCOMPARE(days.last(), r.from.addDays(Recurrence::MaxOccurrences - 1));
}

void TestCalendars::agreesWithXmlExport_data()
{
    QTest::addColumn<QString>("mpp");
    QTest::addColumn<QString>("xml");
    const QDir dir(samples() + QStringLiteral("/oracle"));
    for (const QString &xml : dir.entryList({ QStringLiteral("*-mspdi.xml") }, QDir::Files)) {
        const QString stem = xml.chopped(int(qstrlen("-mspdi.xml")));
        for (const QString &mpp : dir.entryList({ stem + QStringLiteral("-mpp*.mpp") }))
            QTest::newRow(qPrintable(mpp)) << dir.filePath(mpp) << dir.filePath(xml);
    }
}

void TestCalendars::agreesWithXmlExport()
{
    QFETCH(QString, mpp);
    QFETCH(QString, xml);
    mppr::Project project(mpp);
    QCOMPARE(project.read(), 0);
    const XmlProject truth = readXml(xml);
    QVERIFY(!truth.calendars.isEmpty());

    // Title and author are left out: several exports were made from another save of the file.
    const mppr::ProjectProperties &p = project.properties();
    QCOMPARE(QString::number(p.minutesPerDay), truth.properties.value("MinutesPerDay"));
    QCOMPARE(QString::number(p.minutesPerWeek), truth.properties.value("MinutesPerWeek"));
    QCOMPARE(QString::number(p.daysPerMonth), truth.properties.value("DaysPerMonth"));
    QCOMPARE(QString::number(p.calendarUniqueId.value_or(-1)), truth.properties.value("CalendarUID"));
    QCOMPARE(dateText(p.startDate), truth.properties.value("StartDate"));
    QCOMPARE(dateText(p.finishDate), truth.properties.value("FinishDate"));
    QCOMPARE(dateText(p.statusDate), truth.properties.value("StatusDate"));
    QCOMPARE(dateText(p.currentDate), truth.properties.value("CurrentDate"));

    for (const XmlCalendar &x : truth.calendars) {
        const mppr::Calendar *c = project.calendar(x.uniqueId);
        QVERIFY2(c, qPrintable(QString::number(x.uniqueId)));
        QCOMPARE(c->name, x.name);
        QCOMPARE(c->baseCalendarUniqueId.value_or(-1), x.base);
        QMap<int, QString> weekDays;
        for (int d = 0; d < mppr::Calendar::DaysPerWeek; ++d) {
            const mppr::CalendarWeekDay &day = c->weekDays[size_t(d)];
            if (day.defined)
                weekDays.insert(d + 1,
                                QStringLiteral("%1 ").arg(int(day.working)) + rangesText(day.ranges));
        }
        QCOMPARE(weekDays, x.weekDays);
        QMap<QDate, QString> exceptionDays;
        for (const mppr::CalendarException &e : c->exceptions)
            exceptionDays.insert(e.from, e.to.toString(Qt::ISODate)
                                     + QStringLiteral(" %1 ").arg(int(e.working))
                                     + rangesText(e.ranges));
        QCOMPARE(exceptionDays, x.exceptionDays);
    }
}

void TestCalendars::damagedCalendarBlock_data()
{
    QTest::addColumn<QString>("stream");
    QTest::addColumn<int>("cut"); // bytes kept; -1 flips bytes instead
    const char *streams[] = { "FixedMeta", "FixedData", "VarMeta", "Var2Data" };
    for (const char *stream : streams) {
        for (int cut : { 0, 17, 100, 1000, -1 })
            QTest::addRow("%s %d", stream, cut) << QString::fromLatin1(stream) << cut;
    }
}

void TestCalendars::damagedCalendarBlock()
{
    QFETCH(QString, stream);
    QFETCH(int, cut);
    cfb::CompoundFile file(samples()
                           + "/oracle/calendar-recurring-exceptions-project2010-mpp14.mpp");
    QVERIFY(file.open());
    const mppr::CompoundFileStore store(file);
    const QString path = QStringLiteral("   114/TBkndCal/") + stream;
    QByteArray bytes = store.read(path);
    QVERIFY(!bytes.isEmpty());
    if (cut >= 0) {
        bytes.truncate(cut);
    } else {
        for (int i = 0; i < bytes.size(); i += 7)
            bytes[i] = char(~bytes.at(i));
    }
    mppr::Project project(file.fileName());
    QCOMPARE(project.read(ReplacingStore(store, path, bytes)), 0);
    QVERIFY(!project.tasks().isEmpty());
    for (const mppr::Calendar &c : project.calendars()) {
        QVERIFY(c.exceptions.size() <= 40 * Recurrence::MaxOccurrences);
        if (c.baseCalendarUniqueId)
            QVERIFY(project.calendar(*c.baseCalendarUniqueId));
    }
}

QTEST_GUILESS_MAIN(TestCalendars)
#include "tst_calendars.moc"
