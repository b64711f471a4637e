// The links (predecessor/successor relations) the Gantt chart draws between rows of one model,
// with an index of the links by the blocks of shown rows they cross. Links survive layout
// changes (sorting) and are dropped when rows come or go, on a reset or a column change: their
// owner adds them again. The model is not owned.
#pragma once

#include <QMultiHash>
#include <QObject>
#include <QPersistentModelIndex>
#include <QVector>

class QAbstractItemModel;
class RyGanttRowController;

class RyGanttLinkModel : public QObject
{
    Q_OBJECT
public:
    // Type is "FS", "FF", "SS" or "SF". Plain indexes: persistent ones would be walked by the
    // model on every batch of removed rows, which makes filtering a 50,000-row project with as
    // many links crawl.
    struct Link
    {
        QModelIndex successor;
        QModelIndex predecessor;
        QString type;
    };
    // A link whose two rows are shown, with their positions among the shown rows.
    struct RowLink
    {
        int successorRow;
        int predecessorRow;
        const Link *link;
    };

    explicit RyGanttLinkModel(QObject *parent = nullptr);

    // Another model drops every link; the same model again keeps them.
    void setModel(QAbstractItemModel *model);
    QAbstractItemModel *model() const;

    // Links between different models, or from a row to itself, are ignored.
    void addLink(const QModelIndex &successor, const QModelIndex &predecessor,
                 const QString &type = QStringLiteral("FS"));
    // Replaces every link by `links`, with one change signal.
    void setLinks(const QVector<Link> &links);
    void clear();
    int count() const;
    QList<Link> links() const;

    // The links touching shown rows `first` to `last`, each once, in a fixed order. The index
    // behind it is built on first use from `rows` and kept until the links or the rows change.
    QVector<RowLink> linksInRows(int first, int last, const RyGanttRowController &rows) const;
    // The shown rows changed: the row index is rebuilt on next use.
    void invalidateRowIndex();

signals:
    void linksChanged();

private:
    bool insert(const QModelIndex &successor, const QModelIndex &predecessor, const QString &type);
    void drop();
    void holdDuringLayout();
    void restoreAfterLayout();
    void buildRowIndex(const RyGanttRowController &rows) const;

    QAbstractItemModel *m_model = nullptr;
    QVector<QMetaObject::Connection> m_connections;
    QMultiHash<QModelIndex, Link> m_links; // key: successor
    QVector<QPair<QPersistentModelIndex, QPersistentModelIndex>> m_linksDuringLayout;
    QStringList m_typesDuringLayout;
    mutable bool m_rowIndexDirty = true;
    mutable QVector<RowLink> m_rowLinks;
    mutable QVector<QVector<int>> m_blocks;
};
