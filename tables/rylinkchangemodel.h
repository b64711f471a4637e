// The links of the new version as the details pane lists them, marked by a comparison: the rows
// of the predecessor model (TASKPRED's columns, then the successor's code and name, then the
// predecessor's) with a last column "Change" ("added", "changed", empty for an unchanged link),
// followed by one row per deleted link, its cells the old version's. A deleted link's ends are
// keyed as the activity view keys them: the new version's unique ID where the activity still
// exists, RyCompareModel::deletedKey() where it went with the link.
// The comparison and the links model are not owned and must outlive this model.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QVector>

class RyCompareModel;

class RyLinkChangeModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    RyLinkChangeModel(QAbstractItemModel *links, const RyCompareModel &comparison,
                      QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    int changeColumn() const { return m_linkColumns; }

private:
    struct DeletedLink
    {
        QVariant successor, predecessor; // keys
        QVariant type, lag;
        QVariant successorCode, successorName, predecessorCode, predecessorName;
    };

    void build();
    QVariant deletedCell(const DeletedLink &link, int column) const;

    QPointer<QAbstractItemModel> m_links;
    const RyCompareModel &m_comparison;
    int m_linkColumns = 0;
    int m_linkRows = 0;
    // (predecessor, successor) of an added or changed link -> its change name.
    QHash<quint64, QString> m_changes;
    QVector<DeletedLink> m_deleted;
};
