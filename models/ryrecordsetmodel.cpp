#include "models/ryrecordsetmodel.h"

namespace {

// Views write with the edit role and read with the display role; like QStandardItemModel the
// two are one cell here, or an edited value would never show.
int storedRole(int role)
{
    return role == Qt::EditRole ? Qt::DisplayRole : role;
}

// Shifts the integer keys >= `from` of a hash or map by `delta`, dropping keys in
// [from, from - delta) when delta is negative.
template<typename Container> Container shiftKeys(const Container &in, int from, int delta)
{
    Container out;
    for (auto it = in.cbegin(); it != in.cend(); ++it) {
        const int key = it.key();
        if (key < from)
            out.insert(key, it.value());
        else if (delta > 0 || key >= from - delta)
            out.insert(key + delta, it.value());
    }
    return out;
}

} // namespace

RyRecordSetModel::RyRecordSetModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int RyRecordSetModel::rowCount(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    return parent.isValid() ? 0 : m_records.size();
}

int RyRecordSetModel::columnCount(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    return parent.isValid() ? 0 : m_header.size();
}

bool RyRecordSetModel::isInside(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    return index.isValid() && index.row() < m_records.size() && index.column() < m_header.size();
}

QVariant RyRecordSetModel::data(const QModelIndex &index, int role) const
{
    if (!isInside(index))
        return QVariant();
    const Record &record = m_records.at(index.row());
    const int stored = storedRole(role);
    if (stored == Qt::DisplayRole)
        return record.display.value(index.column());
    return record.otherRoles.value(index.column()).value(stored);
}

bool RyRecordSetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!isInside(index))
        return false;
    const int stored = storedRole(role);
    Record &record = m_records[index.row()];
    if (stored == Qt::DisplayRole) {
        if (record.display.size() <= index.column())
            record.display.resize(index.column() + 1);
        record.display[index.column()] = value;
    } else {
        record.otherRoles[index.column()].insert(stored, value);
    }
    QVector<int> roles { stored };
    if (stored == Qt::DisplayRole)
        roles << Qt::EditRole;
    emit dataChanged(index, index, roles);
    return true;
}

QVariant RyRecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    return m_header.value(section).value(storedRole(role));
}

bool RyRecordSetModel::setHeaderData(int section, Qt::Orientation orientation,
                                     const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0)
        return false;
    // A header beyond the last section adds the columns up to it, announced as an insertion
    // so that views and proxies see the column count change.
    const int columns = m_header.size();
    if (section >= columns)
        insertColumns(columns, section - columns + 1);
    m_header[section].insert(storedRole(role), value);
    emit headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags RyRecordSetModel::flags(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    // The root is no cell: item views and Qt's model checks expect no flags there.
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

bool RyRecordSetModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_records.size() || count < 1)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    m_records.insert(row, count, Record());
    endInsertRows();
    return true;
}

bool RyRecordSetModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_records.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_records.remove(row, count);
    endRemoveRows();
    return true;
}

bool RyRecordSetModel::insertColumns(int column, int count, const QModelIndex &parent)
{
    const int columns = m_header.size();
    if (parent.isValid() || column < 0 || column > columns || count < 1)
        return false;
    beginInsertColumns(QModelIndex(), column, column + count - 1);
    m_header = shiftKeys(m_header, column, count);
    for (int c = column; c < column + count; ++c)
        m_header.insert(c, {});
    for (Record &record : m_records) {
        if (record.display.size() > column)
            record.display.insert(column, count, QVariant());
        record.otherRoles = shiftKeys(record.otherRoles, column, count);
    }
    endInsertColumns();
    return true;
}

bool RyRecordSetModel::removeColumns(int column, int count, const QModelIndex &parent)
{
    if (parent.isValid() || column < 0 || count < 1 || column + count > m_header.size())
        return false;
    beginRemoveColumns(QModelIndex(), column, column + count - 1);
    m_header = shiftKeys(m_header, column, -count);
    for (Record &record : m_records) {
        if (record.display.size() > column)
            record.display.remove(column, qMin(count, record.display.size() - column));
        record.otherRoles = shiftKeys(record.otherRoles, column, -count);
    }
    endRemoveColumns();
    return true;
}

void RyRecordSetModel::setRecords(const QVariantList &records)
{
    if (records.isEmpty())
        return;
    QVariantList rows = records;
    const QVariant &first = records.first();
    QStringList names;
    if (first.canConvert<QVariantMap>()) {
        names = first.toMap().keys(); // QMap keys come in ascending order
    } else if (first.canConvert<QStringList>()) {
        names = first.toStringList();
        rows.removeFirst();
    }

    beginResetModel();
    m_records.clear();
    m_header.clear();
    for (int i = 0; i < names.size(); ++i)
        m_header[i].insert(Qt::DisplayRole, names.at(i));
    m_records.reserve(rows.size());
    for (const QVariant &element : qAsConst(rows)) {
        Record record;
        if (element.canConvert<QVariantMap>()) {
            const QVariantMap map = element.toMap();
            record.display.resize(names.size());
            for (int i = 0; i < names.size(); ++i)
                record.display[i] = map.value(names.at(i));
        } else {
            record.display = element.toList().toVector();
        }
        m_records.append(record);
    }
    endResetModel();
}
