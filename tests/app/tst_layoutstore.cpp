// The configuration database RyPDB.db: creation on first start, the Layout menu built from it,
// storing layouts with the overwrite question, and files that are not databases.
#include "app/layoutstore.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "apptestsupport.h"

#include <QAction>
#include <QFile>
#include <QJsonDocument>
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
    for (int i = 2; i < actions.size(); ++i)
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
    QCOMPARE(map.value("columns").toStringList(),
             QStringList(
                 { "Activity ID:100", "Activity Name:290", "Start:100", "Finish:100", "WBS:177" }));
    QCOMPARE(map.value("bars").toMap().value("timelineFlags").toInt(), 80);
    const QVariantList styles = map.value("barStyles").toList();
    QCOMPARE(styles.size(), 6);
    QCOMPARE(styles.at(5).toMap().value("styleName").toString(),
             QStringLiteral("Baseline Milestone"));
    QCOMPARE(styles.at(5).toMap().value("startPointColor").toString(), QStringLiteral("#99ccff"));
    QCOMPARE(styles.at(0).toMap().value("bodyColor").toString(), QStringLiteral("#99ccff"));
    QVERIFY(map.value("group").toList().isEmpty());
    QCOMPARE(map.value("outline").toString(), QString());
    QCOMPARE(map.value("sort").toInt(), 0);
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
    QCOMPARE(document.value("bars").toMap().value("timelineFlags").toInt(), 80); // from "default"
    QCOMPARE(document.value("barStyles").toList().size(), 6);
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
        window.storeLayout(QStringLiteral("{}"), QStringLiteral("x"), false);
        window.close();
    }
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content);
}

void TestLayoutStore::unwritableFolderFallsBackToCurrentDirectory()
{
    ScratchHome home;
    const QString blocker = home.path() + QStringLiteral("/blocker");
    {
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    QTemporaryDir work;
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(work.path());
    qputenv("HOME", blocker.toLocal8Bit());
    {
        MainWindow window;
        QCOMPARE(window.layoutStore().fileName(),
                 QDir(work.path()).absolutePath() + QStringLiteral("/RyPDB.db"));
        QCOMPARE(layoutMenuTexts(window), QStringList { "default" });
    }
    QDir::setCurrent(oldCurrent);
}

QTEST_MAIN(TestLayoutStore)
#include "tst_layoutstore.moc"
