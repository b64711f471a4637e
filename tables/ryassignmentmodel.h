// One row per activity of a task table, one column per activity code type or user defined
// field type in use: the pivot of a code or field assignment table. Read-only; every cell is
// looked up on request, so building it costs one pass over the activities (and, for tables
// other than the MPP field table, one pass over the assignment rows), never activities x fields.
// Column 0 is the task id; cell (row, k) shows the assignment of type k for the row's task,
// with Qt::UserRole holding the code id (codes) or the field type id (fields).
// The tables are not owned and must outlive the model.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QMap>
#include <QVector>

class MPPUdfValueModel;

class RyAssignmentModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Activity codes: TASKACTV rows (task id, code type id, code id) against ACTVTYPE and ACTVCODE.
    static RyAssignmentModel *activityCodes(QAbstractItemModel *tasks,
                                            QAbstractItemModel *codeAssignments,
                                            QAbstractItemModel *codeTypes,
                                            QAbstractItemModel *codes);
    // User defined fields: UDFVALUE rows (type id, task id, date, text, number) against UDFTYPE.
    static RyAssignmentModel *userDefinedFields(QAbstractItemModel *tasks,
                                                QAbstractItemModel *values,
                                                QAbstractItemModel *types);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    enum class Kind { ActivityCodes, UserDefinedFields };
    struct Column
    {
        QVariant typeKey;
        int typeId = -1; // the MPP field type of typeKey
        QMap<int, QVariant> header;
        // Task id text -> the last assignment row of this type for that task (generic tables).
        QHash<QString, int> assignmentRows;
    };

    RyAssignmentModel(Kind kind, QAbstractItemModel *tasks, QAbstractItemModel *assignments);
    void readTaskIds(QAbstractItemModel *tasks);
    void indexAssignments(int typeColumn, int taskColumn);
    int assignmentRow(int row, int column) const;
    QVariant codeCell(int assignmentRow, int role) const;
    QVariant fieldCell(int assignmentRow, int role) const;

    Kind m_kind;
    QAbstractItemModel *m_assignments;
    QAbstractItemModel *m_codes = nullptr;
    int m_codeNameColumn = -1;
    QVector<QVariant> m_taskIds;
    // Rows whose task id appeared on an earlier row get no assignments.
    QVector<bool> m_firstOfId;
    QVector<Column> m_columns;
    // The MPP value table, where a task's fields are consecutive rows; per row of this model
    // the value table's row of the task's first field, -1 for none.
    const MPPUdfValueModel *m_mppValues = nullptr;
    QVector<int> m_firstValueRows;
};
