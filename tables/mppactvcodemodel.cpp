#include "tables/mppactvcodemodel.h"

#include "mppr/project.h"

#include <QHash>

namespace {

// Whether following the parents from `uniqueId` reaches the top level; a missing parent ends
// the walk there too, a cycle (or a chain longer than the list) does not.
bool reachesTop(const QHash<qint32, qint32> &parents, qint32 uniqueId)
{
    for (int step = 0; step <= parents.size(); ++step) {
        const auto it = parents.constFind(uniqueId);
        if (it == parents.cend() || it.value() == 0)
            return true;
        uniqueId = it.value();
    }
    return false;
}

} // namespace

MPPActvCodeModel::MPPActvCodeModel(QObject *parent)
    : MPPModel(QStringLiteral("ACTVCODE"),
               { "actv_code_id", "actv_code_type_id", "seq_num", "short_name",
                 "parent_actv_code_id", "actv_code_name", "color", "update_date", "update_user",
                 "create_date", "create_user", "delete_session_id", "delete_date" },
               ColumnCount, parent)
{
}

void MPPActvCodeModel::setProject(mppr::Project *project)
{
    beginResetModel();
    m_project = project;
    m_rows.clear();
    const QVector<mppr::OutlineCode> codes
        = project ? project->outlineCodes() : QVector<mppr::OutlineCode>();
    for (int c = 0; c < codes.size(); ++c) {
        const mppr::OutlineCode &code = codes.at(c);
        QHash<qint32, qint32> parents;
        for (const mppr::OutlineCodeValue &value : code.values)
            parents.insert(value.uniqueId, value.parentUniqueId);
        for (int v = 0; v < code.values.size(); ++v) {
            const mppr::OutlineCodeValue &value = code.values.at(v);
            const bool keepParent = value.parentUniqueId != 0
                && parents.contains(value.parentUniqueId) && reachesTop(parents, value.uniqueId);
            m_rows.append(
                { c, v, keepParent ? value.parentUniqueId : 0, code.path(value.uniqueId) });
        }
    }
    m_rowCount = m_rows.size();
    endResetModel();
}

QVariant MPPActvCodeModel::cell(int row, int column) const
{
    const Row &entry = m_rows.at(row);
    const mppr::OutlineCode &code = m_project->outlineCodes().at(entry.code);
    const mppr::OutlineCodeValue &value = code.values.at(entry.value);
    switch (column) {
    case ActvCodeId:
        return value.uniqueId;
    case ActvCodeTypeId:
        return code.number;
    case SeqNum:
        return entry.value;
    case ShortName:
        return value.value;
    case ParentActvCodeId:
        return entry.parent == 0 ? QVariant() : QVariant(entry.parent);
    case ActvCodeName:
        return entry.name;
    default:
        return QVariant();
    }
}
