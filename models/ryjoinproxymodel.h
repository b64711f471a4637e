// Widens a flat source table with columns of other flat tables, like a left outer join on a key
// column: each source row shows the chosen columns of the first joined row whose key equals a key
// of the source row. Cells are read and written through to the model that owns them; neither the
// source nor the joined models are owned.
#pragma once

#include "models/ryabstractproxymodel.h"

#include <QHash>
#include <QPair>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QVector>

struct RyJoinMapping
{
    int joinedKeyColumn = -1; // key column in the joined model
    int sourceKeyColumn = -1; // column of the proxy (source or earlier join) holding the key
    QPointer<QAbstractItemModel> model; // the joined model, not owned
    QList<int> columns; // the joined model's columns shown, in order

    bool operator==(const RyJoinMapping &other) const;
};
Q_DECLARE_METATYPE(RyJoinMapping)

class RyJoinProxyModel : public RyAbstractProxyModel
{
    Q_OBJECT

public:
    explicit RyJoinProxyModel(QObject *parent = nullptr);

    bool addJoin(QAbstractItemModel *joined, int joinedKeyColumn, const QList<int> &columns,
                 int sourceKeyColumn);
    bool addJoinAll(QAbstractItemModel *joined, int joinedKeyColumn, int sourceKeyColumn);
    // Takes out every join of `joined` (of a model that is gone, for nullptr) with its columns,
    // announced as column removals; the columns after them move up. A later join keyed on a
    // removed column is left unmatched. False when no join was of that model.
    bool removeJoin(const QAbstractItemModel *joined);
    QAbstractItemModel *sourceModelForColumn(int column) const;
    // The model cell behind the proxy cell (row, column), found without making a proxy index:
    // what many reads of one row go to directly. Invalid for a row without a match, whose
    // cells data() answers itself.
    QModelIndex cellSource(int row, int column) const;
    QList<RyJoinMapping> joins() const { return m_joins.toList(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QMap<int, QVariant> itemData(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool setItemData(const QModelIndex &index, const QMap<int, QVariant> &roles) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QSize span(const QModelIndex &index) const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

public slots:
    void resetMappings();
    void resetMapping(const RyJoinMapping &join);
    void _q_clearMapping();
    void _q_sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                              const QVector<int> &roles);
    void _q_sourceAboutToBeReset();
    void _q_sourceReset();

private:
    struct Resolved
    {
        QAbstractItemModel *model = nullptr;
        int column = -1;
        int join = -1; // -1 for a source column
    };
    Resolved resolve(int column) const;
    int sourceColumnCount() const;
    int joinedColumnCount() const;
    QVector<int> buildRowMap(int join) const;
    void rebuildAllMaps();
    void connectSource(QAbstractItemModel *model,
                       QVector<QMetaObject::Connection> &connections) override;
    void resetSourceState() override;
    void sourceLayoutAboutToBeChanged() override;
    void sourceLayoutChanged() override;
    // Row insertions and removals in the source keep the row maps and overrides in step.
    void onSourceRowsAboutToBeInserted(const QModelIndex &parent, int first, int last);
    void onSourceRowsInserted(const QModelIndex &parent, int first, int last);
    void onSourceRowsAboutToBeRemoved(const QModelIndex &parent, int first, int last);
    void onSourceRowsRemoved(const QModelIndex &parent, int first, int last);
    void shiftRows(int first, int delta);
    void removeJoinAt(int join, int firstColumn);

    // Every cell read resolves its column: the columns are resolved once per change of the
    // joins or of the source's columns instead of walking the joins each time.
    void buildColumns() const;
    void invalidateColumns() { m_columnsBuilt = false; }

    QVector<RyJoinMapping> m_joins;
    QVector<QVector<int>> m_rowMaps; // per join: proxy row -> joined row, or -1
    mutable bool m_columnsBuilt = false;
    mutable int m_sourceColumns = 0;
    mutable QVector<QPair<int, int>> m_columns; // proxy column -> (join or -1, its column)
    QHash<QPair<int, int>, QVariant> m_overrides; // (row, column) -> value written without a cell
};
