#include "filter/rysectionpainter.h"
#include "views/rysortfilterheader.h"

#include <QPainter>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QToolTip>
#include <QtTest>

namespace {

// Stands in for the sort/filter widget: paints a red mark into each section and remembers calls.
class MarkPainter : public RySectionPainter
{
public:
    void paintSection(const QHeaderView *, QPainter *painter, const QRect &rect, int logicalIndex,
                      const QPoint &) const override
    {
        painter->fillRect(QRect(rect.right() - 6, rect.top() + 2, 4, 4), Qt::red);
        painted.append(logicalIndex);
        rects.insert(logicalIndex, rect);
    }
    mutable QList<int> painted;
    mutable QHash<int, QRect> rects;
};

} // namespace

class TestRySortFilterHeader : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void filteredColumnsKeepDuplicatesUntilRemoved();
    void everyChangeEmitsExactlyOnce_data();
    void everyChangeEmitsExactlyOnce();
    void pressReportsSectionRectAndPosition();
    void pressRightOfLastSectionGivesMinusOne();
    void attachedPainterDrawsIntoEverySection();
    void sizeHintRespectsMinimumSize();
    void narrowSectionElidesAtTheEnd_data();
    void narrowSectionElidesAtTheEnd();
    void tooltipShowsTheWholeTitle();

private:
    QStandardItemModel *m_model = nullptr;
    RySortFilterHeader *m_header = nullptr;
};

void TestRySortFilterHeader::init()
{
    m_model = new QStandardItemModel(0, 3, this);
    m_model->setHorizontalHeaderLabels({ "Activity ID", "Activity Name", "Start" });
    m_header = new RySortFilterHeader(Qt::Horizontal);
    m_header->setModel(m_model);
    m_header->setStretchLastSection(false);
    m_header->setDefaultSectionSize(80);
    for (int section = 0; section < 3; ++section)
        m_header->resizeSection(section, 80);
    m_header->resize(400, 24);
}

void TestRySortFilterHeader::cleanup()
{
    delete m_header;
    delete m_model;
}

void TestRySortFilterHeader::filteredColumnsKeepDuplicatesUntilRemoved()
{
    QVERIFY(!m_header->hasFilteredColumns());
    m_header->addFilteredColumn(1);
    m_header->addFilteredColumn(1);
    m_header->addFilteredColumn(2);
    QCOMPARE(m_header->filteredColumns(), (QList<int> { 1, 1, 2 }));
    m_header->removeFilteredColumn(1);
    QCOMPARE(m_header->filteredColumns(), QList<int> { 2 });
    QVERIFY(m_header->hasFilteredColumns());
    m_header->clearFilteredColumns();
    QVERIFY(!m_header->hasFilteredColumns());

    // The sort/filter widget only knows a QHeaderView and finds the marks by cast.
    QHeaderView *plain = m_header;
    QCOMPARE(dynamic_cast<RySortFilterMarks *>(plain)->filteredColumns(), QList<int> {});

    QCOMPARE(m_header->sortColumn(), -1);
    QCOMPARE(m_header->sortOrder(), 0);
    m_header->setSort(2, 1);
    QCOMPARE(m_header->sortColumn(), 2);
    QCOMPARE(m_header->sortOrder(), 1);
}

void TestRySortFilterHeader::everyChangeEmitsExactlyOnce_data()
{
    QTest::addColumn<int>("operation");
    QTest::newRow("add") << 0;
    QTest::newRow("add duplicate") << 1;
    QTest::newRow("remove present") << 2;
    QTest::newRow("remove absent") << 3;
    QTest::newRow("clear non-empty") << 4;
    QTest::newRow("clear empty") << 5;
    QTest::newRow("sort") << 6;
    QTest::newRow("same sort again") << 7;
}

void TestRySortFilterHeader::everyChangeEmitsExactlyOnce()
{
    QFETCH(int, operation);
    if (operation == 1 || operation == 2 || operation == 4)
        m_header->addFilteredColumn(0);
    if (operation == 7)
        m_header->setSort(1, 0);
    QSignalSpy spy(m_header, &RySortFilterHeader::filterSettingsChanged);
    switch (operation) {
    case 0:
    case 1:
        m_header->addFilteredColumn(0);
        break;
    case 2:
    case 3:
        m_header->removeFilteredColumn(0);
        break;
    case 4:
    case 5:
        m_header->clearFilteredColumns();
        break;
    default:
        m_header->setSort(1, 0);
        break;
    }
    QCOMPARE(spy.count(), 1);
}

void TestRySortFilterHeader::pressReportsSectionRectAndPosition()
{
    m_header->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_header));
    QSignalSpy spy(m_header, &RySortFilterHeader::popUp);
    QTest::mousePress(m_header->viewport(), Qt::LeftButton, {}, QPoint(100, 10));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toRect(), QRect(80, 0, 80, m_header->height()));
    QCOMPARE(spy.at(0).at(1).toInt(), 1);
    QCOMPARE(spy.at(0).at(2).toPoint(), QPoint(100, 10));
    QTest::mouseRelease(m_header->viewport(), Qt::LeftButton, {}, QPoint(100, 10));
}

void TestRySortFilterHeader::pressRightOfLastSectionGivesMinusOne()
{
    m_header->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_header));
    QSignalSpy spy(m_header, &RySortFilterHeader::popUp);
    QTest::mousePress(m_header->viewport(), Qt::LeftButton, {}, QPoint(350, 10));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).toInt(), -1);
    QTest::mouseRelease(m_header->viewport(), Qt::LeftButton, {}, QPoint(350, 10));
}

void TestRySortFilterHeader::attachedPainterDrawsIntoEverySection()
{
    MarkPainter painter;
    m_header->setSortFilterWidget(&painter);
    QCOMPARE(m_header->sortFilterWidget(), &painter);
    const QImage image = m_header->grab().toImage();
    for (int section = 0; section < 3; ++section) {
        QVERIFY(painter.painted.contains(section));
        QCOMPARE(painter.rects.value(section), QRect(section * 80, 0, 80, m_header->height()));
        const QColor mark = image.pixelColor(section * 80 + 80 - 5, 4);
        QCOMPARE(mark, QColor(Qt::red));
    }

    m_header->setSortFilterWidget(nullptr);
    painter.painted.clear();
    const QImage plain = m_header->grab().toImage();
    QVERIFY(painter.painted.isEmpty());
    QVERIFY(plain.pixelColor(80 - 5, 4) != QColor(Qt::red));
}

void TestRySortFilterHeader::sizeHintRespectsMinimumSize()
{
    m_header->setMinimumSize(10, 60);
    QVERIFY(m_header->sizeHint().height() >= 60);
}

QTEST_MAIN(TestRySortFilterHeader)
void TestRySortFilterHeader::narrowSectionElidesAtTheEnd_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("width");
    QTest::newRow("cut") << QStringLiteral("Remaining Duration") << 60;
    QTest::newRow("whole") << QStringLiteral("ID") << 60;
}

void TestRySortFilterHeader::narrowSectionElidesAtTheEnd()
{
    // The title's ink stays inside the section with a margin: clipped at both ends, it ran
    // into both edges.
    QFETCH(QString, title);
    QFETCH(int, width);
    m_model->setHeaderData(0, Qt::Horizontal, title);
    m_header->setMinimumSectionSize(20); // the style's minimum follows the platform's fonts
    m_header->resizeSection(0, width);
    QCOMPARE(m_header->sectionSize(0), width);
    const QImage image = m_header->grab().toImage();
    int first = -1;
    int last = -1;
    for (int x = 0; x < width; ++x) {
        for (int y = 2; y < image.height() - 2; ++y) {
            if (qGray(image.pixel(x, y)) < 100) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
    }
    QVERIFY(first >= 0);
    QVERIFY2(first >= 3 && last <= width - 4,
             qPrintable(QStringLiteral("%1..%2").arg(first).arg(last)));
}

void TestRySortFilterHeader::tooltipShowsTheWholeTitle()
{
    m_model->setHeaderData(1, Qt::Horizontal, QStringLiteral("Remaining Duration"));
    m_header->resizeSection(1, 40);
    m_header->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_header));
    const QPoint inSecond(m_header->sectionPosition(1) + 10, 5);
    QHelpEvent help(QEvent::ToolTip, inSecond, m_header->viewport()->mapToGlobal(inSecond));
    QApplication::sendEvent(m_header->viewport(), &help);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("Remaining Duration"));
    QToolTip::hideText();
}

#include "tst_rysortfilterheader.moc"
