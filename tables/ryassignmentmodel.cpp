#include "tables/ryassignmentmodel.h"

#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "mppr/customfields.h"
#include "tables/mppudftypemodel.h"
#include "tables/mppudfvaluemodel.h"
#include "tables/ryindex.h"

#include <QSet>

using RyModelLookup::findColumn;
using RyModelLookup::verticalLookup;

namespace {

// Keys are compared as texts in the lookup hashes: ids arrive as int or unsigned int
// depending on the table, and QVariant equality treats those alike too.
QString keyText(const QVariant &value)
{
    return value.toString();
}

QVariant cellAt(const QAbstractItemModel *model, int row, int column)
{
    return model->index(row, column).data(Qt::DisplayRole);
}

} // namespace

RyAssignmentModel::RyAssignmentModel(Kind kind, QAbstractItemModel *tasks,
                                     QAbstractItemModel *assignments)
    : m_kind(kind)
    , m_assignments(assignments)
{
    readTaskIds(tasks);
}

RyAssignmentModel *RyAssignmentModel::activityCodes(QAbstractItemModel *tasks,
                                                    QAbstractItemModel *codeAssignments,
                                                    QAbstractItemModel *codeTypes,
                                                    QAbstractItemModel *codes)
{
    auto *model = new RyAssignmentModel(Kind::ActivityCodes, tasks, codeAssignments);
    model->m_codes = codes;
    model->m_codeNameColumn = findColumn(codes, "Code Name");
    const int typeColumn = findColumn(codeAssignments, "actv_code_type_id");
    RyIndex types(codeAssignments, typeColumn);
    types.index();
    for (const QVariant &key : types.keys()) {
        const QString name = verticalLookup(key, codeTypes, 3, 0).data().toString();
        Column column;
        column.typeKey = key;
        column.header.insert(Qt::DisplayRole, name);
        column.header.insert(Ry::ColumnGroupRole, QStringLiteral("Codes"));
        // Layouts name the column by its code type, which stays the same from file to file
        // while the header follows the alias.
        column.header.insert(Ry::ColumnIdRole, QStringLiteral("actv_code_type_id=") + keyText(key));
        // The description's id is the same for every code column, as the activity table
        // schema gives it.
        column.header.insert(Ry::ColumnDescriptionRole,
                             QVariantMap { { "id", 117 },
                                           { "display", name },
                                           { "group", "Codes" },
                                           { "datatype", "string" },
                                           { "structure", true } });
        model->m_columns.append(column);
    }
    model->indexAssignments(typeColumn, 0);
    return model;
}

RyAssignmentModel *RyAssignmentModel::userDefinedFields(QAbstractItemModel *tasks,
                                                        QAbstractItemModel *values,
                                                        QAbstractItemModel *types)
{
    auto *model = new RyAssignmentModel(Kind::UserDefinedFields, tasks, values);
    QList<QVariant> keys;
    const auto *mppValues = qobject_cast<const MPPUdfValueModel *>(values);
    if (mppValues) {
        for (int id : mppValues->typeIds())
            keys.append(id);
    } else {
        RyIndex index(values, 0);
        index.index();
        keys = index.keys();
    }
    const int labelColumn = findColumn(types, "Label");
    const auto *mppTypes = qobject_cast<const MPPUdfTypeModel *>(types);
    for (const QVariant &key : qAsConst(keys)) {
        Column column;
        column.typeKey = key;
        column.typeId = mppValues ? key.toInt() : -1;
        const QString label = verticalLookup(key, types, labelColumn, 0).data().toString();
        column.header.insert(Qt::DisplayRole, label);
        column.header.insert(Ry::ColumnGroupRole, QStringLiteral("User Defined"));
        column.header.insert(Ry::ColumnIdRole, QStringLiteral("udf_type_id=") + keyText(key));
        // A field under its alias is offered with its own name too: "Contractor (Text1)".
        if (mppTypes && label != mppTypes->defaultLabel(key.toInt())) {
            const int field = MPPUdfTypeModel::customFieldOfType(key.toInt());
            column.header.insert(
                Ry::ColumnChoiceTextRole,
                QStringLiteral("%1 (%2)").arg(label, mppr::customFieldName(field)));
        }
        model->m_columns.append(column);
    }
    // The MPP value table finds a task's field row in constant time; others are scanned once.
    if (mppValues) {
        model->m_mppValues = mppValues;
        const int rows = model->m_taskIds.size();
        model->m_firstValueRows.resize(rows);
        for (int row = 0; row < rows; ++row) {
            model->m_firstValueRows[row] = model->m_firstOfId.at(row)
                ? mppValues->valueRow(qint32(model->m_taskIds.at(row).toUInt()), 0)
                : -1;
        }
    } else {
        model->indexAssignments(0, 1);
    }
    return model;
}

void RyAssignmentModel::readTaskIds(QAbstractItemModel *tasks)
{
    const int idColumn = findColumn(tasks, "task_id");
    const int rows = tasks->rowCount();
    m_taskIds.resize(rows);
    m_firstOfId.resize(rows);
    // Whole-number ids (the usual case) are told apart without building texts.
    QSet<qint64> seenNumbers;
    QSet<QString> seenTexts;
    seenNumbers.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const QVariant id = idColumn < 0 ? QVariant() : cellAt(tasks, row, idColumn);
        m_taskIds[row] = id;
        const int type = id.userType();
        if (type == QMetaType::Int || type == QMetaType::UInt || type == QMetaType::LongLong) {
            const qint64 number = id.toLongLong();
            m_firstOfId[row] = !seenNumbers.contains(number);
            seenNumbers.insert(number);
        } else {
            const QString text = keyText(id);
            m_firstOfId[row] = !seenTexts.contains(text);
            seenTexts.insert(text);
        }
    }
}

void RyAssignmentModel::indexAssignments(int typeColumn, int taskColumn)
{
    if (typeColumn < 0 || !m_assignments)
        return;
    QHash<QString, int> columnOfType;
    for (int column = 0; column < m_columns.size(); ++column)
        columnOfType.insert(keyText(m_columns.at(column).typeKey), column);
    const int rows = m_assignments->rowCount();
    for (int row = 0; row < rows; ++row) {
        const QVariant type = cellAt(m_assignments, row, typeColumn);
        if (!type.isValid())
            continue;
        const int column = columnOfType.value(keyText(type), -1);
        if (column < 0)
            continue;
        // A later assignment of the same type to the same task replaces the earlier one.
        m_columns[column].assignmentRows.insert(keyText(cellAt(m_assignments, row, taskColumn)),
                                                row);
    }
}

int RyAssignmentModel::assignmentRow(int row, int column) const
{
    if (!m_firstOfId.at(row))
        return -1;
    const Column &info = m_columns.at(column);
    if (m_mppValues) {
        const int first = m_firstValueRows.at(row);
        return first < 0 ? -1 : first + info.typeId;
    }
    return info.assignmentRows.value(keyText(m_taskIds.at(row)), -1);
}

int RyAssignmentModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_taskIds.size();
}

int RyAssignmentModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1 + m_columns.size();
}

QVariant RyAssignmentModel::data(const QModelIndex &index, int role) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    // A table's indexes have no parent: the model and the bounds are all there is to check,
    // cheaply, as every cell of the activity view comes this way.
    if (!index.isValid() || index.model() != this || index.row() >= m_taskIds.size()
        || index.column() > m_columns.size())
        return QVariant();
    const bool display = role == Qt::DisplayRole || role == Qt::EditRole;
    if (index.column() == 0)
        return display ? m_taskIds.at(index.row()) : QVariant();
    if (!display && role != Qt::UserRole)
        return QVariant();
    const int row = assignmentRow(index.row(), index.column() - 1);
    if (row < 0)
        return QVariant();
    return m_kind == Kind::ActivityCodes ? codeCell(row, role) : fieldCell(row, role);
}

QVariant RyAssignmentModel::codeCell(int assignmentRow, int role) const
{
    const QVariant codeId = cellAt(m_assignments, assignmentRow, 2);
    if (role == Qt::UserRole)
        return codeId;
    return verticalLookup(codeId, m_codes, m_codeNameColumn, 0).data();
}

QVariant RyAssignmentModel::fieldCell(int assignmentRow, int role) const
{
    if (role == Qt::UserRole)
        return cellAt(m_assignments, assignmentRow, 0);
    // The MPP table shows a field's one value in each of the three columns.
    if (m_mppValues)
        return cellAt(m_assignments, assignmentRow, MPPUdfValueModel::UdfDate);
    // The date, else the text, else the number.
    for (int column : { 3, 4 }) {
        const QVariant value = cellAt(m_assignments, assignmentRow, column);
        if (!value.isNull())
            return value;
    }
    return cellAt(m_assignments, assignmentRow, 5);
}

QVariant RyAssignmentModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole && section >= 0 && section < rowCount() ? section + 1
                                                                               : QVariant();
    if (section == 0)
        return role == Qt::DisplayRole ? QStringLiteral("task_id") : QVariant();
    if (section < 0 || section > m_columns.size())
        return QVariant();
    return m_columns.at(section - 1).header.value(role);
}
