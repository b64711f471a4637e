#include "tables/mppudfvaluemodel.h"

#include "mppr/project.h"
#include "tables/mppudftypemodel.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int Fields = MPPUdfTypeModel::FieldCount;
}

MPPUdfValueModel::MPPUdfValueModel(QObject *parent)
    : MPPModel(
        QStringLiteral("UDFVALUE"),
        { "udf_type_id", "fk_id", "proj_id", "udf_date", "udf_text", "udf_number", "udf_code_id" },
        ColumnCount, parent)
{
}

void MPPUdfValueModel::setProject(mppr::Project *project)
{
    m_project = project;
    beginResetModel();
    m_tasks.clear();
    m_taskPositions.clear();
    if (project) {
        m_tasks.reserve(project->tasks().size());
        m_taskPositions.reserve(project->tasks().size());
        for (mppr::Task *task : project->tasks()) {
            m_taskPositions.insert(task->uniqueId, m_tasks.size());
            m_tasks.append(task);
        }
    }
    // 120 rows per task must stay within int: beyond that the table shows the tasks that fit.
    const int maxTasks = std::numeric_limits<int>::max() / Fields;
    if (m_tasks.size() > maxTasks)
        m_tasks.resize(maxTasks);
    m_rowCount = m_tasks.size() * Fields;
    endResetModel();
}

QVector<int> MPPUdfValueModel::typeIds() const
{
    QVector<int> ids;
    if (m_rowCount > 0) {
        for (int k = 0; k < Fields; ++k)
            ids.append(k);
    }
    return ids;
}

int MPPUdfValueModel::valueRow(qint32 taskUniqueId, int typeId) const
{
    if (typeId < 0 || typeId >= Fields)
        return -1;
    const int position = m_taskPositions.value(taskUniqueId, -1);
    if (position < 0 || position >= m_tasks.size())
        return -1;
    return position * Fields + typeId;
}

QVariant MPPUdfValueModel::fieldValue(const mppr::Task &t, int k)
{
    if (k < 30)
        return t.texts.at(k);
    if (k < 40)
        return dateValue(t.datesA.at(k - 30));
    if (k < 50)
        return dateValue(t.datesB.at(k - 40));
    if (k < 60)
        return t.numbers.at(k - 50) / 100.0;
    if (k < 70)
        return double(t.integers.at(k - 60));
    // Numbers, dates and flags are kept only where set, in field order.
    const int field = MPPUdfTypeModel::customFieldOfType(k);
    const auto it = std::lower_bound(
        t.customFields.cbegin(), t.customFields.cend(), field,
        [](const mppr::CustomFieldValue &value, int index) { return value.field < index; });
    if (field < 0 || it == t.customFields.cend() || it->field != field)
        return QVariant();
    if (it->value.userType() == QMetaType::Bool)
        return it->value.toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
    if (it->value.userType() == QMetaType::QDateTime)
        return dateValue(it->value.toDateTime());
    return it->value;
}

QVariant MPPUdfValueModel::cell(int row, int column) const
{
    const mppr::Task &t = *m_tasks.at(row / Fields);
    const int k = row % Fields;
    switch (column) {
    case UdfTypeId:
        return k;
    case FkId:
        return uint(t.uniqueId);
    case ProjId:
        return 1;
    case UdfDate:
    case UdfText:
    case UdfNumber:
        return fieldValue(t, k);
    default:
        return QVariant();
    }
}

void MPPUdfValueModel::rowCells(int row, QVariant *cells) const
{
    if (!m_project || row < 0 || row >= m_rowCount) {
        MPPModel::rowCells(row, cells);
        return;
    }
    const mppr::Task &t = *m_tasks.at(row / Fields);
    const int k = row % Fields;
    cells[UdfTypeId] = k;
    cells[FkId] = uint(t.uniqueId);
    cells[ProjId] = 1;
    cells[UdfDate] = fieldValue(t, k);
    cells[UdfText] = cells[UdfDate];
    cells[UdfNumber] = cells[UdfDate];
    cells[UdfCodeId] = QVariant();
}
