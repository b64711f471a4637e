// Outline codes as activity codes and custom field aliases as column names, on real schedules:
// the code tables against what the reader holds, grouping by a code, and layouts that name
// columns by id applying from one file to another.
#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "models/ryparentitemproxymodel.h"
#include "mppr/project.h"
#include "tables/mppactvcodemodel.h"
#include "tables/mpploader.h"
#include "tests/support/samplesdir.h"
#include "views/ryactivitygrouper.h"
#include "views/ryheaderstate.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QHeaderView>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

using RyModelLookup::findColumn;

namespace {

const char *OutlineCodesFile = "/extra/task-outlinecodes-project2010-mpp14.mpp";
const char *AliasFile = "/extra/alias.mpp";

QAbstractItemModel *modelOf(const MPPLoader &loader, const char *name)
{
    return qobject_cast<QAbstractItemModel *>(loader.model(QLatin1String(name)));
}

std::unique_ptr<MPPLoader> loaded(const char *file)
{
    auto loader = std::make_unique<MPPLoader>();
    QFile schema(":/files/mppr.json");
    schema.open(QIODevice::ReadOnly);
    loader->setSchema(QJsonDocument::fromJson(schema.readAll()));
    QSignalSpy finished(loader.get(), &ProjectLoader::finished);
    loader->load(samplesDir() + QLatin1String(file));
    return finished.count() == 1 && loader->project() ? std::move(loader) : nullptr;
}

void testModels(const MPPLoader &loader, QObject *owner)
{
    for (const char *name :
         { "ACTVTYPE", "ACTVCODE", "TASKACTV", "UDFTYPE", "taskCodesAssignmentModel" })
        new QAbstractItemModelTester(modelOf(loader, name),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest, owner);
}

} // namespace

class TestCodesAndAliases : public QObject
{
    Q_OBJECT
private slots:
    void outlineCodeTables();
    void parentsThatLeadNowhere_data();
    void parentsThatLeadNowhere();
    void groupByOutlineCode_data();
    void groupByOutlineCode();
    void aliasesNameColumns();
    void layoutByIdAppliesToAnotherFile();
};

void TestCodesAndAliases::outlineCodeTables()
{
    const auto loader = loaded(OutlineCodesFile);
    QVERIFY(loader);
    testModels(*loader, this);
    QAbstractItemModel *types = modelOf(*loader, "ACTVTYPE");
    QAbstractItemModel *codes = modelOf(*loader, "ACTVCODE");
    QAbstractItemModel *assignments = modelOf(*loader, "TASKACTV");
    // Ten codes without alias, two values each (the second below the first), one value for
    // each of the twenty tasks, as mppdump prints them.
    QCOMPARE(types->rowCount(), 10);
    QCOMPARE(types->index(0, 3).data(), QVariant("Outline Code 1"));
    QCOMPARE(codes->rowCount(), 20);
    QCOMPARE(codes->index(1, 0).data(), QVariant(2));
    QCOMPARE(codes->index(1, 4).data(), QVariant(1));
    QCOMPARE(codes->index(1, 5).data(), QVariant("OC1A.OC1B"));
    QVERIFY(codes->index(0, 4).data().isNull());
    QCOMPARE(assignments->rowCount(), 20);
    QAbstractItemModel *pivot = modelOf(*loader, "taskCodesAssignmentModel");
    QCOMPARE(pivot->columnCount(), 11);
    const int column = findColumn(pivot, "Outline Code 1");
    QVERIFY(column > 0);
    QCOMPARE(pivot->headerData(column, Qt::Horizontal, Ry::ColumnGroupRole), QVariant("Codes"));
    QStringList values;
    for (int row = 0; row < pivot->rowCount(); ++row) {
        if (!pivot->index(row, column).data().isNull())
            values << pivot->index(row, 0).data().toString() + "="
                    + pivot->index(row, column).data().toString();
    }
    values.sort();
    QCOMPARE(values, QStringList({ "11=OC1A.OC1B", "1=OC1A" }));
}

void TestCodesAndAliases::parentsThatLeadNowhere_data()
{
    QTest::addColumn<QVector<int>>("idsAndParents");
    QTest::addColumn<QString>("parents");
    QTest::newRow("tree") << QVector<int> { 1, 0, 2, 1, 3, 2 } << "-,1,2";
    QTest::newRow("missing parent") << QVector<int> { 1, 9, 2, 1 } << "-,1";
    QTest::newRow("cycle") << QVector<int> { 1, 2, 2, 1, 3, 0 } << "-,-,-";
    QTest::newRow("own parent") << QVector<int> { 1, 1 } << "-";
}

// A value whose parent is missing or lies on a cycle stands at the top level.
void TestCodesAndAliases::parentsThatLeadNowhere()
{
    QFETCH(QVector<int>, idsAndParents);
    QFETCH(QString, parents);
    mppr::OutlineCode code;
    for (int i = 0; i + 1 < idsAndParents.size(); i += 2)
        code.values.append({ idsAndParents.at(i), idsAndParents.at(i + 1),
                             QString::number(idsAndParents.at(i)), QString() });
    mppr::Project project(QString {});
    project.setOutlineCodes({ code });
    MPPActvCodeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setProject(&project);
    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QVariant parent = model.index(row, MPPActvCodeModel::ParentActvCodeId).data();
        shown << (parent.isNull() ? QStringLiteral("-") : parent.toString());
    }
    QCOMPARE(shown.join(","), parents);
}

void TestCodesAndAliases::groupByOutlineCode_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("groups");
    QTest::newRow("all") << "Outline Code 1;All"
                         << "OC1A[1,OC1A.OC1B[11]]";
    QTest::newRow("to level 1") << "Outline Code 1;To level 1"
                                << "OC1A[1,11]";
}

void TestCodesAndAliases::groupByOutlineCode()
{
    QFETCH(QString, rule);
    QFETCH(QString, groups);
    const auto loader = loaded(OutlineCodesFile);
    QVERIFY(loader);
    QAbstractItemModel *activities = modelOf(*loader, "ActivityModel");
    RyParentItemProxyModel tree;
    tree.setSourceModel(activities);
    tree.setParentColumns(0, 1);
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    RyActivityGrouper::Tables tables;
    tables.codeTypes = modelOf(*loader, "ACTVTYPE");
    tables.codes = modelOf(*loader, "ACTVCODE");
    RyActivityGrouper::regroup(activities, activities->rowCount(), &tree, { rule }, tables);
    // The group rows with what they hold (task ids); activities outside every group left out.
    const int idColumn = findColumn(activities, "task_id");
    std::function<QString(const QModelIndex &)> dump = [&](const QModelIndex &parent) {
        QStringList parts;
        for (int row = 0; row < tree.rowCount(parent); ++row) {
            const QModelIndex index = tree.index(row, 0, parent);
            const QVariant group = index.sibling(row, 2).data();
            if (!group.isNull())
                parts << group.toString() + "[" + dump(index) + "]";
            else if (parent.isValid())
                parts << index.sibling(row, idColumn).data().toString();
        }
        return parts.join(",");
    };
    QCOMPARE(dump(QModelIndex()), groups);
}

void TestCodesAndAliases::aliasesNameColumns()
{
    const auto loader = loaded(AliasFile);
    QVERIFY(loader);
    testModels(*loader, this);
    QAbstractItemModel *types = modelOf(*loader, "UDFTYPE");
    QCOMPARE(types->index(0, 3).data(), QVariant("Text1t"));
    QCOMPARE(types->index(0, 2).data(), QVariant("Text 1"));
    QCOMPARE(types->index(69, 3).data(), QVariant("Duration10t"));
    QAbstractItemModel *activities = modelOf(*loader, "ActivityModel");
    const int column = findColumn(activities, "Start1t");
    QVERIFY(column > 0);
    QCOMPARE(activities->headerData(column, Qt::Horizontal, Ry::ColumnChoiceTextRole),
             QVariant("Start1t (Start1)"));
    QCOMPARE(findColumn(activities, "Start date 1"), -1);
    for (const char *alias : { "Number1t", "Date10t", "Flag20t" }) {
        const int later = findColumn(activities, alias);
        QVERIFY2(later > column, alias);
    }
}

void TestCodesAndAliases::layoutByIdAppliesToAnotherFile()
{
    const auto aliases = loaded(AliasFile);
    const auto plain = loaded(OutlineCodesFile);
    QVERIFY(aliases && plain);
    QHeaderView saved(Qt::Horizontal);
    saved.setModel(modelOf(*aliases, "ActivityModel"));
    RyHeaderState::applyColumnOrder(&saved, { "Activity Name", "Text2t" });
    const QStringList state = RyHeaderState::saveHeaderState(&saved);
    QCOMPARE(state.size(), 2);
    QVERIFY(state.at(1).startsWith("@udf_type_id=1:"));

    QHeaderView other(Qt::Horizontal);
    other.setModel(modelOf(*plain, "ActivityModel"));
    RyHeaderState::restoreHeaderState(&other, state);
    QCOMPARE(RyHeaderState::visibleHeaderTexts(&other), QStringList({ "Activity Name", "Text 2" }));
    // A layout saved by header text, as older versions did, still applies.
    RyHeaderState::restoreHeaderState(&other, { "Outline Code 3:80", "Activity Name:120" });
    QCOMPARE(RyHeaderState::visibleHeaderTexts(&other),
             QStringList({ "Outline Code 3", "Activity Name" }));
    QCOMPARE(other.sectionSize(findColumn(other.model(), "Outline Code 3")), 80);
}

QTEST_MAIN(TestCodesAndAliases)
#include "tst_codesandaliases.moc"
