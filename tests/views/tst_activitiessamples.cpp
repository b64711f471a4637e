// The activity view over real schedules: every readable sample is loaded, shown, grouped by WBS
// as the built-in layout does, and checked for a consistent tree.
#include "filter/ryfilterdialogproxymodel.h"
#include "gantt/ryganttview.h"
#include "models/rymodellookup.h"
#include "models/ryvaluetext.h"
#include "mppr/project.h"
#include "tables/mpploader.h"
#include "views/activities.h"
#include "views/activitydetails.h"
#include "views/rygroupedtreeview.h"
#include "tests/support/samplesdir.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {

QJsonDocument builtInSchema()
{
    QFile file(":/files/mppr.json");
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll());
}

QAbstractItemModel *table(const MPPLoader &loader, const char *name)
{
    return qobject_cast<QAbstractItemModel *>(loader.model(QLatin1String(name)));
}

// Pixels darker than the light backgrounds, i.e. text or lines.
int inkedPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y) {
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x)
            count += image.pixelColor(x, y).lightness() < 100 ? 1 : 0;
    }
    return count;
}

const QString WbsRule = QStringLiteral("WBS Code;;MS Shell Dlg 2:b;r0g0b0a255;r255g255b255a255");

} // namespace

class TestActivitiesSamples : public QObject
{
    Q_OBJECT
private slots:
    void groupedByWbs_data();
    void groupedByWbs();
};

void TestActivitiesSamples::groupedByWbs_data()
{
    QTest::addColumn<QString>("path");
    for (const char *folder : { "oracle", "extra" }) {
        const QDir dir(samplesDir() + "/" + folder);
        // Unreadable files are the reader tests' business; they have no activities to show.
        for (const QString &name : dir.entryList({ "*.mpp" }, QDir::Files, QDir::Name)) {
            mppr::Project project(dir.filePath(name));
            if (project.read() == mppr::StatusOk)
                QTest::newRow(qPrintable(QString(folder) + "/" + name)) << dir.filePath(name);
        }
    }
}

void TestActivitiesSamples::groupedByWbs()
{
    QFETCH(QString, path);
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    QSignalSpy finished(&loader, &ProjectLoader::finished);
    loader.load(path);
    QCOMPARE(finished.count(), 1);
    QAbstractItemModel *activities = table(loader, "ActivityModel");
    QVERIFY(activities);

    Activities view;
    QAbstractItemModelTester tester(view.filterProxy(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    view.setModels(activities, table(loader, "PROJWBS"), table(loader, "ACTVTYPE"),
                   table(loader, "ACTVCODE"), table(loader, "TASKPRED"), true);
    ActivityDetails details(&view);
    details.setActivityModel(activities);
    details.setResourceModel(table(loader, "ResourceModel"));
    details.setPredecessorModel(table(loader, "PredecessorModel"));
    details.setCodeModel(table(loader, "CodeModel"));

    const int activityCount = activities->rowCount();
    view.groupBySelection({ WbsRule });
    view.groupBySelection({ WbsRule });
    QCOMPARE(view.baseRowCount(), activityCount);
    view.treeView()->expandAll();

    // Every activity is shown exactly once; group rows hold at least one row each.
    const QModelIndexList rows = RyModelLookup::flattenIndexes(view.filterProxy());
    QCOMPARE(rows.size(), activities->rowCount());
    int groups = 0;
    const int start = RyModelLookup::findColumn(view.filterProxy(), "Start Date");
    for (const QModelIndex &row : rows) {
        if (!view.treeView()->isGroupRow(row))
            continue;
        ++groups;
        QVERIFY(view.filterProxy()->hasChildren(row));
        const QVariant groupStart = row.sibling(row.row(), start).data();
        for (int child = 0; child < view.filterProxy()->rowCount(row); ++child) {
            const QVariant childStart = view.filterProxy()->index(child, start, row).data();
            if (childStart.isValid() && groupStart.isValid())
                QVERIFY(groupStart.toDateTime() <= childStart.toDateTime());
        }
    }
    QCOMPARE(groups, activities->rowCount() - activityCount);
    QCOMPARE(view.treeView()->visibleRows().size(), rows.size());

    // The details follow the table.
    connect(view.treeView()->selectionModel(), &QItemSelectionModel::currentRowChanged, &details,
            &ActivityDetails::onRowChanged);
    if (activityCount > 0) {
        const QVariant lastId = activities->index(activityCount - 1, 0).data();
        view.goToActivity(lastId);
        const QModelIndex current = view.treeView()->currentIndex();
        QCOMPARE(current.sibling(current.row(), 0).data(), lastId);
        const int name = RyModelLookup::findColumn(activities, "Activity Name");
        QCOMPARE(details.findChild<QLineEdit *>("leName")->text(),
                 activities->index(activityCount - 1, name).data().toString());
    }

    // Table and chart paint the real model: the first shown row's text and a bar in view.
    view.resize(1200, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    RyGroupedTreeView *tree = view.treeView();
    tree->selectionModel()->clear(); // a selected row shows light text on the highlight
    const QImage table = tree->viewport()->grab().toImage();
    for (const QModelIndex &row : tree->visibleRows()) {
        const QRect rowRect = tree->visualRect(row);
        if (tree->isGroupRow(row) || !table.rect().contains(rowRect.topLeft()))
            continue;
        // A row in view with a text in a shown column shows ink in its band.
        bool hasText = false;
        for (int column = 0; column < tree->model()->columnCount() && !hasText; ++column) {
            hasText = !tree->isColumnHidden(column)
                && !RyValueText::displayText(row.sibling(row.row(), column)).trimmed().isEmpty();
        }
        if (hasText) {
            const QRect band(0, rowRect.top(), table.width(), rowRect.height());
            QVERIFY(inkedPixels(table, band) > 0);
        }
        break;
    }
    RyGanttView *gantt = view.ganttView();
    const QImage chart = gantt->viewport()->grab().toImage();
    for (const QModelIndex &row : gantt->visibleItems()) {
        if (gantt->rowType(row) != RyGanttView::TaskRow)
            continue;
        const QRect bar = gantt->barRect(row, 0);
        const QPoint body(bar.center().x(), bar.top() + 11);
        if (bar.isEmpty() || !chart.rect().contains(body))
            continue;
        const QColor pixel = chart.pixelColor(body);
        QVERIFY(pixel != gantt->palette().color(QPalette::Base));
        QVERIFY(pixel != gantt->palette().color(QPalette::AlternateBase));
        break;
    }
    view.onCloseProject();
    QCOMPARE(activities->rowCount(), activityCount);
}

QTEST_MAIN(TestActivitiesSamples)
#include "tst_activitiessamples.moc"
