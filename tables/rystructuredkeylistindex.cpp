#include "tables/rystructuredkeylistindex.h"

#include <QStandardItemModel>

namespace {

// "2021x03": numbers below ten get two digits, so that the combined texts of one parent keep
// the children's order.
QString combinedKey(const QVariant &parent, const QVariant &child)
{
    QString childText = child.toString();
    if (child.userType() == QMetaType::UInt || child.userType() == QMetaType::Int)
        childText = childText.rightJustified(2, QLatin1Char('0'));
    return QStringLiteral("%1x%2").arg(parent.toString(), childText);
}

} // namespace

RyStructuredKeyListIndex::RyStructuredKeyListIndex(const RyIndex &parentIndex,
                                                   const RyIndex &childIndex)
    : RyIndex(childIndex.model(), childIndex.keyColumn())
{
    for (const auto &parent : parentIndex.entries()) {
        Entry parentEntry { parent.second.rows, parent.second.display, QVariant(), {} };
        for (const auto &child : childIndex.entries()) {
            QSet<int> shared = parent.second.rows;
            shared.intersect(child.second.rows);
            if (shared.isEmpty())
                continue;
            const QVariant key = combinedKey(parent.first, child.first);
            m_entries[key] = Entry { shared, child.second.display, parent.first, {} };
            parentEntry.children.append(key);
        }
        if (!parentEntry.children.isEmpty())
            m_parents.emplace(parent.first, parentEntry);
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
