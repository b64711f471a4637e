// A filtering proxy that keeps the rows whose filter key column (filterKeyColumn(), read in
// filterRole()) holds a key whole, letter case aside: the relations, codes and assignments of
// one activity out of every one of the project. Each cell's key is read once and kept until
// the source changes, so that going from one key to the next reads no cells. Without a key
// it filters as a QSortFilterProxyModel does.
#pragma once

#include <QSortFilterProxyModel>
#include <QVector>

class RyKeyFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit RyKeyFilterProxyModel(QObject *parent = nullptr);

    void setKey(const QString &key);
    // Keeps no row, without reading a cell, until the next setKey(): what shows before any
    // activity is current costs nothing however large the source.
    void showNoRows();
    QString key() const { return m_key; }
    void setSourceModel(QAbstractItemModel *sourceModel) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QString keyOf(int sourceRow, const QModelIndex &sourceParent) const;
    void forgetKeys() { m_keysValid = false; }
    void onSourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);

    QString m_key;
    bool m_hasKey = false;
    bool m_noRows = false;
    // The folded key of each top-level source row, read on first use.
    mutable QVector<QString> m_keys;
    mutable bool m_keysValid = false;
    QVector<QMetaObject::Connection> m_connections;
};
