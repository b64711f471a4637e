// The recent-files list: its rules, its file "mru.config" and the File menu entries, including
// files that are damaged or cannot be written.
#include "app/appconfig.h"
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "app/recentfiles.h"
#include "apptestsupport.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QtTest>

namespace {

RecentEntry fileEntry(const QString &file)
{
    RecentEntry entry;
    entry.file = file;
    entry.name = file;
    return entry;
}

RecentEntry databaseEntry(const QString &conn, const QString &projid, const QString &user = {})
{
    RecentEntry entry;
    entry.type = 1;
    entry.conn = conn;
    entry.projid = projid;
    entry.user = user;
    entry.name = projid;
    return entry;
}

QStringList files(const QList<RecentEntry> &entries)
{
    QStringList result;
    for (const RecentEntry &entry : entries)
        result << entry.file;
    return result;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList recentMenuTexts(const MainWindow &window)
{
    QStringList result;
    for (QAction *action : window.form().menuFile->actions()) {
        if (action->data().toMap().value(QStringLiteral("isMRU")).toBool())
            result << action->text();
    }
    return result;
}

QAction *recentMenuAction(const MainWindow &window, const QString &file)
{
    for (QAction *action : window.form().menuFile->actions()) {
        if (action->data().toMap().value(QStringLiteral("fileName")).toString() == file)
            return action;
    }
    return nullptr;
}

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT

private slots:
    void equality_data();
    void equality();
    void sameFileTwiceMovesToFront();
    void eightFilesKeepSevenNewest();
    void roundTrip();
    void passwordNeverWritten();
    void readingRules();
    void damagedContent_data();
    void damagedContent();

    void menuEntriesFromFile();
    void missingFileRemovedWithMessage();
    void xerEntryOpensNothing();
    void closeWritesList();
    void damagedFileKeptAsBad_data();
    void damagedFileKeptAsBad();
    void configFolderOfThePlatform();
    void unwritableConfigFolder();
};

void TestRecentFiles::equality_data()
{
    QTest::addColumn<int>("leftIndex");
    QTest::addColumn<int>("rightIndex");
    QTest::addColumn<bool>("equal");
    QTest::newRow("same file") << 0 << 1 << true;
    QTest::newRow("other file") << 0 << 2 << false;
    QTest::newRow("file vs database") << 0 << 3 << false;
    QTest::newRow("same conn and project, other user") << 3 << 4 << true;
    QTest::newRow("other project") << 3 << 5 << false;
}

void TestRecentFiles::equality()
{
    RecentEntry renamed = fileEntry(QStringLiteral("/a.mpp"));
    renamed.name = QStringLiteral("other caption");
    const QList<RecentEntry> entries = {
        fileEntry(QStringLiteral("/a.mpp")),
        renamed,
        fileEntry(QStringLiteral("/b.mpp")),
        databaseEntry(QStringLiteral("db"), QStringLiteral("P1"), QStringLiteral("u1")),
        databaseEntry(QStringLiteral("db"), QStringLiteral("P1"), QStringLiteral("u2")),
        databaseEntry(QStringLiteral("db"), QStringLiteral("P2")),
    };
    QFETCH(int, leftIndex);
    QFETCH(int, rightIndex);
    QFETCH(bool, equal);
    QCOMPARE(entries.at(leftIndex) == entries.at(rightIndex), equal);
    QCOMPARE(entries.at(rightIndex) == entries.at(leftIndex), equal);
}

void TestRecentFiles::sameFileTwiceMovesToFront()
{
    RecentFiles list;
    list.add(fileEntry(QStringLiteral("/a.mpp")));
    list.add(fileEntry(QStringLiteral("/b.mpp")));
    list.add(fileEntry(QStringLiteral("/a.mpp")));
    QCOMPARE(files(list.entries()), QStringList({ "/a.mpp", "/b.mpp" }));
}

void TestRecentFiles::eightFilesKeepSevenNewest()
{
    RecentFiles list;
    QCOMPARE(list.capacity(), 7);
    for (int i = 1; i <= 8; ++i)
        list.add(fileEntry(QStringLiteral("/p%1.mpp").arg(i)));
    QCOMPARE(files(list.entries()),
             QStringList(
                 { "/p8.mpp", "/p7.mpp", "/p6.mpp", "/p5.mpp", "/p4.mpp", "/p3.mpp", "/p2.mpp" }));
}

void TestRecentFiles::roundTrip()
{
    const QList<RecentEntry> written
        = { fileEntry(QStringLiteral("/x/ä b.mpp")),
            databaseEntry(QStringLiteral("c"), QStringLiteral("7"), QStringLiteral("me")) };
    const QByteArray json = RecentFiles::serialise(written);
    QVERIFY(json.contains("\n    {")); // indented form
    const QJsonArray array = QJsonDocument::fromJson(json).array();
    QCOMPARE(array.size(), 2);
    QCOMPARE(array.at(0).toObject().keys(),
             QStringList({ "conn", "file", "name", "projid", "type", "user" }));
    QList<RecentEntry> read;
    QVERIFY(RecentFiles::parse(json, &read));
    QCOMPARE(read.size(), 2);
    QCOMPARE(read.at(0).file, QStringLiteral("/x/ä b.mpp"));
    QCOMPARE(read.at(1).type, 1);
    QCOMPARE(read.at(1).user, QStringLiteral("me"));
    QCOMPARE(read.at(1).conn, QStringLiteral("c"));
}

void TestRecentFiles::passwordNeverWritten()
{
    RecentEntry entry = databaseEntry(QStringLiteral("c"), QStringLiteral("1"));
    entry.password = QStringLiteral("s3cret");
    QVERIFY(!RecentFiles::serialise({ entry }).contains("s3cret"));
}

void TestRecentFiles::readingRules()
{
    // type missing reads as 0; type 2 is skipped; the capacity is not applied on reading.
    QJsonArray array;
    array.append(QJsonObject { { "file", "/first.mpp" }, { "name", "/first.mpp" } });
    array.append(QJsonObject { { "type", 2 }, { "file", "/skipped.mpp" } });
    for (int i = 0; i < 8; ++i)
        array.append(QJsonObject { { "type", 0 }, { "file", QStringLiteral("/f%1.mpp").arg(i) } });
    QList<RecentEntry> read;
    QVERIFY(RecentFiles::parse(QJsonDocument(array).toJson(), &read));
    QCOMPARE(read.size(), 9);
    QCOMPARE(read.first().file, QStringLiteral("/first.mpp"));
    QVERIFY(!files(read).contains(QStringLiteral("/skipped.mpp")));
}

void TestRecentFiles::damagedContent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not JSON") << QByteArray("this is not json [");
    QTest::newRow("object instead of array") << QByteArray(R"({"file": "/a.mpp"})");
    QTest::newRow("element not an object") << QByteArray(R"([{"file": "/a.mpp"}, 42])");
    QTest::newRow("type is text") << QByteArray(R"([{"type": "0", "file": "/a.mpp"}])");
    QTest::newRow("file is a number") << QByteArray(R"([{"type": 0, "file": 12}])");
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe\x01", 4);
}

void TestRecentFiles::damagedContent()
{
    QFETCH(QByteArray, content);
    QList<RecentEntry> read = { fileEntry(QStringLiteral("/stale.mpp")) };
    QVERIFY(!RecentFiles::parse(content, &read));
    QVERIFY(read.isEmpty());
}

void TestRecentFiles::menuEntriesFromFile()
{
    ScratchHome home;
    const QString existing = home.path() + QStringLiteral("/plan.mpp");
    writeFile(existing, "x");
    QJsonArray array;
    array.append(QJsonObject { { "type", 0 }, { "file", existing }, { "name", existing } });
    array.append(QJsonObject { { "type", 2 }, { "file", "/typetwo.mpp" } });
    array.append(QJsonObject { { "type", 0 }, { "file", "/old/plan.XER" } });
    array.append(QJsonObject { { "type", 1 }, { "conn", "c" }, { "projid", "9" } });
    writeFile(home.configFile(QStringLiteral("mru.config")), QJsonDocument(array).toJson());

    MainWindow window;
    QCOMPARE(window.recentEntries().size(), 3); // type 2 skipped; .xer kept in the list
    // .xer gets no entry; the database entry has an empty file name.
    QCOMPARE(recentMenuTexts(window), QStringList({ existing, QString() }));
    QAction *entry = recentMenuAction(window, existing);
    QVERIFY(entry);
    const QVariantMap data = entry->data().toMap();
    QCOMPARE(data.value("isMRU").toBool(), true);
    QCOMPARE(data.value("type").toInt(), 0);
    // A separator sits between Quit, the File menu's last command, and the entries.
    const QList<QAction *> menu = window.form().menuFile->actions();
    const int first = menu.indexOf(entry);
    QVERIFY(menu.at(first - 1)->isSeparator());
    QCOMPARE(menu.at(first - 2)->objectName(), QStringLiteral("actionQuit"));
}

void TestRecentFiles::missingFileRemovedWithMessage()
{
    ScratchHome home;
    const QString gone = home.path() + QStringLiteral("/gone.mpp");
    QJsonArray array;
    array.append(QJsonObject { { "type", 0 }, { "file", gone }, { "name", gone } });
    writeFile(home.configFile(QStringLiteral("mru.config")), QJsonDocument(array).toJson());

    MainWindow window;
    QAction *entry = recentMenuAction(window, gone);
    QVERIFY(entry);
    MessageBoxAnswerer answer(QMessageBox::Ok);
    entry->trigger();
    QCOMPARE(answer.count, 1);
    QCOMPARE(answer.title, QStringLiteral("File doesn't exist"));
    QCOMPARE(answer.text, QStringLiteral("File was deleted"));
    QCOMPARE(answer.icon, QMessageBox::Critical);
    QVERIFY(window.recentEntries().isEmpty());
    QVERIFY(recentMenuTexts(window).isEmpty());
    // With the list empty the trailing separator goes too.
    QVERIFY(!window.form().menuFile->actions().constLast()->isSeparator());
}

void TestRecentFiles::xerEntryOpensNothing()
{
    ScratchHome home;
    MainWindow window;
    const QString xer = home.path() + QStringLiteral("/a.xer");
    writeFile(xer, "x");
    // An entry pointing at a .xer file (as an older list may hold) does nothing when chosen.
    QAction fake;
    fake.setData(QVariantMap { { "isMRU", true }, { "fileName", xer }, { "type", 0 } });
    connect(&fake, &QAction::triggered, &window, &MainWindow::onMRUClick);
    MessageBoxAnswerer answer(QMessageBox::Ok);
    fake.trigger();
    QCOMPARE(answer.count, 0);
    QCOMPARE(window.windowTitle(), QStringLiteral("Tarvik"));
    QVERIFY(window.recentEntries().isEmpty());
}

void TestRecentFiles::closeWritesList()
{
    ScratchHome home;
    const QString path = home.configFile(QStringLiteral("mru.config"));
    const QString one = home.path() + QStringLiteral("/one.mpp");
    QJsonArray array;
    array.append(QJsonObject { { "type", 0 }, { "file", one }, { "name", one } });
    writeFile(path, QJsonDocument(array).toJson());
    {
        MainWindow window;
        window.show();
        window.close();
    }
    QList<RecentEntry> read;
    QVERIFY(RecentFiles::parse(readFile(path), &read));
    QCOMPARE(files(read), QStringList({ one }));
    QVERIFY(!QFile::exists(path + QStringLiteral(".bad")));
}

void TestRecentFiles::damagedFileKeptAsBad_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not JSON") << QByteArray("{{{ not json");
    QTest::newRow("wrong types") << QByteArray(R"([{"type": "zero", "file": ["x"]}])");
    QByteArray huge = "[";
    const QByteArray element = R"({"type":0,"file":"/a/very/long/path/to/a/plan.mpp","name":"x"},)";
    while (huge.size() <= RecentFiles::MaxFileSize)
        huge += element;
    huge += R"({"type":0,"file":"/last.mpp"}])";
    QTest::newRow("huge") << huge;
}

void TestRecentFiles::damagedFileKeptAsBad()
{
    QFETCH(QByteArray, content);
    ScratchHome home;
    const QString path = home.configFile(QStringLiteral("mru.config"));
    writeFile(path, content);
    {
        MainWindow window; // starts in spite of the file
        QVERIFY(window.recentEntries().isEmpty());
        QVERIFY(recentMenuTexts(window).isEmpty());
        QCOMPARE(readFile(path), content); // nothing touched before close
        window.close();
    }
    QCOMPARE(readFile(path + QStringLiteral(".bad")), content);
    QList<RecentEntry> read = { fileEntry(QStringLiteral("/stale")) };
    QVERIFY(RecentFiles::parse(readFile(path), &read));
    QVERIFY(read.isEmpty());
}

void TestRecentFiles::configFolderOfThePlatform()
{
    ScratchHome home;
#ifdef Q_OS_WIN
    // The roaming application data, not the local one that QStandardPaths calls "config".
    const QString expected = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"))
        + QStringLiteral("/qttest/Tarvik");
#else
    const QString expected = home.path() + QStringLiteral("/.qttest/config/Tarvik");
#endif
    QCOMPARE(AppConfig::directory(), expected);
}

void TestRecentFiles::unwritableConfigFolder()
{
    // A regular file where the home folder should be: the configuration folder cannot be made.
    ScratchHome home;
#ifdef Q_OS_WIN
    // Windows does not take the folder from HOME: the file sits where the folder itself belongs.
    const QString blocker = home.configDir();
    QDir().mkpath(QFileInfo(blocker).path());
#else
    const QString blocker = home.path() + QStringLiteral("/blocker");
#endif
    writeFile(blocker, "a file, not a folder");
    QTemporaryDir work;
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(work.path());
#ifndef Q_OS_WIN
    qputenv("HOME", blocker.toLocal8Bit());
#endif
    {
        MainWindow window;
        QVERIFY(window.recentEntries().isEmpty());
        window.close(); // nothing can be saved, and nothing breaks
    }
    QDir::setCurrent(oldCurrent);
    QCOMPARE(readFile(blocker), QByteArray("a file, not a folder"));
}

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
