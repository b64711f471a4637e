#include "views/ryactivitygrouper.h"

#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"
#include "models/rymodellookup.h"
#include "models/ryparentitemproxymodel.h"
#include "models/rypredecessortext.h"
#include "models/rystyletext.h"
#include "models/ryvalueorder.h"
#include "tables/rydateindex.h"
#include "tables/rystructuredkeylistindex.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>

#include <algorithm>
#include <memory>

namespace {

// A column found by header text, or else by its column id (header role 256).
int columnByName(const QAbstractItemModel *model, const QString &name)
{
    const int column = RyModelLookup::findColumn(model, name);
    if (column >= 0 || !model)
        return column;
    for (int c = 0; c < model->columnCount(); ++c) {
        if (model->headerData(c, Qt::Horizontal, Ry::ColumnIdRole).toString() == name)
            return c;
    }
    return -1;
}

// Plain values: a blank cell makes no group.
class ValueIndex : public RyIndex
{
public:
    using RyIndex::RyIndex;
    QVariant key(const QModelIndex &index, int role) const override
    {
        const QVariant value = index.data(role);
        return value.toString().isEmpty() ? QVariant() : value;
    }
};

// The activity rows below the elements of a key hierarchy read from `table` (WBS elements,
// activity codes), the activity's key read from `column` in `role`.
std::unique_ptr<RyIndex> hierarchyIndex(QAbstractItemModel *activities, int column, int role,
                                        int rows, QAbstractItemModel *table, int keyColumn,
                                        int parentColumn, int labelColumn, int maxLevel)
{
    RyIndex hierarchy(table, keyColumn);
    if (keyColumn >= 0)
        hierarchy.build(table, keyColumn, parentColumn, labelColumn);
    auto index = std::make_unique<RyIndex>(activities, column);
    index->indexBelow(hierarchy, role, maxLevel, rows);
    return index;
}

// The index one rule groups by; null when the rule adds no level (a structured column of
// another table).
std::unique_ptr<RyIndex> ruleIndex(QAbstractItemModel *activities, int column, int rows,
                                   const RyGroupRule &rule, const QString &tableName,
                                   const RyActivityGrouper::Tables &tables)
{
    const QVariantMap description
        = activities->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
    const bool structure = description.value(QStringLiteral("structure")).toBool();
    if (description.value(QStringLiteral("datatype")).toString() == QLatin1String("datetime")) {
        auto index = std::make_unique<RyDateIndex>(
            activities, column, rule.rule.isEmpty() ? QStringLiteral("Month") : rule.rule);
        index->index(Qt::DisplayRole, rows);
        return index;
    }
    if (!structure) {
        auto index = std::make_unique<ValueIndex>(activities, column);
        index->index(Qt::DisplayRole, rows);
        return index;
    }
    if (tableName == QLatin1String("PROJWBS") && tables.wbs) {
        return hierarchyIndex(
            activities, columnByName(activities, QStringLiteral("wbs_id")), Qt::DisplayRole, rows,
            tables.wbs, columnByName(tables.wbs, QStringLiteral("wbs_id")),
            columnByName(tables.wbs, QStringLiteral("parent_wbs_id")), 3, rule.maxLevel());
    }
    if (tableName == QLatin1String("taskCodesAssignmentModel") && tables.codeTypes
        && tables.codes) {
        // Only the codes of the column's code type.
        const QString type
            = RyModelLookup::verticalLookup(rule.column, tables.codeTypes, 0, 3).data().toString();
        QSortFilterProxyModel codes;
        codes.setSourceModel(tables.codes);
        const int typeColumn = columnByName(tables.codes, QStringLiteral("actv_code_type_id"));
        if (typeColumn >= 0) {
            codes.setFilterKeyColumn(typeColumn);
            codes.setFilterRegularExpression(QRegularExpression(
                QRegularExpression::anchoredPattern(QRegularExpression::escape(type))));
        }
        return hierarchyIndex(activities, column, Ry::ColumnIdRole, rows, &codes,
                              columnByName(&codes, QStringLiteral("actv_code_id")),
                              columnByName(&codes, QStringLiteral("parent_actv_code_id")),
                              columnByName(&codes, QStringLiteral("Code Name")), rule.maxLevel());
    }
    return nullptr;
}

void updateLevelStyle(RyLevelStyle &style, const RyGroupRule &rule)
{
    if (!rule.font.isEmpty()) {
        const QFont font = RyStyleText::fontFromText(rule.font);
        if (font != QFont())
            style.font = font;
    }
    const QBrush text = RyStyleText::colorFromText(rule.textColor);
    if (!rule.textColor.isEmpty() && text.style() != Qt::NoBrush)
        style.textColor = text.color();
    const QBrush background = RyStyleText::colorFromText(rule.background);
    if (!rule.background.isEmpty() && background.style() != Qt::NoBrush)
        style.background = background;
}

// Groups of `key` and its children, parents before children, siblings in the index's order.
void appendGroups(const RyIndex &index, const QVariant &key, int parent,
                  QVector<RyActivityGrouper::Group> &groups)
{
    const RyIndex::Entry &entry = index.entries().at(key);
    QVector<int> rows(entry.rows.cbegin(), entry.rows.cend());
    std::sort(rows.begin(), rows.end());
    const int self = groups.size();
    groups.append({ key.toString(), entry.display, parent, rows });
    for (const QVariant &child : entry.children)
        appendGroups(index, child, self, groups);
}

} // namespace

RyGroupRule RyGroupRule::parse(const QString &text)
{
    const QStringList fields = text.split(QLatin1Char(';'));
    RyGroupRule rule;
    rule.column = fields.value(0);
    rule.rule = fields.value(1);
    rule.font = fields.value(2);
    rule.textColor = fields.value(3);
    rule.background = fields.value(4);
    return rule;
}

int RyGroupRule::maxLevel() const
{
    if (rule.isEmpty() || rule == QLatin1String("All"))
        return 0;
    return qMax(0, rule.right(2).trimmed().toInt());
}

QVector<RyActivityGrouper::Group>
RyActivityGrouper::buildGroups(const QAbstractItemModel *activityModel, int baseRowCount,
                               const QStringList &rules, const Tables &tables,
                               QList<RyLevelStyle> *levelStyles)
{
    // The indexes only read the model.
    auto *activities = const_cast<QAbstractItemModel *>(activityModel);
    const auto *join = qobject_cast<const RyJoinProxyModel *>(activityModel);
    std::unique_ptr<RyIndex> result;
    for (int m = 0; m < rules.size(); ++m) {
        const RyGroupRule rule = RyGroupRule::parse(rules.at(m));
        if (levelStyles && m < levelStyles->size())
            updateLevelStyle((*levelStyles)[m], rule);

        const int column = RyModelLookup::findColumn(activityModel, rule.column);
        const QAbstractItemModel *table = join ? join->sourceModelForColumn(column) : nullptr;
        if (column < 0 || !table)
            return {};
        std::unique_ptr<RyIndex> index
            = ruleIndex(activities, column, baseRowCount, rule, table->objectName(), tables);
        if (!index)
            continue;
        if (result) {
            // Each group's own rows are split among the new rule's keys.
            index = std::make_unique<RyStructuredKeyListIndex>(
                *result, *index, RyStructuredKeyListIndex::Layout::Tree);
        }
        result = std::move(index);
    }
    QVector<Group> groups;
    if (result) {
        for (const QVariant &key : result->topLevelKeys())
            appendGroups(*result, key, -1, groups);
    }
    return groups;
}

QAbstractItemModel *RyActivityGrouper::recordSet(QAbstractItemModel *activityModel)
{
    auto *join = qobject_cast<RyJoinProxyModel *>(activityModel);
    return join ? join->sourceModel() : nullptr;
}

bool RyActivityGrouper::clearParents(QAbstractItemModel *records, int parentColumn)
{
    if (!records || parentColumn < 0)
        return false;
    const QSignalBlocker blocker(records);
    bool cleared = false;
    for (int row = 0; row < records->rowCount(); ++row) {
        const QModelIndex cell = records->index(row, parentColumn);
        if (!cell.data().isNull()) {
            records->setData(cell, QVariant());
            cleared = true;
        }
    }
    return cleared;
}

void RyActivityGrouper::removeGrouping(QAbstractItemModel *activityModel, int baseRowCount,
                                       RyParentItemProxyModel *tree, bool rebuildTree)
{
    QAbstractItemModel *records = recordSet(activityModel);
    if (!records || records->rowCount() <= baseRowCount)
        return;
    const int idColumn = RyModelLookup::findColumn(records, QStringLiteral("ID"));
    const int parentColumn = RyModelLookup::findColumn(records, QStringLiteral("parentID"));
    {
        // The tree is rebuilt as a whole below; row-by-row notifications would only cost time.
        const QSignalBlocker blocker(records);
        records->removeRows(baseRowCount, records->rowCount() - baseRowCount);
    }
    clearParents(records, parentColumn);
    if (rebuildTree)
        tree->setParentColumns(idColumn, parentColumn);
}

void RyActivityGrouper::insertGroups(QAbstractItemModel *activityModel,
                                     const QVector<Group> &groups, RyParentItemProxyModel *tree)
{
    QAbstractItemModel *records = recordSet(activityModel);
    const int groupColumn = RyModelLookup::findColumn(records, QStringLiteral("Group"));
    if (!records || groupColumn < 0 || groups.isEmpty())
        return;
    const int first = records->rowCount();
    {
        const QSignalBlocker blocker(records);
        records->insertRows(first, groups.size());
        for (int i = 0; i < groups.size(); ++i) {
            // An empty label would not mark the row as a group row.
            QVariant label = groups.at(i).label;
            if (label.toString().isEmpty())
                label = groups.at(i).key;
            records->setData(records->index(first + i, groupColumn), label);
        }
    }

    // Activities first, then the sub-groups, in each group; ungrouped activities last.
    QMap<int, QList<int>> children;
    QVector<bool> grouped(first, false);
    for (int i = 0; i < groups.size(); ++i) {
        QList<int> &list = children[first + i];
        QVector<int> rows = groups.at(i).rows;
        std::sort(rows.begin(), rows.end());
        for (int row : rows) {
            list.append(row);
            grouped[row] = true;
        }
    }
    for (int i = 0; i < groups.size(); ++i) {
        const int parent = groups.at(i).parent;
        children[parent < 0 ? -1 : first + parent].append(first + i);
    }
    for (int row = 0; row < first; ++row) {
        if (!grouped.at(row))
            children[-1].append(row);
    }
    tree->setChildMap(children);
}

int RyActivityGrouper::regroup(QAbstractItemModel *activityModel, int baseRowCount,
                               RyParentItemProxyModel *tree, const QStringList &rules,
                               const Tables &tables, QList<RyLevelStyle> *levelStyles)
{
    // With groups to insert, the tree is replaced as a whole afterwards: one reset, not two.
    QAbstractItemModel *records = recordSet(activityModel);
    removeGrouping(activityModel, baseRowCount, tree, rules.isEmpty());
    const int base = activityModel->rowCount();
    QVector<Group> groups;
    if (!rules.isEmpty())
        groups = buildGroups(activityModel, base, rules, tables, levelStyles);
    if (!groups.isEmpty())
        insertGroups(activityModel, groups, tree);
    else if (!rules.isEmpty() && records)
        tree->setParentColumns(RyModelLookup::findColumn(records, QStringLiteral("ID")),
                               RyModelLookup::findColumn(records, QStringLiteral("parentID")));
    return base;
}

void RyActivityGrouper::numberRows(RyParentItemProxyModel *tree, QAbstractItemModel *activityModel,
                                   QAbstractItemModel *relationships)
{
    const int rowNumberColumn = RyModelLookup::findColumn(tree, QStringLiteral("Row Number"));
    const int outlineColumn = RyModelLookup::findColumn(tree, QStringLiteral("Outline Level"));
    const int detailsColumn
        = RyModelLookup::findColumn(activityModel, QStringLiteral("Predecessors Details Rows"));
    const int taskIdColumn = RyModelLookup::findColumn(activityModel, QStringLiteral("task_id"));
    if (rowNumberColumn < 0 && outlineColumn < 0 && (detailsColumn < 0 || !relationships))
        return;
    const int activityIdColumn = RyModelLookup::findColumn(tree, QStringLiteral("Activity ID"));
    const QModelIndexList rows = RyModelLookup::flattenIndexes(tree);
    QHash<QString, int> numberOfActivity;
    for (int i = 0; i < rows.size(); ++i) {
        const QModelIndex row = rows.at(i);
        if (rowNumberColumn >= 0) {
            const QString activityId = activityIdColumn >= 0
                ? row.sibling(row.row(), activityIdColumn).data().toString()
                : QString();
            if (!activityId.isEmpty())
                numberOfActivity.insert(activityId, i + 1);
            tree->setData(row.sibling(row.row(), rowNumberColumn), i + 1);
        }
        if (outlineColumn >= 0) {
            const QModelIndex parent = row.parent();
            int level = 1;
            if (parent.isValid()) {
                const int parentLevel = parent.sibling(parent.row(), outlineColumn).data().toInt();
                level = parentLevel == 0 ? 0 : parentLevel + 1;
            }
            tree->setData(row.sibling(row.row(), outlineColumn), level);
        }
    }
    if (detailsColumn < 0 || taskIdColumn < 0 || !relationships)
        return;
    const QMap<int, QMap<QString, QString>> texts
        = RyPredecessorText::predecessorTexts(relationships);
    for (const QModelIndex &row : rows) {
        const int taskId = row.sibling(row.row(), taskIdColumn).data().toInt();
        const auto found = texts.constFind(taskId);
        if (found == texts.constEnd())
            continue;
        QStringList parts;
        for (auto it = found->cbegin(); it != found->cend(); ++it)
            parts.append(QString::number(numberOfActivity.value(it.key(), 0)) + it.value());
        tree->setData(row.sibling(row.row(), detailsColumn), parts.join(QStringLiteral(", ")));
    }
}
