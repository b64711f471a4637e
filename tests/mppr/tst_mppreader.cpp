// The layout readers on crafted schedules: tasks, outline numbers, flags, relations, resources,
// assignments, and the status of damaged or unknown files.

#include "memorystore.h"
#include "tests/support/cfbwriter.h"
#include "tests/support/mppblockbuilder.h"
#include "tests/support/mppschedulebuilder.h"

#include "mppr/project.h"

#include <QtTest>

using namespace mppr;

using TaskParents = QVector<QPair<int, int>>; // (unique ID, parent)

namespace {

QDateTime at(int y, int m, int d, int h = 8, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC);
}

MppTaskSpec task(qint32 uid, qint32 parent, const QString &name = QString())
{
    MppTaskSpec t;
    t.uniqueId = uid;
    t.parentUniqueId = parent;
    t.name = name.isEmpty() ? QStringLiteral("Task %1").arg(uid) : name;
    t.scheduledStart = at(2024, 3, 4);
    t.scheduledFinish = at(2024, 3, 8, 17);
    t.start = t.scheduledStart;
    t.finish = t.scheduledFinish;
    return t;
}

// One member of each of a task's predecessors, in their order.
template<typename Member>
QVector<Member> predecessorColumn(const Task *task, Member Task::Predecessor::*member)
{
    QVector<Member> values;
    for (const Task::Predecessor &p : task->predecessors)
        values.append(p.*member);
    return values;
}

MppRelationSpec relation(quint32 id, qint32 pred, qint32 succ, qint32 lag = 0, quint16 units = 7)
{
    MppRelationSpec r;
    r.id = id;
    r.predecessor = pred;
    r.successor = succ;
    r.lag = lag;
    r.lagUnits = units;
    return r;
}

// A summary task 0 with children 1..count.
MppScheduleSpec flatSchedule(int count, MppScheduleSpec::Layout layout = MppScheduleSpec::Mpp14)
{
    MppScheduleSpec spec;
    spec.layout = layout;
    spec.tasks.append(task(0, -1, QStringLiteral("Project")));
    for (int uid = 1; uid <= count; ++uid)
        spec.tasks.append(task(uid, 0));
    return spec;
}

// Reads the schedule written as a compound file.
int readFile(const MppScheduleSpec &spec, Project &project)
{
    return project.readData(buildMppFile(spec));
}

int readStreams(const QMap<QString, QByteArray> &streams, Project &project)
{
    return project.read(MemoryStore(streams));
}

QString dateText(const QDateTime &date)
{
    return isUnset(date) ? QStringLiteral("unset") : date.toString(Qt::ISODate);
}

} // namespace

class TestMppReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readsEveryLayout_data();
    void readsEveryLayout();
    void outlineNumbers_data();
    void outlineNumbers();
    void blankAndShortRecords();
    void manualSchedulingFlag_data();
    void manualSchedulingFlag();
    void startTakesScheduledDateWhenUnset();
    void recordsOutOfItemOrder();
    void relationsDropOutOfOrderAndForeignLinks();
    void relationLagLayout_data();
    void relationLagLayout();
    void resourcesNeedAName();
    void assignments();
    void olderLayoutsOpenWithoutResourceBlocks_data();
    void olderLayoutsOpenWithoutResourceBlocks();
    void damagedResourceStreamsKeepTasks_data();
    void damagedResourceStreamsKeepTasks();
    void slackFieldsAbsentFromMap();
    void baselines_data();
    void baselines();
    void damagedBaselineValues_data();
    void damagedBaselineValues();
    void statuses_data();
    void statuses();
    void compObjTexts();
    void firstLayoutDirectoryWins();
};

void TestMppReader::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

void TestMppReader::readsEveryLayout_data()
{
    QTest::addColumn<int>("layout");
    QTest::newRow("114") << int(MppScheduleSpec::Mpp14);
    QTest::newRow("112") << int(MppScheduleSpec::Mpp12);
    QTest::newRow("19") << int(MppScheduleSpec::Mpp9);
}

void TestMppReader::readsEveryLayout()
{
    QFETCH(int, layout);
    MppScheduleSpec spec = flatSchedule(3, MppScheduleSpec::Layout(layout));
    spec.tasks[2].parentUniqueId = 1;
    spec.tasks[2].text1 = QStringLiteral("ünïcode");
    spec.tasks[1].earlyStart = at(2024, 3, 4, 8, 30);
    spec.tasks[1].lateFinish = at(2024, 12, 31, 23, 54);
    spec.relations = { relation(1, 1, 2, 4800), relation(2, 2, 3, -600, 5) };
    spec.resources = { { 1, QStringLiteral("Ann"), QStringLiteral("A") } };
    spec.assignments = { { 10, 1, 1, 8.0, 2.0, at(2024, 3, 4), at(2024, 3, 8, 17) } };

    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, project), int(StatusOk));
    QCOMPARE(project.userType(), QStringLiteral("Microsoft.Project 15.0"));
    QCOMPARE(project.tasks().size(), 4);
    const Task *t1 = project.task(1);
    const Task *t2 = project.task(2);
    QCOMPARE(t1->name, QStringLiteral("Task 1"));
    QCOMPARE(t2->parentUniqueId, 1);
    QCOMPARE(t2->texts[0], QStringLiteral("ünïcode"));
    // A task without custom values shares its arrays; a text field the file has reads as an
    // empty, not a null, text there too. Writing a copy leaves the task as read.
    const Task *t3 = project.task(3);
    QVERIFY(t1->texts.sharesWith(t3->texts) && !t1->texts.sharesWith(t2->texts));
    QVERIFY(t1->datesA.sharesWith(Task().datesA) && t1->numbers.sharesWith(t2->numbers));
    QVERIFY(t1->texts[0].isEmpty() && !t1->texts[0].isNull());
    QVERIFY(isUnset(t1->datesA[9]));
    Task copy = *t2;
    copy.texts[0] = QStringLiteral("edited");
    QCOMPARE(t2->texts[0], QStringLiteral("ünïcode"));
    QCOMPARE(t2->code, QStringLiteral("1.1.1"));
    QCOMPARE(project.task(3)->code, QStringLiteral("1.2"));
    QCOMPARE(dateText(t1->start), QStringLiteral("2024-03-04T08:00:00Z"));
    QCOMPARE(dateText(t1->finish), QStringLiteral("2024-03-08T17:00:00Z"));
    QCOMPARE(dateText(t1->earlyStart), QStringLiteral("2024-03-04T08:30:00Z"));
    QCOMPARE(dateText(t1->lateFinish), QStringLiteral("2024-12-31T23:54:00Z"));
    QCOMPARE(dateText(t1->actualStart), QStringLiteral("unset"));
    QCOMPARE(predecessorColumn(t2, &Task::Predecessor::uniqueId), QVector<qint32> { 1 });
    QCOMPARE(predecessorColumn(t2, &Task::Predecessor::lag), QVector<qint32> { 4800 });
    QCOMPARE(predecessorColumn(project.task(3), &Task::Predecessor::lag), QVector<qint32> { -600 });
    QCOMPARE(predecessorColumn(project.task(3), &Task::Predecessor::lagUnits),
             QVector<qint32> { 5 });
    QCOMPARE(predecessorColumn(project.task(3), &Task::Predecessor::type), QVector<qint16> { 1 });
    QCOMPARE(project.resources().size(), 1);
    QCOMPARE(project.resource(1)->name, QStringLiteral("Ann"));
    QCOMPARE(project.resource(1)->shortName, QStringLiteral("A"));
    QCOMPARE(project.assignments().size(), 1);
    const Assignment *a = project.assignments().first();
    QCOMPARE(a->taskUniqueId, 1);
    QCOMPARE(a->af0a, 8.0);
    QCOMPARE(a->af14, at(2024, 3, 4));
    // "   19" keeps assignments in one fixed block.
    QCOMPARE(a->af0b, layout == MppScheduleSpec::Mpp9 ? 0.0 : 2.0);
}

void TestMppReader::outlineNumbers_data()
{
    QTest::addColumn<TaskParents>("tasks");
    QTest::addColumn<QStringList>("codes"); // in task order
    QTest::newRow("siblings by unique id")
        << TaskParents { { 0, -1 }, { 5, 0 }, { 3, 0 } } << QStringList { "1", "1.2", "1.1" };
    QTest::newRow("children before their parent")
        << TaskParents { { 0, -1 }, { 2, 9 }, { 3, 9 }, { 9, 0 }, { 1, 0 } }
        << QStringList { "1", "1.2.1", "1.2.2", "1.2", "1.1" };
    QTest::newRow("own parent is a root")
        << TaskParents { { 0, -1 }, { 4, 4 }, { 5, 4 } } << QStringList { "1", "1", "1.1" };
    // Tasks 7 and 8 are each other's parent: no root, so they keep their stored text.
    QTest::newRow("parent cycle") << TaskParents {
        { 0, -1 }, { 7, 8 }, { 8, 7 }, { 9, 7 }, { 1, 0 }
    } << QStringList { "1", "", "", "", "1.1" };
}

void TestMppReader::outlineNumbers()
{
    QFETCH(TaskParents, tasks);
    QFETCH(QStringList, codes);
    MppScheduleSpec spec;
    for (const auto &[uid, parent] : tasks)
        spec.tasks.append(task(uid, parent));
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, project), int(StatusOk));
    for (int i = 0; i < tasks.size(); ++i)
        QCOMPARE(project.task(tasks.at(i).first)->code, codes.at(i));
}

void TestMppReader::blankAndShortRecords()
{
    MppScheduleSpec spec = flatSchedule(3);
    spec.tasks[1].blank = true;
    spec.tasks[2].shortRecord = true;
    spec.tasks[2].tf17 = 42;
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, project), int(StatusOk));
    const Task *blank = project.task(1);
    QVERIFY(blank->blankRecord);
    QVERIFY(blank->name.isEmpty());
    QVERIFY(isUnset(blank->start));
    const Task *shortTask = project.task(2);
    QVERIFY(shortTask->shortRecord);
    QCOMPARE(shortTask->tf17, 42);
    QVERIFY(shortTask->code.isEmpty()); // not numbered
    QCOMPARE(project.task(3)->code, QStringLiteral("1.1"));
}

void TestMppReader::manualSchedulingFlag_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("userType");
    QTest::addColumn<int>("fixed2MetaSize");
    for (const int size : { 92, 93, 94, 96 }) {
        QTest::addRow("114 v15 items of %d", size)
            << int(MppScheduleSpec::Mpp14) << "Microsoft.Project 15.0" << size;
    }
    QTest::newRow("114 v14") << int(MppScheduleSpec::Mpp14) << "Microsoft.Project 14.0" << 93;
    QTest::newRow("114 without prefix") << int(MppScheduleSpec::Mpp14) << "Microsoft Project" << 92;
    QTest::newRow("112 v12") << int(MppScheduleSpec::Mpp12) << "Microsoft Project 12.0" << 86;
    QTest::newRow("112 v14") << int(MppScheduleSpec::Mpp12) << "Microsoft.Project 14.0" << 86;
    QTest::newRow("112 v16") << int(MppScheduleSpec::Mpp12) << "Microsoft.Project 16.0" << 86;
    // Saved with the item size of a later version: read, not rejected.
    QTest::newRow("112 items of 93")
        << int(MppScheduleSpec::Mpp12) << "Microsoft.Project 16.0" << 93;
}

void TestMppReader::manualSchedulingFlag()
{
    QFETCH(int, layout);
    QFETCH(QString, userType);
    QFETCH(int, fixed2MetaSize);
    MppScheduleSpec spec = flatSchedule(2, MppScheduleSpec::Layout(layout));
    spec.userType = userType;
    spec.taskFixed2MetaSize = fixed2MetaSize;
    // Task 1 is manually scheduled: its shown dates are not the scheduled ones.
    spec.tasks[1].manual = true;
    spec.tasks[1].start = at(2024, 3, 1);
    spec.tasks[1].finish = at(2024, 3, 2, 17);
    spec.tasks[2].start = at(2024, 1, 1);
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, project), int(StatusOk));
    QCOMPARE(project.task(1)->autoScheduled, 0);
    QCOMPARE(project.task(1)->start, at(2024, 3, 1));
    QCOMPARE(project.task(1)->finish, at(2024, 3, 2, 17));
    QCOMPARE(project.task(2)->autoScheduled, 1);
    QCOMPARE(project.task(2)->start, at(2024, 3, 4));
}

void TestMppReader::startTakesScheduledDateWhenUnset()
{
    // The "   19" layout has no second block: the shown start comes from the scheduled one.
    MppScheduleSpec spec = flatSchedule(1, MppScheduleSpec::Mpp9);
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, project), int(StatusOk));
    QCOMPARE(project.task(1)->start, at(2024, 3, 4));
    QCOMPARE(project.task(1)->autoScheduled, 1);

    spec = flatSchedule(1);
    spec.tasks[1].manual = true;
    spec.tasks[1].start = QDateTime(); // stored as no date
    Project manual(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, manual), int(StatusOk));
    QCOMPARE(manual.task(1)->start, at(2024, 3, 4));
}

void TestMppReader::recordsOutOfItemOrder()
{
    MppScheduleSpec spec = flatSchedule(4);
    spec.reverseRecordOrder = true;
    spec.relations = { relation(1, 1, 2), relation(2, 3, 4) };
    spec.resources
        = { { 1, QStringLiteral("Ann"), QString() }, { 2, QStringLiteral("Bob"), QString() } };
    spec.assignments = { { 10, 1, 1, 1.0, 0, {}, {} },
                         { 11, 2, 2, 2.0, 0, {}, {} },
                         { 12, 3, 1, 3.0, 0, {}, {} } };
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, project), int(StatusOk));
    for (int uid = 1; uid <= 4; ++uid)
        QCOMPARE(project.task(uid)->name, QStringLiteral("Task %1").arg(uid));
    QCOMPARE(predecessorColumn(project.task(2), &Task::Predecessor::uniqueId),
             QVector<qint32> { 1 });
    QCOMPARE(predecessorColumn(project.task(4), &Task::Predecessor::uniqueId),
             QVector<qint32> { 3 });
    QCOMPARE(project.assignments().size(), 3);
    for (int i = 0; i < 3; ++i) {
        const Assignment *a = project.assignments().at(i);
        QCOMPARE(a->uniqueId, 10 + i);
        QCOMPARE(a->taskUniqueId, 1 + i);
        QCOMPARE(a->af0a, 1.0 + i);
    }
}

void TestMppReader::relationsDropOutOfOrderAndForeignLinks()
{
    MppScheduleSpec spec = flatSchedule(8);
    spec.relations = { relation(1, 1, 2), relation(2, 2, 3),
                       relation(5, 3, 4), relation(3, 4, 5), // smaller than 5: dropped
                       relation(7, 5, 6), relation(8, 6, 6), // a task linked to itself
                       relation(9, 99, 7) }; // an unknown task
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, project), int(StatusOk));
    QCOMPARE(predecessorColumn(project.task(4), &Task::Predecessor::uniqueId),
             QVector<qint32> { 3 });
    QVERIFY(project.task(5)->predecessors.isEmpty());
    QCOMPARE(predecessorColumn(project.task(6), &Task::Predecessor::uniqueId),
             QVector<qint32> { 5 });
    QVERIFY(project.task(7)->predecessors.isEmpty());

    spec.withRelationsStorage = false;
    Project noRelations(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, noRelations), int(StatusOk));
    QVERIFY(noRelations.task(2)->predecessors.isEmpty());
}

void TestMppReader::relationLagLayout_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("userType");
    QTest::addColumn<bool>("storedB");
    QTest::addColumn<quint16>("units");
    QTest::addColumn<qint32>("lag");
    QTest::addColumn<bool>("readsRight");
    // A lag of 4800 has 0 in its upper half: with units 7 both layouts look possible, and
    // the version decides.
    const int l14 = MppScheduleSpec::Mpp14;
    const int l12 = MppScheduleSpec::Mpp12;
    const int l9 = MppScheduleSpec::Mpp9;
    QTest::newRow("114 v15 default B")
        << l14 << "Microsoft.Project 15.0" << true << quint16(7) << 4800 << true;
    QTest::newRow("114 v14 default A")
        << l14 << "Microsoft.Project 14.0" << false << quint16(7) << 4800 << true;
    QTest::newRow("114 no prefix default B")
        << l14 << "Microsoft Project 14.0" << true << quint16(7) << 4800 << true;
    QTest::newRow("112 v16 default A")
        << l12 << "Microsoft.Project 16.0" << false << quint16(7) << 4800 << true;
    QTest::newRow("19 v15 default A")
        << l9 << "Microsoft.Project 15.0" << false << quint16(7) << 4800 << true;
    // Unit codes above 13 rule a layout out whatever the version.
    QTest::newRow("114 v15 stored A")
        << l14 << "Microsoft.Project 15.0" << false << quint16(7) << 960000 << true;
    QTest::newRow("112 stored B") << l12 << "Microsoft.Project 16.0" << true << quint16(9)
                                  << 4800 * 50 << true;
}

void TestMppReader::relationLagLayout()
{
    QFETCH(int, layout);
    QFETCH(QString, userType);
    QFETCH(bool, storedB);
    QFETCH(quint16, units);
    QFETCH(qint32, lag);
    MppScheduleSpec spec = flatSchedule(2, MppScheduleSpec::Layout(layout));
    spec.userType = userType;
    spec.relationLayoutB = storedB;
    spec.relations = { relation(1, 1, 2, lag, units) };
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, project), int(StatusOk));
    QCOMPARE(predecessorColumn(project.task(2), &Task::Predecessor::lag), QVector<qint32> { lag });
    QCOMPARE(predecessorColumn(project.task(2), &Task::Predecessor::lagUnits),
             QVector<qint32> { units });
}

void TestMppReader::resourcesNeedAName()
{
    MppScheduleSpec spec = flatSchedule(1);
    spec.resources = { { 1, QString(), QStringLiteral("X") },
                       { 2, QStringLiteral("Bob"), QStringLiteral("B") } };
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, project), int(StatusOk));
    QCOMPARE(project.resources().size(), 1);
    const Resource *bob = project.resource(2);
    QCOMPARE(bob->name, QStringLiteral("Bob"));
    QCOMPARE(bob->shortName, QStringLiteral("B"));
    QCOMPARE(bob->uniqueIdText, QStringLiteral("2"));
}

void TestMppReader::assignments()
{
    MppScheduleSpec spec = flatSchedule(2);
    spec.resources = { { 1, QStringLiteral("Ann"), QString() } };
    spec.assignments = { { 10, 1, 1, 8.0, 2.5, at(2024, 3, 4), at(2024, 3, 8, 17) },
                         { 11, 2, 1, 1.0, 0, {}, {} },
                         { 12, 99, 1, 1.0, 0, {}, {} }, // unknown task
                         { 13, 2, 7, 1.0, 0, {}, {} } }; // unknown resource
    QMap<QString, QByteArray> streams = buildMppStreams(spec);
    // Item 1 starts with a non-zero byte: it is skipped.
    streams[QStringLiteral("/   114/TBkndAssn/FixedMeta")][16 + 34] = 1;
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readStreams(streams, project), int(StatusOk));
    QCOMPARE(project.assignments().size(), 1);
    const Assignment *a = project.assignments().first();
    QCOMPARE(a->uniqueId, 10);
    QCOMPARE(a->af0a, 8.0); // 480000 thousandths of a minute
    QCOMPARE(a->af0b, 2.5); // from the second fixed block
    QCOMPARE(a->af14, at(2024, 3, 4));
    QCOMPARE(a->af15, at(2024, 3, 8, 17));
    QVERIFY(isUnset(a->af16));
}

// Resources come on top of the tasks and links of the older layouts: a missing or damaged
// resource or assignment block drops the resources, not the file.
void TestMppReader::olderLayoutsOpenWithoutResourceBlocks_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("stream");
    QTest::addColumn<QByteArray>("bytes"); // replaces the stream; null removes it
    for (const int layout : { int(MppScheduleSpec::Mpp12), int(MppScheduleSpec::Mpp9) }) {
        const char *name = layout == MppScheduleSpec::Mpp12 ? "112" : "19";
        QTest::addRow("%s no resource VarMeta", name)
            << layout << "TBkndRsc/VarMeta" << QByteArray();
        QTest::addRow("%s no resource FixedMeta", name)
            << layout << "TBkndRsc/FixedMeta" << QByteArray();
        QTest::addRow("%s resource FixedMeta magic", name)
            << layout << "TBkndRsc/FixedMeta" << QByteArray(40, '\x01');
        QTest::addRow("%s no assignment Var2Data", name)
            << layout << "TBkndAssn/Var2Data" << QByteArray();
        QTest::addRow("%s assignment VarMeta magic", name)
            << layout << "TBkndAssn/VarMeta" << QByteArray(40, '\x01');
    }
}

void TestMppReader::olderLayoutsOpenWithoutResourceBlocks()
{
    QFETCH(int, layout);
    QFETCH(QString, stream);
    QFETCH(QByteArray, bytes);
    MppScheduleSpec spec = flatSchedule(2, MppScheduleSpec::Layout(layout));
    spec.relations = { relation(1, 1, 2) };
    spec.resources = { { 1, QStringLiteral("Ann"), QString() } };
    spec.assignments = { { 10, 1, 1, 8.0, 0, {}, {} } };
    QMap<QString, QByteArray> streams = buildMppStreams(spec);
    const QString path = (layout == MppScheduleSpec::Mpp12 ? QStringLiteral("/   112/")
                                                           : QStringLiteral("/   19/"))
        + stream;
    QVERIFY(streams.contains(path));
    if (bytes.isNull())
        streams.remove(path);
    else
        streams[path] = bytes;
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readStreams(streams, project), int(StatusOk));
    QCOMPARE(project.tasks().size(), 3);
    QCOMPARE(predecessorColumn(project.task(2), &Task::Predecessor::uniqueId),
             QVector<qint32> { 1 });
    QVERIFY(project.resources().isEmpty());
    QVERIFY(project.assignments().isEmpty());
}

// Every resource and assignment stream of the older layouts cut short at each length, and with
// each byte inverted: the read never fails and the tasks stay.
void TestMppReader::damagedResourceStreamsKeepTasks_data()
{
    QTest::addColumn<int>("layout");
    QTest::newRow("112") << int(MppScheduleSpec::Mpp12);
    QTest::newRow("19") << int(MppScheduleSpec::Mpp9);
}

void TestMppReader::damagedResourceStreamsKeepTasks()
{
    QFETCH(int, layout);
    MppScheduleSpec spec = flatSchedule(2, MppScheduleSpec::Layout(layout));
    spec.resources = { { 1, QStringLiteral("Ann"), QStringLiteral("A") },
                       { 2, QStringLiteral("Bob"), QString() } };
    spec.assignments = { { 10, 1, 1, 8.0, 1.0, at(2024, 3, 4), {} }, { 11, 2, 2, 4.0, 0, {}, {} } };
    const QMap<QString, QByteArray> streams = buildMppStreams(spec);
    const auto readsTasks = [](const QMap<QString, QByteArray> &damaged) {
        Project project(QStringLiteral("crafted.mpp"));
        return readStreams(damaged, project) == StatusOk && project.tasks().size() == 3
            && project.assignments().size() <= 2;
    };
    for (auto it = streams.cbegin(); it != streams.cend(); ++it) {
        if (!it.key().contains(QLatin1String("/TBkndRsc/"))
            && !it.key().contains(QLatin1String("/TBkndAssn/")))
            continue;
        const QByteArray &original = it.value();
        for (int length = 0; length < original.size(); ++length) {
            QMap<QString, QByteArray> damaged = streams;
            damaged[it.key()] = original.left(length);
            QVERIFY2(readsTasks(damaged),
                     qPrintable(it.key() + QStringLiteral(" cut at %1").arg(length)));
        }
        for (int pos = 0; pos < original.size(); ++pos) {
            QMap<QString, QByteArray> damaged = streams;
            damaged[it.key()][pos] = char(~original.at(pos));
            QVERIFY2(readsTasks(damaged),
                     qPrintable(it.key() + QStringLiteral(" byte %1").arg(pos)));
        }
    }
}

void TestMppReader::slackFieldsAbsentFromMap()
{
    MppScheduleSpec spec = flatSchedule(1);
    spec.tasks[1].startSlack = 4800;
    spec.tasks[1].finishSlack = 2400;
    spec.tasks[1].duration = 4800;
    spec.tasks[1].work = 480000;
    spec.tasks[1].actualWork = 120000;
    Project present(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, present), int(StatusOk));
    const Task *t = present.task(1);
    QCOMPARE(t->startSlack, std::optional<qint32>(4800));
    QCOMPARE(t->finishSlack, std::optional<qint32>(2400));
    QCOMPARE(t->duration, std::optional<qint32>(4800));
    QCOMPARE(t->work, std::optional<double>(480000));
    QCOMPARE(t->actualWork, std::optional<double>(120000));

    spec.omitSlackFields = true;
    Project absent(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, absent), int(StatusOk));
    const Task *a = absent.task(1);
    QVERIFY(!a->startSlack && !a->finishSlack && !a->duration && !a->work && !a->actualWork);
    // A blank record reads nothing, not even the fields in the map.
    spec.omitSlackFields = false;
    spec.tasks[1].blank = true;
    Project blank(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, blank), int(StatusOk));
    QVERIFY(!blank.task(1)->startSlack);
}

void TestMppReader::baselines_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QByteArray>("startBytes"); // stored for Baseline3's start
    QTest::addColumn<QString>("start"); // as read
    const QByteArray good = MppBlockBuilder::dateBytes(at(2023, 5, 2, 9));
    const QByteArray year1983 = MppBlockBuilder::dateBytes(at(1983, 12, 31, 8));
    const QByteArray year2150 = MppBlockBuilder::dateBytes(at(2150, 1, 1));
    const QString goodText = QStringLiteral("2023-05-02T09:00:00Z");
    for (const auto &[name, layout] :
         { std::pair("114", MppScheduleSpec::Mpp14), std::pair("112", MppScheduleSpec::Mpp12),
           std::pair("19", MppScheduleSpec::Mpp9) }) {
        QTest::addRow("%s", name) << int(layout) << good << goodText;
        QTest::addRow("%s before 1984", name) << int(layout) << year1983 << "unset";
        QTest::addRow("%s after 2149", name) << int(layout) << year2150 << "unset";
        QTest::addRow("%s three bytes", name) << int(layout) << good.left(3) << "unset";
    }
}

void TestMppReader::baselines()
{
    QFETCH(int, layout);
    QFETCH(QByteArray, startBytes);
    QFETCH(QString, start);
    MppScheduleSpec spec = flatSchedule(3, MppScheduleSpec::Layout(layout));
    MppBaselineSpec full { 0, at(2023, 5, 1), at(2023, 5, 5, 17), 24000, 2400000, 1234.5, {} };
    MppBaselineSpec third { 3, {}, at(2023, 6, 9, 17), 0, 0, 0, startBytes };
    MppBaselineSpec tenth { 10, {}, {}, 0, 0, 99, {} };
    MppBaselineSpec nothing { 7, {}, {}, 0, 0, 0, {} };
    spec.tasks[1].baselines = { full, third, tenth, nothing };
    spec.tasks[2].baselines = { nothing };

    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, project), int(StatusOk));
    // A baseline without a date or a non-zero amount is not stored.
    const Task *t = project.task(1);
    QCOMPARE(t->baselines.size(), 3);
    QVERIFY(project.task(2)->baselines.isEmpty() && project.task(3)->baselines.isEmpty());
    const Baseline *b0 = t->baseline(0);
    QVERIFY(b0);
    QCOMPARE(dateText(b0->start), QStringLiteral("2023-05-01T08:00:00Z"));
    QCOMPARE(dateText(b0->finish), QStringLiteral("2023-05-05T17:00:00Z"));
    QCOMPARE(b0->duration, std::optional<qint32>(24000));
    QCOMPARE(b0->work, std::optional<double>(2400000));
    QCOMPARE(b0->cost, std::optional<double>(1234.5));
    const Baseline *b3 = t->baseline(3);
    QVERIFY(b3);
    QCOMPARE(dateText(b3->start), start);
    QCOMPARE(dateText(b3->finish), QStringLiteral("2023-06-09T17:00:00Z"));
    QCOMPARE(b3->cost, std::optional<double>(0));
    QCOMPARE(t->baseline(10)->cost, std::optional<double>(99));
    QVERIFY(!t->baseline(7) && !t->baseline(1));
}

void TestMppReader::damagedBaselineValues_data()
{
    QTest::addColumn<int>("layout");
    QTest::newRow("114") << int(MppScheduleSpec::Mpp14);
    QTest::newRow("19") << int(MppScheduleSpec::Mpp9);
}

// Every byte of the variable data flipped, and the stream cut at every length: the reader
// gives a status and, under the sanitizers, reads nothing outside its buffers.
void TestMppReader::damagedBaselineValues()
{
    QFETCH(int, layout);
    MppScheduleSpec spec = flatSchedule(1, MppScheduleSpec::Layout(layout));
    spec.tasks[1].baselines = { { 0, at(2023, 5, 1), at(2023, 5, 5), 600, 60000, 5, {} },
                                { 4, at(2023, 5, 1), {}, 0, 0, 0, {} },
                                { 9, {}, at(2023, 5, 5), 0, 0, 0, {} } };
    const QMap<QString, QByteArray> streams = buildMppStreams(spec);
    const QString path
        = (layout == MppScheduleSpec::Mpp9 ? QStringLiteral("/   19") : QStringLiteral("/   114"))
        + QStringLiteral("/TBkndTask/Var2Data");
    const QByteArray data = streams.value(path);
    QVERIFY(data.size() > 100);
    for (int pos = 0; pos < data.size(); ++pos) {
        for (const QByteArray &damaged :
             { data.left(pos),
               QByteArray(data).replace(pos, 1, QByteArray(1, char(data.at(pos) ^ 0xFF))) }) {
            QMap<QString, QByteArray> s = streams;
            s[path] = damaged;
            Project project(QStringLiteral("damaged.mpp"));
            const int status = readStreams(s, project);
            QVERIFY2(status == StatusOk || status == StatusMalformedBlock,
                     qPrintable(QString::number(pos)));
            for (const Task *t : project.tasks()) {
                for (const Baseline &b : t->baselines)
                    QVERIFY(b.number >= 0 && b.number < BaselineCount);
            }
        }
    }
}

void TestMppReader::statuses_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("status");
    const MppScheduleSpec spec = flatSchedule(2);
    const QMap<QString, QByteArray> streams = buildMppStreams(spec);
    const auto fileOf = [](QMap<QString, QByteArray> s) {
        CfbWriter writer;
        for (auto it = s.cbegin(); it != s.cend(); ++it)
            writer.addStream(it.key(), it.value());
        return writer.build();
    };
    const auto without = [&](const QString &path) {
        QMap<QString, QByteArray> s = streams;
        s.remove(path);
        return fileOf(s);
    };
    const auto replaced = [&](const QString &path, const QByteArray &bytes) {
        QMap<QString, QByteArray> s = streams;
        s[path] = bytes;
        return fileOf(s);
    };
    const QString dir = QStringLiteral("/   114");
    QTest::newRow("not a compound file") << QByteArray("not an mpp file") << int(StatusOpenFailed);
    QTest::newRow("no layout directory")
        << fileOf({ { QStringLiteral("/   1/Props"), QByteArray(16, '\0') } })
        << int(StatusUnknownLayout);
    QTest::newRow("short props") << replaced(dir + "/Props", QByteArray(15, '\0'))
                                 << int(StatusOpenFailed);
    QTest::newRow("no task field map")
        << replaced(dir + "/Props", MppBlockBuilder::propsStream({})) << int(StatusMissingField);
    QTest::newRow("missing FixedMeta")
        << without(dir + "/TBkndTask/FixedMeta") << int(StatusMalformedBlock);
    QByteArray var2 = streams.value(dir + "/TBkndTask/Var2Data");
    var2.chop(1);
    QTest::newRow("short Var2Data")
        << replaced(dir + "/TBkndTask/Var2Data", var2) << int(StatusMalformedBlock);
    QTest::newRow("missing resource VarMeta")
        << without(dir + "/TBkndRsc/VarMeta") << int(StatusMalformedBlock);
    QTest::newRow("short CompObj") << replaced(QStringLiteral("/\x01"
                                                              "CompObj"),
                                               QByteArray(27, '\0'))
                                   << int(StatusOk);
}

void TestMppReader::statuses()
{
    QFETCH(QByteArray, file);
    QFETCH(int, status);
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(project.readData(file), status);
}

void TestMppReader::compObjTexts()
{
    MppScheduleSpec spec = flatSchedule(1);
    spec.userType = QStringLiteral("Microsoft Project 4.0");
    Project old(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, old), int(StatusOk));
    QCOMPARE(old.progId(), QStringLiteral("MSProject.Project.4"));
    QCOMPARE(old.clipboardFormat(), QStringLiteral("MSProject.MPP4"));

    spec.userType = QStringLiteral("Microsoft.Project 16.0");
    Project current(QStringLiteral("crafted.mpp"));
    QCOMPARE(readFile(spec, current), int(StatusOk));
    // The stored strings end with a NUL that is not part of the text.
    QCOMPARE(current.userType(), QStringLiteral("Microsoft.Project 16.0"));
    QCOMPARE(current.progId(), QStringLiteral("MSProject.Project.9"));
    QCOMPARE(current.clipboardFormat(), QStringLiteral("MSProject.MPP14"));

    QMap<QString, QByteArray> streams = buildMppStreams(spec);
    streams[QStringLiteral("/CompObj")] = QByteArray(27, '\0');
    Project shortCompObj(QStringLiteral("crafted.mpp"));
    QCOMPARE(readStreams(streams, shortCompObj), int(StatusOk));
    QVERIFY(shortCompObj.userType().isEmpty());
    QCOMPARE(shortCompObj.tasks().size(), 2);
}

void TestMppReader::firstLayoutDirectoryWins()
{
    QMap<QString, QByteArray> streams = buildMppStreams(flatSchedule(2));
    const QMap<QString, QByteArray> old = buildMppStreams(flatSchedule(5, MppScheduleSpec::Mpp9));
    for (auto it = old.cbegin(); it != old.cend(); ++it) {
        if (it.key().startsWith(QLatin1String("/   19/")))
            streams.insert(it.key(), it.value());
    }
    Project project(QStringLiteral("crafted.mpp"));
    QCOMPARE(readStreams(streams, project), int(StatusOk));
    QCOMPARE(project.tasks().size(), 3);
}

QTEST_GUILESS_MAIN(TestMppReader)
#include "tst_mppreader.moc"
