// The outline and units commands over an open schedule: what the Outline tool-bar button and
// the Units menu record, and that a saved layout gives them back.
#include "app/mainwindow.h"
#include "apptestsupport.h"
#include "models/ryvaluetext.h"
#include "views/activities.h"
#include "views/rygroupedtreeview.h"

#include <QAction>
#include <QJsonDocument>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

const char *const Sample = TARVIK_SAMPLES "/extra/sample.mpp";

// Counts the rows below `parent` that have children, and how many of them are expanded.
void countParents(const QTreeView *view, const QModelIndex &parent, int *parents, int *expanded)
{
    const QAbstractItemModel *model = view->model();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (!model->hasChildren(index))
            continue;
        ++*parents;
        if (view->isExpanded(index))
            ++*expanded;
        countParents(view, index, parents, expanded);
    }
}

} // namespace

class TestViewCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void outlineButtonRoundTrip_data();
    void outlineButtonRoundTrip();
    void unitsRoundTrip_data();
    void unitsRoundTrip();

private:
    QAction *action(const QString &name) const { return window->findChild<QAction *>(name); }
    // Every parent row expanded (true) or none (false).
    void verifyOutline(bool expanded) const;

    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestViewCommands::init()
{
    home.reset(new ScratchHome);
    window.reset(new MainWindow);
    window->resize(1200, 800);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    window->openProject(QString::fromLatin1(Sample));
    QVERIFY(ended.wait(10000));
    QVERIFY(ended.first().first().toBool());
}

void TestViewCommands::cleanup()
{
    window.reset();
    home.reset();
}

void TestViewCommands::verifyOutline(bool expanded) const
{
    int parents = 0;
    int open = 0;
    countParents(window->activityView()->treeView(), QModelIndex(), &parents, &open);
    QVERIFY(parents > 0);
    QCOMPARE(open, expanded ? parents : 0);
}

void TestViewCommands::outlineButtonRoundTrip_data()
{
    QTest::addColumn<bool>("expandedBefore");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("other");
    // The button collapses a tree whose first row is expanded and expands one whose first row
    // is not; either way it records the Outline menu command that gives the same tree.
    QTest::newRow("collapse") << true << "actionCollapse_All"
                              << "actionExpand_All";
    QTest::newRow("expand") << false << "actionExpand_All"
                            << "actionCollapse_All";
}

void TestViewCommands::outlineButtonRoundTrip()
{
    QFETCH(bool, expandedBefore);
    QFETCH(QString, command);
    QFETCH(QString, other);
    QTreeView *tree = window->activityView()->treeView();
    tree->setExpanded(tree->model()->index(0, 0), expandedBefore);

    auto *button = window->findChild<QToolButton *>(QStringLiteral("menuOutlineButton"));
    QVERIFY(button);
    // The button's own part, left of the menu arrow.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
    verifyOutline(!expandedBefore);
    const QString text = action(command)->text();
    QCOMPARE(window->outlineText(), text);

    const QString document = window->layoutDocument();
    QCOMPARE(QJsonDocument::fromJson(document.toUtf8()).toVariant().toMap().value("outline"),
             QVariant(text));

    action(other)->trigger();
    verifyOutline(expandedBefore);
    QVERIFY(window->applyLayout(document));
    verifyOutline(!expandedBefore);
    QCOMPARE(window->outlineText(), text);
}

void TestViewCommands::unitsRoundTrip_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("text"); // of 40 hours
    QTest::newRow("Hours") << "Hours" << "40h";
    QTest::newRow("Weeks") << "Weeks" << "1w";
}

void TestViewCommands::unitsRoundTrip()
{
    QFETCH(QString, unit);
    QFETCH(QString, text);
    // Days unless chosen otherwise; the sample's project has days of 480 minutes.
    QVERIFY(action("actionUnitsDays")->isChecked());
    QCOMPARE(RyValueText::durationText(40), QStringLiteral("5d"));

    action("actionUnits" + unit)->trigger();
    QCOMPARE(RyValueText::durationText(40), text);
    const QString document = window->layoutDocument();
    QCOMPARE(QJsonDocument::fromJson(document.toUtf8()).toVariant().toMap().value("durationUnit"),
             QVariant(unit));

    action("actionUnitsDays")->trigger();
    QCOMPARE(RyValueText::durationText(40), QStringLiteral("5d"));
    QVERIFY(window->applyLayout(document));
    QVERIFY(action("actionUnits" + unit)->isChecked());
    QCOMPARE(RyValueText::durationText(40), text);
    // The choice outlives the window in this process: leave the default for the next test.
    action("actionUnitsDays")->trigger();
}

QTEST_MAIN(TestViewCommands)
#include "tst_viewcommands.moc"
