// View > "Check schedule" over an opened schedule: the Schedule Check window lists the fourteen
// checks, a chosen check filters the activity view to its activities as a plain filter, and
// the table exports to CSV and prints.
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/schedulecheckwindow.h"
#include "apptestsupport.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "models/rymodellookup.h"
#include "output/ryprintdialog.h"
#include "tables/ryschedulecheckmodel.h"
#include "views/activities.h"

#include <QAbstractItemModelTester>
#include <QMenuBar>
#include <QTreeView>
#include <QtTest>

#include <set>

namespace {

// Five activities, of which two lack a predecessor or a successor.
QString samplePath()
{
    const QByteArray env = qgetenv("TARVIK_SAMPLES");
    return QString::fromLocal8Bit(env.isEmpty() ? QByteArray(TARVIK_SAMPLES) : env)
        + QStringLiteral("/extra/mpp14relations.mpp");
}

} // namespace

class TestScheduleCheckWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void actionInTheViewMenu();
    void choosingACheckFiltersTheView();
    void exportAndPrint();

private:
    ScheduleCheckWindow *openCheck();
    // The task ids of the activity rows the view shows.
    std::set<uint> shownActivities() const;

    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestScheduleCheckWindow::init()
{
    home.reset(new ScratchHome);
    window.reset(new MainWindow);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    window->openProject(samplePath());
    QVERIFY(!ended.isEmpty() || ended.wait(10000));
    QVERIFY(ended.first().first().toBool());
}

void TestScheduleCheckWindow::cleanup()
{
    window.reset();
    home.reset();
}

ScheduleCheckWindow *TestScheduleCheckWindow::openCheck()
{
    window->form().actionCheckSchedule->trigger();
    auto *check = window->findChild<ScheduleCheckWindow *>();
    if (check && !QTest::qWaitForWindowExposed(check))
        return nullptr;
    return check;
}

std::set<uint> TestScheduleCheckWindow::shownActivities() const
{
    const QAbstractItemModel *view = window->activityView()->filterProxy();
    const int column = RyModelLookup::findColumn(view, QStringLiteral("task_id"));
    std::set<uint> ids;
    for (const QModelIndex &row : RyModelLookup::flattenIndexes(view)) {
        const QVariant id = row.siblingAtColumn(column).data();
        if (id.isValid())
            ids.insert(id.toUInt());
    }
    return ids;
}

void TestScheduleCheckWindow::actionInTheViewMenu()
{
    QAction *action = window->form().actionCheckSchedule;
    QCOMPARE(action->text(), QStringLiteral("Check schedule"));
    QCOMPARE(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+K")));
    QVERIFY(window->form().menuViewMain->actions().contains(action));
    ScheduleCheckWindow *check = openCheck();
    QVERIFY(check);
    QCOMPARE(check->windowTitle(), QStringLiteral("Schedule Check"));
    QVERIFY(!check->isModal());
    QVERIFY(check->isWindow());
}

void TestScheduleCheckWindow::choosingACheckFiltersTheView()
{
    const std::set<uint> all = shownActivities();
    ScheduleCheckWindow *check = openCheck();
    QVERIFY(check);
    QAbstractItemModelTester tester(check->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(check->model()->rowCount(), 14);
    const RyScheduleCheck::Check &logic = check->model()->check().checks().at(0);
    std::set<uint> expected;
    for (const qint32 id : logic.activities)
        expected.insert(uint(id));
    // A real filter: some activities go, some stay.
    QVERIFY(!expected.empty());
    QVERIFY(expected.size() < all.size());

    check->table()->setCurrentIndex(check->model()->index(0, 0));
    QCOMPARE(shownActivities(), expected);
    const int idColumn = RyModelLookup::findColumn(window->activityView()->filterProxy(),
                                                   QStringLiteral("task_id"));
    QVERIFY(window->activityView()->filterProxy()->isColumnFiltered(idColumn));

    // The findings column joined for grouping and filtering: "1" leads the check 1 activities.
    const QAbstractItemModel *view = window->activityView()->filterProxy();
    const int findings = RyModelLookup::findColumn(view, QStringLiteral("Check findings"));
    QVERIFY(findings >= 0);
    int withFinding = 0;
    for (const QModelIndex &row : RyModelLookup::flattenIndexes(view)) {
        if (!row.siblingAtColumn(idColumn).data().isValid())
            continue;
        const QStringList numbers = row.siblingAtColumn(findings).data().toString().split(", ");
        QVERIFY2(numbers.first() == QLatin1String("1"), qPrintable(numbers.join(' ')));
        ++withFinding;
    }
    QCOMPARE(withFinding, int(expected.size()));

    window->activityView()->clearSortAndFilters();
    QCOMPARE(shownActivities(), all);
}

void TestScheduleCheckWindow::exportAndPrint()
{
    ScheduleCheckWindow *check = openCheck();
    QVERIFY(check);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("check.csv"));
    QString error;
    QVERIFY2(check->exportTo(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 15);
    QVERIFY2(lines.first().startsWith(QStringLiteral("No.;Check;Count;Population;Ratio")),
             qPrintable(lines.first()));
    QVERIFY2(lines.at(1).startsWith(QStringLiteral("1;Logic;2;5;40.0%")), qPrintable(lines.at(1)));

    int pages = 0;
    ModalHandler<RyPrintDialog> print([&pages](RyPrintDialog *dialog) {
        pages = dialog->scene()->pageCount();
        dialog->accept();
    });
    check->printButton()->click();
    QVERIFY(print.handled);
    QVERIFY(pages > 0);
}

QTEST_MAIN(TestScheduleCheckWindow)
#include "tst_schedulecheckwindow.moc"
