// The configuration database RyPDB.db: creation on first start, the Layout menu built from it,
// storing layouts with the overwrite question, and files that are not databases.
#include "app/layoutstore.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "apptestsupport.h"
#include "gantt/ryganttview.h"
#include "gantt/ryganttviewbarstyle.h"
#include "models/rytextfile.h"
#include "views/activities.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

// Runs `sql` on the database file through a connection of its own.
QList<QVariantList> rows(const QString &file, const QString &sql)
{
    QList<QVariantList> result;
    {
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql)) {
                while (query.next()) {
                    QVariantList row;
                    for (int c = 0; c < query.record().count(); ++c)
                        row << query.value(c);
                    result << row;
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return result;
}

QStringList layoutMenuTexts(const MainWindow &window)
{
    QStringList texts;
    const QList<QAction *> actions = window.form().menuLayout->actions();
    // After the name/Save widget and its separator; a separator and Delete close the menu.
    for (int i = 2; i < actions.size() - 2; ++i)
        texts << actions.at(i)->text();
    return texts;
}

QAction *layoutEntry(const MainWindow &window, const QString &text)
{
    for (QAction *action : window.form().menuLayout->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class TestLayoutStore : public QObject
{
    Q_OBJECT

private slots:
    void firstStartCreatesDatabase();
    void defaultDocument();
    void oldDefaultRowUpgraded_data();
    void oldDefaultRowUpgraded();
    void unreadableLayoutLeavesView();
    void returnInNameSaves();
    void keyboardSavesAndApplies();
    void namesWithQuotesAndSql();
    void deleteLayout_data();
    void deleteLayout();
    void defaultAndImportedNotDeletable();
    void lockedDatabaseSaveFails();
    void menuListsLayoutsByName();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void overwriteWithoutQuestion();
    void saveButtonStoresUnderName();
    void saveWithEmptyNameDoesNothing();
    void applyingEntryChecksOnlyIt();
    void importedLayoutsOverDefault();
    void notADatabaseLeftUntouched();
    void unwritableFolderFallsBackToCurrentDirectory();
};

void TestLayoutStore::firstStartCreatesDatabase()
{
    ScratchHome home;
    QVERIFY(!QFileInfo::exists(home.configDir()));
    MainWindow window;
    const QString file = home.configDir() + QStringLiteral("/RyPDB.db");
    QCOMPARE(window.layoutStore().fileName(), file);
    QVERIFY(QFileInfo(file).isFile());
    QVERIFY(window.layoutStore().isOpen());
    const auto layouts = rows(file, QStringLiteral("select layout_name from tblLayout"));
    QCOMPARE(layouts.size(), 1);
    QCOMPARE(layouts.first().first().toString(), QStringLiteral("default"));
    QCOMPARE(
        rows(file, QStringLiteral("select count(*) from RySysObjects")).first().first().toInt(), 0);
    QCOMPARE(layoutMenuTexts(window), QStringList { "default" });
    QVERIFY(layoutEntry(window, QStringLiteral("default"))->isChecked());
}

void TestLayoutStore::defaultDocument()
{
    ScratchHome home;
    MainWindow window;
    const QString document = window.layoutStore().defaultTemplate();
    QJsonParseError error;
    const QVariantMap map = QJsonDocument::fromJson(document.toUtf8(), &error).toVariant().toMap();
    QCOMPARE(error.error, QJsonParseError::NoError);
    // Columns, bars (with the time scales) and bar styles are the built-in layout's, so that
    // "default" shows a loaded schedule; the rest stays the script's.
    const QVariantMap builtIn
        = QJsonDocument::fromJson(RyTextFile::readTextFile(":/files/mpp_style.json").toUtf8())
              .toVariant()
              .toMap();
    for (const char *key : { "columns", "bars", "barStyles" })
        QCOMPARE(map.value(key), builtIn.value(key));
    QVERIFY(map.value("columns").toStringList().contains("Start Date:115"));
    QVERIFY(map.value("group").toList().isEmpty());
    QCOMPARE(map.value("outline").toString(), QString());
    QCOMPARE(map.value("sort").toInt(), 0);
}

void TestLayoutStore::oldDefaultRowUpgraded_data()
{
    QTest::addColumn<QString>("defaultRow"); // empty: as the old creation script wrote it
    QTest::addColumn<bool>("upgraded");
    QTest::newRow("script's row") << QString() << true;
    QTest::newRow("saved over by the user") << QStringLiteral("{\"outline\":\"Level 2\"}") << false;
}

void TestLayoutStore::oldDefaultRowUpgraded()
{
    QFETCH(QString, defaultRow);
    QFETCH(bool, upgraded);
    ScratchHome home;
    const QString file = home.configFile(QStringLiteral("RyPDB.db"));
    const QString script = RyTextFile::readTextFile(":/files/createrypdb.sql");
    for (const QString &statement : script.split(';'))
        rows(file, statement);
    rows(file, "INSERT INTO tblLayout(layout_name, layout_data) VALUES ('old', '{\"x\":1}')");
    if (!defaultRow.isEmpty())
        rows(file,
             QStringLiteral("UPDATE tblLayout SET layout_data = '%1' "
                            "WHERE layout_name = 'default'")
                 .arg(defaultRow));
    const QString before = rows(file,
                                "select layout_data from tblLayout where layout_name = "
                                "'default'")
                               .first()
                               .first()
                               .toString();
    QCOMPARE(before == LayoutStore::scriptDefaultDocument(), upgraded);

    {
        MainWindow window;
    }
    const auto stored = rows(file, "select layout_name, layout_data from tblLayout order by 1");
    QCOMPARE(stored.size(), 2);
    QCOMPARE(stored.at(0).at(1).toString(),
             upgraded ? LayoutStore::builtInDefaultDocument() : before);
    QCOMPARE(stored.at(1).at(1).toString(), QStringLiteral("{\"x\":1}"));
}

void TestLayoutStore::menuListsLayoutsByName()
{
    ScratchHome home;
    {
        MainWindow window;
        window.storeLayout(QStringLiteral("{}"), QStringLiteral("zeta"), false);
        window.storeLayout(QStringLiteral("{\"outline\":\"Level 2\"}"), QStringLiteral("alpha"),
                           false);
    }
    MainWindow window;
    QCOMPARE(layoutMenuTexts(window), QStringList({ "alpha", "default", "zeta" }));
    QCOMPARE(layoutEntry(window, QStringLiteral("alpha"))->data().toString(),
             QStringLiteral("{\"outline\":\"Level 2\"}"));
    QVERIFY(layoutEntry(window, QStringLiteral("default"))->isChecked());
    QVERIFY(!layoutEntry(window, QStringLiteral("alpha"))->isChecked());
}

void TestLayoutStore::overwriteQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Yes overwrites") << int(QMessageBox::Yes) << QStringLiteral("{\"v\":2}");
    QTest::newRow("No keeps the row") << int(QMessageBox::No) << QStringLiteral("{\"v\":1}");
}

void TestLayoutStore::overwriteQuestion()
{
    QFETCH(int, answer);
    QFETCH(QString, stored);
    ScratchHome home;
    MainWindow window;
    const QString file = window.layoutStore().fileName();
    window.storeLayout(QStringLiteral("{\"v\":1}"), QStringLiteral("mine"), false);
    rows(file, QStringLiteral("update tblLayout set update_date = '2000-01-01 00:00:00'"));

    MessageBoxAnswerer answerer(static_cast<QMessageBox::StandardButton>(answer));
    window.storeLayout(QStringLiteral("{\"v\":2}"), QStringLiteral("mine"), false);
    QCOMPARE(answerer.count, 1);
    QCOMPARE(answerer.title, QStringLiteral("Overwrite layout"));
    QCOMPARE(answerer.text, QStringLiteral("Layout with same name already exists. Overwrite it?"));

    const auto mine = rows(file,
                           QStringLiteral("select layout_data, update_date from tblLayout "
                                          "where layout_name = 'mine'"));
    QCOMPARE(mine.size(), 1);
    QCOMPARE(mine.first().at(0).toString(), stored);
    const bool touched = mine.first().at(1).toString() != QStringLiteral("2000-01-01 00:00:00");
    QCOMPARE(touched, answer == QMessageBox::Yes);
}

void TestLayoutStore::overwriteWithoutQuestion()
{
    ScratchHome home;
    MainWindow window;
    window.storeLayout(QStringLiteral("{\"v\":1}"), QStringLiteral("mine"), false);
    MessageBoxAnswerer answerer(QMessageBox::No);
    window.storeLayout(QStringLiteral("{\"v\":3}"), QStringLiteral("mine"), true);
    QCOMPARE(answerer.count, 0);
    const auto mine
        = rows(window.layoutStore().fileName(),
               QStringLiteral("select layout_data from tblLayout where layout_name = 'mine'"));
    QCOMPARE(mine.first().first().toString(), QStringLiteral("{\"v\":3}"));
}

void TestLayoutStore::saveButtonStoresUnderName()
{
    ScratchHome home;
    MainWindow window;
    QTest::keyClicks(window.layoutNameEdit(), QStringLiteral("Planner view"));
    QVERIFY(window.layoutSaveButton()->isEnabled());
    QTest::mouseClick(window.layoutSaveButton(), Qt::LeftButton);
    QCOMPARE(layoutMenuTexts(window), QStringList({ "Planner view", "default" }));
    QVERIFY(layoutEntry(window, QStringLiteral("Planner view"))->isChecked());
    QVERIFY(!layoutEntry(window, QStringLiteral("default"))->isChecked());
    const QString saved = layoutEntry(window, QStringLiteral("Planner view"))->data().toString();
    QVERIFY(QJsonDocument::fromJson(saved.toUtf8()).isObject());
}

void TestLayoutStore::saveWithEmptyNameDoesNothing()
{
    ScratchHome home;
    MainWindow window;
    window.layoutSaveButton()->setEnabled(true);
    QTest::mouseClick(window.layoutSaveButton(), Qt::LeftButton);
    QCOMPARE(rows(window.layoutStore().fileName(), QStringLiteral("select count(*) from tblLayout"))
                 .first()
                 .first()
                 .toInt(),
             1);
}

void TestLayoutStore::applyingEntryChecksOnlyIt()
{
    ScratchHome home;
    {
        MainWindow window;
        window.storeLayout(QStringLiteral("{}"), QStringLiteral("other"), false);
    }
    MainWindow window;
    layoutEntry(window, QStringLiteral("other"))->trigger();
    QVERIFY(layoutEntry(window, QStringLiteral("other"))->isChecked());
    QVERIFY(!layoutEntry(window, QStringLiteral("default"))->isChecked());
    layoutEntry(window, QStringLiteral("other"))->trigger(); // a second click keeps it checked
    QVERIFY(layoutEntry(window, QStringLiteral("other"))->isChecked());
}

void TestLayoutStore::importedLayoutsOverDefault()
{
    ScratchHome home;
    MainWindow window;
    P6Layout imported;
    imported.name = QStringLiteral("/plans/view.plf");
    imported.columns
        = { { QStringLiteral("Activity ID"), 100 }, { QStringLiteral("Start Date"), 80 } };
    imported.groups = QStringList { QStringLiteral("WBS Code;All") };
    imported.sorts = QStringList { QStringLiteral("Activity Name;D") };
    window.setImportedLayouts({ imported });
    QCOMPARE(layoutMenuTexts(window), QStringList({ "default", "[P6] /plans/view.plf" }));
    const QVariantMap document
        = QJsonDocument::fromJson(layoutEntry(window, QStringLiteral("[P6] /plans/view.plf"))
                                      ->data()
                                      .toString()
                                      .toUtf8())
              .toVariant()
              .toMap();
    QCOMPARE(document.value("columns").toStringList(),
             QStringList({ "Activity ID:100", "Start Date:80" }));
    QCOMPARE(document.value("group").toStringList(), QStringList { "WBS Code;All" });
    QCOMPARE(document.value("sortby").toStringList(), QStringList { "Activity Name;D" });
    // The other keys come from "default", which has the built-in layout's bars.
    const QVariantMap builtIn
        = QJsonDocument::fromJson(RyTextFile::readTextFile(":/files/mpp_style.json").toUtf8())
              .toVariant()
              .toMap();
    QCOMPARE(document.value("bars"), builtIn.value("bars"));
    QCOMPARE(document.value("barStyles"), builtIn.value("barStyles"));
}

void TestLayoutStore::notADatabaseLeftUntouched()
{
    ScratchHome home;
    const QString file = home.configFile(QStringLiteral("RyPDB.db"));
    const QByteArray content = "my notes, which happen to have this name\n";
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    {
        MainWindow window;
        QVERIFY(!window.layoutStore().isOpen());
        QCOMPARE(layoutMenuTexts(window), QStringList { "layouts not found" });
        QVERIFY(!layoutEntry(window, QStringLiteral("layouts not found"))->isEnabled());
        MessageBoxAnswerer answerer(QMessageBox::Ok);
        QVERIFY(!window.storeLayout(QStringLiteral("{}"), QStringLiteral("x"), false));
        QCOMPARE(answerer.title, QStringLiteral("Layout"));
        window.close();
    }
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content);
}

void TestLayoutStore::unwritableFolderFallsBackToCurrentDirectory()
{
    ScratchHome home;
#ifdef Q_OS_WIN
    // Windows does not take the folder from HOME: the file sits where the folder itself belongs.
    const QString blocker = home.configDir();
    QDir().mkpath(QFileInfo(blocker).path());
#else
    const QString blocker = home.path() + QStringLiteral("/blocker");
#endif
    {
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    QTemporaryDir work;
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(work.path());
#ifndef Q_OS_WIN
    qputenv("HOME", blocker.toLocal8Bit());
#endif
    {
        MainWindow window;
        QCOMPARE(window.layoutStore().fileName(),
                 QDir(work.path()).absolutePath() + QStringLiteral("/RyPDB.db"));
        QCOMPARE(layoutMenuTexts(window), QStringList { "default" });
    }
    QDir::setCurrent(oldCurrent);
}

void TestLayoutStore::unreadableLayoutLeavesView()
{
    ScratchHome home;
    MainWindow window;
    window.storeLayout(QStringLiteral("{\"barStyles\": [ broken"), QStringLiteral("broken"), false);
    window.reloadLayoutMenu(QStringLiteral("default"));
    RyGanttView *gantt = window.activityView()->ganttView();
    gantt->setBarStyles(RyGanttViewBarStyle::fromVariantList(
        QJsonDocument::fromJson(RyTextFile::readTextFile(":/files/mpp_style.json").toUtf8())
            .object()
            .value("barStyles")
            .toArray()
            .toVariantList()));
    const int styles = gantt->barStyles().size();
    QVERIFY(styles > 0);

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    layoutEntry(window, QStringLiteral("broken"))->trigger();
    QCOMPARE(answerer.count, 1);
    QCOMPARE(answerer.title, QStringLiteral("Layout"));
    QVERIFY(answerer.text.contains("\"broken\""));
    QVERIFY(answerer.text.contains("could not be read"));
    QCOMPARE(gantt->barStyles().size(), styles);
    QVERIFY(!layoutEntry(window, QStringLiteral("broken"))->isChecked());
    QVERIFY(layoutEntry(window, QStringLiteral("default"))->isChecked());
}

void TestLayoutStore::returnInNameSaves()
{
    ScratchHome home;
    MainWindow window;
    QTest::keyClicks(window.layoutNameEdit(), QStringLiteral("by return"));
    QTest::keyClick(window.layoutNameEdit(), Qt::Key_Return);
    QCOMPARE(layoutMenuTexts(window), QStringList({ "by return", "default" }));
    QVERIFY(layoutEntry(window, QStringLiteral("by return"))->isChecked());
}

void TestLayoutStore::keyboardSavesAndApplies()
{
    // Keys go to the window as a keyboard user types them, so the open menu routes them.
    ScratchHome home;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QMenu *menu = window.form().menuLayout;
    QTest::keyClick(window.windowHandle(), Qt::Key_L, Qt::AltModifier);
    QTRY_VERIFY(menu->isVisible());
    QTRY_VERIFY(window.layoutNameEdit()->hasFocus());
    // Down highlights an entry; typing still names the layout instead of seeking a mnemonic
    // ("h" would open the Help menu).
    QTest::keyClick(window.windowHandle(), Qt::Key_Down);
    QTRY_COMPARE(menu->activeAction(), layoutEntry(window, QStringLiteral("default")));
    for (const char c : QByteArray("hk 2"))
        QTest::keyClick(window.windowHandle(), c);
    QCOMPARE(window.layoutNameEdit()->text(), QStringLiteral("hk 2"));
    QVERIFY(window.form().menuHelp->isHidden());
    QTest::keyClick(window.windowHandle(), Qt::Key_Return);
    QCOMPARE(layoutMenuTexts(window), QStringList({ "default", "hk 2" }));
    QVERIFY(layoutEntry(window, QStringLiteral("hk 2"))->isChecked());
    QVERIFY(menu->isVisible());

    // Down from the field reaches the first entry; Return applies it and closes the menu.
    QTest::keyClick(window.windowHandle(), Qt::Key_Down);
    QTRY_COMPARE(menu->activeAction(), layoutEntry(window, QStringLiteral("default")));
    QTest::keyClick(window.windowHandle(), Qt::Key_Return);
    QTRY_VERIFY(!menu->isVisible());
    QVERIFY(layoutEntry(window, QStringLiteral("default"))->isChecked());
    QVERIFY(!layoutEntry(window, QStringLiteral("hk 2"))->isChecked());
}

void TestLayoutStore::namesWithQuotesAndSql()
{
    ScratchHome home;
    const QString name = QStringLiteral("it's \"R&D\"; DROP TABLE tblLayout; --");
    {
        MainWindow window;
        QVERIFY(window.storeLayout(QStringLiteral("{}"), name, false));
    }
    MainWindow window;
    const QList<QAction *> actions = window.form().menuLayout->actions();
    QAction *entry = nullptr;
    for (QAction *action : actions) {
        if (action->property("layoutName").toString() == name)
            entry = action;
    }
    QVERIFY(entry);
    // Shown with its "&", not as a keyboard mnemonic.
    QCOMPARE(entry->text(), QString(name).replace("&", "&&"));
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    entry->trigger();
    window.layoutDeleteAction()->trigger();
    QCOMPARE(answerer.count, 1);
    QCOMPARE(rows(window.layoutStore().fileName(), "select layout_name from tblLayout").size(), 1);
}

void TestLayoutStore::deleteLayout_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("Yes deletes") << int(QMessageBox::Yes) << QStringList({ "default", "zeta" });
    QTest::newRow("No keeps") << int(QMessageBox::No) << QStringList({ "default", "mine", "zeta" });
}

void TestLayoutStore::deleteLayout()
{
    QFETCH(int, answer);
    QFETCH(QStringList, remaining);
    ScratchHome home;
    {
        MainWindow window;
        window.storeLayout(QStringLiteral("{}"), QStringLiteral("mine"), false);
        window.storeLayout(QStringLiteral("{}"), QStringLiteral("zeta"), false);
    }
    {
        MainWindow window;
        QAction *remove = window.layoutDeleteAction();
        QCOMPARE(remove->objectName(), QStringLiteral("actionDeleteLayout"));
        QVERIFY(!remove->isEnabled()); // "default" is the applied one
        layoutEntry(window, QStringLiteral("mine"))->trigger();
        QVERIFY(remove->isEnabled());
        QCOMPARE(remove->text(), QStringLiteral("Delete layout \"mine\""));

        MessageBoxAnswerer answerer(static_cast<QMessageBox::StandardButton>(answer));
        remove->trigger();
        QCOMPARE(answerer.count, 1);
        QCOMPARE(answerer.title, QStringLiteral("Delete layout"));
        QVERIFY(answerer.text.contains("\"mine\""));
        QCOMPARE(layoutMenuTexts(window), remaining);
    }
    MainWindow restarted;
    QCOMPARE(layoutMenuTexts(restarted), remaining);
}

void TestLayoutStore::defaultAndImportedNotDeletable()
{
    ScratchHome home;
    MainWindow window;
    P6Layout imported;
    imported.name = QStringLiteral("view.plf");
    imported.columns = { { QStringLiteral("Activity ID"), 100 } };
    window.setImportedLayouts({ imported });
    MessageBoxAnswerer answerer(QMessageBox::Yes);
    for (const char *entry : { "default", "[P6] view.plf" }) {
        layoutEntry(window, QLatin1String(entry))->trigger();
        QVERIFY2(!window.layoutDeleteAction()->isEnabled(), entry);
        window.layoutDeleteAction()->trigger();
    }
    QCOMPARE(answerer.count, 0);
    QCOMPARE(layoutMenuTexts(window), QStringList({ "default", "[P6] view.plf" }));
}

void TestLayoutStore::lockedDatabaseSaveFails()
{
    ScratchHome home;
    MainWindow window;
    window.storeLayout(QStringLiteral("{}"), QStringLiteral("kept"), false);
    window.reloadLayoutMenu(QStringLiteral("kept"));
    const QString file = window.layoutStore().fileName();
    {
        // Another program holds the database: every read and write of ours is refused.
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery lock(db);
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));

        MessageBoxAnswerer answerer(QMessageBox::Ok);
        QTest::keyClicks(window.layoutNameEdit(), QStringLiteral("new one"));
        QTest::mouseClick(window.layoutSaveButton(), Qt::LeftButton);
        QCOMPARE(answerer.count, 1);
        QCOMPARE(answerer.title, QStringLiteral("Layout"));
        QVERIFY(answerer.text.contains("\"new one\""));
        // Nothing is lost: the menu still lists what it did and the name stays for a retry.
        QCOMPARE(layoutMenuTexts(window), QStringList({ "default", "kept" }));
        QCOMPARE(window.layoutNameEdit()->text(), QStringLiteral("new one"));
        lock.exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    QCOMPARE(rows(file, "select layout_name from tblLayout order by 1").size(), 2);
}

QTEST_MAIN(TestLayoutStore)
#include "tst_layoutstore.moc"
