#include "tables/rylinkchangemodel.h"

#include "tables/mpptaskpredmodel.h"
#include "tables/rycomparemodel.h"

namespace {

quint64 linkKey(qint32 predecessor, qint32 successor)
{
    return (quint64(quint32(predecessor)) << 32) | quint32(successor);
}

// The joined code and name columns that follow TASKPRED's.
enum JoinedColumn {
    SuccessorCode = MPPTaskPredModel::ColumnCount,
    SuccessorName,
    PredecessorCode,
    PredecessorName,
};

} // namespace

RyLinkChangeModel::RyLinkChangeModel(QAbstractItemModel *links, const RyCompareModel &comparison,
                                     QObject *parent)
    : QAbstractTableModel(parent)
    , m_links(links)
    , m_comparison(comparison)
{
    build();
    if (links) {
        connect(links, &QAbstractItemModel::modelAboutToBeReset, this,
                &RyLinkChangeModel::beginResetModel);
        connect(links, &QAbstractItemModel::modelReset, this, [this] {
            build();
            endResetModel();
        });
        connect(links, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex &from, const QModelIndex &to) {
                    emit dataChanged(index(from.row(), from.column()),
                                     index(to.row(), to.column()));
                });
    }
}

void RyLinkChangeModel::build()
{
    m_linkColumns = m_links ? m_links->columnCount() : 0;
    m_linkRows = m_links ? m_links->rowCount() : 0;
    m_changes.clear();
    m_deleted.clear();
    const RyCompareVersion &older = m_comparison.oldVersion();
    // Each old activity's key in the view, its code and its name.
    struct End
    {
        QVariant key, code, name;
    };
    QHash<qint32, End> ends;
    for (const RyCompareModel::Activity &a : m_comparison.activities()) {
        if (a.oldRow < 0)
            continue;
        const RyCompareVersion::Activity &old = older.activities().at(a.oldRow);
        const QVariant key = a.change == RyCompareModel::ChangeKind::Deleted
            ? QVariant(RyCompareModel::deletedKey(old.uniqueId))
            : QVariant(uint(a.uniqueId));
        ends.insert(old.uniqueId, { key, old.code, old.values[RyCompareVersion::Name] });
    }
    for (const RyCompareModel::Link &link : m_comparison.links()) {
        if (link.change != RyCompareModel::ChangeKind::Deleted) {
            m_changes.insert(linkKey(link.predecessor, link.successor),
                             RyCompareModel::changeName(link.change));
            continue;
        }
        if (link.oldLink < 0 || link.oldLink >= older.links().size())
            continue;
        const RyCompareVersion::Link &old = older.links().at(link.oldLink);
        const End successor = ends.value(link.successor);
        const End predecessor = ends.value(link.predecessor);
        m_deleted.append({ successor.key, predecessor.key, old.type, old.lag, successor.code,
                           successor.name, predecessor.code, predecessor.name });
    }
}

int RyLinkChangeModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_linkColumns ? 0 : m_linkRows + m_deleted.size();
}

int RyLinkChangeModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_linkColumns ? 0 : m_linkColumns + 1;
}

QVariant RyLinkChangeModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || !m_links)
        return QVariant();
    const int row = index.row();
    const int column = index.column();
    if (row < m_linkRows) {
        if (column < m_linkColumns)
            return m_links->index(row, column).data(role);
        if (role != Qt::DisplayRole)
            return QVariant();
        const auto id = [this, row](int column) {
            return qint32(m_links->index(row, column).data().toUInt());
        };
        return m_changes.value(
            linkKey(id(MPPTaskPredModel::PredTaskId), id(MPPTaskPredModel::TaskId)));
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    return deletedCell(m_deleted.at(row - m_linkRows), column);
}

QVariant RyLinkChangeModel::deletedCell(const DeletedLink &link, int column) const
{
    switch (column) {
    case MPPTaskPredModel::TaskId:
        return link.successor;
    case MPPTaskPredModel::PredTaskId:
        return link.predecessor;
    case MPPTaskPredModel::PredProjId:
        return 1;
    case MPPTaskPredModel::PredType:
        return link.type;
    case MPPTaskPredModel::LagHrCnt:
        return link.lag;
    case SuccessorCode:
        return link.successorCode;
    case SuccessorName:
        return link.successorName;
    case PredecessorCode:
        return link.predecessorCode;
    case PredecessorName:
        return link.predecessorName;
    default:
        return column == m_linkColumns
            ? RyCompareModel::changeName(RyCompareModel::ChangeKind::Deleted)
            : QVariant();
    }
}

QVariant RyLinkChangeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section > m_linkColumns || !m_links)
        return QVariant();
    if (section < m_linkColumns)
        return m_links->headerData(section, orientation, role);
    return role == Qt::DisplayRole ? QVariant(QStringLiteral("Change")) : QVariant();
}
