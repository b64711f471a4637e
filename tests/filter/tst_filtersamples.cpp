// Filtering the task tables of real schedules: the proxy under the model tester, its row counts
// against counts taken from the cells directly, and the pop-up's value lists against the cells.
#include "filter/ryexpression.h"
#include "filter/ryfilterdialogpopup.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "filter/ryfilterproxymodel.h"
#include "models/ryconstants.h"
#include "mppr/project.h"
#include "tables/mpptaskmodel.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QJsonDocument>
#include <QStandardItemModel>
#include <QtTest>

namespace {

QVariantMap taskSchema()
{
    QFile file(":/files/mppr.json");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QVariantList tables
        = QJsonDocument::fromJson(file.readAll()).toVariant().toMap().value("tables").toList();
    QVariantMap descriptions;
    for (const QVariant &entry : tables) {
        if (entry.toMap().value("name") != "TASK")
            continue;
        for (const QVariant &column : entry.toMap().value("columns").toList())
            descriptions.insert(column.toMap().value("id").toString(), column);
    }
    return descriptions;
}

QString datatypeOf(const QAbstractItemModel &model, int column)
{
    return model.headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole)
        .toMap()
        .value("datatype")
        .toString();
}

// The first column of the datatype with at least two different values.
int columnOfType(const QAbstractItemModel &model, const QString &datatype)
{
    for (int column = 0; column < model.columnCount(); ++column) {
        if (datatypeOf(model, column) != datatype)
            continue;
        QSet<QString> values;
        for (int row = 0; row < model.rowCount(); ++row)
            values.insert(model.index(row, column).data().toString());
        if (values.size() > 1)
            return column;
    }
    return -1;
}

int countLeaves(const QStandardItem *item)
{
    if (!item->hasChildren())
        return 1;
    int count = 0;
    for (int row = 0; row < item->rowCount(); ++row)
        count += countLeaves(item->child(row));
    return count;
}

} // namespace

class TestFilterSamples : public QObject
{
    Q_OBJECT

private slots:
    void filterTaskTable_data();
    void filterTaskTable();
};

void TestFilterSamples::filterTaskTable_data()
{
    // Only the schedules this test can say something about: readable, with dates and texts
    // that vary. The others (unreadable or nearly empty files) are covered by the reader tests.
    QTest::addColumn<QString>("path");
    for (const QString folder : { "oracle", "extra" }) {
        const QDir dir(QStringLiteral(TARVIK_SAMPLES) + "/" + folder);
        for (const QString &name : dir.entryList({ "*.mpp" }, QDir::Files, QDir::Name)) {
            mppr::Project project(dir.filePath(name));
            if (project.read() != mppr::StatusOk)
                continue;
            MPPTaskModel tasks;
            tasks.setColumns(taskSchema());
            tasks.setProject(&project);
            if (columnOfType(tasks, "datetime") >= 0 && columnOfType(tasks, "string") >= 0)
                QTest::newRow(qPrintable(folder + "/" + name)) << dir.filePath(name);
        }
    }
}

void TestFilterSamples::filterTaskTable()
{
    QFETCH(QString, path);
    mppr::Project project(path);
    QCOMPARE(project.read(), int(mppr::StatusOk));
    MPPTaskModel tasks;
    tasks.setColumns(taskSchema());
    tasks.setProject(&project);
    const int dateColumn = columnOfType(tasks, "datetime");
    const int textColumn = columnOfType(tasks, "string");

    RyFilterDialogProxyModel proxy;
    proxy.setSourceModel(&tasks);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);

    // A date condition: as many rows as a row-by-row evaluation accepts.
    QList<QDate> dates;
    for (int row = 0; row < tasks.rowCount(); ++row) {
        const QDate date = tasks.index(row, dateColumn).data().toDateTime().date();
        if (date.isValid())
            dates << date;
    }
    std::sort(dates.begin(), dates.end());
    QVERIFY(!dates.isEmpty());
    const QDate middle = dates.at(dates.size() / 2);
    proxy.setExpressionFilter(dateColumn, RyExpression::makeExpression("is after", middle));
    // "is after" compares days: the cells' own day, read without the filter's code.
    int expected = 0;
    for (const QDate &date : qAsConst(dates))
        expected += date > middle ? 1 : 0;
    QVERIFY(expected < tasks.rowCount());
    QCOMPARE(proxy.rowCount(), expected);

    // The saved form brings back the same rows.
    RyFilterDialogProxyModel restored;
    restored.setSourceModel(&tasks);
    restored.setFilterSettings(proxy.filterSettings());
    QCOMPARE(restored.rowCount(), expected);

    // The date pop-up lists every dated cell once per distinct day, below years and months.
    std::unique_ptr<RyFilterDialogPopUp> popUp(RyFilterDialogPopUp::create(&tasks, dateColumn));
    const QStandardItemModel *values = popUp->valueModel();
    int days = 0;
    for (int row = 1; row < values->rowCount(); ++row) {
        if (!values->item(row)->data(RyFilterDialogPopUp::BlanksRole).toBool())
            days += countLeaves(values->item(row));
    }
    QCOMPARE(days, QSet<QDate>(dates.begin(), dates.end()).size());

    // A value list of the checked values of a text column, with one value unchecked; cells
    // without a value stay, through "(Blanks)", which is checked.
    proxy.clearAllFilters();
    std::unique_ptr<RyFilterDialogPopUp> texts(RyFilterDialogPopUp::create(&tasks, textColumn));
    QStandardItem *dropped = texts->valueModel()->item(1);
    dropped->setCheckState(Qt::Unchecked);
    texts->onItemClicked(texts->valueProxy()->mapFromSource(dropped->index()));
    proxy.setValueFilter(textColumn, texts->checkedValues());
    int others = 0;
    for (int row = 0; row < tasks.rowCount(); ++row) {
        const QVariant cell = tasks.index(row, textColumn).data();
        others += cell.toString() != dropped->text() ? 1 : 0;
    }
    QCOMPARE(proxy.rowCount(), others);
}

QTEST_MAIN(TestFilterSamples)
#include "tst_filtersamples.moc"
