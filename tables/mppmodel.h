// Base of the ten flat, read-only tables that show an MPP project shaped like Primavera P6 tables.
// A model keeps pointers into the project (or small per-row records) and computes every cell on
// request; the project owns the records and must outlive the model.
#pragma once

#include <QAbstractItemModel>
#include <QDateTime>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

namespace mppr {
class Project;
}

// One model column as the schema describes it; `attributes` is the whole description map.
struct ColumnInfo
{
    QString group;
    QString id;
    QString display;
    QVariantMap attributes;
};

class MPPModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit MPPModel(const QStringList &columnIds, QObject *parent = nullptr);
    // A table named `tableName` (its object name) whose columns follow an enum of `columnCount`.
    MPPModel(const QString &tableName, const QStringList &columnIds, int columnCount,
             QObject *parent);

    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Fills the rows from the project inside a model reset; the base only stores the pointer.
    virtual void setProject(mppr::Project *project);

    // One description per column id; columns without one get a default "Other"/"string" one.
    void setColumns(const QVariantMap &descriptions);

    mppr::Project *project() const { return m_project; }
    QStringList columnIds() const { return m_columnIds; }
    // Whether setData can ever succeed on a column; the derived-model steps skip writes that
    // every row would refuse.
    virtual bool isColumnWritable(int column) const;
    // The item role of models/ryconstants.h a column stands for, served as its
    // Ry::ColumnItemRole header; -1 for none.
    virtual int itemRoleOfColumn(int column) const;
    // The display values of every column of `row`, as data() gives them, into `cells` (room for
    // columnCount() values; none for a row out of range): readers of whole rows are spared an
    // index and a lookup per cell.
    virtual void rowCells(int row, QVariant *cells) const;
    // Position of a column id, or -1.
    int columnOf(const QString &id) const { return m_columnIds.indexOf(id); }

    // The reader's unset date shows as no value.
    static QVariant dateValue(const QDateTime &date);
    // What a table cell shows of a note: its first line, at most 120 characters, followed by
    // "…" where the note holds more; empty for no note.
    static QString noteSummary(const QString &notes);
    // A note column's cell: the summary, with the whole note as its tool tip; none without one.
    static QVariant noteValue(const QString &notes, int role);

protected:
    // The display value of an in-range cell of a model with a project.
    virtual QVariant cell(int row, int column) const = 0;
    // The tool tip of an in-range cell (a note column's whole note); none by default.
    virtual QVariant toolTip(int row, int column) const;
    // Internal pointer carried by the indexes of a row (the task record for TASK and PROJWBS).
    virtual void *rowPointer(int row) const;
    bool inRange(const QModelIndex &index) const;

    mppr::Project *m_project = nullptr;
    int m_rowCount = 0;

private:
    QStringList m_columnIds;
    QVector<ColumnInfo> m_columns;
};
