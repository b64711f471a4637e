#include "gantt/ryganttrowreader.h"

#include "gantt/ryganttrowcontroller.h"
#include "models/rymodellookup.h"

const QString RyGanttRowReader::StartField = QStringLiteral("Start Date");
const QString RyGanttRowReader::FinishField = QStringLiteral("Finish Date");

namespace {

// The fields the chart reads by role, with the column each role stands for.
struct RoleField
{
    int role;
    const char *field;
};
const RoleField RoleFields[] = {
    { Ry::StartRole, "Start Date" },
    { Ry::FinishRole, "Finish Date" },
    { Ry::TotalFloatRole, "Total float" },
    { Ry::BaselineStartRole, "BL Project Start" },
    { Ry::BaselineFinishRole, "BL Project Finish" },
};

int roleOfField(const QString &field)
{
    for (const RoleField &entry : RoleFields) {
        if (field == QLatin1String(entry.field))
            return entry.role;
    }
    return -1;
}

QString fieldOfRole(int role)
{
    for (const RoleField &entry : RoleFields) {
        if (entry.role == role)
            return QString::fromLatin1(entry.field);
    }
    return QString();
}

} // namespace

void RyGanttRowReader::setModel(const QAbstractItemModel *model)
{
    m_model = model;
    m_columns.clear();
}

void RyGanttRowReader::forgetColumns()
{
    m_columns.clear();
}

int RyGanttRowReader::column(const QString &field) const
{
    auto it = m_columns.constFind(field);
    if (it != m_columns.constEnd())
        return it.value();
    const int found = RyModelLookup::findColumn(m_model, field);
    m_columns.insert(field, found);
    return found;
}

QVariant RyGanttRowReader::value(const QModelIndex &index, int role, const QString &field) const
{
    if (!index.isValid())
        return QVariant();
    if (role >= 0) {
        const QVariant served = index.data(role);
        if (served.isValid())
            return served;
    }
    const int c = column(field);
    return c < 0 ? QVariant() : index.sibling(index.row(), c).data();
}

QDateTime RyGanttRowReader::date(const QModelIndex &index, const QString &field) const
{
    return value(index, roleOfField(field), field).toDateTime();
}

bool RyGanttRowReader::isCritical(const QModelIndex &index) const
{
    const QVariant value = this->value(index, Ry::TotalFloatRole, fieldOfRole(Ry::TotalFloatRole));
    if (value.isNull())
        return false;
    bool ok = false;
    const double totalFloat = value.toDouble(&ok);
    return ok && totalFloat <= 0;
}

Ry::RowType RyGanttRowReader::rowType(const QModelIndex &index) const
{
    if (!m_model || !index.isValid())
        return Ry::NoRowType;
    if (m_model->hasChildren(index.sibling(index.row(), 0)))
        return Ry::SummaryRow;
    QVariant type = index.data(Ry::RowTypeRole);
    if (!type.isValid()) {
        if (m_activityTypeColumn < 0)
            return Ry::NoRowType;
        type = index.sibling(index.row(), m_activityTypeColumn).data();
    }
    const QString text = type.toString();
    if (text.contains(QLatin1String("task"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("level"), Qt::CaseInsensitive))
        return Ry::TaskRow;
    if (text.contains(QLatin1String("mile"), Qt::CaseInsensitive))
        return Ry::MilestoneRow;
    return Ry::NoRowType;
}

RyGanttRowReader::Range RyGanttRowReader::range(const RyGanttRowController &rows,
                                                const QStringList &moreFields) const
{
    // Local date and time compared field by field: ordering local date-times as instants would
    // cost a time-zone conversion per row.
    Range range;
    QTime earliestTime, latestTime;
    const QAbstractItemModel *model = m_model;
    if (!model)
        return range;
    QStringList fields { StartField, FinishField };
    for (const QString &field : moreFields) {
        if (!field.isEmpty() && !fields.contains(field))
            fields.append(field);
    }
    // Any field may lie outside the others (a baseline before every planned start), so each
    // one widens the range at both ends.
    rows.forEachRow([&](const QModelIndex &parent, int row) {
        const QModelIndex index = model->index(row, 0, parent);
        for (const QString &field : qAsConst(fields)) {
            const QDateTime value = date(index, field);
            if (!value.isValid())
                continue;
            const QDate day = value.date();
            if (!range.start.isValid() || day < range.start
                || (day == range.start && value.time() < earliestTime)) {
                range.start = day;
                earliestTime = value.time();
            }
            if (!range.finish.isValid() || day > range.finish
                || (day == range.finish && value.time() > latestTime)) {
                range.finish = day;
                latestTime = value.time();
            }
        }
    });
    return range;
}
