// Export, Print and Snip through the main window on a real schedule: their enabled state with
// and without a project, the CSV written from the Export dialog and its messages, and the print
// and snip dialogs opening over views that return to their place afterwards.
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "apptestsupport.h"
#include "output/ryprintdialog.h"
#include "output/rysnipdialog.h"
#include "views/activities.h"

#include <QDir>
#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QStatusBar>
#include <QTreeView>
#include <QtTest>

namespace {

QString samplePath()
{
    const QByteArray env = qgetenv("TARVIK_SAMPLES");
    return QString::fromLocal8Bit(env.isEmpty() ? QByteArray(TARVIK_SAMPLES) : env)
        + QStringLiteral("/extra/sample.mpp");
}

} // namespace

class TestOutputCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void enabledOnlyWithAProject();
    void exportWritesTheFile();
    void exportFromTheFileMenu();
    void exportToUnwritableFolder();
    void printAndSnipOpenTheirDialogs();

private:
    QAction *action(const char *name) const
    {
        return window->findChild<QAction *>(QLatin1String(name));
    }
    void exportTo(const QString &path);

    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestOutputCommands::init()
{
    home.reset(new ScratchHome);
    window.reset(new MainWindow);
    window->resize(1000, 700);
    window->show();
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    window->openProject(samplePath());
    QVERIFY(ended.wait(20000));
    QVERIFY(ended.first().first().toBool());
}

void TestOutputCommands::cleanup()
{
    window.reset();
    home.reset();
}

void TestOutputCommands::enabledOnlyWithAProject()
{
    for (const char *name : { "actionExport", "actionPrint", "actionSnip" })
        QVERIFY2(action(name)->isEnabled(), name);
    action("actionClose")->trigger();
    for (const char *name : { "actionExport", "actionPrint", "actionSnip" })
        QVERIFY2(!action(name)->isEnabled(), name);
}

void TestOutputCommands::exportTo(const QString &path)
{
    ModalHandler<QFileDialog> chooser([path](QFileDialog *dialog) {
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    action("actionExport")->trigger();
    QVERIFY(chooser.handled);
}

void TestOutputCommands::exportWritesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("activities.csv"));
    MessageBoxAnswerer answer(QMessageBox::Ok);
    exportTo(path);
    QCOMPARE(answer.count, 0);
    QVERIFY(QFile::exists(path));
    QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("File saved successfully."));
}

void TestOutputCommands::exportFromTheFileMenu()
{
    // Alt+F opens File, E (the mnemonic of "Export...") asks for the file and writes it.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QMenu *file = window->form().menuFile;
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(file->isVisible());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("from-menu.csv"));
    ModalHandler<QFileDialog> chooser([path](QFileDialog *dialog) {
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::keyClick(file, Qt::Key_E);
    QVERIFY(chooser.handled);
    QVERIFY(!file->isVisible());
    QVERIFY(QFile::exists(path));
}

void TestOutputCommands::exportToUnwritableFolder()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = blocker.fileName() + QStringLiteral("/activities.csv");
    MessageBoxAnswerer answer(QMessageBox::Ok);
    exportTo(path);
    QCOMPARE(answer.count, 1);
    QCOMPARE(answer.title, QStringLiteral("Export activities"));
    QVERIFY2(answer.text.contains(QDir::toNativeSeparators(path)), qPrintable(answer.text));
    QVERIFY(window->statusBar()->currentMessage().isEmpty());
}

void TestOutputCommands::printAndSnipOpenTheirDialogs()
{
    QTreeView *tree = window->activityView()->treeView();
    const QSize treeSize = tree->size();
    int pages = 0;
    ModalHandler<RyPrintDialog> print([&pages](RyPrintDialog *dialog) {
        pages = dialog->scene()->pageCount();
        dialog->accept();
    });
    action("actionPrint")->trigger();
    QVERIFY(print.handled);
    QVERIFY(pages > 0);
    QCOMPARE(tree->size(), treeSize);

    QSize chart;
    ModalHandler<RySnipDialog> snip([&chart](RySnipDialog *dialog) {
        chart = dialog->selectedImage().size();
        dialog->accept();
    });
    action("actionSnip")->trigger();
    QVERIFY(snip.handled);
    // The whole time range, the timeline header and at least one row.
    QVERIFY(chart.width() > 100 && chart.height() >= 48 + 22);
}

QTEST_MAIN(TestOutputCommands)
#include "tst_outputcommands.moc"
