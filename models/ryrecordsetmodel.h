// A small editable table that holds its own cells: records of values per column and role, and
// header values per section and role. Used where no project table stands behind a view.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QMap>
#include <QVector>

class RyRecordSetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RyRecordSetModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool insertColumns(int column, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeColumns(int column, int count, const QModelIndex &parent = QModelIndex()) override;

    // Replaces everything: the first element names the columns (a map's keys, ascending, or a
    // string list that is not loaded as a record); every map or list element becomes a record.
    void setRecords(const QVariantList &records);

private:
    // Display values sit in a plain vector, since nearly every cell has only that role.
    struct Record
    {
        QVector<QVariant> display; // by column
        QHash<int, QHash<int, QVariant>> otherRoles; // column -> role -> value
    };

    bool isInside(const QModelIndex &index) const;

    QVector<Record> m_records;
    QMap<int, QMap<int, QVariant>> m_header; // section -> role -> value
};
