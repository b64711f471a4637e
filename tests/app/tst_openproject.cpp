// Opening schedules through the main window, end to end: the loader on the pool, the progress
// dialog, the recent-files entry and the failure message.
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "apptestsupport.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "gantt/ryganttview.h"
#include "gantt/rytimelineheader.h"
#include "models/rymodellookup.h"
#include "models/ryvaluetext.h"
#include "tables/mpploader.h"
#include "views/activities.h"
#include "views/activitydetails.h"
#include "views/resources.h"
#include "views/rygroupedtreeview.h"
#include "views/ryheaderstate.h"
#include "views/rysortfilterheader.h"

#include <QAction>
#include <QDirIterator>
#include <QFileDialog>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QtTest>

namespace {

QStringList sampleFiles()
{
    QStringList files;
    for (const char *folder : { "oracle", "extra" }) {
        QDirIterator it(QStringLiteral(TARVIK_SAMPLES "/") + QLatin1String(folder),
                        { QStringLiteral("*.mpp") }, QDir::Files);
        while (it.hasNext())
            files << it.next();
    }
    files.sort();
    return files;
}

QString sample(const char *name)
{
    for (const QString &file : sampleFiles()) {
        if (file.endsWith(QLatin1Char('/') + QLatin1String(name)))
            return file;
    }
    return QString();
}

QTreeView *tree(const MainWindow &window)
{
    return window.activityView()->treeView();
}

RyGanttView *gantt(const MainWindow &window)
{
    return window.activityView()->ganttView();
}

QAction *action(const MainWindow &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

// Opens `path` and waits until the load has ended one way or the other.
bool openAndWait(MainWindow &window, const QString &path)
{
    QSignalSpy ended(&window, &MainWindow::projectLoadEnded);
    window.openProject(path);
    if (ended.isEmpty() && !ended.wait(10000))
        return false;
    return ended.first().first().toBool();
}

bool progressDialogShown()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QProgressDialog *>(widget) && widget->isVisible())
            return true;
    }
    return false;
}

int maxDepth(const QTreeView *view, const QModelIndex &parent, int depth = 0)
{
    int deepest = depth - 1;
    const QAbstractItemModel *model = view->model();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        deepest = qMax(deepest, depth);
        if (view->isExpanded(index))
            deepest = qMax(deepest, maxDepth(view, index, depth + 1));
    }
    return deepest;
}

// Records what the progress dialog shows when it appears and at the moment it is hidden.
struct ProgressWatcher : QObject
{
    int value = -1;
    QString label;
    int shows = 0;
    int hides = 0;
    bool modal = false;
    int width = 0;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QProgressDialog *>(watched);
        if (dialog && event->type() == QEvent::Show) {
            ++shows;
            modal = dialog->windowModality() == Qt::ApplicationModal;
            width = dialog->width();
        } else if (dialog && event->type() == QEvent::Hide) {
            value = dialog->value();
            label = dialog->labelText();
            ++hides;
        }
        return false;
    }
};

} // namespace

class TestOpenProject : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everySample_data();
    void everySample();
    void failureReasons_data();
    void failureReasons();
    void failureLeavesWindowUsable();
    void progressEndsWithDone();
    void loadEndInsideSetValue();
    void openingLogsNothing();
    void closeKeepsTitleAndLoader();
    void layoutRoundTrip();
    void sortBySemicolonAKeepsSort();
    void timeScales();
    void outlineCommands();
    void resourcesViewHidesDetail();
    void columnsIconFollowsFilters();
    void closeClearsSortAndFilters();
    void detailsFollowCurrentRow();
    void storedLayoutThroughLayoutMenu();
    void openFileDialog_data();
    void openFileDialog();

private:
    void checkShownProject();

    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestOpenProject::initTestCase()
{
    QVERIFY2(!sampleFiles().isEmpty(), TARVIK_SAMPLES);
}

void TestOpenProject::init()
{
    home.reset(new ScratchHome);
    window.reset(new MainWindow);
    window->resize(1200, 800);
    window->show();
}

void TestOpenProject::cleanup()
{
    window.reset();
    home.reset();
}

void TestOpenProject::everySample_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &file : sampleFiles())
        QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
}

void TestOpenProject::everySample()
{
    QFETCH(QString, path);
    MessageBoxAnswerer answer(QMessageBox::Ok);
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    window->openProject(path);
    QVERIFY(ended.wait(10000));
    const bool loaded = ended.first().first().toBool();
    QVERIFY(!window->isLoading());
    QVERIFY(!progressDialogShown());
    QCOMPARE(window->recentEntries().first().file, path);
    if (loaded) {
        QCOMPARE(answer.count, 0);
        QCOMPARE(window->windowTitle(), QDir::toNativeSeparators(path));
        QVERIFY(window->projectLoader()->hasModel(QStringLiteral("ActivityModel")));
        checkShownProject();
    } else {
        QCOMPARE(answer.count, 1);
        QCOMPARE(answer.title, QStringLiteral("Open file"));
        QVERIFY(answer.text.startsWith(QStringLiteral("The file could not be opened:\n")));
        QVERIFY(answer.text.contains(QDir::toNativeSeparators(path)));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tarvik"));
        QVERIFY(!window->projectLoader());
        QCOMPARE(tree(*window)->model()->rowCount(), 0);
        QVERIFY(!action(*window, "actionColumns")->isEnabled());
    }
}

void TestOpenProject::checkShownProject()
{
    const QAbstractItemModel *model = tree(*window)->model();
    if (model->rowCount() == 0)
        return; // a schedule without tasks
    QVERIFY(action(*window, "actionColumns")->isEnabled());
    QVERIFY(window->timeMenu()->isEnabled());

    const QStringList shown = RyHeaderState::visibleHeaderTexts(tree(*window)->header());
    QCOMPARE(shown.mid(0, 5),
             QStringList(
                 { "Activity ID", "Activity Name", "Activity Type", "Start Date", "Finish Date" }));
    QCOMPARE(window->activityView()->groupRules(),
             QStringList { "WBS Code;;MS Shell Dlg 2:b;r0g0b0a255;r255g255b255a255" });
    // Day and Month from the built-in layout.
    QCOMPARE(int(gantt(*window)->timelineFlags()), 0x14);
    QVERIFY(action(*window, "actionMonth")->isChecked());
    QVERIFY(action(*window, "actionDay")->isChecked());
    QVERIFY(!action(*window, "actionYear")->isChecked());

    // The built-in layout opens fully expanded, with the IDs of the deepest rows readable.
    RyGroupedTreeView *view = window->activityView()->treeView();
    const QModelIndexList rows = RyModelLookup::flattenIndexes(model, QModelIndex());
    int deepest = 0;
    for (const QModelIndex &row : rows) {
        QVERIFY(model->rowCount(row) == 0 || view->isExpanded(row));
        deepest = qMax(deepest, RyModelLookup::indexDepth(row));
    }
    const int treeColumn = view->treePosition();
    const QFontMetrics metrics(view->font());
    for (const QModelIndex &row : rows) {
        if (RyModelLookup::indexDepth(row) != deepest || view->isGroupRow(row))
            continue;
        const QString id = RyValueText::displayText(row.sibling(row.row(), treeColumn));
        const int needed = (deepest + 1) * view->indentation() + metrics.horizontalAdvance(id);
        QVERIFY2(view->header()->sectionSize(treeColumn) >= qMin(needed, 400), qPrintable(id));
    }
    QVERIFY(view->header()->sectionSize(treeColumn) <= 400 || deepest == 0);
    // The resources page shows its headers whole (up to 300 pixels a column), measured when
    // it is first shown.
    action(*window, "actionResources")->trigger();
    QHeaderView *resourceHeader = window->resourcesView()->tableView()->horizontalHeader();
    for (int column = 0; column < resourceHeader->count(); ++column) {
        if (resourceHeader->isSectionHidden(column))
            continue;
        const QString text = resourceHeader->model()->headerData(column, Qt::Horizontal).toString();
        QVERIFY2(resourceHeader->sectionSize(column)
                     >= qMin(300, resourceHeader->fontMetrics().horizontalAdvance(text)),
                 qPrintable(text));
    }
    action(*window, "actionGanttChart")->trigger();

    // With everything expanded the chart paints bars: task green or summary black.
    const QImage chart = gantt(*window)->viewport()->grab().toImage();
    int barPixels = 0;
    for (int y = 0; y < chart.height(); ++y) {
        for (int x = 0; x < chart.width(); ++x) {
            const QColor c = chart.pixelColor(x, y);
            barPixels += (c == QColor(0x21, 0x99, 0x6B) || c == Qt::black);
        }
    }
    // Every schedule with a dated task shows its bar.
    const int start = RyModelLookup::findColumn(model, QStringLiteral("Start Date"));
    const int type = RyModelLookup::findColumn(model, QStringLiteral("Activity Type"));
    bool dated = false;
    for (const QModelIndex &index : RyModelLookup::flattenIndexes(model, QModelIndex())) {
        dated = dated
            || (index.sibling(index.row(), start).data().isValid()
                && index.sibling(index.row(), type).data() == QStringLiteral("TT_Task"));
    }
    if (dated)
        QVERIFY2(barPixels > 0, "no bars drawn");
}

void TestOpenProject::failureReasons_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("word");
    QTest::newRow("not a compound file") << 1 << QStringLiteral("compound file");
    QTest::newRow("unsupported version") << 3 << QStringLiteral("supported");
    QTest::newRow("damaged") << 5 << QStringLiteral("damaged");
    QTest::newRow("field missing") << 6 << QStringLiteral("password-protected");
    QTest::newRow("unknown") << 42 << QStringLiteral("42");
}

void TestOpenProject::failureReasons()
{
    QFETCH(int, status);
    QFETCH(QString, word);
    QVERIFY(MainWindow::loadFailureReason(status).contains(word));
    if (status == 6)
        QVERIFY(MainWindow::loadFailureReason(status).contains(QLatin1String("required field")));
}

void TestOpenProject::failureLeavesWindowUsable()
{
    const QString bad = home->path() + QStringLiteral("/not-a-schedule.mpp");
    {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    MessageBoxAnswerer answer(QMessageBox::Ok);
    QVERIFY(!openAndWait(*window, bad));
    QCOMPARE(answer.count, 1);
    QCOMPARE(answer.title, QStringLiteral("Open file"));
    QVERIFY(answer.text.contains(MainWindow::loadFailureReason(1)));
    QCOMPARE(window->windowTitle(), QStringLiteral("Tarvik"));
    QCOMPARE(window->recentEntries().first().file, bad);
    QVERIFY(!window->projectLoader());
    QVERIFY(!progressDialogShown());
    // A good file opens afterwards.
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    QCOMPARE(window->windowTitle(), QDir::toNativeSeparators(sample("sample.mpp")));
    QCOMPARE(window->recentEntries().size(), 2);
}

void TestOpenProject::progressEndsWithDone()
{
    ProgressWatcher watcher;
    qApp->installEventFilter(&watcher);
    const bool loaded = openAndWait(*window, sample("sample.mpp"));
    qApp->removeEventFilter(&watcher);
    QVERIFY(loaded);
    QCOMPARE(watcher.shows, 1);
    QVERIFY(watcher.modal);
    QCOMPARE(watcher.width, 250);
    QCOMPARE(watcher.hides, 1);
    QCOMPARE(watcher.value, 100);
    QCOMPARE(watcher.label, QStringLiteral("Done"));
    QVERIFY(!progressDialogShown());
}

void TestOpenProject::loadEndInsideSetValue()
{
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    window->showProgress();
    QVERIFY(progressDialogShown());
    // As after the first seconds of a long load: from now on setValue() runs the event loop.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QProgressDialog *>(widget))
            QMetaObject::invokeMethod(dialog, "forceShow"); // a protected slot
    }
    // A modal progress dialog runs the event loop inside setValue(): the loader's finished()
    // arrives there and hides the dialog while setProgress() is still using it.
    MPPLoader *loader = window->projectLoader();
    QMetaObject::invokeMethod(
        loader, [loader] { emit loader->finished(); }, Qt::QueuedConnection);
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    window->setProgress(90, QStringLiteral("Reading"));
    QCOMPARE(ended.count(), 1);
    QVERIFY(!progressDialogShown());
    QTest::qWait(0); // the deferred deletion runs
    QVERIFY(!progressDialogShown());
}

namespace {

QStringList ownMessages;
QtMessageHandler handlerBefore = nullptr;

// Messages of this program's code: its logging categories, or Qt's default category from code
// built with message context (Qt's own release build has none).
void collectOwnMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const QByteArray category(context.category ? context.category : "");
    if (category.startsWith("tarvik") || (category == "default" && context.file))
        ownMessages << text;
    else if (handlerBefore)
        handlerBefore(type, context, text);
}

} // namespace

void TestOpenProject::openingLogsNothing()
{
    ownMessages.clear();
    handlerBefore = qInstallMessageHandler(collectOwnMessages);
    const bool loaded = openAndWait(*window, sample("sample.mpp"));
    qInstallMessageHandler(handlerBefore);
    QVERIFY(loaded);
    QVERIFY2(ownMessages.isEmpty(), qPrintable(ownMessages.join(QLatin1Char('\n'))));
}

void TestOpenProject::closeKeepsTitleAndLoader()
{
    const QString path = sample("sample.mpp");
    QVERIFY(openAndWait(*window, path));
    window->findChild<QAction *>(QStringLiteral("actionClose"))->trigger();
    QCOMPARE(window->windowTitle(), QDir::toNativeSeparators(path));
    QVERIFY(window->projectLoader());
    QCOMPARE(window->projectLoader()->sourceName(), path);
    QVERIFY(window->projectLoader()->models().isEmpty());
    QCOMPARE(tree(*window)->model()->rowCount(), 0);
    QVERIFY(action(*window, "actionColumns")->isEnabled()); // commands keep their state
}

void TestOpenProject::layoutRoundTrip()
{
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    const QString document = window->layoutDocument();
    const QVariantMap first = QJsonDocument::fromJson(document.toUtf8()).toVariant().toMap();
    QCOMPARE(first.keys(),
             QStringList({ "barStyles", "bars", "columns", "durationUnit", "filters", "group",
                           "outline", "sortby" }));
    QVERIFY(document.startsWith(QStringLiteral("{\"barStyles\":")));
    QCOMPARE(first.value("group").toStringList(),
             QStringList { "WBS Code;;MS Shell Dlg 2:b;r0g0b0a255;r255g255b255a255" });
    QCOMPARE(first.value("bars").toMap().value("timelineFlags").toInt(), 0x14);

    // Change the look, then apply the saved document: everything comes back.
    action(*window, "actionYear")->trigger();
    window->activityView()->groupBySelection({});
    tree(*window)->header()->hideSection(
        RyModelLookup::findColumn(tree(*window)->model(), QStringLiteral("Activity Type")));
    window->applyLayout(document);
    QCOMPARE(window->layoutDocument(), document);
}

void TestOpenProject::sortBySemicolonAKeepsSort()
{
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    window->activityView()->sortByColumn(QStringLiteral("Activity Name"), true);
    auto *header = qobject_cast<RySortFilterHeader *>(tree(*window)->header());
    QVERIFY(header);
    const int column = header->sortColumn();
    QVERIFY(column >= 0);
    window->applyLayout(QStringLiteral("{\"sortby\":\";A\",\"group\":[]}"));
    QCOMPARE(header->sortColumn(), column);
    QCOMPARE(header->sortOrder(), int(Qt::DescendingOrder));
}

void TestOpenProject::timeScales()
{
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    action(*window, "actionYear")->trigger();
    QCOMPARE(int(gantt(*window)->timelineFlags()), 0x14 | 0x40);
    action(*window, "actionDay")->trigger();
    action(*window, "actionMonth")->trigger();
    QCOMPARE(int(gantt(*window)->timelineFlags()), 0x40);
    // The last scale cannot be unchecked.
    action(*window, "actionYear")->trigger();
    QVERIFY(action(*window, "actionYear")->isChecked());
    QCOMPARE(int(gantt(*window)->timelineFlags()), 0x40);
    // Hours under the days: a day is 24 hour cells wide.
    action(*window, "actionDay")->trigger();
    action(*window, "actionHour")->trigger();
    const RyTimeScale &scale = gantt(*window)->header()->scale();
    QCOMPARE(scale.tiers(), (QList<int> { 0x40, 0x04, 0x02 }));
    QCOMPARE(scale.positionUnitWidth(), 24 * scale.unitWidth());
}

void TestOpenProject::outlineCommands()
{
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    QTreeView *view = tree(*window);
    action(*window, "actionLevel_3")->trigger();
    QCOMPARE(window->outlineText(), QStringLiteral("Level 3"));
    QVERIFY(maxDepth(view, QModelIndex()) <= 3);
    QVERIFY(maxDepth(view, QModelIndex()) >= 1);

    // The Outline button: collapse all, then expand all, each recorded as its menu command.
    view->expand(view->model()->index(0, 0));
    window->outlineMenu()->menuAction()->trigger();
    QCOMPARE(window->outlineText(), QStringLiteral("Collapse All"));
    QVERIFY(!view->isExpanded(view->model()->index(0, 0)));
    window->outlineMenu()->menuAction()->trigger();
    QCOMPARE(window->outlineText(), QStringLiteral("Expand All"));
    QVERIFY(view->isExpanded(view->model()->index(0, 0)));
}

void TestOpenProject::resourcesViewHidesDetail()
{
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    action(*window, "actionResources")->trigger();
    QCOMPARE(window->form().stackedWidget->currentIndex(), 1);
    QVERIFY(!action(*window, "actionDetail")->isVisible());
    action(*window, "actionTrackingGanttChart")->trigger();
    QVERIFY(gantt(*window)->trackingMode());
    QVERIFY(action(*window, "actionDetail")->isVisible());
    window->viewMenu()->menuAction()->trigger(); // the View button itself: back to the chart
    QVERIFY(action(*window, "actionGanttChart")->isChecked());
    QVERIFY(!gantt(*window)->trackingMode());
}

void TestOpenProject::columnsIconFollowsFilters()
{
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    auto *header = qobject_cast<RySortFilterHeader *>(tree(*window)->header());
    QAction *columns = action(*window, "actionColumns");
    header->addFilteredColumn(1);
    auto image = [](const QIcon &icon) {
        return icon.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    auto resource = [](const char *path) {
        return QImage(QLatin1String(path)).convertToFormat(QImage::Format_ARGB32);
    };
    QCOMPARE(image(columns->icon()), resource(":/images/table_column_filter_32.png"));
    header->clearFilteredColumns();
    QCOMPARE(image(columns->icon()), resource(":/images/table_column_f_32.png"));
}

void TestOpenProject::closeClearsSortAndFilters()
{
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    RyFilterDialogProxyModel *proxy = window->activityView()->filterProxy();
    auto *header = qobject_cast<RySortFilterHeader *>(tree(*window)->header());
    const int name = RyModelLookup::findColumn(proxy, QStringLiteral("Activity Name"));
    proxy->setValueFilter(name, { QStringLiteral("no such activity") });
    header->addFilteredColumn(name);
    proxy->sort(name, Qt::DescendingOrder);
    const QImage filteredIcon = action(*window, "actionColumns")->icon().pixmap(32).toImage();

    action(*window, "actionClose")->trigger();
    QVERIFY(proxy->valueFilters().isEmpty());
    QCOMPARE(proxy->sortColumn(), -1);
    QVERIFY(!header->hasFilteredColumns());
    QVERIFY(action(*window, "actionColumns")->icon().pixmap(32).toImage() != filteredIcon);
    // The next file shows all its rows.
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    QVERIFY(tree(*window)->model()->rowCount() > 0);
}

void TestOpenProject::detailsFollowCurrentRow()
{
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    action(*window, "actionDetail")->trigger();
    QVERIFY(window->detailsView()->isVisible());
    RyGroupedTreeView *view = window->activityView()->treeView();
    view->expandAll();
    const int nameColumn
        = RyModelLookup::findColumn(view->model(), QStringLiteral("Activity Name"));
    QVERIFY(nameColumn >= 0);
    QStringList names;
    for (const QModelIndex &index : RyModelLookup::flattenIndexes(view->model(), QModelIndex())) {
        if (view->isGroupRow(index))
            continue;
        view->setCurrentIndex(index);
        auto *leName = window->detailsView()->findChild<QLineEdit *>(QStringLiteral("leName"));
        QVERIFY(leName);
        QCOMPARE(leName->text(), index.sibling(index.row(), nameColumn).data().toString());
        names << leName->text();
        if (names.size() == 3)
            break;
    }
    QCOMPARE(names.size(), 3);
}

void TestOpenProject::storedLayoutThroughLayoutMenu()
{
    QVERIFY(openAndWait(*window, sample("sample.mpp")));
    QHeaderView *header = tree(*window)->header();
    const QStringList shown = RyHeaderState::visibleHeaderTexts(header);

    // Store the current look under a name through the Layout menu's line edit and Save button.
    QTest::keyClicks(window->layoutNameEdit(), QStringLiteral("Planner"));
    QTest::mouseClick(window->layoutSaveButton(), Qt::LeftButton);
    QAction *entry = nullptr;
    for (QAction *candidate : window->form().menuLayout->actions()) {
        if (candidate->text() == QLatin1String("Planner"))
            entry = candidate;
    }
    QVERIFY(entry);
    QVERIFY(entry->isChecked());

    // Change the look, then choose the stored layout from the menu.
    header->hideSection(
        RyModelLookup::findColumn(tree(*window)->model(), QStringLiteral("Activity Type")));
    action(*window, "actionYear")->trigger();
    QVERIFY(RyHeaderState::visibleHeaderTexts(header) != shown);
    entry->trigger();
    QCOMPARE(RyHeaderState::visibleHeaderTexts(header), shown);
    QCOMPARE(int(gantt(*window)->timelineFlags()), 0x14);
    QVERIFY(!action(*window, "actionYear")->isChecked());
    QVERIFY(entry->isChecked());
}

void TestOpenProject::openFileDialog_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("opens");
    QTest::newRow("schedule") << sample("sample.mpp") << true;
    QTest::newRow("xer file") << QStringLiteral("plan.xer") << false;
    QTest::newRow("other ending") << QStringLiteral("plan.txt") << false;
    QTest::newRow("cancelled") << QString() << false;
}

void TestOpenProject::openFileDialog()
{
    QFETCH(QString, choice);
    QFETCH(bool, opens);
    if (!choice.isEmpty() && QFileInfo(choice).isRelative()) {
        choice = home->path() + QLatin1Char('/') + choice;
        QFile file(choice);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    // The dialog takes a path of the platform's own form ("Z:/work/..." under Wine).
    if (!choice.isEmpty())
        choice = QFileInfo(choice).absoluteFilePath();
    // Answers the open dialog with `choice` (or cancels it) and records how it was asked; a
    // dialog that does not take the answer is cancelled, so the test fails instead of hanging.
    QString caption;
    QStringList filters;
    QTimer answer;
    bool answered = false;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        caption = dialog->windowTitle();
        filters = dialog->nameFilters();
        if (choice.isEmpty() || answered) {
            dialog->reject();
        } else {
            answered = true;
            dialog->selectFile(choice);
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    answer.start(5);
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    action(*window, "actionOpen_file")->trigger();
    answer.stop();
    QCOMPARE(caption, QStringLiteral("Select files to open"));
    QCOMPARE(filters, QStringList { "Project files (*.mpp)" });
    if (opens) {
        QVERIFY(ended.wait(10000));
        QCOMPARE(window->windowTitle(), QDir::toNativeSeparators(choice));
    } else {
        QVERIFY(!window->projectLoader());
        QCOMPARE(window->windowTitle(), QStringLiteral("Tarvik"));
        QVERIFY(window->recentEntries().isEmpty());
    }
}

QTEST_MAIN(TestOpenProject)
#include "tst_openproject.moc"
