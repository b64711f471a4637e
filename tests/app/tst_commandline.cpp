// The tarvik command line, read before any application object exists, and the checks on paths
// that arrive from the command line or a drop.
#include "app/commandline.h"
#include "app/projectfiles.h"

#include <QTemporaryDir>
#include <QtTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void versionNamesTheBuild();
    void problem_data();
    void problem();
    void firstProjectFileSkipsDirectoriesAndOthers();

private:
    QTemporaryDir scratch;
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("file");

    QTest::newRow("nothing") << QStringList {} << int(CommandLine::Run) << QString();
    QTest::newRow("file") << QStringList { "plan.mpp" } << int(CommandLine::Run) << "plan.mpp";
    QTest::newRow("help") << QStringList { "--help" } << int(CommandLine::ShowHelp) << QString();
    QTest::newRow("-h wins over a file")
        << QStringList { "plan.mpp", "-h" } << int(CommandLine::ShowHelp) << "plan.mpp";
    QTest::newRow("version") << QStringList { "--version" } << int(CommandLine::ShowVersion)
                             << QString();
    QTest::newRow("Qt option with value is skipped")
        << QStringList { "-platform", "offscreen", "plan.mpp" } << int(CommandLine::Run)
        << "plan.mpp";
    QTest::newRow("file after --")
        << QStringList { "--", "--help" } << int(CommandLine::Run) << "--help";
    QTest::newRow("unknown long option")
        << QStringList { "--frobnicate" } << int(CommandLine::Fail) << QString();
#ifdef Q_OS_WIN
    // As Explorer passes a file it opens: backslashes, a drive letter, quotes already gone.
    QTest::newRow("Windows path") << QStringList { "C:\\path\\plan.mpp" }
                                  << int(CommandLine::Run) << "C:/path/plan.mpp";
#else
    QTest::newRow("backslash is part of a Linux name")
        << QStringList { "odd\\name.mpp" } << int(CommandLine::Run) << "odd\\name.mpp";
#endif
    QTest::newRow("two files") << QStringList { "a.mpp", "b.mpp" } << int(CommandLine::Fail)
                               << "a.mpp";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    const CommandLine parsed = CommandLine::parse(QStringList { "tarvik" } + arguments);
    QTEST(int(parsed.action), "action");
    QTEST(parsed.file, "file");
    QCOMPARE(parsed.error.isEmpty(), parsed.action != CommandLine::Fail);
}

void TestCommandLine::versionNamesTheBuild()
{
    QCOMPARE(CommandLine::versionText(), QStringLiteral("Tarvik " TARVIK_VERSION "\n"));
    QVERIFY(CommandLine::usage(QStringLiteral("/usr/bin/tarvik")).startsWith("Usage: tarvik "));
}

void TestCommandLine::problem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("problem");

    const QString notMpp = QStringLiteral("It is not a Microsoft Project file (.mpp).");
    QTest::newRow("mpp") << "plan.mpp" << true << QString();
    QTest::newRow("upper-case suffix") << "PLAN.MPP" << true << QString();
    QTest::newRow("missing") << "gone.mpp" << false << "The file does not exist.";
    QTest::newRow("text file") << "notes.txt" << true << notMpp;
    QTest::newRow("directory") << "folder.mpp/" << true << notMpp;
}

void TestCommandLine::problem()
{
    QFETCH(QString, name);
    QFETCH(bool, create);
    const QString path = scratch.filePath(name);
    if (create && name.endsWith(QLatin1Char('/'))) {
        QVERIFY(QDir().mkpath(path));
    } else if (create) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QTEST(ProjectFiles::problem(path), "problem");
}

void TestCommandLine::firstProjectFileSkipsDirectoriesAndOthers()
{
    QVERIFY(QDir(scratch.path()).mkpath(QStringLiteral("dir.mpp")));
    for (const char *name : { "a.txt", "b.mpp", "c.mpp" }) {
        QFile file(scratch.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    auto url = [this](const char *name) {
        return QUrl::fromLocalFile(scratch.filePath(QLatin1String(name)));
    };
    QCOMPARE(ProjectFiles::firstProjectFile({ url("dir.mpp"), url("a.txt"),
                                              QUrl("https://example.org/x.mpp"), url("b.mpp"),
                                              url("c.mpp") }),
             scratch.filePath(QStringLiteral("b.mpp")));
    QCOMPARE(ProjectFiles::firstProjectFile({ url("dir.mpp"), url("a.txt") }), QString());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
