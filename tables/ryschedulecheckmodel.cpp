#include "tables/ryschedulecheckmodel.h"

namespace {

QString numberText(double value)
{
    return QString::number(value, 'g', value == int(value) ? 10 : 4);
}

} // namespace

RyScheduleCheckModel::RyScheduleCheckModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void RyScheduleCheckModel::setCheck(const RyScheduleCheck &check)
{
    beginResetModel();
    m_check = check;
    endResetModel();
}

int RyScheduleCheckModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_check.checks().size();
}

int RyScheduleCheckModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString RyScheduleCheckModel::ratioText(const RyScheduleCheck::Check &check)
{
    if (!check.ratio)
        return QString();
    if (check.number >= 13)
        return QString::number(*check.ratio, 'f', 2);
    return QString::number(*check.ratio * 100, 'f', 1) + QLatin1Char('%');
}

QVariant RyScheduleCheckModel::data(const QModelIndex &index, int role) const
{
    Q_ASSERT(checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid));
    const RyScheduleCheck::Check &c = m_check.checks().at(index.row());
    if (role == Qt::ToolTipRole)
        return c.note.isEmpty() ? QVariant() : QVariant(c.note);
    if (role == Qt::TextAlignmentRole && index.column() != Name)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case Number:
        return c.number;
    case Name:
        return c.name;
    case Count:
        return numberText(c.count);
    case Population:
        return numberText(c.population);
    case Ratio:
        return ratioText(c);
    case Threshold:
        return c.threshold;
    case Result:
        switch (c.result) {
        case RyScheduleCheck::Result::Pass:
            return QStringLiteral("\u2714 pass");
        case RyScheduleCheck::Result::Fail:
            return QStringLiteral("\u2718 fail");
        default:
            return RyScheduleCheck::resultName(c.result);
        }
    default:
        return QVariant();
    }
}

QVariant RyScheduleCheckModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const titles[]
        = { "No.", "Check", "Count", "Population", "Ratio", "Threshold", "Result" };
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(titles[section]);
}
