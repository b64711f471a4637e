#include "views/ryheaderstate.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTest>

namespace {

QStandardItemModel *modelWithHeaders(const QStringList &headers, QObject *parent)
{
    auto *model = new QStandardItemModel(0, headers.size(), parent);
    model->setHorizontalHeaderLabels(headers);
    return model;
}

} // namespace

using namespace RyHeaderState;

class TestRyHeaderState : public QObject
{
    Q_OBJECT

private slots:
    void findSectionByRole();
    void firstVisibleColumnSkipsHidden();
    void headerStateRoundTrip();
    void headerStateIgnoresMalformedEntries();
    void applyColumnOrderShowsNamedOnly();
};

void TestRyHeaderState::findSectionByRole()
{
    auto *model = modelWithHeaders({ "A", "B", "C" }, this);
    model->setHeaderData(1, Qt::Horizontal, "rsrc_type", Qt::UserRole);
    model->setHeaderData(2, Qt::Horizontal, "rsrc_type", Qt::UserRole);
    QHeaderView header(Qt::Horizontal);
    header.setModel(model);
    QCOMPARE(findSection(&header, "rsrc_type", Qt::UserRole), 1);
    QCOMPARE(findSection(&header, "rsrc_name", Qt::UserRole), -1);
    QCOMPARE(findSection(&header, "C", Qt::DisplayRole), 2);
}

void TestRyHeaderState::firstVisibleColumnSkipsHidden()
{
    auto *model = modelWithHeaders({ "A", "B", "C" }, this);
    QHeaderView header(Qt::Horizontal);
    header.setModel(model);
    header.moveSection(2, 0);
    QCOMPARE(firstVisibleColumn(&header), 2);
    header.hideSection(2);
    QCOMPARE(firstVisibleColumn(&header), 0);
    header.hideSection(0);
    header.hideSection(1);
    QCOMPARE(firstVisibleColumn(&header), -1);
}

void TestRyHeaderState::headerStateRoundTrip()
{
    auto *model = modelWithHeaders({ "A", "B", "C", "D" }, this);
    QHeaderView header(Qt::Horizontal);
    header.setModel(model);
    header.setMinimumSectionSize(20); // the style's minimum follows the platform's fonts
    header.resizeSection(0, 40);
    header.resizeSection(2, 70);
    header.resizeSection(3, 90);
    header.moveSection(3, 0); // D A B C
    header.hideSection(1);
    const QStringList state = saveHeaderState(&header);
    QCOMPARE(state, QStringList({ "D:90", "A:40", "C:70" }));
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "D", "A", "C" }));

    QHeaderView other(Qt::Horizontal);
    other.setModel(model);
    other.setMinimumSectionSize(20);
    restoreHeaderState(&other, state);
    QCOMPARE(saveHeaderState(&other), state);
    QVERIFY(other.isSectionHidden(1));
}

void TestRyHeaderState::headerStateIgnoresMalformedEntries()
{
    auto *model = modelWithHeaders({ "Name", "B", "C" }, this);
    QHeaderView header(Qt::Horizontal);
    header.setModel(model);
    header.setMinimumSectionSize(20);
    header.resizeSection(2, 55);
    // Nothing usable: the columns stay as they are.
    restoreHeaderState(&header, { "Name", "Name:1:2", "Unknown:20" });
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "Name", "B", "C" }));

    restoreHeaderState(&header, { "Name", "C:x", "Unknown:20", "B:130", "Name:0" });
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "C", "B", "Name" }));
    QCOMPARE(header.sectionSize(2), 55);
    QVERIFY(header.sectionSize(0) > 0);
    QCOMPARE(header.sectionSize(1), 130);

    restoreHeaderState(&header, {}); // empty list changes nothing
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "C", "B", "Name" }));
}

void TestRyHeaderState::applyColumnOrderShowsNamedOnly()
{
    auto *model = modelWithHeaders({ "A", "B", "C", "D" }, this);
    QHeaderView header(Qt::Horizontal);
    header.setModel(model);
    applyColumnOrder(&header, { "C", "nope", "A" });
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "C", "A" }));
    applyColumnOrder(&header, {});
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "C", "A" }));
    applyColumnOrder(&header, { "nope" }); // no match: unchanged, like an empty list
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "C", "A" }));

    QHeaderView rows(Qt::Vertical);
    rows.setModel(model);
    setFixedSectionSize(&rows, 12);
    QCOMPARE(rows.sectionResizeMode(0), QHeaderView::Fixed);
    QCOMPARE(rows.defaultSectionSize(), 12);
}

QTEST_MAIN(TestRyHeaderState)
#include "tst_ryheaderstate.moc"
