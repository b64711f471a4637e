// The Columns dialog on a crafted header: filling by group, moving columns and groups across,
// reordering, double-clicks, and the filter buttons of its items.
#include "filter/ryfilterdialogproxymodel.h"
#include "filter/rysortfilterwidget.h"
#include "models/ryconstants.h"
#include "views/rygroupedcolumndialog.h"
#include "views/rysortfilterdelegate.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {

struct ColumnSpec
{
    const char *text;
    const char *group;
    bool shown;
};

// Logical order; the header shows "Name", "Start", "Type" in this visual order.
const ColumnSpec Columns[] = {
    { "ID", "system", true },        { "Name", "General", true },  { "Type", "General", true },
    { "Start", "Dates", true },      { "Finish", "Dates", false }, { "Actual", "Dates", false },
    { "Float", "Durations", false }, { "Note", "", false },        { "Code", "General", false },
};

QStringList texts(const QStandardItem *parent)
{
    QStringList result;
    for (int row = 0; row < parent->rowCount(); ++row)
        result << parent->child(row)->text();
    return result;
}

// A click, then the double-click event: QTest's own double-click leaves the views in their
// drag-selecting state, where they ignore double-clicks.
void doubleClick(QAbstractItemView *view, const QModelIndex &index)
{
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent event(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &event);
}

} // namespace

class TestRyGroupedColumnDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fill();
    void moveGroupRight();
    void moveColumnsLeft();
    void upDown_data();
    void upDown();
    void doubleClicks();
    void filterButtons();

private:
    QModelIndex availableIndex(const QString &text) const;
    void select(QAbstractItemView *view, const QList<QModelIndex> &indexes);

    QStandardItemModel *m_model = nullptr;
    QHeaderView *m_header = nullptr;
    RyGroupedColumnDialog *m_dialog = nullptr;
    QStandardItem *m_root = nullptr;
    QList<QAbstractItemModelTester *> m_testers;
};

void TestRyGroupedColumnDialog::init()
{
    m_model = new QStandardItemModel(3, int(std::size(Columns)), this);
    for (int column = 0; column < m_model->columnCount(); ++column) {
        m_model->setHeaderData(column, Qt::Horizontal, QLatin1String(Columns[column].text));
        m_model->setHeaderData(column, Qt::Horizontal, QLatin1String(Columns[column].group),
                               Ry::ColumnGroupRole);
        for (int row = 0; row < 3; ++row)
            m_model->setItem(row, column, new QStandardItem(QStringLiteral("v%1").arg(row)));
    }
    m_header = new QHeaderView(Qt::Horizontal);
    m_header->setModel(m_model);
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_header->setSectionHidden(column, !Columns[column].shown);
    m_header->moveSection(m_header->visualIndex(3), 2); // ID Name Start Type
    m_dialog = new RyGroupedColumnDialog(m_header);
    m_dialog->setGroupHidden(QStringLiteral("system"), true);
    m_root = m_dialog->availableModel()->invisibleRootItem();
    m_testers = { new QAbstractItemModelTester(m_dialog->availableModel()),
                  new QAbstractItemModelTester(m_dialog->chosenModel()) };
}

void TestRyGroupedColumnDialog::cleanup()
{
    qDeleteAll(m_testers);
    delete m_dialog;
    delete m_header;
    delete m_model;
}

QModelIndex TestRyGroupedColumnDialog::availableIndex(const QString &text) const
{
    const QModelIndexList found = m_dialog->availableModel()->match(
        m_dialog->availableModel()->index(0, 0), Qt::DisplayRole, text, 1,
        Qt::MatchExactly | Qt::MatchRecursive);
    return found.value(0);
}

void TestRyGroupedColumnDialog::select(QAbstractItemView *view, const QList<QModelIndex> &indexes)
{
    view->selectionModel()->clear();
    for (const QModelIndex &index : indexes)
        view->selectionModel()->select(index, QItemSelectionModel::Select);
    if (!indexes.isEmpty())
        view->selectionModel()->setCurrentIndex(indexes.first(), QItemSelectionModel::NoUpdate);
}

void TestRyGroupedColumnDialog::fill()
{
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Columns"));
    QCOMPARE(m_dialog->chosenColumns(), QStringList({ "Name", "Start", "Type" }));
    QCOMPARE(m_dialog->chosenSections(), QList<int>({ 1, 3, 2 }));
    // Ungrouped columns sit at the root, then the groups by name; no "system" group.
    QCOMPARE(texts(m_root), QStringList({ "Note", "Dates", "Durations", "General" }));
    QCOMPARE(texts(m_root->child(1)), QStringList({ "Finish", "Actual" }));
    QCOMPARE(texts(m_root->child(3)), QStringList { "Code" });
    const QStandardItem *finish = m_root->child(1)->child(0);
    QCOMPARE(finish->data(RyGroupedColumnDialog::ColumnRole).toInt(), 4);
    QCOMPARE(finish->data(RyGroupedColumnDialog::GroupRole).toString(), QStringLiteral("Dates"));
    QCOMPARE(finish->data(RyGroupedColumnDialog::VisualPositionRole).toInt(), 4);
    QVERIFY(!m_root->child(1)->data(RyGroupedColumnDialog::GroupRole).isValid());
}

void TestRyGroupedColumnDialog::moveGroupRight()
{
    QTreeView *tree = m_dialog->form().lwAvaiable;
    select(tree, { m_root->child(1)->index() });
    QTest::mouseClick(m_dialog->form().tbRight, Qt::LeftButton);
    QCOMPARE(m_dialog->chosenColumns(),
             QStringList({ "Name", "Start", "Type", "Finish", "Actual" }));
    QCOMPARE(m_root->child(1)->rowCount(), 0);
    QCOMPARE(tree->currentIndex(), m_root->child(1)->index());

    // A column selected together with its group goes across once.
    select(tree, { m_root->child(3)->index(), availableIndex("Code"), availableIndex("Note") });
    m_dialog->onRightPressed();
    QCOMPARE(m_dialog->chosenColumns().mid(5), QStringList({ "Note", "Code" }));
    QCOMPARE(texts(m_root), QStringList({ "Dates", "Durations", "General" }));
}

void TestRyGroupedColumnDialog::moveColumnsLeft()
{
    QListView *list = m_dialog->form().lwChosen;
    QStandardItemModel *chosen = m_dialog->chosenModel();
    select(list, { chosen->index(2, 0), chosen->index(1, 0) });
    QTest::mouseClick(m_dialog->form().tbLeft, Qt::LeftButton);
    QCOMPARE(m_dialog->chosenColumns(), QStringList { "Name" });
    // Back under their groups in header order; "Dates" keeps its place among the groups.
    QCOMPARE(texts(m_root->child(1)), QStringList({ "Start", "Finish", "Actual" }));
    QCOMPARE(texts(m_root->child(3)), QStringList({ "Type", "Code" }));

    // A group emptied earlier is filled again; a missing one is made in name order.
    m_dialog->setGroupHidden(QStringLiteral("system"), false);
    m_root = m_dialog->availableModel()->invisibleRootItem();
    QCOMPARE(m_dialog->chosenColumns(), QStringList({ "ID", "Name", "Start", "Type" }));
    select(list, { chosen->index(0, 0) });
    m_dialog->onLeftPressed();
    QCOMPARE(texts(m_root), QStringList({ "Note", "Dates", "Durations", "General", "system" }));
    m_dialog->onLeftPressed(); // nothing selected any more
    QCOMPARE(m_dialog->chosenColumns(), QStringList({ "Name", "Start", "Type" }));
}

void TestRyGroupedColumnDialog::upDown_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("current");
    QTest::newRow("up") << 1 << true << QStringList({ "Start", "Name", "Type" }) << 0;
    QTest::newRow("down") << 1 << false << QStringList({ "Name", "Type", "Start" }) << 2;
    QTest::newRow("up from the first row")
        << 0 << true << QStringList({ "Name", "Start", "Type" }) << 0;
    QTest::newRow("down from the last row")
        << 2 << false << QStringList({ "Name", "Start", "Type" }) << 2;
}

void TestRyGroupedColumnDialog::upDown()
{
    QFETCH(int, row);
    QFETCH(bool, up);
    QFETCH(QStringList, order);
    QFETCH(int, current);
    QListView *list = m_dialog->form().lwChosen;
    list->setCurrentIndex(m_dialog->chosenModel()->index(row, 0));
    QTest::mouseClick(up ? m_dialog->form().tbUp : m_dialog->form().tbDown, Qt::LeftButton);
    QCOMPARE(m_dialog->chosenColumns(), order);
    QCOMPARE(list->currentIndex().row(), current);
    // The moved item still knows its column, so OK and the way back work.
    QCOMPARE(m_dialog->chosenSections().size(), 3);
    QVERIFY(!m_dialog->chosenSections().contains(0));
    QCOMPARE(
        m_dialog->chosenModel()->item(current)->data(RyGroupedColumnDialog::GroupRole).isValid(),
        true);
}

void TestRyGroupedColumnDialog::doubleClicks()
{
    QTreeView *tree = m_dialog->form().lwAvaiable;
    tree->expandAll();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    doubleClick(tree, availableIndex("Actual"));
    QCOMPARE(m_dialog->chosenColumns().constLast(), QStringLiteral("Actual"));

    QListView *list = m_dialog->form().lwChosen;
    doubleClick(list, m_dialog->chosenModel()->index(0, 0));
    QCOMPARE(m_dialog->chosenColumns(), QStringList({ "Start", "Type", "Actual" }));
    QCOMPARE(texts(m_root->child(3)), QStringList({ "Name", "Code" }));
}

void TestRyGroupedColumnDialog::filterButtons()
{
    RyFilterDialogProxyModel proxy;
    proxy.setSourceModel(m_model);
    RySortFilterWidget widget(m_header, &proxy, m_model);
    m_dialog->setSortFilterWidget(&widget);
    connect(m_dialog, &RyGroupedColumnDialog::popUp, &widget,
            &RySortFilterWidget::onAutoFilterPopUp);
    proxy.setValueFilter(4, { QStringLiteral("v1") });
    QCOMPARE(proxy.rowCount(), 1);

    // The group shows a filter when one of its columns has one.
    auto *delegate = qobject_cast<RySortFilterDelegate *>(
        m_dialog->form().lwAvaiable->itemDelegateForColumn(0));
    QVERIFY(delegate);
    QVERIFY(delegate->buttonState(m_root->child(1)->index()) & RySortFilterWidget::Filtered);
    QVERIFY(!(delegate->buttonState(m_root->child(2)->index()) & RySortFilterWidget::Filtered));
    QVERIFY(delegate->buttonState(availableIndex("Finish")) & RySortFilterWidget::Filtered);

    // A press on an item asks for its column's pop-up, in the viewport's coordinates.
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    QListView *list = m_dialog->form().lwChosen;
    QSignalSpy popUps(m_dialog, &RyGroupedColumnDialog::popUp);
    const QRect start = list->visualRect(m_dialog->chosenModel()->index(1, 0));
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, start.topLeft() + QPoint(2, 2));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, start.topLeft() + QPoint(2, 2));
    QCOMPARE(popUps.count(), 1);
    QCOMPARE(popUps.first().at(0).toRect(), start);
    QCOMPARE(popUps.first().at(1).toInt(), 3);

    QTest::mouseClick(m_dialog->form().btnClearAllFilters, Qt::LeftButton);
    QCOMPARE(proxy.rowCount(), 3);
    QVERIFY(!(delegate->buttonState(m_root->child(1)->index()) & RySortFilterWidget::Filtered));
}

QTEST_MAIN(TestRyGroupedColumnDialog)
#include "tst_rygroupedcolumndialog.moc"
