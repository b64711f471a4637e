// What the flat-source proxies share, kept in one place the way Qt keeps it in its proxies'
// private classes: the connections to the source, detaching from a null source, and following
// the source's rows across a layout change.
#pragma once

#include <QAbstractProxyModel>
#include <QHash>
#include <QPersistentModelIndex>
#include <QVector>

#include <functional>

class RyAbstractProxyModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit RyAbstractProxyModel(QObject *parent = nullptr);

    // Drops the old source's connections and takes `model` inside one reset; a null model
    // leaves the proxy empty and attached to nothing, as Qt's own proxies do.
    void setSourceModel(QAbstractItemModel *model) override;
    QModelIndex sibling(int row, int column, const QModelIndex &index) const override;
    // Every cell is its own buddy.
    QModelIndex buddy(const QModelIndex &index) const override;
    // Whether rowCount(parent) has rows: asked of the proxy's own rows, not of the source's.
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    // The source's columns and horizontal headers, unchanged: a proxy that adds columns
    // answers these itself.
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

protected:
    // Connects the proxy to a new, non-null source; the connections made are appended to
    // `connections` and dropped when the source changes again.
    virtual void connectSource(QAbstractItemModel *model,
                               QVector<QMetaObject::Connection> &connections)
        = 0;
    // Rebuilds the proxy's own state for the source just set (none included), inside the reset.
    virtual void resetSourceState() = 0;
    // The source's layout is about to change / has changed (the base connects both, and passes
    // header changes on itself); see beginSourceLayoutChange.
    virtual void sourceLayoutAboutToBeChanged() = 0;
    virtual void sourceLayoutChanged() = 0;

    // A source layout change renumbers the source rows. beginSourceLayoutChange announces it
    // and remembers the source rows `rowsToFollow` names, given the proxy's persistent indexes
    // (those the views hold once told). Until endSourceLayoutChange the proxy asks where a
    // remembered row went; that call moves every persistent index to what `moveIndex` makes of
    // it and announces the new layout.
    void beginSourceLayoutChange(
        const std::function<QVector<int>(const QModelIndexList &persistent)> &rowsToFollow);
    void endSourceLayoutChange(const std::function<QModelIndex(const QModelIndex &)> &moveIndex);
    bool isInSourceLayoutChange() const { return m_inSourceLayoutChange; }
    // The row a remembered source row has now; -1 when it went or was not remembered.
    int movedSourceRow(int oldRow) const;

private:
    QVector<QMetaObject::Connection> m_sourceConnections;
    QModelIndexList m_layoutProxyIndexes;
    QHash<int, QPersistentModelIndex> m_layoutSourceRows; // old source row -> where it is now
    bool m_inSourceLayoutChange = false;
};
