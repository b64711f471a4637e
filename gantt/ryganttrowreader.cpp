#include "gantt/ryganttrowreader.h"

#include "gantt/ryganttrowcontroller.h"
#include "models/rymodellookup.h"

const QString RyGanttRowReader::StartField = QStringLiteral("Start Date");
const QString RyGanttRowReader::FinishField = QStringLiteral("Finish Date");

namespace {

// The date fields a bar style may name that the chart reads by role.
struct RoleField
{
    int role;
    const char *field;
};
const RoleField RoleFields[] = {
    { Ry::StartRole, "Start Date" },
    { Ry::FinishRole, "Finish Date" },
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

// A date field of the row found as date() finds it: by its role when it has one, else by the
// column of its name (`column`, -1 for none).
QDateTime fieldDate(const RyGanttRowReader &reader, const QModelIndex &index, int role, int column)
{
    if (role >= 0)
        return reader.value(index, role).toDateTime();
    return column < 0 || !index.isValid() ? QDateTime()
                                          : index.sibling(index.row(), column).data().toDateTime();
}

} // namespace

void RyGanttRowReader::setModel(const QAbstractItemModel *model)
{
    m_model = model;
    forgetColumns();
}

void RyGanttRowReader::forgetColumns()
{
    m_columns.clear();
    m_roleColumns.clear();
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

int RyGanttRowReader::roleColumn(int role) const
{
    auto it = m_roleColumns.constFind(role);
    if (it != m_roleColumns.constEnd())
        return it.value();
    int found = -1;
    const int columns = m_model ? m_model->columnCount() : 0;
    for (int c = 0; c < columns && found < 0; ++c) {
        const QVariant served = m_model->headerData(c, Qt::Horizontal, Ry::ColumnItemRole);
        if (served.isValid() && served.toInt() == role)
            found = c;
    }
    m_roleColumns.insert(role, found);
    return found;
}

QVariant RyGanttRowReader::value(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const QVariant served = index.data(role);
    if (served.isValid())
        return served;
    const int c = roleColumn(role);
    return c < 0 ? QVariant() : index.sibling(index.row(), c).data();
}

QDateTime RyGanttRowReader::date(const QModelIndex &index, const QString &field) const
{
    const int role = roleOfField(field);
    return fieldDate(*this, index, role, role >= 0 ? -1 : column(field));
}

QVariantList RyGanttRowReader::segments(const QModelIndex &index) const
{
    if (!index.isValid())
        return QVariantList();
    const QVariant served = index.data(Ry::SegmentsRole);
    if (served.isValid())
        return served.toList();
    const int c = roleColumn(Ry::StartRole);
    return c < 0 ? QVariantList() : index.sibling(index.row(), c).data(Ry::SegmentsRole).toList();
}

bool RyGanttRowReader::isCritical(const QModelIndex &index) const
{
    const QVariant value = this->value(index, Ry::TotalFloatRole);
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
    const QString text = value(index, Ry::RowTypeRole).toString();
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
    // Start and finish are read above for every row anyway; they widen first and last below.
    QStringList otherFields = moreFields;
    otherFields.removeAll(StartField);
    otherFields.removeAll(FinishField);
    // Each field's role or column found once, not once a row.
    struct Field
    {
        int role;
        int column;
    };
    QVector<Field> fields;
    fields.reserve(otherFields.size());
    for (const QString &field : otherFields) {
        const int role = roleOfField(field);
        fields.append({ role, role >= 0 ? -1 : column(field) });
    }
    rows.forEachRow([&](const QModelIndex &parent, int row) {
        // Each row mapped once through the proxies above the data, not once a date.
        const QModelIndex index
            = RyModelLookup::columnPreservingSource(model->index(row, 0, parent));
        const QDateTime start = value(index, Ry::StartRole).toDateTime();
        if (start.isValid()) {
            const QDate day = start.date();
            if (!range.start.isValid() || day < range.start
                || (day == range.start && start.time() < earliestTime)) {
                range.start = day;
                earliestTime = start.time();
            }
        }
        const QDateTime finish = value(index, Ry::FinishRole).toDateTime();
        if (finish.isValid()) {
            const QDate day = finish.date();
            if (!range.finish.isValid() || day > range.finish
                || (day == range.finish && finish.time() > latestTime)) {
                range.finish = day;
                latestTime = finish.time();
            }
        }
        // Any other field may lie outside the plan (a baseline before every planned start).
        for (const Field &field : fields) {
            const QDate day = fieldDate(*this, index, field.role, field.column).date();
            if (day.isValid() && (!range.first.isValid() || day < range.first))
                range.first = day;
            if (day.isValid() && (!range.last.isValid() || day > range.last))
                range.last = day;
        }
    });
    if (range.start.isValid() && (!range.first.isValid() || range.start < range.first))
        range.first = range.start;
    if (range.finish.isValid() && (!range.last.isValid() || range.finish > range.last))
        range.last = range.finish;
    return range;
}
