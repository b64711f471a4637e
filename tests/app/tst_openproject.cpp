// Opening schedules through the main window, end to end: the loader on the pool, the progress
// dialog, the recent-files entry and the failure message.
#include "app/mainwindow.h"
#include "app/mainwindowform.h"
#include "apptestsupport.h"
#include "tables/mpploader.h"

#include <QAction>
#include <QDirIterator>
#include <QProgressDialog>
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
    void closeKeepsTitleAndLoader();

private:
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
        QCOMPARE(window->windowTitle(), path);
        QVERIFY(window->projectLoader()->hasModel(QStringLiteral("ActivityModel")));
    } else {
        QCOMPARE(answer.count, 1);
        QCOMPARE(answer.title, QStringLiteral("Open file"));
        QVERIFY(answer.text.startsWith(QStringLiteral("The file could not be opened:\n")));
        QVERIFY(answer.text.contains(QDir::toNativeSeparators(path)));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tarvik"));
        QVERIFY(!window->projectLoader());
    }
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
    QCOMPARE(window->windowTitle(), sample("sample.mpp"));
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

void TestOpenProject::closeKeepsTitleAndLoader()
{
    const QString path = sample("sample.mpp");
    QVERIFY(openAndWait(*window, path));
    window->findChild<QAction *>(QStringLiteral("actionClose"))->trigger();
    QCOMPARE(window->windowTitle(), path);
    QVERIFY(window->projectLoader());
    QCOMPARE(window->projectLoader()->sourceName(), path);
    QVERIFY(window->projectLoader()->models().isEmpty());
}

QTEST_MAIN(TestOpenProject)
#include "tst_openproject.moc"
