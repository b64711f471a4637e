#include "tables/mppmodel.h"

#include <algorithm>

#include "models/ryconstants.h"
#include "mppr/project.h"

MPPModel::MPPModel(const QStringList &columnIds, QObject *parent)
    : QAbstractItemModel(parent)
    , m_columnIds(columnIds)
{
}

MPPModel::MPPModel(const QString &tableName, const QStringList &columnIds, int columnCount,
                   QObject *parent)
    : MPPModel(columnIds, parent)
{
    setObjectName(tableName);
    Q_ASSERT(columnIds.size() == columnCount);
    Q_UNUSED(columnCount)
}

QModelIndex MPPModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!m_project || parent.isValid() || row < 0 || row >= m_rowCount || column < 0
        || column >= m_columnIds.size())
        return QModelIndex();
    return createIndex(row, column, rowPointer(row));
}

QModelIndex MPPModel::parent(const QModelIndex &) const
{
    return QModelIndex();
}

int MPPModel::rowCount(const QModelIndex &parent) const
{
    if (!m_project || parent.isValid())
        return 0;
    return m_rowCount;
}

int MPPModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columnIds.size();
}

bool MPPModel::inRange(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    return m_project && index.isValid() && index.model() == this && !index.parent().isValid()
        && index.row() < m_rowCount && index.column() < m_columnIds.size();
}

QVariant MPPModel::data(const QModelIndex &index, int role) const
{
    if (!inRange(index))
        return QVariant();
    if (role == Qt::ToolTipRole)
        return toolTip(index.row(), index.column());
    return role == Qt::DisplayRole ? cell(index.row(), index.column()) : QVariant();
}

void MPPModel::rowCells(int row, QVariant *cells) const
{
    const bool valid = m_project && row >= 0 && row < m_rowCount;
    const int columns = m_columnIds.size();
    for (int column = 0; column < columns; ++column)
        cells[column] = valid ? cell(row, column) : QVariant();
}

QVariant MPPModel::toolTip(int, int) const
{
    return QVariant();
}

QString MPPModel::noteSummary(const QString &notes)
{
    constexpr int MaximumLength = 120;
    const QString text = notes.trimmed();
    int end = 0;
    while (end < text.size() && text.at(end) != QLatin1Char('\n')
           && text.at(end) != QLatin1Char('\r'))
        ++end;
    end = std::min(end, MaximumLength);
    if (end == text.size())
        return text;
    return text.left(end).trimmed() + QChar(0x2026);
}

QVariant MPPModel::noteValue(const QString &notes, int role)
{
    if (notes.isEmpty())
        return QVariant();
    return role == Qt::ToolTipRole ? QVariant(notes) : QVariant(noteSummary(notes));
}

QVariant MPPModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columnIds.size()
        || section >= m_columns.size())
        return QVariant();
    const ColumnInfo &info = m_columns.at(section);
    switch (role) {
    case Qt::DisplayRole:
        return info.display;
    case Ry::ColumnIdRole:
        return info.id;
    case Ry::ColumnGroupRole:
        return info.group;
    case Ry::ColumnDescriptionRole:
        return info.attributes;
    case Ry::ColumnItemRole: {
        const int itemRole = itemRoleOfColumn(section);
        return itemRole < 0 ? QVariant() : QVariant(itemRole);
    }
    default:
        return QVariant();
    }
}

bool MPPModel::setData(const QModelIndex &, const QVariant &, int)
{
    return false;
}

bool MPPModel::isColumnWritable(int) const
{
    return false;
}

int MPPModel::itemRoleOfColumn(int) const
{
    return -1;
}

void MPPModel::setProject(mppr::Project *project)
{
    m_project = project;
}

void MPPModel::setColumns(const QVariantMap &descriptions)
{
    m_columns.clear();
    m_columns.reserve(m_columnIds.size());
    for (const QString &id : qAsConst(m_columnIds)) {
        QVariantMap description = descriptions.value(id).toMap();
        if (!descriptions.contains(id)) {
            description = QVariantMap {
                { "display", id }, { "id", id }, { "group", "Other" }, { "datatype", "string" }
            };
        }
        m_columns.append(ColumnInfo { description.value("group").toString(), id,
                                      description.value("display").toString(), description });
    }
}

QVariant MPPModel::dateValue(const QDateTime &date)
{
    if (mppr::isUnset(date) || !date.isValid())
        return QVariant();
    return date;
}

void *MPPModel::rowPointer(int) const
{
    return nullptr;
}
