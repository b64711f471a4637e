#include "views/ryactivitygrouper.h"

#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"
#include "models/rymodellookup.h"
#include "models/ryparentitemproxymodel.h"
#include "models/rypredecessortext.h"
#include "models/rystyletext.h"
#include "models/ryvalueorder.h"
#include "models/ryvaluetext.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QHash>
#include <QSet>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>

#include <algorithm>
#include <functional>

namespace {

// A node of one rule's index, or of the crossed result.
struct Node
{
    QString key;
    QVariant label;
    QVariant sortValue;
    int parent = -1;
    QVector<int> rows;
    QVector<int> children;
};

using NodeList = QVector<Node>;

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

QDate cellDate(const QVariant &value)
{
    if (value.canConvert<QDateTime>() && value.toDateTime().isValid())
        return value.toDateTime().date();
    if (value.canConvert<QDate>() && value.toDate().isValid())
        return value.toDate();
    return QDate::fromString(value.toString(), QStringLiteral("dd.MM.yyyy"));
}

// Key, sort value and label of the calendar period holding a date. Quarters, months and weeks
// carry their year (for weeks the ISO week-numbering year), so that March 2023 and March 2024
// are two groups; each group sorts by the first day of its period. Any other period text (as
// "No Rule") groups by the cell's value itself.
bool periodOf(const QVariant &cell, const QDate &date, const QString &period, QString *key,
              QVariant *sortValue, QVariant *label)
{
    if (!date.isValid())
        return false;
    const QString year = QString::number(date.year());
    if (period == QLatin1String("Year")) {
        *key = year;
        *sortValue = QDate(date.year(), 1, 1);
        *label = date.year();
    } else if (period == QLatin1String("Quarter")) {
        const int quarter = (date.month() - 1) / 3 + 1;
        *key = year + QStringLiteral("-Q") + QString::number(quarter);
        *sortValue = QDate(date.year(), (quarter - 1) * 3 + 1, 1);
        *label = RyValueText::quarterText(quarter) + QLatin1Char(' ') + year;
    } else if (period == QLatin1String("Month")) {
        *key = date.toString(QStringLiteral("yyyy-MM"));
        *sortValue = QDate(date.year(), date.month(), 1);
        *label = RyValueText::monthName(date.month()) + QLatin1Char(' ') + year;
    } else if (period == QLatin1String("Week")) {
        int weekYear = 0;
        const int week = date.weekNumber(&weekYear);
        *key = QStringLiteral("%1-W%2").arg(weekYear).arg(week, 2, 10, QLatin1Char('0'));
        *sortValue = date.addDays(1 - date.dayOfWeek()); // its Monday
        *label = RyValueText::weekText(week) + QLatin1Char(' ') + QString::number(weekYear);
    } else if (period == QLatin1String("Day")) {
        *key = date.toString(Qt::ISODate);
        *sortValue = date;
        *label = RyValueText::dayMonthText(date);
    } else {
        *key = cell.toString();
        *sortValue = cell;
        *label = cell;
    }
    return true;
}

bool lessBySortValue(const Node &a, const Node &b)
{
    return RyValueOrder::lessThan(a.sortValue, b.sortValue);
}

// Flat nodes from keyed rows, in ascending key order.
NodeList flatNodes(QHash<QString, Node> &&byKey)
{
    NodeList nodes;
    nodes.reserve(byKey.size());
    for (auto it = byKey.begin(); it != byKey.end(); ++it)
        nodes.append(std::move(it.value()));
    std::stable_sort(nodes.begin(), nodes.end(), lessBySortValue);
    return nodes;
}

NodeList dateIndex(const QAbstractItemModel *model, int column, int rows, const QString &period)
{
    QHash<QString, Node> byKey;
    for (int row = 0; row < rows; ++row) {
        QString key;
        QVariant sortValue, label;
        const QVariant cell = model->index(row, column).data();
        if (!periodOf(cell, cellDate(cell), period, &key, &sortValue, &label))
            continue;
        Node &node = byKey[key];
        if (node.key.isEmpty()) {
            node.key = key;
            node.sortValue = sortValue;
            node.label = label;
        }
        node.rows.append(row);
    }
    return flatNodes(std::move(byKey));
}

NodeList plainIndex(const QAbstractItemModel *model, int column, int rows)
{
    QHash<QString, Node> byKey;
    for (int row = 0; row < rows; ++row) {
        const QVariant value = model->index(row, column).data();
        if (!value.isValid() || value.toString().isEmpty())
            continue;
        Node &node = byKey[value.toString()];
        if (node.key.isEmpty()) {
            node.key = value.toString();
            node.sortValue = value;
            node.label = value;
        }
        node.rows.append(row);
    }
    return flatNodes(std::move(byKey));
}

// A key hierarchy read from a table (WBS elements, activity codes).
struct Hierarchy
{
    struct Element
    {
        QVariant key;
        QString parent;
        QVariant label;
    };
    QHash<QString, Element> elements;

    // Ancestors first; bounded by the number of elements so that a cycle cannot hang.
    QStringList path(const QString &key) const
    {
        QStringList chain;
        QString current = key;
        while (elements.contains(current) && chain.size() <= elements.size()) {
            if (chain.contains(current))
                break;
            chain.prepend(current);
            current = elements.value(current).parent;
        }
        return chain;
    }
};

Hierarchy readHierarchy(const QAbstractItemModel *table, int keyColumn, int parentColumn,
                        int labelColumn, int typeColumn = -1, const QVariant &type = QVariant())
{
    Hierarchy hierarchy;
    if (!table || keyColumn < 0)
        return hierarchy;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (typeColumn >= 0 && table->index(row, typeColumn).data().toString() != type.toString())
            continue;
        const QVariant key = table->index(row, keyColumn).data();
        const QVariant parent
            = parentColumn >= 0 ? table->index(row, parentColumn).data() : QVariant();
        if (!key.isValid() || key.toString() == parent.toString())
            continue;
        QVariant label = labelColumn >= 0 ? table->index(row, labelColumn).data() : QVariant();
        if (label.toString().isEmpty())
            label = key;
        hierarchy.elements.insert(key.toString(), { key, parent.toString(), label });
    }
    return hierarchy;
}

// Nodes for the elements that hold activities (at most `maxLevel` deep, 0 for all), in
// pre-order with siblings in ascending key order.
NodeList structuredIndex(const QAbstractItemModel *model, int column, int role, int rows,
                         const Hierarchy &hierarchy, int maxLevel)
{
    QHash<QString, int> position;
    NodeList nodes;
    auto nodeFor = [&](const QStringList &chain) {
        int parent = -1;
        for (const QString &key : chain) {
            auto it = position.constFind(key);
            if (it == position.constEnd()) {
                const Hierarchy::Element &element = hierarchy.elements[key];
                Node node;
                node.key = key;
                node.sortValue = element.key;
                node.label = element.label;
                node.parent = parent;
                it = position.insert(key, nodes.size());
                if (parent >= 0)
                    nodes[parent].children.append(nodes.size());
                nodes.append(node);
            }
            parent = it.value();
        }
        return parent;
    };
    QHash<QString, int> nodeOfKey; // many activities share one element
    for (int row = 0; row < rows; ++row) {
        const QString key = model->index(row, column).data(role).toString();
        auto cached = nodeOfKey.constFind(key);
        if (cached == nodeOfKey.constEnd()) {
            int node = -1;
            if (!key.isEmpty() && hierarchy.elements.contains(key)) {
                QStringList chain = hierarchy.path(key);
                if (maxLevel > 0 && chain.size() > maxLevel)
                    chain = chain.mid(0, maxLevel);
                node = nodeFor(chain);
            }
            cached = nodeOfKey.insert(key, node);
        }
        if (cached.value() >= 0)
            nodes[cached.value()].rows.append(row);
    }
    // Pre-order with sorted siblings.
    NodeList ordered;
    QVector<int> newPosition(nodes.size(), -1);
    std::function<void(int, int)> visit = [&](int at, int parent) {
        Node node = nodes.at(at);
        node.parent = parent;
        const QVector<int> children = node.children;
        node.children.clear();
        newPosition[at] = ordered.size();
        ordered.append(node);
        QVector<int> sorted = children;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](int a, int b) { return lessBySortValue(nodes.at(a), nodes.at(b)); });
        const int self = newPosition[at];
        for (int child : sorted) {
            ordered[self].children.append(ordered.size());
            visit(child, self);
        }
    };
    QVector<int> roots;
    for (int i = 0; i < nodes.size(); ++i) {
        if (nodes.at(i).parent < 0)
            roots.append(i);
    }
    std::stable_sort(roots.begin(), roots.end(),
                     [&](int a, int b) { return lessBySortValue(nodes.at(a), nodes.at(b)); });
    for (int root : roots)
        visit(root, -1);
    return ordered;
}

// Crossing: the rows of every node of `result` are split among the keys of `next` they share
// rows with; each such pair becomes a child "outer x inner" of the outer node.
void cross(NodeList &result, const NodeList &next)
{
    QHash<int, int> nextOfRow;
    for (int i = 0; i < next.size(); ++i) {
        for (int row : next.at(i).rows)
            nextOfRow.insert(row, i);
    }
    const int outerCount = result.size();
    for (int outer = 0; outer < outerCount; ++outer) {
        QMap<int, QVector<int>> split; // next node position (ascending key order) -> rows
        QVector<int> kept;
        for (int row : result.at(outer).rows) {
            auto it = nextOfRow.constFind(row);
            if (it == nextOfRow.constEnd())
                kept.append(row);
            else
                split[it.value()].append(row);
        }
        result[outer].rows = kept;
        for (auto it = split.cbegin(); it != split.cend(); ++it) {
            const Node &inner = next.at(it.key());
            Node node;
            node.key = QStringLiteral("%1x%2").arg(result.at(outer).key, inner.key);
            node.label = inner.label;
            node.sortValue = inner.sortValue;
            node.parent = outer;
            node.rows = it.value();
            result[outer].children.append(result.size());
            result.append(node);
        }
    }
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

// Parents before children, siblings in the order they were made.
QVector<RyActivityGrouper::Group> flattenTree(const NodeList &nodes)
{
    QVector<RyActivityGrouper::Group> groups;
    groups.reserve(nodes.size());
    std::function<void(int, int)> visit = [&](int at, int parent) {
        const Node &node = nodes.at(at);
        const int self = groups.size();
        groups.append({ node.key, node.label, parent, node.rows });
        for (int child : node.children)
            visit(child, self);
    };
    for (int i = 0; i < nodes.size(); ++i) {
        if (nodes.at(i).parent < 0)
            visit(i, -1);
    }
    return groups;
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
    const auto *join = qobject_cast<const RyJoinProxyModel *>(activityModel);
    NodeList result;
    bool first = true;
    for (int m = 0; m < rules.size(); ++m) {
        const RyGroupRule rule = RyGroupRule::parse(rules.at(m));
        if (levelStyles && m < levelStyles->size())
            updateLevelStyle((*levelStyles)[m], rule);

        const int column = RyModelLookup::findColumn(activityModel, rule.column);
        const QVariantMap description
            = activityModel->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
        const bool structure = description.value(QStringLiteral("structure")).toBool();
        const QAbstractItemModel *table = join ? join->sourceModelForColumn(column) : nullptr;
        if (column < 0 || !table)
            return {};

        NodeList index;
        const QString tableName = table->objectName();
        if (description.value(QStringLiteral("datatype")).toString() == QLatin1String("datetime")) {
            index = dateIndex(activityModel, column, baseRowCount,
                              rule.rule.isEmpty() ? QStringLiteral("Month") : rule.rule);
        } else if (structure && tableName == QLatin1String("PROJWBS") && tables.wbs) {
            const Hierarchy wbs
                = readHierarchy(tables.wbs, columnByName(tables.wbs, QStringLiteral("wbs_id")),
                                columnByName(tables.wbs, QStringLiteral("parent_wbs_id")), 3);
            index = structuredIndex(activityModel,
                                    columnByName(activityModel, QStringLiteral("wbs_id")),
                                    Qt::DisplayRole, baseRowCount, wbs, rule.maxLevel());
        } else if (structure && tableName == QLatin1String("taskCodesAssignmentModel")
                   && tables.codeTypes && tables.codes) {
            const QVariant type
                = RyModelLookup::verticalLookup(rule.column, tables.codeTypes, 0, 3).data();
            const Hierarchy codes = readHierarchy(
                tables.codes, columnByName(tables.codes, QStringLiteral("actv_code_id")),
                columnByName(tables.codes, QStringLiteral("parent_actv_code_id")),
                columnByName(tables.codes, QStringLiteral("Code Name")),
                columnByName(tables.codes, QStringLiteral("actv_code_type_id")), type);
            index = structuredIndex(activityModel, column, Ry::ColumnIdRole, baseRowCount, codes,
                                    rule.maxLevel());
        } else if (!structure) {
            index = plainIndex(activityModel, column, baseRowCount);
        } else {
            continue; // a structured column of another table adds no level
        }
        if (first) {
            result = index;
            first = false;
        } else {
            cross(result, index);
        }
    }
    return flattenTree(result);
}

QAbstractItemModel *RyActivityGrouper::recordSet(QAbstractItemModel *activityModel)
{
    auto *join = qobject_cast<RyJoinProxyModel *>(activityModel);
    return join ? join->sourceModel() : nullptr;
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
        if (parentColumn >= 0) {
            for (int row = 0; row < records->rowCount(); ++row)
                records->setData(records->index(row, parentColumn), QVariant());
        }
    }
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
    const QMap<int, QMap<QString, QString>> texts = RyPredecessorText::predecessorTexts(relationships);
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
