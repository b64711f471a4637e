#include "tables/mpptaskactivemodel.h"

#include "mppr/project.h"

#include <QHash>

#include <algorithm>
#include <tuple>

MPPTaskActiveModel::MPPTaskActiveModel(QObject *parent)
    : MPPModel(
        { "task_id", "actv_code_type_id", "actv_code_id", "proj_id", "update_date", "update_user" },
        parent)
{
}

void MPPTaskActiveModel::setProject(mppr::Project *project)
{
    beginResetModel();
    m_project = project;
    m_rows.clear();
    if (project) {
        // The reader gives a task's outline code as its value's text: find the value by it.
        QHash<int, QHash<QString, qint32>> valueOfText;
        for (const mppr::OutlineCode &code : project->outlineCodes()) {
            QHash<QString, qint32> &values = valueOfText[code.number];
            for (const mppr::OutlineCodeValue &value : code.values) {
                const QString text = code.path(value.uniqueId);
                if (!values.contains(text))
                    values.insert(text, value.uniqueId);
            }
        }
        for (const mppr::Task *task : project->tasks()) {
            for (const mppr::CustomFieldValue &field : task->customFields) {
                if (mppr::customFieldKind(field.field) != mppr::CustomFieldKind::OutlineCode)
                    continue;
                const int number = mppr::customFieldNumber(field.field);
                const auto values = valueOfText.constFind(number);
                if (values == valueOfText.cend())
                    continue;
                const auto value = values->constFind(field.value.toString());
                if (value != values->cend())
                    m_rows.append({ task->uniqueId, number, value.value() });
            }
        }
        std::sort(m_rows.begin(), m_rows.end(), [](const Row &a, const Row &b) {
            return std::tie(a.taskUniqueId, a.codeNumber) < std::tie(b.taskUniqueId, b.codeNumber);
        });
    }
    m_rowCount = m_rows.size();
    endResetModel();
}

QVariant MPPTaskActiveModel::cell(int row, int column) const
{
    const Row &entry = m_rows.at(row);
    switch (column) {
    case TaskId:
        return uint(entry.taskUniqueId);
    case ActvCodeTypeId:
        return entry.codeNumber;
    case ActvCodeId:
        return entry.valueUniqueId;
    case ProjId:
        return 1;
    default:
        return QVariant();
    }
}
