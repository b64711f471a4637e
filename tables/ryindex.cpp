#include "tables/ryindex.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QStandardItemModel>

#include <algorithm>

namespace {

// Kinds of values in the order they sort against each other: a column that mixes kinds (rare,
// but the file decides) still gets one consistent order, which std::map relies on.
enum class ValueKind { Null, Number, Date, Text };

ValueKind kindOf(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return ValueKind::Null;
    switch (value.userType()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return ValueKind::Number;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return ValueKind::Date;
    default:
        return ValueKind::Text;
    }
}

bool numberLess(const QVariant &a, const QVariant &b)
{
    const bool bothIntegral = a.userType() != QMetaType::Double && a.userType() != QMetaType::Float
        && b.userType() != QMetaType::Double && b.userType() != QMetaType::Float;
    if (bothIntegral && a.userType() != QMetaType::ULongLong
        && b.userType() != QMetaType::ULongLong)
        return a.toLongLong() < b.toLongLong();
    return a.toDouble() < b.toDouble();
}

} // namespace

bool RyVariantLess::operator()(const QVariant &a, const QVariant &b) const
{
    const ValueKind kindA = kindOf(a);
    const ValueKind kindB = kindOf(b);
    if (kindA != kindB)
        return kindA < kindB;
    switch (kindA) {
    case ValueKind::Null:
        return false;
    case ValueKind::Number:
        return numberLess(a, b);
    case ValueKind::Date:
        return a.toDateTime() < b.toDateTime();
    case ValueKind::Text:
        break;
    }
    // Texts read case-blind, as users expect in value lists; texts that differ only in case
    // stay two keys, ordered by their exact text (Qt's own QVariant order calls each of such a
    // pair greater than the other, which breaks any sorted container).
    const QString textA = a.toString();
    const QString textB = b.toString();
    const int blind = QString::compare(textA, textB, Qt::CaseInsensitive);
    if (blind != 0)
        return blind < 0;
    return textA < textB;
}

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
    for (int row : rows) {
        const QVariant value = m_model->index(row, m_keyColumn).data(Qt::DisplayRole);
        QStandardItem *leaf = newCheckedItem(value);
        leaf->setData(value, Qt::UserRole);
        item->appendRow(leaf);
    }
    item->sortChildren(0, Qt::AscendingOrder);
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
