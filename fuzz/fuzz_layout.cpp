// libFuzzer entry point: a layout document, the JSON that RyPDB.db stores for each layout,
// applied to the activity view of a loaded sample schedule (offscreen). After each input the
// window's own layout is put back, so that every input starts from the same view.

#include "app/mainwindow.h"
#include "fuzz/fuzzsupport.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The schedule the layouts are applied to: TARVIK_SAMPLES names the samples folder at run time,
// the build's samples folder is the default.
QString samplePath()
{
    QString folder = qEnvironmentVariable("TARVIK_SAMPLES");
    if (folder.isEmpty())
        folder = QStringLiteral(TARVIK_SAMPLES_DIR);
    return folder + QStringLiteral("/extra/sample.mpp");
}

struct Fixture
{
    Fixture()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app.reset(new QApplication(argc, argv));
        // Layouts and recent files go to a scratch configuration folder, not the user's.
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName(QStringLiteral("Tarvik"));
        qputenv("HOME", home.path().toLocal8Bit());

        window.reset(new MainWindow);
        window->resize(1200, 800);
        window->show();
        QEventLoop loop;
        bool loaded = false;
        QObject::connect(window.get(), &MainWindow::projectLoadEnded, &loop, [&](bool ok) {
            loaded = ok;
            loop.quit();
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        const QString sample = samplePath();
        if (!QFileInfo::exists(sample)) {
            std::fprintf(stderr, "fuzz_layout: no sample schedule at %s\n", qPrintable(sample));
            std::abort();
        }
        window->openProject(sample);
        loop.exec();
        if (!loaded) {
            std::fprintf(stderr, "fuzz_layout: %s did not load\n", qPrintable(sample));
            std::abort();
        }
        baseline = window->layoutDocument();
        // A first round of applying and painting: fonts and caches that Qt sets up once are
        // then in place before the first input.
        window->applyLayout(baseline);
        window->grab();
        QCoreApplication::processEvents();
    }

    int argc = 1;
    char name[12] = "fuzz_layout";
    char *argv[2] = { name, nullptr };
    QTemporaryDir home;
    std::unique_ptr<QApplication> app;
    std::unique_ptr<MainWindow> window;
    QString baseline;
};

Fixture *fixture = nullptr; // lives to the end: Qt's exit order is its own

} // namespace

// Before the first input, so that what Qt and the font libraries set up once and keep is not
// counted as the first input's leak.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietLogging();
    if (!fixture)
        fixture = new Fixture;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LLVMFuzzerInitialize(nullptr, nullptr);
    MainWindow &window = *fixture->window;

    const QString document = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    if (window.applyLayout(document)) {
        QCoreApplication::processEvents();
        // Whatever was applied can be saved again as a document.
        if (!QJsonDocument::fromJson(window.layoutDocument().toUtf8()).isObject())
            std::abort();
    }
    if (!window.applyLayout(fixture->baseline))
        std::abort();
    return 0;
}
