// Groups the rows of an item model by the value of one column: for each distinct key, the rows
// that carry it and a display value. Used to find the code types and user defined fields in use,
// to group activities, and to fill the value lists of the column filter.
// The model is not owned and must outlive the index.
#pragma once

#include "models/ryvalueorder.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QVariant>

#include <map>

class QAbstractItemModel;
class QModelIndex;
class QStandardItem;
class QStandardItemModel;

class RyIndex
{
public:
    struct Entry
    {
        QSet<int> rows;
        QVariant display;
        QVariant parentKey; // invalid at the top level
        QList<QVariant> children; // child keys, in the order they were linked
    };
    using Entries = std::map<QVariant, Entry, RyValueOrder>;

    RyIndex(QAbstractItemModel *model, int keyColumn);
    virtual ~RyIndex();

    // Fills a key hierarchy from a table (key, parent key and display columns, display role;
    // without a display column or value the key shows). Parents are linked wherever the table
    // lists them. Returns the model's row count.
    virtual int build(QAbstractItemModel *model, int keyColumn, int parentKeyColumn,
                      int displayColumn);
    // The key of a cell; rows with an invalid key are not indexed.
    virtual QVariant key(const QModelIndex &index, int role) const;
    // The display value of a key.
    virtual QVariant display(const QVariant &key) const;
    // The display value of a key listed below a key that names its larger unit (a month
    // below its year); the display value itself unless a subclass shortens it.
    virtual QVariant shortDisplay(const QVariant &key) const { return displayValue(key); }

    // Indexes the first `rowCount` rows of the model (-1: all) by the key of their cell in
    // the key column.
    void index(int role = Qt::DisplayRole, int rowCount = -1);
    // Indexes rows as a tree below the keys of `hierarchy` (filled by build()): a row's cell
    // is matched to a hierarchy key by its text, and the row is held by the entry of that key,
    // or of its ancestor at `maxLevel` (0: all levels). The entries on the way down are linked
    // to their parents, siblings in ascending key order.
    void indexBelow(const RyIndex &hierarchy, int role, int maxLevel, int rowCount = -1);

    QAbstractItemModel *model() const { return m_model; }
    int keyColumn() const { return m_keyColumn; }
    bool isEmpty() const { return m_entries.empty(); }
    bool contains(const QVariant &key) const { return m_entries.count(key) > 0; }
    // Keys in ascending order.
    QList<QVariant> keys() const;
    QSet<int> rows(const QVariant &key) const;
    QVariant displayValue(const QVariant &key) const;
    QVariant parentKey(const QVariant &key) const;
    QList<QVariant> children(const QVariant &key) const;
    // The keys from the top of the hierarchy down to `key`; a cycle ends the walk.
    QList<QVariant> path(const QVariant &key) const;
    // The keys without a parent, in ascending order.
    QList<QVariant> topLevelKeys() const;
    const Entries &entries() const { return m_entries; }

    // One checkable, checked item per key in ascending order (text = display value,
    // Qt::UserRole = key); with leaf rows, each key item gets one child per row showing the
    // row's cell, sorted ascending.
    virtual void fillItemModel(QStandardItemModel *itemModel, bool addLeafRows) const;

protected:
    static QStandardItem *newCheckedItem(const QVariant &display);
    void appendLeafRows(QStandardItem *item, const QSet<int> &rows) const;

    QAbstractItemModel *m_model = nullptr;
    int m_keyColumn = -1;
    Entries m_entries;
};
