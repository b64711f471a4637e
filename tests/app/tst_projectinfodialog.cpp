// File > Project Information on a real schedule: the menu entry, its enabled state, and the
// dialog's read-only texts (title, dates, calendar, storage layout and the counts of what was
// read) as the XML export of the same file states them.
#include "app/mainwindow.h"
#include "app/projectinfodialog.h"
#include "apptestsupport.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QtTest>

namespace {

QString sample(const char *name)
{
    return QStringLiteral(TARVIK_SAMPLES "/oracle/") + QLatin1String(name);
}

} // namespace

class TestProjectInfoDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void menuEntry();
    void showsTheProject_data();
    void showsTheProject();

private:
    bool open(const QString &path);
    QAction *action() const { return window->findChild<QAction *>("actionInfo"); }

    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestProjectInfoDialog::init()
{
    home.reset(new ScratchHome);
    window.reset(new MainWindow);
    window->show();
}

bool TestProjectInfoDialog::open(const QString &path)
{
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    window->openProject(path);
    return ended.wait(20000) && ended.first().first().toBool();
}

void TestProjectInfoDialog::cleanup()
{
    window.reset();
    home.reset();
}

void TestProjectInfoDialog::menuEntry()
{
    QVERIFY(!action()->isEnabled());
    QVERIFY(open(sample("task-links-project2013-mpp14.mpp")));
    auto *file = window->findChild<QMenu *>("menuFile");
    QVERIFY(file->actions().contains(action()));
    QCOMPARE(action()->text(), QString("Project &Information..."));
    QVERIFY(action()->shortcut().isEmpty());
    QVERIFY(action()->isEnabled());
    window->findChild<QAction *>("actionClose")->trigger();
    QVERIFY(!action()->isEnabled());
}

void TestProjectInfoDialog::showsTheProject_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    const QString calendars = sample("calendar-recurring-exceptions-project2010-mpp14.mpp");
    QTest::newRow("title") << calendars << "Title"
                           << "Project1";
    QTest::newRow("author") << calendars << "Author"
                            << "Project User";
    QTest::newRow("no company") << calendars << "Company"
                                << "";
    QTest::newRow("start") << calendars << "Start"
                           << "20-10-2017";
    QTest::newRow("finish") << calendars << "Finish"
                            << "20-10-2017";
    QTest::newRow("no status date") << calendars << "Status date"
                                    << "";
    QTest::newRow("current date") << calendars << "Current date"
                                  << "07-11-2017";
    QTest::newRow("minutes per day") << calendars << "Minutes per day"
                                     << "480";
    QTest::newRow("minutes per week") << calendars << "Minutes per week"
                                      << "2400";
    QTest::newRow("calendar") << calendars << "Calendar"
                              << "Standard";
    QTest::newRow("file") << calendars << "File" << QDir::toNativeSeparators(calendars);
    QTest::newRow("MPP14") << calendars << "Storage layout"
                           << "MPP14";
    const QString links = sample("task-links-project2013-mpp12.mpp");
    QTest::newRow("MPP12") << links << "Storage layout"
                           << "MPP12";
    QTest::newRow("MPP9") << sample("task-links-project2013-mpp9.mpp") << "Storage layout"
                          << "MPP9";
    QTest::newRow("activities") << links << "Activities"
                                << "16";
    QTest::newRow("links") << links << "Links"
                           << "8";
    QTest::newRow("resources") << links << "Resources"
                               << "0";
    QTest::newRow("assignments") << links << "Assignments"
                                 << "0";
}

void TestProjectInfoDialog::showsTheProject()
{
    QFETCH(QString, path);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QString shown = QStringLiteral("(no dialog)");
    bool selectable = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<ProjectInfoDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        if (const auto *value = dialog->findChild<QLabel *>(label)) {
            shown = value->text();
            selectable = value->textInteractionFlags() & Qt::TextSelectableByMouse;
        }
        dialog->reject();
    });
    QVERIFY(open(path));
    poll.start(5);
    action()->trigger();
    QCOMPARE(shown, text);
    QVERIFY(selectable);
}

QTEST_MAIN(TestProjectInfoDialog)
#include "tst_projectinfodialog.moc"
