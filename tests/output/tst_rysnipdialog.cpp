// The snip dialog on plain coloured stand-ins for the chart: dragging and clamping the split
// lines, the image between them, and the refusal of images too large to make or save.
#include "output/rypagecontent.h"
#include "output/rysnipdialog.h"
#include "output/rysnipgraphicsscene.h"
#include "tests/app/apptestsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QGraphicsRectItem>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QtTest>

namespace {

class Plain : public QWidget
{
public:
    explicit Plain(const QColor &color)
        : m_color(color)
    {
    }
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), m_color); }

private:
    QColor m_color;
};

using Drags = QList<QPair<qreal, qreal>>; // from x, to x

void mouse(QGraphicsScene *scene, QEvent::Type type, qreal x, qreal y)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(QPointF(x, y));
    event.setButton(type == QEvent::GraphicsSceneMouseMove ? Qt::NoButton : Qt::LeftButton);
    event.setButtons(type == QEvent::GraphicsSceneMouseRelease ? Qt::NoButton : Qt::LeftButton);
    QApplication::sendEvent(scene, &event);
}

void drag(QGraphicsScene *scene, qreal fromX, qreal toX, qreal y = 50)
{
    mouse(scene, QEvent::GraphicsSceneMousePress, fromX, y);
    mouse(scene, QEvent::GraphicsSceneMouseMove, toX, y);
    mouse(scene, QEvent::GraphicsSceneMouseRelease, toX, y);
}

} // namespace

class TestRySnipDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void linesStartAtTheChartEdges();
    void dragging_data();
    void dragging();
    void imageBetweenTheLines();
    void oversizeSelectionIsRefused();
    void failedSaveIsReported();

private:
    // 20 days of 30 pixels under a 40-pixel header; the first ten days red, the rest green.
    void setRows(int rows);

    Plain header { Qt::gray };
    Plain red { Qt::red };
    Plain green { Qt::green };
    RyPageContent content;
    QTemporaryDir dir;
};

void TestRySnipDialog::setRows(int rows)
{
    content = RyPageContent();
    header.resize(600, 40);
    red.resize(300, rows * 22);
    green.resize(300, rows * 22);
    QVector<int> lefts, widths;
    for (int day = 0; day < 10; ++day) {
        lefts.append(day * 30);
        widths.append(30);
    }
    content.addColumns(&header, &red, lefts, widths);
    content.addColumns(&header, &green, lefts, widths);
    content.setRows(rows, 22);
    content.setHeaderHeight(40);
}

void TestRySnipDialog::init()
{
    setRows(10);
}

void TestRySnipDialog::linesStartAtTheChartEdges()
{
    RySnipDialog dialog(&content);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Snip settings"));
    RySnipGraphicsScene *scene = dialog.scene();
    QCOMPARE(scene->sceneWidth(), 600);
    QCOMPARE(scene->sceneHeight(), 40 + 10 * 22);
    QCOMPARE(scene->leftLineX(), 0.0);
    QCOMPARE(scene->rightLineX(), 600.0);
    QCOMPARE(scene->selection(), QRect(0, 0, 600, 260));
}

void TestRySnipDialog::dragging_data()
{
    QTest::addColumn<Drags>("drags");
    QTest::addColumn<qreal>("left");
    QTest::addColumn<qreal>("right");
    QTest::newRow("left line") << Drags { { 1, 120 } } << 120.0 << 600.0;
    QTest::newRow("right line") << Drags { { 598, 450 } } << 0.0 << 450.0;
    QTest::newRow("both") << Drags { { 0, 100 }, { 600, 200 } } << 100.0 << 200.0;
    QTest::newRow("left past right") << Drags { { 600, 300 }, { 2, 500 } } << 300.0 << 300.0;
    QTest::newRow("right past left") << Drags { { 0, 300 }, { 600, 10 } } << 300.0 << 300.0;
    QTest::newRow("off the chart") << Drags { { 0, -50 }, { 600, 900 } } << 0.0 << 600.0;
    QTest::newRow("missed") << Drags { { 50, 200 } } << 0.0 << 600.0;
}

void TestRySnipDialog::dragging()
{
    QFETCH(Drags, drags);
    QFETCH(qreal, left);
    QFETCH(qreal, right);
    RySnipDialog dialog(&content);
    RySnipGraphicsScene *scene = dialog.scene();
    for (const auto &move : drags)
        drag(scene, move.first, move.second);
    QCOMPARE(scene->leftLineX(), left);
    QCOMPARE(scene->rightLineX(), right);
    QCOMPARE(scene->leftShade()->rect(), QRectF(0, 0, left, 260));
    QCOMPARE(scene->rightShade()->rect(), QRectF(right, 0, 600 - right, 260));
}

void TestRySnipDialog::imageBetweenTheLines()
{
    RySnipDialog dialog(&content);
    drag(dialog.scene(), 0, 250);
    drag(dialog.scene(), 600, 370);
    const QImage image = dialog.selectedImage();
    QCOMPARE(image.size(), QSize(120, 260));
    QCOMPARE(image.pixelColor(5, 10), QColor(Qt::gray));
    QCOMPARE(image.pixelColor(5, 100), QColor(Qt::red));
    QCOMPARE(image.pixelColor(49, 259), QColor(Qt::red));
    QCOMPARE(image.pixelColor(50, 100), QColor(Qt::green));
    QCOMPARE(image.pixelColor(119, 259), QColor(Qt::green));

    const QString path = dir.filePath(QStringLiteral("snip.png"));
    MessageBoxAnswerer answer(QMessageBox::Ok);
    QVERIFY(dialog.savePng(path));
    QCOMPARE(answer.title, QStringLiteral("Image"));
    QVERIFY(answer.text.startsWith(QStringLiteral("Image was saved to ")));
    QCOMPARE(QImage(path).size(), QSize(120, 260));
}

void TestRySnipDialog::oversizeSelectionIsRefused()
{
    setRows(1500); // 33,040 pixels high
    RySnipDialog dialog(&content);
    QVERIFY(dialog.selectedImage().isNull());
    const QString path = dir.filePath(QStringLiteral("tall.png"));
    MessageBoxAnswerer answer(QMessageBox::Ok);
    QVERIFY(!dialog.savePng(path));
    QCOMPARE(answer.count, 1);
    QCOMPARE(answer.title, QStringLiteral("Image"));
    QVERIFY2(answer.text.contains(QStringLiteral("600 x 33040")), qPrintable(answer.text));
    QVERIFY(answer.text.contains(QStringLiteral("Collapse rows")));
    QVERIFY(!QFile::exists(path));

    QCOMPARE(RySnipDialog::sizeProblem(QSize(32767, 8000)), QString());
    QVERIFY(!RySnipDialog::sizeProblem(QSize(32768, 10)).isEmpty());
    QVERIFY(!RySnipDialog::sizeProblem(QSize(30000, 10000)).isEmpty()); // over 1 GiB
}

void TestRySnipDialog::failedSaveIsReported()
{
    RySnipDialog dialog(&content);
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = blocker.fileName() + QStringLiteral("/snip.png");
    MessageBoxAnswerer answer(QMessageBox::Ok);
    QVERIFY(!dialog.savePng(path));
    QCOMPARE(answer.count, 1);
    QCOMPARE(answer.title, QStringLiteral("Image"));
    QVERIFY2(answer.text.contains(QDir::toNativeSeparators(path)), qPrintable(answer.text));
}

QTEST_MAIN(TestRySnipDialog)
#include "tst_rysnipdialog.moc"
