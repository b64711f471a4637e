#include "tables/rystructuredkeylistindex.h"

#include <QHash>
#include <QMap>
#include <QStandardItemModel>
#include <QVector>

namespace {

// "2021x2021-03-01" (a year and a month's first day), "Ax07": numbers below ten get two digits,
// so that the combined texts of one parent keep the children's order.
QString combinedKey(const QVariant &parent, const QVariant &child)
{
    QString childText = child.toString();
    if (child.userType() == QMetaType::UInt || child.userType() == QMetaType::Int)
        childText = childText.rightJustified(2, QLatin1Char('0'));
    return QStringLiteral("%1x%2").arg(parent.toString(), childText);
}

} // namespace

RyStructuredKeyListIndex::RyStructuredKeyListIndex(const RyIndex &parentIndex,
                                                   const RyIndex &childIndex, Layout layout)
    : RyIndex(childIndex.model(), childIndex.keyColumn())
{
    // Each row is found once in the child index, so splitting a parent's rows by child costs
    // one look-up a row instead of one set intersection a pair of keys.
    QVector<const Entries::value_type *> childEntries;
    QHash<int, int> childOfRow;
    for (const auto &child : childIndex.entries()) {
        for (int row : child.second.rows)
            childOfRow.insert(row, childEntries.size());
        childEntries.append(&child);
    }
    for (const auto &parent : parentIndex.entries()) {
        Entry parentEntry = layout == Layout::Tree
            ? parent.second
            : Entry { parent.second.rows, parent.second.display, QVariant(), {} };
        QMap<int, QSet<int>> split; // child position (ascending key order) -> shared rows
        QSet<int> kept;
        for (int row : parent.second.rows) {
            const auto child = childOfRow.constFind(row);
            if (child == childOfRow.constEnd())
                kept.insert(row);
            else
                split[*child].insert(row);
        }
        for (auto it = split.cbegin(); it != split.cend(); ++it) {
            const auto &child = *childEntries.at(it.key());
            const QVariant key = combinedKey(parent.first, child.first);
            const QVariant display = layout == Layout::List ? childIndex.shortDisplay(child.first)
                                                            : child.second.display;
            m_entries[key] = Entry { it.value(), display, parent.first, {} };
            parentEntry.children.append(key);
        }
        if (layout == Layout::Tree) {
            parentEntry.rows = kept;
            m_entries[parent.first] = parentEntry;
        } else if (!parentEntry.children.isEmpty()) {
            m_parents.emplace(parent.first, parentEntry);
        }
    }
}

void RyStructuredKeyListIndex::fillItemModel(QStandardItemModel *itemModel, bool addLeafRows) const
{
    if (!itemModel)
        return;
    QStandardItem *root = itemModel->invisibleRootItem();
    for (const auto &parent : m_parents) {
        QStandardItem *parentItem = newCheckedItem(parent.second.display);
        parentItem->setData(parent.first, Qt::UserRole);
        for (const QVariant &key : parent.second.children) {
            const Entry &entry = m_entries.at(key);
            QStandardItem *item = newCheckedItem(entry.display);
            item->setData(key, Qt::UserRole);
            if (addLeafRows)
                appendLeafRows(item, entry.rows);
            parentItem->appendRow(item);
        }
        root->appendRow(parentItem);
    }
}
