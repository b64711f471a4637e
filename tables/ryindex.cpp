#include "tables/ryindex.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QHash>
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
    QVector<QPair<QVariant, QVariant>> links; // key, parent: linked once every key is known
    for (int row = 0; row < rowCount; ++row) {
        const QVariant key = model->index(row, keyColumn).data(Qt::DisplayRole);
        const QVariant parent = model->index(row, parentKeyColumn).data(Qt::DisplayRole);
        const QVariant label
            = displayColumn < 0 ? key : model->index(row, displayColumn).data(Qt::DisplayRole);
        if (!key.isValid() || key == parent)
            continue;
        m_entries[key].display = display(label.toString().isEmpty() ? key : label);
        if (parent.isValid())
            links.append({ key, parent });
    }
    for (const auto &link : qAsConst(links)) {
        auto parentEntry = m_entries.find(link.second);
        if (parentEntry == m_entries.end())
            continue;
        m_entries[link.first].parentKey = link.second;
        if (!parentEntry->second.children.contains(link.first))
            parentEntry->second.children.append(link.first);
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

void RyIndex::index(int role, int rowCount)
{
    if (!m_model || m_keyColumn < 0)
        return;
    const int rows = rowCount < 0 ? m_model->rowCount() : qMin(rowCount, m_model->rowCount());
    for (int row = 0; row < rows; ++row) {
        const QVariant k = key(m_model->index(row, m_keyColumn), role);
        if (!k.isValid())
            continue;
        auto it = m_entries.find(k);
        if (it == m_entries.end())
            it = m_entries.emplace(k, Entry { {}, display(k), {}, {} }).first;
        it->second.rows.insert(row);
    }
}

namespace {

// Adds the entries from the top of `hierarchy` down to `key` (at most `maxLevel` deep) that
// are missing, each linked to the one above it; returns the deepest key.
QVariant addPath(RyIndex::Entries &entries, const RyIndex &hierarchy, const QVariant &key,
                 int maxLevel)
{
    QList<QVariant> chain = hierarchy.path(key);
    if (maxLevel > 0 && chain.size() > maxLevel)
        chain = chain.mid(0, maxLevel);
    QVariant parent;
    for (const QVariant &k : qAsConst(chain)) {
        if (entries.count(k) == 0) {
            entries.emplace(k, RyIndex::Entry { {}, hierarchy.displayValue(k), parent, {} });
            if (parent.isValid())
                entries[parent].children.append(k);
        }
        parent = k;
    }
    return parent;
}

} // namespace

void RyIndex::indexBelow(const RyIndex &hierarchy, int role, int maxLevel, int rowCount)
{
    if (!m_model || m_keyColumn < 0)
        return;
    QHash<QString, QVariant> keyOfText;
    for (const auto &entry : hierarchy.entries())
        keyOfText.insert(entry.first.toString(), entry.first);
    // Many rows share one key: its path is walked once, and its entry kept (the map's entries
    // stay put as others are added), so that a row costs no search through the ordered map.
    QHash<QString, Entry *> holderOfText;
    const int rows = rowCount < 0 ? m_model->rowCount() : qMin(rowCount, m_model->rowCount());
    for (int row = 0; row < rows; ++row) {
        const QString text = m_model->index(row, m_keyColumn).data(role).toString();
        if (text.isEmpty())
            continue;
        auto holder = holderOfText.constFind(text);
        if (holder == holderOfText.constEnd()) {
            const auto known = keyOfText.constFind(text);
            const QVariant key = known == keyOfText.constEnd()
                ? QVariant()
                : addPath(m_entries, hierarchy, *known, maxLevel);
            holder = holderOfText.insert(text, key.isValid() ? &m_entries[key] : nullptr);
        }
        if (*holder)
            (*holder)->rows.insert(row);
    }
    for (auto &entry : m_entries)
        std::stable_sort(entry.second.children.begin(), entry.second.children.end(),
                         RyValueOrder());
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

QList<QVariant> RyIndex::path(const QVariant &key) const
{
    QList<QVariant> chain;
    auto it = m_entries.find(key);
    while (it != m_entries.end() && chain.size() <= int(m_entries.size())) {
        if (chain.contains(it->first))
            break;
        chain.prepend(it->first);
        if (!it->second.parentKey.isValid())
            break;
        it = m_entries.find(it->second.parentKey);
    }
    return chain;
}

QList<QVariant> RyIndex::topLevelKeys() const
{
    QList<QVariant> result;
    for (const auto &entry : m_entries) {
        if (!entry.second.parentKey.isValid())
            result.append(entry.first);
    }
    return result;
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
