// The comparison rules on crafted versions of one small schedule: each compared field, each
// link change, WBS moves, rebuilt files matched by WBS path and name, duplicate unique IDs.
#include "models/ryconstants.h"
#include "projectbuilder.h"
#include "tables/mpploader.h"
#include "tables/rycomparemodel.h"
#include "tables/rylinkchangemodel.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QJsonDocument>
#include <QStandardItemModel>
#include <QtTest>

#include <functional>

using namespace TestProject;

using Edit = std::function<void(mppr::Project &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

mppr::Task *activity(mppr::Project &project, qint32 uid, qint32 parent, const QString &name,
                     int day)
{
    mppr::Task *t = addTask(project, uid, parent, name);
    t->earlyStart = at(2024, 3, day);
    t->earlyFinish = at(2024, 3, day + 1, 17);
    t->duration = 9600;
    t->tf1f = 4800;
    t->percentComplete = 50;
    t->startSlack = t->finishSlack = 4800;
    t->constraintDate = at(2024, 3, 1);
    mppr::Baseline baseline;
    baseline.start = t->earlyStart;
    baseline.finish = t->earlyFinish;
    t->baselines.append(baseline);
    return t;
}

// Phase A (1) holds 2, 3 and 4, Phase B (5) holds 6; links 2->3 FS, 3->4 SS one hour, 4->6 FS.
// All unique IDs are shifted by `offset`, as a file rebuilt from scratch would number them.
std::unique_ptr<mppr::Project> schedule(qint32 offset = 0, const Edit &edit = {})
{
    auto project = std::make_unique<mppr::Project>(QStringLiteral("version.mpp"));
    addTask(*project, offset + 1, -1, "Phase A");
    addTask(*project, offset + 5, -1, "Phase B");
    activity(*project, offset + 2, offset + 1, "Survey", 4);
    addRelation(activity(*project, offset + 3, offset + 1, "Design", 6), offset + 2, 1);
    addRelation(activity(*project, offset + 4, offset + 1, "Build", 11), offset + 3, 3, 600);
    addRelation(activity(*project, offset + 6, offset + 5, "Hand over", 13), offset + 4, 1);
    if (edit)
        edit(*project);
    return project;
}

// The task loses its record (and so its row) and its links, as if never saved.
void remove(mppr::Project &project, qint32 uid)
{
    project.task(uid)->blankRecord = true;
    for (mppr::Task *t : project.tasks()) {
        for (int k = t->predecessors.size() - 1; k >= 0; --k) {
            if (t->uniqueId == uid || t->predecessors.at(k).uniqueId == uid)
                t->predecessors.remove(k);
        }
    }
}

// The schema the program loads, so that the loader's derived steps find their columns.
void setBuiltInSchema(MPPLoader &loader)
{
    QFile file(QStringLiteral(":/files/mppr.json"));
    if (file.open(QIODevice::ReadOnly))
        loader.setSchema(QJsonDocument::fromJson(file.readAll()));
}

struct Versions
{
    MPPLoader oldLoader;
    MPPLoader newLoader;
    std::unique_ptr<RyCompareModel> model;
    Versions(std::unique_ptr<mppr::Project> before, std::unique_ptr<mppr::Project> after)
    {
        setBuiltInSchema(oldLoader);
        setBuiltInSchema(newLoader);
        oldLoader.loadProject(std::move(before));
        newLoader.loadProject(std::move(after));
        model = std::make_unique<RyCompareModel>(RyCompareVersion::fromLoader(oldLoader),
                                                 RyCompareVersion::fromLoader(newLoader));
    }
};

// "uid change field,field" per activity that is not unchanged, "pred>succ change" per link.
QStringList changes(const RyCompareModel &model)
{
    QStringList lines;
    for (const auto &a : model.activities()) {
        if (a.change != RyCompareModel::ChangeKind::Unchanged) {
            lines << QStringLiteral("%1 %2 %3")
                         .arg(a.uniqueId)
                         .arg(RyCompareModel::changeName(a.change),
                              RyCompareModel::fieldNames(a.fields).join(','))
                         .trimmed();
        }
    }
    for (const auto &link : model.links()) {
        lines << QStringLiteral("%1>%2 %3")
                     .arg(link.predecessor)
                     .arg(link.successor)
                     .arg(RyCompareModel::changeName(link.change));
    }
    lines.sort();
    return lines;
}

} // namespace

class tst_RyCompareModel : public QObject
{
    Q_OBJECT

private slots:
    void rules_data();
    void rules();
    void deltas_data();
    void deltas();
    void duplicateUniqueIds();
    void linkChanges_data();
    void linkChanges();
    void headerDescriptions_data();
    void headerDescriptions();
    void workingDays_data();
    void workingDays();
};

void tst_RyCompareModel::rules_data()
{
    QTest::addColumn<qint32>("newOffset");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("matching");

    const auto task = [](qint32 uid, const std::function<void(mppr::Task &)> &change) {
        return Edit([=](mppr::Project &p) { change(*p.task(uid)); });
    };
    const QString byId = QStringLiteral("uniqueId");
    QTest::newRow("self") << 0 << Edit() << QStringList() << byId;
    QTest::newRow("name") << 0 << task(3, [](mppr::Task &t) { t.name = "Detail design"; })
                          << QStringList { "3 changed name" } << byId;
    QTest::newRow("wbs move") << 0 << task(3, [](mppr::Task &t) { t.parentUniqueId = 5; })
                              << QStringList { "3 changed wbs" } << byId;
    QTest::newRow("start") << 0 << task(3, [](mppr::Task &t) { t.earlyStart = at(2024, 3, 5); })
                           << QStringList { "3 changed start" } << byId;
    QTest::newRow("finish") << 0
                            << task(3, [](mppr::Task &t) { t.earlyFinish = at(2024, 3, 8, 17); })
                            << QStringList { "3 changed finish" } << byId;
    QTest::newRow("duration") << 0 << task(3, [](mppr::Task &t) { t.duration = 4800; })
                              << QStringList { "3 changed duration" } << byId;
    QTest::newRow("remaining") << 0 << task(3, [](mppr::Task &t) { t.tf1f = 0; })
                               << QStringList { "3 changed remainingDuration" } << byId;
    QTest::newRow("percent") << 0 << task(3, [](mppr::Task &t) { t.percentComplete = 100; })
                             << QStringList { "3 changed percentComplete" } << byId;
    QTest::newRow("total float") << 0 << task(3, [](mppr::Task &t) { t.finishSlack = 0; })
                                 << QStringList { "3 changed totalFloat" } << byId;
    QTest::newRow("constraint date")
        << 0 << task(3, [](mppr::Task &t) { t.constraintDate = at(2024, 3, 6); })
        << QStringList { "3 changed constraintDate" } << byId;
    QTest::newRow("milestone") << 0 << task(3, [](mppr::Task &t) { t.earlyFinish = t.earlyStart; })
                               << QStringList { "3 changed finish,activityType" } << byId;
    QTest::newRow("baseline start")
        << 0 << task(3, [](mppr::Task &t) { t.baselines[0].start = at(2024, 3, 7); })
        << QStringList { "3 changed baselineStart" } << byId;
    QTest::newRow("baseline finish")
        << 0 << task(3, [](mppr::Task &t) { t.baselines[0].finish = at(2024, 3, 8); })
        << QStringList { "3 changed baselineFinish" } << byId;
    QTest::newRow("link added") << 0 << task(6, [](mppr::Task &t) { addRelation(&t, 2, 1); })
                                << QStringList { "2>6 added", "6 changed predecessors" } << byId;
    QTest::newRow("link deleted") << 0 << Edit([](mppr::Project &p) {
        p.task(4)->predecessors[0].uniqueId = 2; // 3->4 becomes 2->4
    }) << QStringList { "2>4 added", "3>4 deleted", "4 changed predecessors" }
                                  << byId;
    QTest::newRow("link type") << 0 << task(4, [](mppr::Task &t) { t.predecessors[0].type = 1; })
                               << QStringList { "3>4 changed", "4 changed predecessors" } << byId;
    QTest::newRow("link lag") << 0 << task(4, [](mppr::Task &t) { t.predecessors[0].lag = 0; })
                              << QStringList { "3>4 changed", "4 changed predecessors" } << byId;
    QTest::newRow("activity added")
        << 0 << Edit([](mppr::Project &p) { activity(p, 7, 5, "Snagging", 18); })
        << QStringList { "7 added" } << byId;
    QTest::newRow("activity deleted")
        << 0 << Edit([](mppr::Project &p) { remove(p, 4); })
        << QStringList { "3>4 deleted", "4 deleted", "4>6 deleted", "6 changed predecessors" }
        << byId;
    const QString byName = QStringLiteral("wbsName");
    QTest::newRow("rebuilt") << 100 << Edit() << QStringList() << byName;
    QTest::newRow("rebuilt, moved and renamed") << 100 << Edit([](mppr::Project &p) {
        p.task(103)->parentUniqueId = 105; // Design under Phase B: another path, a new activity
        p.task(106)->name = "Handover";
    }) << QStringList { "103 added",     "104 changed predecessors",
                        "106 added",     "2>3 deleted",
                        "3 deleted",     "3>4 deleted",
                        "4>6 deleted",   "6 deleted",
                        "102>103 added", "103>104 added",
                        "104>106 added" } << byName;
    QTest::newRow("unrelated") << 100 << Edit([](mppr::Project &p) {
        for (qint32 uid : { 101, 105 })
            p.task(uid)->name = QStringLiteral("Other %1").arg(uid);
    }) << QStringList { "102 added",     "103 added",    "104 added",   "106 added",
                        "2 deleted",     "3 deleted",    "4 deleted",   "6 deleted",
                        "2>3 deleted",   "3>4 deleted",  "4>6 deleted", "102>103 added",
                        "103>104 added", "104>106 added" }
                               << byName;
}

void tst_RyCompareModel::rules()
{
    QFETCH(qint32, newOffset);
    QFETCH(Edit, edit);
    QFETCH(QStringList, expected);
    QFETCH(QString, matching);

    Versions versions(schedule(), schedule(newOffset, edit));
    QAbstractItemModelTester tester(versions.model.get(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    expected.sort();
    QCOMPARE(changes(*versions.model), expected);
    const RyCompareModel::Summary &s = versions.model->summary();
    QCOMPARE(RyCompareModel::matchingName(s.matching), matching);
    const auto rows = [](const MPPLoader &loader) {
        return qobject_cast<QAbstractItemModel *>(loader.model("TASK"))->rowCount();
    };
    QCOMPARE(s.added + s.changed + s.unchanged, rows(versions.newLoader));
    QCOMPARE(s.deleted + s.changed + s.unchanged, rows(versions.oldLoader));
    QCOMPARE(s.added + s.deleted + s.changed + s.unchanged, versions.model->rowCount());
    // The Change column shows what the records say, row by row.
    for (int row = 0; row < versions.model->rowCount(); ++row) {
        QCOMPARE(versions.model->index(row, RyCompareModel::Change).data().toString(),
                 RyCompareModel::changeName(versions.model->activities().at(row).change));
    }
}

void tst_RyCompareModel::deltas_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<qint32>("uid");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<double>("slip");

    QTest::newRow("start a day later")
        << Edit([](mppr::Project &p) { p.task(3)->earlyStart = at(2024, 3, 7); }) << 3
        << int(RyCompareModel::StartDelta) << QVariant(1) << 0.0;
    QTest::newRow("finish over a weekend") << Edit([](mppr::Project &p) {
        p.task(6)->earlyFinish = at(2024, 3, 18, 17); // Thursday to Monday
    }) << 6 << int(RyCompareModel::FinishDelta)
                                           << QVariant(2) << 2.0;
    QTest::newRow("finish earlier")
        << Edit([](mppr::Project &p) { p.task(6)->earlyFinish = at(2024, 3, 13, 17); }) << 6
        << int(RyCompareModel::FinishDelta) << QVariant(-1) << -1.0;
    QTest::newRow("duration one day more")
        << Edit([](mppr::Project &p) { p.task(2)->duration = 14400; }) << 2
        << int(RyCompareModel::DurationDelta) << QVariant(1.0) << 0.0;
    QTest::newRow("float half a day less")
        << Edit([](mppr::Project &p) { p.task(2)->startSlack = 2400; }) << 2
        << int(RyCompareModel::TotalFloatDelta) << QVariant(-0.5) << 0.0;
    QTest::newRow("old start") << Edit([](mppr::Project &p) {
        p.task(4)->earlyStart = at(2024, 3, 8);
    }) << 4 << int(RyCompareModel::OldStart)
                               << QVariant(at(2024, 3, 11)) << 0.0;
}

void tst_RyCompareModel::deltas()
{
    QFETCH(Edit, edit);
    QFETCH(qint32, uid);
    QFETCH(int, column);
    QFETCH(QVariant, expected);
    QFETCH(double, slip);

    Versions versions(schedule(), schedule(0, edit));
    const RyCompareModel &model = *versions.model;
    const QModelIndexList found = model.match(model.index(0, RyCompareModel::UniqueId),
                                              Qt::DisplayRole, uint(uid), 1, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    const QVariant value = model.index(found.first().row(), column).data();
    QCOMPARE(value.toString(), expected.toString());
    QCOMPARE(model.summary().finishSlipDays, slip);
    QCOMPARE(model.summary().finishedLater, int(slip > 0));
    QCOMPARE(model.summary().finishedEarlier, int(slip < 0));
}

void tst_RyCompareModel::duplicateUniqueIds()
{
    // A damaged file can list a unique ID twice; the reader's project cannot hold that, so
    // the tables are stood in for by plain models.
    const auto tasks = [](const QStringList &rows) {
        auto *model = new QStandardItemModel(0, 2);
        model->setHeaderData(0, Qt::Horizontal, "task_id", Ry::ColumnIdRole);
        model->setHeaderData(1, Qt::Horizontal, "task_name", Ry::ColumnIdRole);
        for (const QString &row : rows) {
            const QStringList cells = row.split(' ');
            model->appendRow({ new QStandardItem(cells.at(0)), new QStandardItem(cells.at(1)) });
        }
        return model;
    };
    std::unique_ptr<QStandardItemModel> before(tasks({ "1 A", "1 B", "2 C" }));
    std::unique_ptr<QStandardItemModel> after(tasks({ "1 A", "2 C", "2 D", "1 E" }));
    RyCompareModel model(RyCompareVersion(before.get(), nullptr, nullptr),
                         RyCompareVersion(after.get(), nullptr, nullptr));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(changes(model), QStringList({ "1 added", "1 deleted", "2 added" }));
    QCOMPARE(model.index(4, RyCompareModel::Name).data().toString(), QStringLiteral("B"));
    QCOMPARE(model.summary().unchanged, 2);
    // A deleted row is keyed apart from the new version's row of the same unique ID.
    QCOMPARE(model.index(4, RyCompareModel::RowKey).data().toString(), QStringLiteral("deleted 1"));
    QCOMPARE(model.index(0, RyCompareModel::RowKey).data().toInt(), 1);
}

void tst_RyCompareModel::linkChanges_data()
{
    QTest::addColumn<qint32>("newOffset");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("added and deleted") << 0 << Edit([](mppr::Project &p) {
        p.task(4)->predecessors[0].uniqueId = 2; // 3->4 becomes 2->4
    }) << QStringList { "4<2 SS added Survey", "4<3 SS deleted Design" };
    QTest::newRow("type changed") << 0 << Edit([](mppr::Project &p) {
        p.task(4)->predecessors[0].type = 1;
    }) << QStringList { "4<3 FS changed Design" };
    // The links of a deleted activity are keyed as the activity view keys its row.
    QTest::newRow("activity deleted")
        << 0 << Edit([](mppr::Project &p) { remove(p, 3); })
        << QStringList { "4<deleted 3 SS deleted Design", "deleted 3<2 FS deleted Survey" };
    // Matched by WBS path and name: the deleted link's ends are the new version's activities.
    QTest::newRow("rebuilt") << 100
                             << Edit([](mppr::Project &p) { p.task(106)->predecessors.clear(); })
                             << QStringList { "106<104 FS deleted Build" };
}

void tst_RyCompareModel::linkChanges()
{
    QFETCH(qint32, newOffset);
    QFETCH(Edit, edit);
    QFETCH(QStringList, expected);

    Versions versions(schedule(), schedule(newOffset, edit));
    auto *links = qobject_cast<QAbstractItemModel *>(versions.newLoader.model("PredecessorModel"));
    QVERIFY(links);
    RyLinkChangeModel model(links, *versions.model);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const int change = model.changeColumn();
    QCOMPARE(model.headerData(change, Qt::Horizontal).toString(), QStringLiteral("Change"));
    QCOMPARE(model.headerData(8, Qt::Horizontal), links->headerData(8, Qt::Horizontal));
    // "successor<predecessor type change predecessor name" of each marked row.
    QStringList marked;
    for (int row = 0; row < model.rowCount(); ++row) {
        const auto text = [&](int column) { return model.index(row, column).data().toString(); };
        if (!text(change).isEmpty()) {
            marked << QStringLiteral("%1<%2 %3 %4 %5")
                          .arg(text(0), text(1), text(3).mid(3), text(change), text(8));
        }
    }
    marked.sort();
    QCOMPARE(marked, expected);
    QCOMPARE(model.rowCount(), links->rowCount() + expected.filter(" deleted ").size());
}

void tst_RyCompareModel::headerDescriptions_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("datatype");
    QTest::addColumn<QString>("group");
    QTest::newRow("change") << int(RyCompareModel::Change) << "string"
                            << "Compare";
    QTest::newRow("start delta") << int(RyCompareModel::StartDelta) << "double"
                                 << "Compare";
    QTest::newRow("float delta") << int(RyCompareModel::TotalFloatDelta) << "double"
                                 << "Compare";
    QTest::newRow("old finish") << int(RyCompareModel::OldFinish) << "datetime"
                                << "Compare";
    QTest::newRow("row key") << int(RyCompareModel::RowKey) << "string"
                             << "system";
}

void tst_RyCompareModel::headerDescriptions()
{
    // Filters and sorting read a column's type from its description.
    QFETCH(int, column);
    QFETCH(QString, datatype);
    QFETCH(QString, group);
    const RyCompareModel model { RyCompareVersion(), RyCompareVersion() };
    const QVariantMap description
        = model.headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
    QCOMPARE(description.value("datatype").toString(), datatype);
    QCOMPARE(description.value("group").toString(), group);
    QCOMPARE(description.value("id"), model.headerData(column, Qt::Horizontal, Ry::ColumnIdRole));
    QCOMPARE(description.value("display"), model.headerData(column, Qt::Horizontal));
}

void tst_RyCompareModel::workingDays_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("days");

    QTest::newRow("same day") << QDate(2024, 3, 6) << QDate(2024, 3, 6) << 0;
    QTest::newRow("Friday to Monday") << QDate(2024, 3, 8) << QDate(2024, 3, 11) << 1;
    QTest::newRow("Monday to Friday before") << QDate(2024, 3, 11) << QDate(2024, 3, 8) << -1;
    QTest::newRow("Saturday to Sunday") << QDate(2024, 3, 9) << QDate(2024, 3, 10) << 0;
    QTest::newRow("four weeks") << QDate(2024, 3, 6) << QDate(2024, 4, 3) << 20;
    QTest::newRow("across the year") << QDate(2023, 12, 29) << QDate(2024, 1, 2) << 2;
    QTest::newRow("around Julian day 0") << QDate(-4714, 11, 20) << QDate(-4714, 11, 27) << 5;
}

void tst_RyCompareModel::workingDays()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, days);
    QCOMPARE(RyCompareModel::workingDaysBetween(from, to), days);
}

QTEST_GUILESS_MAIN(tst_RyCompareModel)
#include "tst_rycomparemodel.moc"
