// The print dialog over a real schedule shown in the activity view: the controls, the preview
// drawing its pages, and the PDF output (page count, searchable text, page numbers, failures).
#include "gantt/ryganttview.h"
#include "models/rymodellookup.h"
#include "output/rypagecontent.h"
#include "output/rypageselectorbutton.h"
#include "output/ryprintdialog.h"
#include "output/ryviewsnapshot.h"
#include "tables/mpploader.h"
#include "views/activities.h"
#include "views/ryheaderstate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QJsonDocument>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString samplePath()
{
    const QByteArray env = qgetenv("TARVIK_SAMPLES");
    return QString::fromLocal8Bit(env.isEmpty() ? QByteArray(TARVIK_SAMPLES) : env)
        + QStringLiteral("/extra/sample.mpp");
}

QAbstractItemModel *table(const MPPLoader &loader, const char *name)
{
    return qobject_cast<QAbstractItemModel *>(loader.model(QLatin1String(name)));
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPageCount(const QString &path)
{
    const QString info = run(QStringLiteral("pdfinfo"), { path });
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfPageText(const QString &path, int page)
{
    return run(QStringLiteral("pdftotext"),
               { QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                 QString::number(page), QStringLiteral("-layout"), path, QStringLiteral("-") });
}

// A body that is one colour all over, for content of any size without a project.
class Plain : public QWidget
{
public:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), Qt::blue); }
};

} // namespace

class TestRyPrintDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void startsWithA4PortraitAtFullScale();
    void landscapeSwapsThePaperAndResetsTheScale();
    void sliderLaysOutOnRelease();
    void previewDrawsPagesAndNumbers();
    void pdf_data();
    void pdf();
    void printerGetsEveryPage();
    void pdfToUnwritableFolderFails();
    void cancelledPdfLeavesNoFile();

private:
    std::unique_ptr<MPPLoader> loader;
    std::unique_ptr<Activities> view;
    std::unique_ptr<RyViewSnapshot> snapshot;
    RyPageContent content;
    QString firstName;
    QTemporaryDir dir;
};

void TestRyPrintDialog::initTestCase()
{
    loader.reset(new MPPLoader);
    QFile schema(QStringLiteral(":/files/mppr.json"));
    QVERIFY(schema.open(QIODevice::ReadOnly));
    loader->setSchema(QJsonDocument::fromJson(schema.readAll()));
    QSignalSpy finished(loader.get(), &ProjectLoader::finished);
    loader->load(samplePath());
    QVERIFY2(!finished.isEmpty(), qPrintable(samplePath()));

    view.reset(new Activities);
    view->setModels(table(*loader, "ActivityModel"), table(*loader, "PROJWBS"),
                    table(*loader, "ACTVTYPE"), table(*loader, "ACTVCODE"),
                    table(*loader, "TASKPRED"), true);
    view->resize(1000, 600);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    view->treeView()->expandAll();
    view->ganttView()->updateTimeRange();
    RyHeaderState::applyColumnOrder(view->treeView()->header(),
                                    { QStringLiteral("Activity ID"),
                                      QStringLiteral("Activity Name"), QStringLiteral("Start Date"),
                                      QStringLiteral("Finish Date") });
    for (int column = 0; column < view->treeView()->model()->columnCount(); ++column)
        view->treeView()->resizeColumnToContents(column);
    const QAbstractItemModel *model = view->treeView()->model();
    const int name = RyModelLookup::findColumn(model, QStringLiteral("Activity Name"));
    QVERIFY(name >= 0);
    firstName = model->index(0, name).data().toString();
    QVERIFY(!firstName.isEmpty());

    snapshot.reset(new RyViewSnapshot(view->treeView(), view->ganttView()));
    content = RyPageContent::fromViews(view->treeView(), view->ganttView());
    RyViewSnapshot *held = snapshot.get();
    content.setBeforePaint([held] { held->hold(); });
    QVERIFY(content.rowCount() > 10);
    QVERIFY(content.columnCount() > 20);
}

void TestRyPrintDialog::cleanupTestCase()
{
    snapshot.reset();
    view.reset();
    loader.reset();
}

void TestRyPrintDialog::startsWithA4PortraitAtFullScale()
{
    RyPrintDialog dialog(&content);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Print settings"));
    QCOMPARE(dialog.paperBox()->currentText(), QStringLiteral("A4"));
    QVERIFY(dialog.portraitButton()->isSelected());
    QVERIFY(!dialog.landscapeButton()->isSelected());
    QCOMPARE(dialog.scene()->pageSize(), QSizeF(910, 1287));
    QCOMPARE(dialog.scene()->scale(), 1.0);
    QVERIFY(dialog.scene()->pageCount() > 1);
    QVERIFY(dialog.repeatHeadersBox()->isChecked());
    QVERIFY(!dialog.pageNumbersBox()->isChecked());
    // Alt+D belongs to "Save as PDF..." alone.
    const QList<QAbstractButton *> buttons = dialog.findChildren<QAbstractButton *>();
    int mnemonicD = 0;
    for (const QAbstractButton *button : buttons)
        mnemonicD += button->text().contains(QLatin1String("&D"), Qt::CaseInsensitive);
    QCOMPARE(mnemonicD, 1);
}

void TestRyPrintDialog::landscapeSwapsThePaperAndResetsTheScale()
{
    RyPrintDialog dialog(&content);
    dialog.scaleSpinBox()->setValue(50);
    QCOMPARE(dialog.scene()->scale(), 0.5);
    dialog.landscapeButton()->select();
    QVERIFY(!dialog.portraitButton()->isSelected());
    QCOMPARE(dialog.scene()->pageSize(), QSizeF(1287, 910));
    QCOMPARE(dialog.scaleSpinBox()->value(), 100);
    QCOMPARE(dialog.scaleSlider()->value(), 100);
    QCOMPARE(dialog.scene()->scale(), 1.0);
    QCOMPARE(dialog.pageLayout().orientation(), QPageLayout::Landscape);
    dialog.paperBox()->setCurrentText(QStringLiteral("A6"));
    QCOMPARE(dialog.scene()->pageSize(), QSizeF(641, 455));
}

void TestRyPrintDialog::sliderLaysOutOnRelease()
{
    RyPrintDialog dialog(&content);
    QSlider *slider = dialog.scaleSlider();
    const int pages = dialog.scene()->pageCount();
    slider->setSliderDown(true);
    slider->setSliderPosition(40);
    QCOMPARE(dialog.scaleSpinBox()->value(), 40);
    QCOMPARE(dialog.scene()->scale(), 1.0);
    QCOMPARE(dialog.scene()->pageCount(), pages);
    slider->setSliderDown(false);
    QCOMPARE(dialog.scene()->scale(), 0.4);
    QVERIFY(dialog.scene()->pageCount() < pages);
    // Typing a value lays the pages out at once.
    dialog.scaleSpinBox()->setValue(120);
    QCOMPARE(dialog.scene()->scale(), 1.2);
    QCOMPARE(slider->value(), 120);
}

void TestRyPrintDialog::previewDrawsPagesAndNumbers()
{
    RyPrintDialog dialog(&content);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    RyPrintPreviewScene *scene = dialog.scene();
    const QRectF page = scene->pageLayout().pages().first().rect;
    const qreal margin = scene->margin().height();
    auto pageImage = [&] {
        QImage image(page.size().toSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        scene->render(&painter, QRectF(QPointF(), page.size()), page);
        return image;
    };
    auto inkIn = [](const QImage &image, const QRect &area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    // Inside the page's frame.
    const QRect bottomMargin(2, int(page.height() - margin) + 2, int(page.width()) - 4,
                             int(margin) - 4);
    const QImage plain = pageImage();
    QVERIFY(inkIn(plain, QRect(int(margin), int(margin), 200, 200)) > 100); // header and rows
    QCOMPARE(inkIn(plain, bottomMargin), 0);
    dialog.pageNumbersBox()->setChecked(true);
    QVERIFY(inkIn(pageImage(), bottomMargin) > 20);
}

void TestRyPrintDialog::pdf_data()
{
    QTest::addColumn<bool>("pageNumbers");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("portrait with page numbers") << true << false;
    QTest::newRow("landscape without page numbers") << false << true;
}

void TestRyPrintDialog::pdf()
{
#ifdef Q_OS_WIN
    QProcess poppler;
    poppler.start(QStringLiteral("pdfinfo"), { QStringLiteral("-v") });
    if (!poppler.waitForStarted())
        QSKIP("pdfinfo and pdftotext (poppler) cannot be started here to read the PDF back");
    poppler.waitForFinished();
#endif
    QFETCH(bool, pageNumbers);
    QFETCH(bool, landscape);
    RyPrintDialog dialog(&content);
    dialog.pageNumbersBox()->setChecked(pageNumbers);
    if (landscape)
        dialog.landscapeButton()->select();
    dialog.paperBox()->setCurrentText(QStringLiteral("A3"));
    const int pages = dialog.scene()->pageCount();
    QVERIFY(pages > 1);

    const QString path = dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
    QString error;
    QVERIFY2(dialog.writePdf(path, &error), qPrintable(error));
    QCOMPARE(pdfPageCount(path), pages);
    const QString first = pdfPageText(path, 1);
    QVERIFY2(first.contains(firstName), qPrintable(first));
    QCOMPARE(first.contains(QStringLiteral("Page 1 of %1").arg(pages)), pageNumbers);
    if (pageNumbers) {
        QVERIFY(pdfPageText(path, pages).contains(QStringLiteral("Page %1 of %1").arg(pages)));
    }
    const QString info = run(QStringLiteral("pdfinfo"), { path });
    QVERIFY2(info.contains(landscape ? QLatin1String("1191 x 842 pts")
                                     : QLatin1String("842 x 1191 pts")),
             qPrintable(info));
}

void TestRyPrintDialog::printerGetsEveryPage()
{
#ifdef Q_OS_WIN
    QProcess poppler;
    poppler.start(QStringLiteral("pdfinfo"), { QStringLiteral("-v") });
    if (!poppler.waitForStarted())
        QSKIP("pdfinfo and pdftotext (poppler) cannot be started here to read the PDF back");
    poppler.waitForFinished();
#endif
    // A printer device: Qt draws widgets onto it through pixmaps, in bands.
    RyPrintDialog dialog(&content);
    dialog.paperBox()->setCurrentText(QStringLiteral("A5"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(path);
    printer.setFullPage(true);
    printer.setPageLayout(dialog.pageLayout());
    QVERIFY(dialog.scene()->print(&printer));
    QCOMPARE(pdfPageCount(path), dialog.scene()->pageCount());
}

void TestRyPrintDialog::pdfToUnwritableFolderFails()
{
    RyPrintDialog dialog(&content);
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = blocker.fileName() + QStringLiteral("/out.pdf");
    QString error;
    QVERIFY(!dialog.writePdf(path, &error));
    QVERIFY2(error.contains(QStringLiteral("out.pdf")), qPrintable(error));
}

void TestRyPrintDialog::cancelledPdfLeavesNoFile()
{
    Plain header, body;
    header.resize(400, 40);
    body.resize(400, 22 * 3000);
    RyPageContent many;
    many.addColumns(&header, &body, { 0, 100, 200, 300 }, { 100, 100, 100, 100 });
    many.setRows(3000, 22);
    many.setHeaderHeight(40);
    RyPrintDialog dialog(&many);
    QVERIFY(dialog.scene()->pageCount() > 20);

    const QString path = dir.filePath(QStringLiteral("kept.pdf"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    int shown = 0;
    QTimer cancel;
    connect(&cancel, &QTimer::timeout, [&shown] {
        if (auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget())) {
            ++shown;
            progress->cancel();
        }
    });
    cancel.start(1);
    QString error;
    QVERIFY(!dialog.writePdf(path, &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(shown, 1);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList({ QStringLiteral("kept*") }, QDir::Files).size(), 1);
}

QTEST_MAIN(TestRyPrintDialog)
#include "tst_ryprintdialog.moc"
