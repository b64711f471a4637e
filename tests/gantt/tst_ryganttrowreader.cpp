#include "gantt/ryganttrowreader.h"
#include "gantt/rygantttreeviewrowcontroller.h"
#include "tests/support/chartcolumns.h"

#include <QStandardItemModel>
#include <QtTest>

namespace {

enum Column { Name, Type, StartDate, FinishDate, TotalFloat, BaselineStart };

QDateTime utc(const QDate &date, int hour)
{
    return QDateTime(date, QTime(hour, 0), Qt::UTC);
}

// One row with its cells; `roles` puts the values in the item roles of the name cell instead.
QList<QStandardItem *> makeRow(const QString &name, const QVariant &type, const QDateTime &start,
                               const QDateTime &finish, const QVariant &totalFloat, bool roles)
{
    QList<QStandardItem *> row;
    for (int c = Name; c <= BaselineStart; ++c)
        row << new QStandardItem;
    row[Name]->setText(name);
    const QVector<QPair<int, QVariant>> cells {
        { Type, type }, { StartDate, start }, { FinishDate, finish }, { TotalFloat, totalFloat }
    };
    const int rolesOf[] = { 0, Ry::RowTypeRole, Ry::StartRole, Ry::FinishRole, Ry::TotalFloatRole };
    for (const auto &cell : cells) {
        if (roles)
            row[Name]->setData(cell.second, rolesOf[cell.first]);
        else
            row[cell.first]->setData(cell.second, Qt::DisplayRole);
    }
    return row;
}

} // namespace

class TestRyGanttRowReader : public QObject
{
    Q_OBJECT
private slots:
    void readsRolesOrColumns_data();
    void readsRolesOrColumns();
    void rolesWinOverColumns();
    void titlesAloneNameNoRole();
    void summaryRowsAndRange();
};

void TestRyGanttRowReader::readsRolesOrColumns_data()
{
    QTest::addColumn<bool>("roles");
    QTest::addColumn<QVariant>("type");
    QTest::addColumn<QVariant>("totalFloat");
    QTest::addColumn<int>("rowType");
    QTest::addColumn<bool>("critical");
    for (const bool roles : { false, true }) {
        const char *how = roles ? "roles" : "columns";
        QTest::addRow("%s: task, float 3", how)
            << roles << QVariant("TT_Task") << QVariant(3.0) << int(Ry::TaskRow) << false;
        QTest::addRow("%s: level of effort, float 0", how)
            << roles << QVariant("TT_LOE level") << QVariant(0.0) << int(Ry::TaskRow) << true;
        QTest::addRow("%s: milestone, negative float", how)
            << roles << QVariant("TT_FinMile") << QVariant(-2) << int(Ry::MilestoneRow) << true;
        QTest::addRow("%s: no type, no float", how)
            << roles << QVariant() << QVariant() << int(Ry::NoRowType) << false;
        QTest::addRow("%s: float as text", how)
            << roles << QVariant("WBS") << QVariant("n/a") << int(Ry::NoRowType) << false;
    }
}

void TestRyGanttRowReader::readsRolesOrColumns()
{
    QFETCH(bool, roles);
    QFETCH(QVariant, type);
    QFETCH(QVariant, totalFloat);
    QStandardItemModel model;
    model.setHorizontalHeaderLabels(
        { "Activity Name", "Activity Type", "Start Date", "Finish Date", "Total float" });
    const QDateTime start = utc(QDate(2017, 1, 3), 8);
    const QDateTime finish = utc(QDate(2017, 1, 5), 17);
    nameChartColumns(&model);
    model.appendRow(makeRow("T", type, start, finish, totalFloat, roles));
    RyGanttRowReader reader;
    reader.setModel(&model);
    const QModelIndex row = model.index(0, Name);
    QCOMPARE(reader.date(row, RyGanttRowReader::StartField), start);
    QCOMPARE(reader.date(row, RyGanttRowReader::FinishField), finish);
    QTEST(int(reader.rowType(row)), "rowType");
    QTEST(reader.isCritical(row), "critical");
}

// A model answering a role is read through it, whatever its columns hold.
void TestRyGanttRowReader::rolesWinOverColumns()
{
    QStandardItemModel model;
    model.setHorizontalHeaderLabels({ "Activity Name", "Activity Type", "Start Date", "Finish Date",
                                      "Total float", "BL Project Start" });
    nameChartColumns(&model);
    model.appendRow(
        makeRow("T", "TT_Task", utc(QDate(2017, 1, 3), 8), utc(QDate(2017, 1, 5), 17), 5.0, false));
    const QModelIndex row = model.index(0, Name);
    model.setData(row, utc(QDate(2018, 2, 1), 8), Ry::StartRole);
    model.setData(row, 0.0, Ry::TotalFloatRole);
    model.setData(model.index(0, BaselineStart), utc(QDate(2016, 12, 1), 8));
    RyGanttRowReader reader;
    reader.setModel(&model);
    QCOMPARE(reader.date(row, RyGanttRowReader::StartField), utc(QDate(2018, 2, 1), 8));
    QCOMPARE(reader.date(row, RyGanttRowReader::FinishField), utc(QDate(2017, 1, 5), 17));
    QVERIFY(reader.isCritical(row));
    // Bar styles name their date fields; a field of no role is read from its column.
    QCOMPARE(reader.date(row, "BL Project Start"), utc(QDate(2016, 12, 1), 8));
    QCOMPARE(reader.date(row, "No such column"), QDateTime());
    QCOMPARE(reader.rowType(row), Ry::TaskRow);
}

// Columns are found by the role their header names, never by their title alone.
void TestRyGanttRowReader::titlesAloneNameNoRole()
{
    QStandardItemModel model;
    model.setHorizontalHeaderLabels(
        { "Activity Name", "Activity Type", "Start Date", "Finish Date", "Total float" });
    model.appendRow(
        makeRow("T", "TT_Task", utc(QDate(2017, 1, 3), 8), utc(QDate(2017, 1, 5), 17), 0.0, false));
    model.setHeaderData(Name, Qt::Horizontal, int(Ry::FinishRole), Ry::ColumnItemRole);
    RyGanttRowReader reader;
    reader.setModel(&model);
    const QModelIndex row = model.index(0, Name);
    QCOMPARE(reader.date(row, RyGanttRowReader::StartField), QDateTime());
    QCOMPARE(reader.rowType(row), Ry::NoRowType);
    QVERIFY(!reader.isCritical(row));
    // The role's column is the one the header names, whatever its title.
    model.setData(row, utc(QDate(2019, 5, 6), 9));
    QCOMPARE(reader.date(row, RyGanttRowReader::FinishField), utc(QDate(2019, 5, 6), 9));
}

void TestRyGanttRowReader::summaryRowsAndRange()
{
    QStandardItemModel model;
    model.setHorizontalHeaderLabels(
        { "Activity Name", "Activity Type", "Start Date", "Finish Date", "Total float" });
    auto group = makeRow("G", QVariant(), QDateTime(), QDateTime(), QVariant(), false);
    group[Name]->appendRow(makeRow("T1", "TT_Task", utc(QDate(2017, 1, 3), 8),
                                   utc(QDate(2017, 1, 5), 17), 1.0, false));
    group[Name]->appendRow(
        makeRow("T2", "TT_Task", utc(QDate(2017, 1, 3), 7), utc(QDate(2017, 2, 9), 12), 1.0, true));
    model.appendRow(group);
    nameChartColumns(&model);
    RyGanttRowReader reader;
    reader.setModel(&model);
    QCOMPARE(reader.rowType(model.index(0, Type)), Ry::SummaryRow);
    RyGanttTreeViewRowController rows;
    rows.setModel(&model);
    const RyGanttRowReader::Range range = reader.range(rows);
    QCOMPARE(range.start, QDate(2017, 1, 3));
    QCOMPARE(range.finish, QDate(2017, 2, 9));
}

QTEST_MAIN(TestRyGanttRowReader)
#include "tst_ryganttrowreader.moc"
