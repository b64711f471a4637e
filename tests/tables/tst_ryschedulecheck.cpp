// The fourteen-point schedule check: each check's boundaries on crafted projects, and checks
// 1 to 8 and 10 on every oracle sample against a count made from the authoring tool's XML
// export with the same definitions.
#include "mppr/project.h"
#include "projectbuilder.h"
#include "tables/mpptaskmodel.h"
#include "tables/mpptaskpredmodel.h"
#include "tables/mpptaskrsrcmodel.h"
#include "tables/ryschedulecheck.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

#include <functional>
#include <memory>

using namespace TestProject;
using Build = std::function<void(mppr::Project &)>;
Q_DECLARE_METATYPE(Build)

namespace {

constexpr qint32 Day = 480 * 10; // one working day in tenths of a minute

// An activity under no summary, with known float, a day's duration and unstarted.
mppr::Task *activity(mppr::Project &project, qint32 uid, qint32 floatTenths = Day)
{
    mppr::Task *t = addTask(project, uid, -1);
    t->startSlack = t->finishSlack = floatTenths;
    t->duration = Day;
    t->start = at(2024, 3, 4);
    t->finish = at(2024, 3, 4, 17);
    return t;
}

void setProperties(mppr::Project &project, const QDateTime &statusDate, int minutesPerDay = 480)
{
    mppr::ProjectProperties p;
    p.statusDate = statusDate.isValid() ? statusDate : mppr::epoch();
    p.minutesPerDay = minutesPerDay;
    project.setCalendars({}, p);
}

void assign(mppr::Project &project, QVector<QPair<qint32, qint32>> taskResource)
{
    QList<mppr::Assignment *> assignments;
    for (const auto &[task, resource] : taskResource) {
        auto *a = new mppr::Assignment;
        a->taskUniqueId = task;
        a->resourceUniqueId = resource;
        assignments.append(a);
    }
    project.setAssignments(assignments);
}

mppr::Baseline baseline(const QDateTime &finish, std::optional<qint32> duration = std::nullopt)
{
    mppr::Baseline b;
    b.finish = finish;
    b.duration = duration;
    return b;
}

struct Checked
{
    std::unique_ptr<mppr::Project> project;
    MPPTaskModel tasks;
    MPPTaskPredModel relations;
    MPPTaskRsrcModel assignments;
    RyScheduleCheck check;
};

void runCheck(Checked &c)
{
    c.tasks.setProject(c.project.get());
    c.relations.setProject(c.project.get());
    c.assignments.setProject(c.project.get());
    c.check = RyScheduleCheck::run(c.tasks, c.relations, &c.assignments);
}

} // namespace

class TestRyScheduleCheck : public QObject
{
    Q_OBJECT

private slots:
    void crafted_data();
    void crafted();
    void emptyProject();
    void findingsAndNotes();
    void samples_data();
    void samples();
};

void TestRyScheduleCheck::crafted_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<int>("number");
    QTest::addColumn<double>("count");
    QTest::addColumn<double>("population");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QVector<qint32>>("activities");

    const QDateTime statusDate = at(2024, 3, 11, 8);

    // 1 -> 2 -> 3; a 100 % activity 4 leaves the population but its link still counts for 5.
    QTest::newRow("1 logic: open ends, a complete end counts") << Build([](mppr::Project &p) {
        activity(p, 1);
        addRelation(activity(p, 2), 1, 1);
        addRelation(activity(p, 3), 2, 1);
        activity(p, 4)->percentComplete = 100;
        addRelation(activity(p, 5), 4, 1);
        addRelation(activity(p, 6), 5, 1);
    }) << 1 << 3.0 << 5.0 << "fail" << QVector<qint32> { 1, 3, 6 };
    // Summary 10 and a blank row are no activities; a link to the summary is no logic.
    QTest::newRow("1 logic: summary and null tasks excluded") << Build([](mppr::Project &p) {
        addTask(p, 10, -1);
        addRelation(addTask(p, 11, 10), 1, 1);
        activity(p, 1);
        addRelation(activity(p, 2), 10, 1);
        addTask(p, 12, -1)->blankRecord = true;
    }) << 1 << 3.0 << 3.0 << "fail" << QVector<qint32> { 1, 2, 11 };
    QTest::newRow("2 leads: lag 0 is no lead") << Build([](mppr::Project &p) {
        activity(p, 1);
        addRelation(activity(p, 2), 1, 1, 0);
        addRelation(activity(p, 3), 2, 1, -Day);
    }) << 2 << 1.0 << 2.0 << "fail" << QVector<qint32> { 3 };
    QTest::newRow("2 leads: none") << Build([](mppr::Project &p) {
        activity(p, 1);
        addRelation(activity(p, 2), 1, 1, 0);
    }) << 2 << 0.0 << 1.0 << "pass" << QVector<qint32> {};
    // A lagged start-to-start link counts as a lag whatever its type.
    QTest::newRow("3 lags: any type, complete successors left out") << Build([](mppr::Project &p) {
        activity(p, 1);
        addRelation(activity(p, 2), 1, 3, 1);
        addRelation(activity(p, 3), 1, 1, 0);
        mppr::Task *done = activity(p, 4);
        done->percentComplete = 100;
        addRelation(done, 1, 1, Day);
    }) << 3 << 1.0 << 2.0 << "fail" << QVector<qint32> { 2 };
    QTest::newRow("4 types: 9 of 10 finish-to-start") << Build([](mppr::Project &p) {
        activity(p, 1);
        for (qint32 uid = 2; uid <= 11; ++uid)
            addRelation(activity(p, uid), 1, uid == 11 ? 3 : 1);
    }) << 4 << 9.0 << 10.0 << "pass" << QVector<qint32> { 11 };
    QTest::newRow("4 types: 1 of 2 finish-to-start") << Build([](mppr::Project &p) {
        activity(p, 1);
        addRelation(activity(p, 2), 1, 0, 5);
        addRelation(activity(p, 3), 1, 1);
    }) << 4 << 1.0 << 2.0 << "fail" << QVector<qint32> { 2 };
    QTest::newRow("5 constraints: fixed dates only, complete ones out")
        << Build([](mppr::Project &p) {
               for (qint32 type = 0; type <= 7; ++type)
                   activity(p, type + 1)->tf11 = type;
               mppr::Task *done = activity(p, 9);
               done->tf11 = 2;
               done->percentComplete = 100;
           })
        << 5 << 4.0 << 8.0 << "fail" << QVector<qint32> { 3, 4, 6, 8 };
    QTest::newRow("6 high float: 44 days exactly is not above") << Build([](mppr::Project &p) {
        activity(p, 1, 44 * Day);
        activity(p, 2, 44 * Day + 1);
        mppr::Task *unknown = activity(p, 3);
        unknown->startSlack.reset();
    }) << 6 << 1.0 << 3.0 << "fail" << QVector<qint32> { 2 };
    // 44 days of 420 minutes are less than 44 days of 480.
    QTest::newRow("6 high float: the file's minutes per day") << Build([](mppr::Project &p) {
        setProperties(p, QDateTime(), 420);
        activity(p, 1, 44 * 4200 + 1);
    }) << 6 << 1.0 << 1.0 << "fail" << QVector<qint32> { 1 };
    QTest::newRow("7 negative float: float 0 is not below") << Build([](mppr::Project &p) {
        activity(p, 1, 0);
        activity(p, 2, -1);
    }) << 7 << 1.0 << 2.0 << "fail" << QVector<qint32> { 2 };
    QTest::newRow("8 high duration: baseline first, 44 days exactly is not above")
        << Build([](mppr::Project &p) {
               mppr::Task *a = activity(p, 1);
               a->duration = 60 * Day;
               a->baselines = { baseline(mppr::epoch(), 44 * Day) };
               activity(p, 2)->duration = 44 * Day + 1;
               activity(p, 3)->baselines = { baseline(mppr::epoch(), 45 * Day) };
           })
        << 8 << 2.0 << 3.0 << "fail" << QVector<qint32> { 2, 3 };
    QTest::newRow("9 invalid dates: no status date")
        << Build([](mppr::Project &p) { activity(p, 1)->actualStart = at(2030, 1, 1); }) << 9 << 0.0
        << 0.0 << "not assessed" << QVector<qint32> {};
    QTest::newRow("9 invalid dates: actual after, planned before")
        << Build([statusDate](mppr::Project &p) {
               setProperties(p, statusDate);
               // Not started, planned before the status date.
               activity(p, 1);
               // Started after the status date.
               mppr::Task *a = activity(p, 2);
               a->start = a->actualStart = at(2024, 3, 12);
               a->finish = at(2024, 3, 13, 17);
               // Finished before it: valid.
               mppr::Task *b = activity(p, 3);
               b->actualStart = at(2024, 3, 4);
               b->actualFinish = at(2024, 3, 4, 17);
               b->percentComplete = 100;
               // Planned after it: valid.
               mppr::Task *c = activity(p, 4);
               c->start = at(2024, 3, 12);
               c->finish = at(2024, 3, 12, 17);
           })
        << 9 << 2.0 << 4.0 << "fail" << QVector<qint32> { 1, 2 };
    QTest::newRow("10 resources: information only") << Build([](mppr::Project &p) {
        activity(p, 1);
        activity(p, 2)->duration = 0;
        activity(p, 3);
        activity(p, 4);
        assign(p, { { 3, 7 }, { 4, -65535 } });
    }) << 10 << 2.0 << 4.0 << "info" << QVector<qint32> { 1, 4 };
    QTest::newRow("11 missed: due by the status date and later")
        << Build([statusDate](mppr::Project &p) {
               setProperties(p, statusDate);
               activity(p, 1)->baselines = { baseline(at(2024, 3, 1, 17)) };
               activity(p, 2)->baselines = { baseline(at(2024, 3, 4, 17)) };
               activity(p, 3)->baselines = { baseline(at(2024, 3, 12, 17)) };
           })
        << 11 << 1.0 << 2.0 << "fail" << QVector<qint32> { 1 };
    QTest::newRow("12 critical path: unbroken") << Build([](mppr::Project &p) {
        activity(p, 1, 0);
        addRelation(activity(p, 2, 0), 1, 1);
        mppr::Task *last = activity(p, 3, 0);
        last->finish = at(2024, 3, 20, 17);
        addRelation(last, 2, 1);
        activity(p, 4);
    }) << 12 << 0.0 << 4.0 << "pass" << QVector<qint32> {};
    // 2 is critical but leads nowhere critical; the loop 5 <-> 6 never reaches the end.
    QTest::newRow("12 critical path: break points") << Build([](mppr::Project &p) {
        activity(p, 1, 0);
        addRelation(activity(p, 2, 0), 1, 1);
        mppr::Task *last = activity(p, 3, 0);
        last->finish = at(2024, 3, 20, 17);
        addRelation(last, 1, 1);
        addRelation(activity(p, 5, 0), 6, 1);
        addRelation(activity(p, 6, 0), 5, 1);
    }) << 12 << 3.0 << 5.0 << "fail" << QVector<qint32> { 2, 5, 6 };
    QTest::newRow("12 critical path: the last activity not critical")
        << Build([](mppr::Project &p) {
               activity(p, 1, 0);
               activity(p, 2)->finish = at(2024, 3, 20, 17);
           })
        << 12 << 2.0 << 2.0 << "fail" << QVector<qint32> { 1, 2 };
    // Monday 08:00 to the Friday after next, 17:00: ten working days on the fallback week.
    QTest::newRow("13 CPLI: float 0") << Build([](mppr::Project &p) {
        setProperties(p, at(2024, 3, 4, 8));
        activity(p, 1, 0)->finish = at(2024, 3, 15, 17);
    }) << 13 << 10.0 << 10.0 << "pass" << QVector<qint32> {};
    QTest::newRow("13 CPLI: float -1 day") << Build([](mppr::Project &p) {
        setProperties(p, at(2024, 3, 4, 8));
        activity(p, 1, -Day)->finish = at(2024, 3, 15, 17);
    }) << 13 << 9.0 << 10.0 << "fail" << QVector<qint32> { 1 };
    QTest::newRow("13 CPLI: no status date")
        << Build([](mppr::Project &p) { activity(p, 1, 0); }) << 13 << 0.0 << 0.0 << "not assessed"
        << QVector<qint32> {};
    QTest::newRow("14 BEI: one of two due finished") << Build([statusDate](mppr::Project &p) {
        setProperties(p, statusDate);
        mppr::Task *a = activity(p, 1);
        a->baselines = { baseline(at(2024, 3, 4, 17)) };
        a->actualFinish = at(2024, 3, 4, 17);
        a->percentComplete = 100;
        activity(p, 2)->baselines = { baseline(at(2024, 3, 5, 17)) };
        activity(p, 3)->baselines = { baseline(at(2024, 3, 12, 17)) };
    }) << 14 << 1.0 << 2.0 << "fail" << QVector<qint32> { 2 };
}

void TestRyScheduleCheck::crafted()
{
    QFETCH(Build, build);
    QFETCH(int, number);
    QFETCH(double, count);
    QFETCH(double, population);
    QFETCH(QString, result);
    QFETCH(QVector<qint32>, activities);

    Checked c;
    c.project = std::make_unique<mppr::Project>(QStringLiteral("crafted.mpp"));
    build(*c.project);
    runCheck(c);
    QCOMPARE(c.check.checks().size(), RyScheduleCheck::CheckCount);
    const RyScheduleCheck::Check &check = c.check.checks().at(number - 1);
    QCOMPARE(check.number, number);
    QCOMPARE(check.count, count);
    QCOMPARE(check.population, population);
    QCOMPARE(RyScheduleCheck::resultName(check.result), result);
    QCOMPARE(check.activities, activities);
    if (number == 12)
        QVERIFY(!check.ratio);
    else if (population == 0)
        QVERIFY(!check.ratio);
    else
        QCOMPARE(*check.ratio, count / population);
}

void TestRyScheduleCheck::emptyProject()
{
    Checked c;
    c.project = std::make_unique<mppr::Project>(QStringLiteral("empty.mpp"));
    // Only the project summary task.
    addTask(*c.project, 0, -1);
    runCheck(c);
    QCOMPARE(c.check.checks().size(), RyScheduleCheck::CheckCount);
    for (const RyScheduleCheck::Check &check : c.check.checks()) {
        QVERIFY2(!check.ratio, qPrintable(check.name));
        QCOMPARE(check.population, 0.0);
        QCOMPARE(RyScheduleCheck::resultName(check.result), QStringLiteral("not assessed"));
    }
    QVERIFY(!c.check.statusDate().isValid());
    QCOMPARE(c.check.minutesPerDay(), 480);
}

void TestRyScheduleCheck::findingsAndNotes()
{
    Checked c;
    c.project = std::make_unique<mppr::Project>(QStringLiteral("notes.mpp"));
    addTask(*c.project, 10, -1);
    activity(*c.project, 11)->parentUniqueId = 10;
    addRelation(activity(*c.project, 1, -1), 10, 1);
    addRelation(activity(*c.project, 2), 99, 1, -5);
    runCheck(c);
    for (int number = 1; number <= 4; ++number) {
        QCOMPARE(c.check.checks().at(number - 1).note,
                 QStringLiteral("2 link(s) left out: 1 to a missing task, 1 to a summary task"));
    }
    QCOMPARE(c.check.checks().at(1).population, 0.0);
    const auto findings = c.check.findings();
    QCOMPARE(findings.value(1), QStringLiteral("1, 7, 10"));
    QCOMPARE(findings.value(2), QStringLiteral("1, 10"));
}

namespace {

QString oracleDir()
{
    return QString::fromLocal8Bit(qgetenv("TARVIK_SAMPLES").isEmpty() ? QByteArray(TARVIK_SAMPLES)
                                                                      : qgetenv("TARVIK_SAMPLES"))
        + "/oracle";
}

// "PT8H30M0S" -> minutes.
double isoMinutes(const QString &text)
{
    static const QRegularExpression pattern("^PT(-?\\d+)H(-?\\d+)M(-?[\\d.]+)S$");
    const auto match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() * 60 + match.captured(2).toDouble()
            + match.captured(3).toDouble() / 60
                            : 0;
}

struct ExportTask
{
    int uid = 0;
    bool activity = false;
    bool incomplete = false;
    int constraint = 0;
    double totalSlack = 0; // tenths of a minute
    double duration = 0; // minutes
    std::optional<double> baselineDuration;
    QVector<QPair<int, QPair<int, double>>> predecessors; // uid, (type, lag)
};

// Counts of checks 1 to 8 and 10 as (count, population) from an XML export.
QVector<QPair<int, int>> countExport(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    int minutesPerDay = 480;
    QHash<int, ExportTask> tasks;
    QSet<int> assigned;
    QStringList at;
    ExportTask task;
    int assignmentTask = 0;
    int assignmentResource = 0;
    int baselineNumber = -1;
    double baselineDuration = 0;
    QPair<int, QPair<int, double>> link;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            at.append(xml.name().toString());
            const QString path = at.join('/');
            if (path.endsWith("Tasks/Task"))
                task = ExportTask();
            continue;
        }
        if (xml.isCharacters() && !xml.isWhitespace() && !at.isEmpty()) {
            const QString path = at.join('/');
            const QString text = xml.text().toString();
            if (path == "Project/MinutesPerDay")
                minutesPerDay = text.toInt();
            else if (path.endsWith("Tasks/Task/UID"))
                task.uid = text.toInt();
            else if (path.endsWith("Tasks/Task/Summary"))
                task.activity = text == "0";
            else if (path.endsWith("Tasks/Task/IsNull") && text == "1")
                task.uid = -1;
            else if (path.endsWith("Tasks/Task/PercentComplete"))
                task.incomplete = text.toInt() < 100;
            else if (path.endsWith("Tasks/Task/ConstraintType"))
                task.constraint = text.toInt();
            else if (path.endsWith("Tasks/Task/TotalSlack"))
                task.totalSlack = text.toDouble();
            else if (path.endsWith("Tasks/Task/Duration"))
                task.duration = isoMinutes(text);
            else if (path.endsWith("Task/Baseline/Number"))
                baselineNumber = text.toInt();
            else if (path.endsWith("Task/Baseline/Duration"))
                baselineDuration = isoMinutes(text);
            else if (path.endsWith("PredecessorLink/PredecessorUID"))
                link.first = text.toInt();
            else if (path.endsWith("PredecessorLink/Type"))
                link.second.first = text.toInt();
            else if (path.endsWith("PredecessorLink/LinkLag"))
                link.second.second = text.toDouble();
            else if (path.endsWith("Assignment/TaskUID"))
                assignmentTask = text.toInt();
            else if (path.endsWith("Assignment/ResourceUID"))
                assignmentResource = text.toInt();
        }
        if (xml.isEndElement()) {
            const QString path = at.join('/');
            if (path.endsWith("Tasks/Task")) {
                if (task.uid > 0 && task.activity)
                    tasks.insert(task.uid, task);
            } else if (path.endsWith("Task/PredecessorLink")) {
                task.predecessors.append(link);
                link = {};
            } else if (path.endsWith("Task/Baseline")) {
                if (baselineNumber == 0)
                    task.baselineDuration = baselineDuration;
                baselineNumber = -1;
            } else if (path.endsWith("Assignments/Assignment")) {
                if (assignmentResource >= 0)
                    assigned.insert(assignmentTask);
            }
            at.removeLast();
        }
    }
    // Counts (1, 2, 3, 4, 5, 6, 7, 8, 10), each (count, population).
    QVector<QPair<int, int>> counts(9);
    QSet<int> withPredecessor;
    QSet<int> withSuccessor;
    for (const ExportTask &t : qAsConst(tasks)) {
        for (const auto &[pred, typeLag] : t.predecessors) {
            if (!tasks.contains(pred))
                continue;
            withPredecessor.insert(t.uid);
            withSuccessor.insert(pred);
            if (!t.incomplete)
                continue;
            for (int k : { 1, 2, 3 })
                ++counts[k].second;
            counts[1].first += typeLag.second < 0;
            counts[2].first += typeLag.second > 0;
            counts[3].first += typeLag.first == 1;
        }
    }
    const double days44 = 44.0 * minutesPerDay;
    for (const ExportTask &t : qAsConst(tasks)) {
        if (!t.incomplete)
            continue;
        for (int k : { 0, 4, 5, 6, 7, 8 })
            ++counts[k].second;
        counts[0].first += !withPredecessor.contains(t.uid) || !withSuccessor.contains(t.uid);
        counts[4].first
            += t.constraint == 2 || t.constraint == 3 || t.constraint == 5 || t.constraint == 7;
        counts[5].first += t.totalSlack > days44 * 10;
        counts[6].first += t.totalSlack < 0;
        counts[7].first += t.baselineDuration.value_or(t.duration) > days44;
        counts[8].first += t.duration > 0 && !assigned.contains(t.uid);
    }
    return counts;
}

} // namespace

void TestRyScheduleCheck::samples_data()
{
    QTest::addColumn<QString>("mpp");
    QTest::addColumn<QString>("xml");
    const QDir dir(oracleDir());
    static const QRegularExpression name("^(.*-project\\d{4})-mpp\\d+\\.mpp$");
    for (const QString &file : dir.entryList({ "*.mpp" }, QDir::Files, QDir::Name)) {
        const auto match = name.match(file);
        const QString xml = match.captured(1) + "-mspdi.xml";
        if (match.hasMatch() && dir.exists(xml))
            QTest::newRow(qPrintable(file)) << dir.filePath(file) << dir.filePath(xml);
    }
    if (QTest::currentTestFunction() && dir.entryList({ "*-mspdi.xml" }).isEmpty())
        QSKIP("no oracle samples");
}

void TestRyScheduleCheck::samples()
{
    QFETCH(QString, mpp);
    QFETCH(QString, xml);
    QLoggingCategory::setFilterRules(QStringLiteral("tarvik.*=false"));
    Checked c;
    c.project = std::make_unique<mppr::Project>(mpp);
    QCOMPARE(c.project->read(), 0);
    runCheck(c);
    const QVector<QPair<int, int>> expected = countExport(xml);
    QCOMPARE(expected.size(), 9);
    const int numbers[] = { 1, 2, 3, 4, 5, 6, 7, 8, 10 };
    for (int k = 0; k < 9; ++k) {
        const RyScheduleCheck::Check &check = c.check.checks().at(numbers[k] - 1);
        const QString what = QStringLiteral("check %1").arg(numbers[k]);
        QVERIFY2(check.population == expected[k].second,
                 qPrintable(what
                            + QStringLiteral(" population %1, export %2")
                                  .arg(check.population)
                                  .arg(expected[k].second)));
        QVERIFY2(
            check.count == expected[k].first,
            qPrintable(
                what
                + QStringLiteral(" count %1, export %2").arg(check.count).arg(expected[k].first)));
    }
}

QTEST_GUILESS_MAIN(TestRyScheduleCheck)
#include "tst_ryschedulecheck.moc"
