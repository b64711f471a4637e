// Generated schedules read back exactly: every task, link, resource and assignment.

#include "tests/support/mppdemoschedule.h"
#include "tests/support/mppschedulegenerator.h"

#include "mppr/project.h"

#include <QFile>
#include <QtTest>

using namespace mppr;

namespace {

QDateTime orUnset(const QDateTime &date)
{
    return date.isValid() ? date : epoch();
}

} // namespace

class TestMppGen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false")); }
    void roundTrip_data();
    void roundTrip();
    void demoScheduleInRepository();
    void sampleSchedule();
};

void TestMppGen::roundTrip_data()
{
    QTest::addColumn<int>("tasks");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("resources");
    QTest::addColumn<int>("assignments");
    QTest::addColumn<bool>("wide");
    QTest::newRow("summary only") << 1 << 3 << 0 << 0 << false;
    QTest::newRow("small") << 60 << 3 << 5 << 40 << false;
    QTest::newRow("deep") << 400 << 5 << 30 << 500 << false;
    QTest::newRow("flat") << 300 << 1 << 2 << 10 << false;
    QTest::newRow("wide records") << 200 << 4 << 5 << 50 << true;
    // Enough records for the reader to decode them in runs on several threads.
    QTest::newRow("decoded in runs") << 9000 << 5 << 50 << 9000 << true;
}

void TestMppGen::roundTrip()
{
    QFETCH(int, tasks);
    QFETCH(int, depth);
    QFETCH(int, resources);
    QFETCH(int, assignments);
    QFETCH(bool, wide);
    MppGeneratorOptions options;
    options.wideTaskRecords = wide;
    options.tasks = tasks;
    options.depth = depth;
    options.resources = resources;
    options.assignments = assignments;
    const MppScheduleSpec spec = generateMppSchedule(options);

    Project project(QStringLiteral("generated.mpp"));
    QCOMPARE(project.readData(buildMppFile(spec)), int(StatusOk));
    QCOMPARE(project.tasks().size(), tasks);
    int maxLevel = 0;
    for (const MppTaskSpec &s : spec.tasks) {
        const Task *t = project.task(s.uniqueId);
        QVERIFY(t);
        QCOMPARE(t->name, s.name);
        QCOMPARE(t->parentUniqueId, s.parentUniqueId);
        QCOMPARE(t->start, orUnset(s.start));
        QCOMPARE(t->finish, orUnset(s.finish));
        QCOMPARE(t->earlyStart, orUnset(s.earlyStart));
        QCOMPARE(t->lateFinish, orUnset(s.lateFinish));
        QCOMPARE(t->texts[0], s.text1);
        QCOMPARE(*t->duration, s.duration);
        QCOMPARE(*t->work, s.work);
        QCOMPARE(t->tf04, s.remainingWork);
        // Narrow records carry no custom fields: they read as zero and unset.
        QCOMPARE(t->numbers[9], s.numbers[9]);
        QCOMPARE(t->integers[3], s.integers[3]);
        QCOMPARE(t->datesA[7], orUnset(s.dates[7]));
        maxLevel = qMax(maxLevel, int(t->code.count(QLatin1Char('.'))));
    }
    QCOMPARE(maxLevel, tasks > 1 ? depth : 0);

    int links = 0;
    for (const MppRelationSpec &r : spec.relations) {
        const Task *successor = project.task(r.successor);
        QCOMPARE(successor->predecessors.size(), 1);
        QCOMPARE(successor->predecessors.at(0).uniqueId, r.predecessor);
        QCOMPARE(successor->predecessors.at(0).lag, r.lag);
        QCOMPARE(successor->predecessors.at(0).type, qint16(r.type));
        ++links;
    }
    QCOMPARE(links, qMax(0, tasks - 2));

    QCOMPARE(project.resources().size(), resources);
    for (const MppResourceSpec &r : spec.resources) {
        QCOMPARE(project.resource(r.uniqueId)->name, r.name);
        QCOMPARE(project.resource(r.uniqueId)->shortName, r.shortName);
    }
    QCOMPARE(project.assignments().size(), spec.assignments.size());
    for (int k = 0; k < spec.assignments.size(); ++k) {
        const Assignment *a = project.assignments().at(k);
        const MppAssignmentSpec &s = spec.assignments.at(k);
        QCOMPARE(a->uniqueId, s.uniqueId);
        QCOMPARE(a->taskUniqueId, s.taskUniqueId);
        QCOMPARE(a->resourceUniqueId, s.resourceUniqueId);
        QCOMPARE(a->af0a, s.workHours);
        QCOMPARE(a->af14, orUnset(s.start));
    }
}

void TestMppGen::demoScheduleInRepository()
{
    Project project(QStringLiteral(TARVIK_SOURCE_DIR "/samples/demo.mpp"));
    QCOMPARE(project.read(), int(StatusOk));
    QVERIFY(project.tasks().size() >= 50);
    QVERIFY(!project.resources().isEmpty());
    QVERIFY(!project.assignments().isEmpty());
}

// The sample compiled into the program is what `mppgen --demo` writes, and reads back with
// everything a building schedule shows.
void TestMppGen::sampleSchedule()
{
    const MppScheduleSpec spec = demoMppSchedule();
    const QByteArray bytes = buildMppFile(spec);
    QFile committed(QStringLiteral(TARVIK_SOURCE_DIR "/resources/files/sample-schedule.mpp"));
    QVERIFY(committed.open(QIODevice::ReadOnly));
    QVERIFY2(committed.readAll() == bytes, "regenerate it with mppgen --demo");

    Project project(QStringLiteral("sample-schedule.mpp"));
    QCOMPARE(project.readData(bytes), int(StatusOk));
    QCOMPARE(project.tasks().size(), spec.tasks.size());
    QVERIFY(project.tasks().size() >= 200);
    int milestones = 0, summaries = 0, baselines = 0, done = 0, started = 0, maxLevel = 0;
    QSet<qint16> types;
    int lags = 0;
    for (const Task *t : project.tasks()) {
        milestones += t->start == t->finish;
        summaries += std::any_of(spec.tasks.cbegin(), spec.tasks.cend(), [t](const MppTaskSpec &s) {
            return s.parentUniqueId == t->uniqueId;
        });
        const Baseline *baseline = t->baseline(0);
        baselines += baseline && baseline->start.date().year() == 2026;
        done += t->percentComplete == 100;
        started += t->percentComplete > 0 && t->percentComplete < 100 && t->actualStart.isValid();
        maxLevel = qMax(maxLevel, int(t->code.count(QLatin1Char('.'))));
        for (const Task::Predecessor &p : t->predecessors) {
            types.insert(p.type);
            lags += p.lag > 0;
        }
    }
    QVERIFY(milestones >= 10);
    QVERIFY(summaries >= 30);
    QCOMPARE(baselines, spec.tasks.size());
    QVERIFY(done >= 20);
    QVERIFY(started >= 3);
    QCOMPARE(maxLevel, 4); // project, phase, block, level, activity
    QCOMPARE(types, (QSet<qint16> { 0, 1, 2, 3 }));
    QVERIFY(lags >= 10);
    QCOMPARE(project.resources().size(), 15);
    QCOMPARE(project.assignments().size(), spec.assignments.size());
    QVERIFY(project.assignments().size() > 150);

    const ProjectProperties &properties = project.properties();
    QCOMPARE(properties.statusDate, QDateTime(QDate(2026, 6, 12), QTime(17, 0), Qt::UTC));
    QCOMPARE(properties.title, spec.title);
    QVERIFY(properties.calendarUniqueId);
    QCOMPARE(project.calendars().size(), 1);
    const Calendar &calendar = project.calendars().first();
    QCOMPARE(calendar.name, QStringLiteral("Standard"));
    QCOMPARE(calendar.exceptions.size(), spec.holidays.size());
    QCOMPARE(calendar.exceptions.first().from, QDate(2026, 4, 3));
    QVERIFY(!calendar.exceptions.first().working);
    // No activity works on a holiday.
    for (const Task *t : project.tasks()) {
        for (const auto &holiday : spec.holidays)
            QVERIFY(t->start.date() != holiday.first && t->finish.date() != holiday.first);
    }
}

QTEST_GUILESS_MAIN(TestMppGen)
#include "tst_mppgen.moc"
