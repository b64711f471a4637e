#include "filter/ryfilterdialogpopup.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "filter/ryfilterproxymodel.h"
#include "filter/rysortfiltermarks.h"
#include "filter/rysortfilterwidget.h"
#include "models/ryconstants.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QtTest>

#include <functional>

namespace {

enum Column { Name, Float, ColumnCount };

// A header that keeps the marks and lets the widget paint into its sections, as the activity
// table's header does.
class MarkingHeader : public QHeaderView, public RySortFilterMarks
{
public:
    explicit MarkingHeader(QWidget *parent = nullptr)
        : QHeaderView(Qt::Horizontal, parent)
    {
    }

    void addFilteredColumn(int column) override { m_filtered.append(column), ++changes; }
    void removeFilteredColumn(int column) override { m_filtered.removeAll(column), ++changes; }
    void clearFilteredColumns() override { m_filtered.clear(), ++changes; }
    void setSort(int column, int order) override
    {
        m_sortColumn = column;
        m_sortOrder = order;
        ++changes;
    }
    bool hasFilteredColumns() const override { return !m_filtered.isEmpty(); }
    QList<int> filteredColumns() const override { return m_filtered; }
    int sortColumn() const override { return m_sortColumn; }
    int sortOrder() const override { return m_sortOrder; }

    RySectionPainter *painter = nullptr;
    QPoint cursor { -1, -1 };
    int changes = 0;

protected:
    void paintSection(QPainter *p, const QRect &rect, int logicalIndex) const override
    {
        p->save();
        QHeaderView::paintSection(p, rect, logicalIndex);
        p->restore();
        if (painter)
            painter->paintSection(this, p, rect, logicalIndex, cursor);
    }

private:
    QList<int> m_filtered;
    int m_sortColumn = -1;
    int m_sortOrder = 0;
};

QStringList shownNames(const QAbstractItemModel *model)
{
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, Name).data().toString();
    return names;
}

} // namespace

class TestRySortFilterWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void acceptWithoutChangesRemovesFilter();
    void uncheckingEverythingHidesAllRows();
    void searchNarrowingThenOk();
    void expressionWithTwoComparisons_data();
    void expressionWithTwoComparisons();
    void emptyFirstOperatorAppliesNothing();
    void sortActions();
    void clearRemovesFilterAndSorting();
    void reopeningShowsCurrentFilter();
    void pressOutsideButtonOpensNothing();
    void clearAllFilters();
    void columnState();
    void plainHeaderGetsQtSortIndicator();
    void returnKeyIsQuiet();
    void paintsPlainButtonOnHover();
    void headerShowsFilterMark();

private:
    // Opens the pop-up of `column` through a press on its button, lets `interact` work on it
    // while it runs, and returns once it closed.
    void runPopUp(int column, const std::function<void(RyFilterDialogPopUp *)> &interact);
    void clickAction(RyFilterDialogPopUp *popUp, QAction *action);
    void clickOk(RyFilterDialogPopUp *popUp);
    QRect sectionRect(int column) const;

    QStandardItemModel *m_model = nullptr;
    RyFilterDialogProxyModel *m_proxy = nullptr;
    MarkingHeader *m_header = nullptr;
    RySortFilterWidget *m_widget = nullptr;
    QAbstractItemModelTester *m_tester = nullptr;
};

void TestRySortFilterWidget::init()
{
    m_model = new QStandardItemModel;
    m_model->setColumnCount(ColumnCount);
    m_model->setHeaderData(Name, Qt::Horizontal, QVariantMap { { "datatype", "string" } },
                           Ry::ColumnDescriptionRole);
    m_model->setHeaderData(Float, Qt::Horizontal, QVariantMap { { "datatype", "double" } },
                           Ry::ColumnDescriptionRole);
    const QList<QPair<QString, QString>> rows {
        { "Pour", "1,5" }, { "Dig", "0" }, { "Alpha", "7" }, { "Beta", "-6" }
    };
    for (const auto &row : rows)
        m_model->appendRow({ new QStandardItem(row.first), new QStandardItem(row.second) });

    m_proxy = new RyFilterDialogProxyModel;
    m_proxy->setSourceModel(m_model);
    m_tester = new QAbstractItemModelTester(m_proxy,
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_header = new MarkingHeader;
    m_header->setModel(m_proxy);
    m_header->resize(400, 24);
    m_widget = new RySortFilterWidget(m_header, m_proxy, m_model);
    m_header->painter = m_widget;
}

void TestRySortFilterWidget::cleanup()
{
    delete m_widget;
    delete m_header;
    delete m_tester;
    delete m_proxy;
    delete m_model;
}

QRect TestRySortFilterWidget::sectionRect(int column) const
{
    return QRect(m_header->sectionViewportPosition(column), 0, m_header->sectionSize(column),
                 m_header->height());
}

void TestRySortFilterWidget::runPopUp(int column,
                                      const std::function<void(RyFilterDialogPopUp *)> &interact)
{
    bool reached = false;
    QTimer::singleShot(0, this, [&] {
        auto *popUp = qobject_cast<RyFilterDialogPopUp *>(QApplication::activePopupWidget());
        if (!popUp)
            return;
        reached = true;
        interact(popUp);
    });
    // Never leave a test hanging in the menu's event loop.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, this, [] {
        if (QWidget *popUp = QApplication::activePopupWidget())
            popUp->close();
    });
    guard.start(30000);
    const QRect rect = sectionRect(column);
    m_widget->onAutoFilterPopUp(rect, column, RySortFilterWidget::buttonRect(rect).center());
    QVERIFY(reached);
    QVERIFY(guard.isActive());
}

void TestRySortFilterWidget::clickAction(RyFilterDialogPopUp *popUp, QAction *action)
{
    QTest::mouseClick(popUp, Qt::LeftButton, {}, popUp->actionGeometry(action).center());
}

void TestRySortFilterWidget::clickOk(RyFilterDialogPopUp *popUp)
{
    QTest::mouseClick(popUp->buttonBox()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

void TestRySortFilterWidget::acceptWithoutChangesRemovesFilter()
{
    m_proxy->setExpressionFilter(Float, RyExpression::fromText(">;1"));
    m_header->addFilteredColumn(Float);
    QSignalSpy filtered(m_widget, &RySortFilterWidget::filtered);
    runPopUp(Float, [this](RyFilterDialogPopUp *popUp) {
        QVERIFY(!popUp->isListTabCurrent());
        popUp->tabWidget()->setCurrentIndex(0);
        clickOk(popUp);
    });
    QCOMPARE(filtered.count(), 1);
    QVERIFY(!m_proxy->isColumnFiltered(Float));
    QVERIFY(!m_header->hasFilteredColumns());
    QCOMPARE(m_proxy->rowCount(), 4);
}

void TestRySortFilterWidget::uncheckingEverythingHidesAllRows()
{
    runPopUp(Name, [this](RyFilterDialogPopUp *popUp) {
        QStandardItem *selectAll = popUp->valueModel()->item(0);
        selectAll->setCheckState(Qt::Unchecked);
        popUp->onItemClicked(popUp->valueProxy()->mapFromSource(selectAll->index()));
        clickOk(popUp);
    });
    QCOMPARE(m_proxy->rowCount(), 0);
    QCOMPARE(m_proxy->valueFilters().value(Name), QVariantList({ "!_!_#£@*'€%&!_+?$§" }));
    QVERIFY(m_header->hasFilteredColumns());
    QCOMPARE(m_header->filteredColumns(), QList<int>({ Name }));
}

void TestRySortFilterWidget::searchNarrowingThenOk()
{
    runPopUp(Name, [this](RyFilterDialogPopUp *popUp) {
        QCOMPARE(QApplication::focusWidget(), popUp->searchEdit());
        QTest::keyClicks(popUp->searchEdit(), "p");
        QCOMPARE(popUp->valueProxy()->rowCount(), 3); // (Select All), Alpha, Pour
        clickOk(popUp);
    });
    QCOMPARE(m_proxy->valueFilters().value(Name), QVariantList({ "Alpha", "Pour" }));
    QCOMPARE(shownNames(m_proxy), QStringList({ "Pour", "Alpha" }));
    QVERIFY(m_header->hasFilteredColumns());
}

void TestRySortFilterWidget::expressionWithTwoComparisons_data()
{
    QTest::addColumn<bool>("isAnd");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("OR") << false << ">;5;OR;<;-5" << QStringList({ "Alpha", "Beta" });
    QTest::newRow("AND") << true << ">;-5;AND;<;5" << QStringList({ "Pour", "Dig" });
}

void TestRySortFilterWidget::expressionWithTwoComparisons()
{
    QFETCH(bool, isAnd);
    QFETCH(QString, saved);
    QFETCH(QStringList, shown);
    runPopUp(Float, [&](RyFilterDialogPopUp *popUp) {
        popUp->tabWidget()->setCurrentIndex(1);
        QWidget *page = popUp->tabWidget()->widget(1);
        const QList<QComboBox *> combos = page->findChildren<QComboBox *>();
        const QList<QDoubleSpinBox *> boxes = page->findChildren<QDoubleSpinBox *>();
        combos.at(0)->setCurrentText("is greater than");
        boxes.at(0)->setValue(isAnd ? -5 : 5);
        combos.at(1)->setCurrentText("is less than");
        boxes.at(1)->setValue(isAnd ? 5 : -5);
        page->findChildren<QRadioButton *>().at(isAnd ? 0 : 1)->setChecked(true);
        clickOk(popUp);
    });
    QCOMPARE(m_proxy->filterSettings().value("expressions").toMap().value("1").toString(), saved);
    QCOMPARE(shownNames(m_proxy), shown);
    QCOMPARE(m_header->filteredColumns(), QList<int>({ Float }));
}

void TestRySortFilterWidget::emptyFirstOperatorAppliesNothing()
{
    QSignalSpy filtered(m_widget, &RySortFilterWidget::filtered);
    runPopUp(Float, [this](RyFilterDialogPopUp *popUp) {
        popUp->tabWidget()->setCurrentIndex(1);
        popUp->tabWidget()->widget(1)->findChildren<QComboBox *>().at(0)->setCurrentIndex(-1);
        clickOk(popUp);
    });
    QCOMPARE(filtered.count(), 1);
    QVERIFY(!m_proxy->isColumnFiltered(Float));
    QVERIFY(!m_header->hasFilteredColumns());
}

void TestRySortFilterWidget::sortActions()
{
    runPopUp(Name, [this](RyFilterDialogPopUp *popUp) {
        clickAction(popUp, popUp->sortAscendingAction());
    });
    QCOMPARE(shownNames(m_proxy), QStringList({ "Alpha", "Beta", "Dig", "Pour" }));
    QCOMPARE(m_header->sortColumn(), int(Name));
    QCOMPARE(m_header->sortOrder(), int(Qt::AscendingOrder));

    runPopUp(Name, [this](RyFilterDialogPopUp *popUp) {
        QVERIFY(popUp->sortAscendingAction()->isChecked());
        QVERIFY(!popUp->sortDescendingAction()->isChecked());
        clickAction(popUp, popUp->sortDescendingAction());
    });
    QCOMPARE(shownNames(m_proxy), QStringList({ "Pour", "Dig", "Beta", "Alpha" }));
    QCOMPARE(m_header->sortOrder(), int(Qt::DescendingOrder));
}

void TestRySortFilterWidget::clearRemovesFilterAndSorting()
{
    m_proxy->sort(Name, Qt::DescendingOrder);
    m_header->setSort(Name, Qt::DescendingOrder);
    m_proxy->setValueFilter(Name, { "Dig", "Beta" });
    m_header->addFilteredColumn(Name);
    m_header->addFilteredColumn(Name);
    runPopUp(Name,
             [this](RyFilterDialogPopUp *popUp) { clickAction(popUp, popUp->clearAction()); });
    QVERIFY(!m_proxy->isColumnFiltered(Name));
    QCOMPARE(m_proxy->sortColumn(), -1);
    QCOMPARE(m_header->sortColumn(), -1);
    QVERIFY(!m_header->hasFilteredColumns());
    QCOMPARE(shownNames(m_proxy), QStringList({ "Pour", "Dig", "Alpha", "Beta" }));
}

void TestRySortFilterWidget::reopeningShowsCurrentFilter()
{
    m_proxy->setValueFilter(Name, { "Dig", "Beta" });
    runPopUp(Name, [](RyFilterDialogPopUp *popUp) {
        QVERIFY(popUp->isListTabCurrent());
        QCOMPARE(popUp->checkedValues(), QVariantList({ "Beta", "Dig" }));
        QCOMPARE(popUp->valueModel()->item(0)->checkState(), Qt::Unchecked);
        popUp->onRejected();
    });
    QCOMPARE(m_proxy->valueFilters().value(Name), QVariantList({ "Dig", "Beta" }));

    m_proxy->setExpressionFilter(Float, RyExpression::fromText("<=;2;OR;>;3"));
    runPopUp(Float, [](RyFilterDialogPopUp *popUp) {
        QVERIFY(!popUp->isListTabCurrent());
        QCOMPARE(popUp->firstOperator(), QStringLiteral("is less than or equal to"));
        QCOMPARE(popUp->firstValue().toDouble(), 2.0);
        QCOMPARE(popUp->secondOperator(), QStringLiteral("is greater than"));
        QCOMPARE(popUp->secondValue().toDouble(), 3.0);
        QVERIFY(!popUp->isAnd());
        popUp->onRejected();
    });
    QVERIFY(m_proxy->expressionFilter(Float));
}

void TestRySortFilterWidget::pressOutsideButtonOpensNothing()
{
    QSignalSpy filtered(m_widget, &RySortFilterWidget::filtered);
    bool opened = false;
    QTimer::singleShot(0, this, [&] {
        if (QWidget *popUp = QApplication::activePopupWidget()) {
            opened = true;
            popUp->close();
        }
    });
    const QRect rect = sectionRect(Name);
    m_widget->onAutoFilterPopUp(rect, Name, rect.topLeft() + QPoint(2, 2));
    // The rectangle shrunk by one pixel at the right and bottom does not take its last column.
    m_widget->onAutoFilterPopUp(rect, Name, QPoint(rect.right(), rect.bottom() - 3));
    m_widget->onAutoFilterPopUp(QRect(), -1, QPoint(-1, -1));
    QCoreApplication::processEvents();
    QVERIFY(!opened);
    QCOMPARE(filtered.count(), 0);
}

void TestRySortFilterWidget::clearAllFilters()
{
    m_proxy->setValueFilter(Name, { "Dig" });
    m_proxy->setExpressionFilter(Float, RyExpression::fromText(">;0"));
    m_proxy->sort(Float);
    m_header->addFilteredColumn(Name);
    m_header->setSort(Float, 0);
    QSignalSpy filtered(m_widget, &RySortFilterWidget::filtered);
    m_widget->clearAllFilters();
    QCOMPARE(filtered.count(), 1);
    QVERIFY(m_proxy->valueFilters().isEmpty());
    QVERIFY(m_proxy->expressionFilters().empty());
    QCOMPARE(m_proxy->sortColumn(), -1);
    QCOMPARE(m_header->sortColumn(), -1);
    QVERIFY(!m_header->hasFilteredColumns());
    QCOMPARE(m_proxy->rowCount(), 4);
}

void TestRySortFilterWidget::columnState()
{
    QCOMPARE(m_widget->columnState(Name), 1);
    m_proxy->setValueFilter(Name, { "Dig" });
    QCOMPARE(m_widget->columnState(Name), 1 | 2);
    m_proxy->sort(Name, Qt::AscendingOrder);
    QCOMPARE(m_widget->columnState(Name), 1 | 2 | 4);
    m_proxy->sort(Name, Qt::DescendingOrder);
    QCOMPARE(m_widget->columnState(Name), 1 | 2 | 8);
    m_proxy->setExpressionFilter(Float, RyExpression::fromText(">;0"));
    QCOMPARE(m_widget->columnState(Float), 1 | 2);
    QCOMPARE(RySortFilterWidget::buttonRect(QRect(0, 0, 100, 24)), QRect(83, 7, 16, 16));
}

void TestRySortFilterWidget::plainHeaderGetsQtSortIndicator()
{
    QHeaderView plain(Qt::Horizontal);
    plain.setModel(m_proxy);
    plain.resize(400, 24);
    RySortFilterWidget widget(&plain, m_proxy, m_model);
    bool reached = false;
    QTimer::singleShot(0, this, [&] {
        auto *popUp = qobject_cast<RyFilterDialogPopUp *>(QApplication::activePopupWidget());
        if (!popUp)
            return;
        reached = true;
        clickAction(popUp, popUp->sortDescendingAction());
    });
    const QRect rect(plain.sectionViewportPosition(Name), 0, plain.sectionSize(Name), 24);
    widget.onAutoFilterPopUp(rect, Name, RySortFilterWidget::buttonRect(rect).center());
    QVERIFY(reached);
    QCOMPARE(plain.sortIndicatorSection(), int(Name));
    QCOMPARE(plain.sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(shownNames(m_proxy), QStringList({ "Pour", "Dig", "Beta", "Alpha" }));
}

void TestRySortFilterWidget::returnKeyIsQuiet()
{
    // Library code logs nothing in a normal run.
    std::unique_ptr<RyFilterDialogPopUp> popUp(m_widget->createPopUp(Name));
    QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
              QFAIL(qPrintable(QStringLiteral("unexpected message: ") + message));
          });
    QTest::keyClick(popUp.get(), Qt::Key_Return);
    qInstallMessageHandler(previous);
}

void TestRySortFilterWidget::paintsPlainButtonOnHover()
{
    const QRect section(0, 0, 100, 24);
    const QRect button = RySortFilterWidget::buttonRect(section);
    auto render = [&](const QPoint &cursor) {
        QImage image(section.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        m_widget->paintButton(&painter, section, RySortFilterWidget::ButtonShown, cursor);
        return image;
    };
    // Away from the section: nothing drawn.
    const QImage away = render(QPoint(200, 5));
    for (int x = button.left(); x <= button.right(); ++x)
        QCOMPARE(away.pixelColor(x, button.center().y()), QColor(Qt::white));

    const QImage overSection = render(QPoint(10, 5));
    QCOMPARE(overSection.pixelColor(button.topLeft()), QColor(223, 223, 223));
    QCOMPARE(overSection.pixelColor(button.left() + 2, button.top() + 2), QColor(246, 246, 246));
    // The triangle: 7, 5, 3 and 1 pixels wide, centred.
    const int top = button.top() + 6, centre = button.left() + 7;
    QCOMPARE(overSection.pixelColor(centre - 3, top), QColor(193, 193, 193));
    QCOMPARE(overSection.pixelColor(centre + 3, top), QColor(193, 193, 193));
    QCOMPARE(overSection.pixelColor(centre - 4, top), QColor(246, 246, 246));
    QCOMPARE(overSection.pixelColor(centre - 2, top + 1), QColor(193, 193, 193));
    QCOMPARE(overSection.pixelColor(centre - 3, top + 1), QColor(246, 246, 246));
    QCOMPARE(overSection.pixelColor(centre, top + 3), QColor(193, 193, 193));
    QCOMPARE(overSection.pixelColor(centre - 1, top + 3), QColor(246, 246, 246));

    const QImage overButton = render(button.center());
    QCOMPARE(overButton.pixelColor(button.topLeft()), QColor(186, 186, 186));
    QCOMPARE(overButton.pixelColor(centre, top), QColor(71, 71, 71));
}

void TestRySortFilterWidget::headerShowsFilterMark()
{
    m_header->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_header));
    const QRect button = RySortFilterWidget::buttonRect(sectionRect(Float));
    auto buttonImage = [&] { return m_header->grab().toImage().copy(button); };
    const QImage before = buttonImage();

    runPopUp(Float, [&](RyFilterDialogPopUp *popUp) {
        popUp->tabWidget()->setCurrentIndex(1);
        popUp->tabWidget()->widget(1)->findChildren<QComboBox *>().at(0)->setCurrentText(
            "is greater than");
        clickOk(popUp);
    });
    QVERIFY(m_header->hasFilteredColumns());
    const QImage filtered = buttonImage();
    QVERIFY(filtered != before);

    // The mark stands for the proxy's filter: once cleared, the section looks as before.
    m_widget->clearAllFilters();
    QVERIFY(!m_header->hasFilteredColumns());
    QCOMPARE(buttonImage(), before);
}

QTEST_MAIN(TestRySortFilterWidget)
#include "tst_rysortfilterwidget.moc"
