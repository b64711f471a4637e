#include "tables/ryindex.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QStandardItemModel>

#include <algorithm>

RyIndex::RyIndex(QAbstractItemModel *model, int keyColumn)
    : m_model(model)
    , m_keyColumn(keyColumn)
{
}

RyIndex::~RyIndex() = default;

int RyIndex::build(QAbstractItemModel *model, int keyColumn, int parentKeyColumn, int displayColumn)
{
    if (!model)
        return 0;
    const int rowCount = model->rowCount();
    const int labelColumn = displayColumn == -1 ? parentKeyColumn : displayColumn;
    for (int row = 0; row < rowCount; ++row) {
        const QVariant key = model->index(row, keyColumn).data(Qt::DisplayRole);
        const QVariant parent = model->index(row, parentKeyColumn).data(Qt::DisplayRole);
        const QVariant label = model->index(row, labelColumn).data(Qt::DisplayRole);
        if (!key.isValid() || key == parent)
            continue;
        Entry &entry = m_entries[key];
        entry.display = display(label);
        auto parentEntry = m_entries.find(parent);
        if (parent.isValid() && parentEntry != m_entries.end()) {
            entry.parentKey = parent;
            if (!parentEntry->second.children.contains(key))
                parentEntry->second.children.append(key);
        }
    }
    return rowCount;
}

QVariant RyIndex::key(const QModelIndex &index, int role) const
{
    return index.data(role);
}

QVariant RyIndex::display(const QVariant &key) const
{
    return key;
}

void RyIndex::index(int role)
{
    if (!m_model || m_keyColumn < 0)
        return;
    const int rowCount = m_model->rowCount();
    for (int row = 0; row < rowCount; ++row) {
        const QVariant k = key(m_model->index(row, m_keyColumn), role);
        if (!k.isValid())
            continue;
        auto it = m_entries.find(k);
        if (it == m_entries.end())
            it = m_entries.emplace(k, Entry { {}, display(k), {}, {} }).first;
        it->second.rows.insert(row);
    }
}

QList<QVariant> RyIndex::keys() const
{
    QList<QVariant> result;
    result.reserve(int(m_entries.size()));
    for (const auto &entry : m_entries)
        result.append(entry.first);
    return result;
}

QSet<int> RyIndex::rows(const QVariant &key) const
{
    const auto it = m_entries.find(key);
    return it == m_entries.end() ? QSet<int>() : it->second.rows;
}

QVariant RyIndex::displayValue(const QVariant &key) const
{
    const auto it = m_entries.find(key);
    return it == m_entries.end() ? QVariant() : it->second.display;
}

QVariant RyIndex::parentKey(const QVariant &key) const
{
    const auto it = m_entries.find(key);
    return it == m_entries.end() ? QVariant() : it->second.parentKey;
}

QList<QVariant> RyIndex::children(const QVariant &key) const
{
    const auto it = m_entries.find(key);
    return it == m_entries.end() ? QList<QVariant>() : it->second.children;
}

QStandardItem *RyIndex::newCheckedItem(const QVariant &display)
{
    auto *item = new QStandardItem;
    item->setData(display, Qt::DisplayRole);
    item->setCheckable(true);
    item->setCheckState(Qt::Checked);
    return item;
}

void RyIndex::appendLeafRows(QStandardItem *item, const QSet<int> &rows) const
{
    if (!m_model)
        return;
    QVector<QVariant> values;
    values.reserve(rows.size());
    for (int row : rows)
        values.append(m_model->index(row, m_keyColumn).data(Qt::DisplayRole));
    std::stable_sort(values.begin(), values.end(), RyValueOrder());
    for (const QVariant &value : qAsConst(values)) {
        QStandardItem *leaf = newCheckedItem(value);
        leaf->setData(value, Qt::UserRole);
        item->appendRow(leaf);
    }
}

void RyIndex::fillItemModel(QStandardItemModel *itemModel, bool addLeafRows) const
{
    if (!itemModel)
        return;
    QStandardItem *root = itemModel->invisibleRootItem();
    for (const auto &entry : m_entries) {
        QStandardItem *item = newCheckedItem(entry.second.display);
        item->setData(entry.first, Qt::UserRole);
        if (addLeafRows)
            appendLeafRows(item, entry.second.rows);
        root->appendRow(item);
    }
}
