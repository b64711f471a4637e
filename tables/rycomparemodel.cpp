#include "tables/rycomparemodel.h"

#include "models/ryconstants.h"
#include "mppr/project.h"

#include <QDate>

#include <algorithm>
#include <cmath>

namespace {

using Field = RyCompareVersion::Field;

quint64 linkKey(qint32 predecessor, qint32 successor)
{
    return (quint64(quint32(predecessor)) << 32) | quint32(successor);
}

// The WBS path and name of an activity; the separator cannot occur in either.
QString pathAndName(const RyCompareVersion &version, const RyCompareVersion::Activity &a)
{
    return version.wbsPath(a.parent) + QChar(0x1F) + a.values[RyCompareVersion::Name].toString();
}

// Hours as working days, rounded to what a schedule can mean (a tenth of a minute is far below).
QVariant hoursDelta(const QVariant &oldHours, const QVariant &newHours, int minutesPerDay)
{
    if (!oldHours.isValid() || !newHours.isValid())
        return QVariant();
    const double days = (newHours.toDouble() - oldHours.toDouble()) * 60.0 / minutesPerDay;
    return std::round(days * 10000.0) / 10000.0;
}

QVariant dateDelta(const QVariant &oldDate, const QVariant &newDate)
{
    if (!oldDate.isValid() || !newDate.isValid())
        return QVariant();
    return RyCompareModel::workingDaysBetween(oldDate.toDateTime().date(),
                                              newDate.toDateTime().date());
}

constexpr std::array<const char *, RyCompareModel::ColumnCount> ColumnIds
    = { "compare_unique_id",
        "compare_name",
        "compare_change",
        "compare_fields",
        "compare_start_delta",
        "compare_finish_delta",
        "compare_duration_delta",
        "compare_total_float_delta",
        "compare_old_start",
        "compare_old_finish",
        "compare_key" };

// The datatypes of the columns, as the schema names them, so that filters and sorting read
// deltas as numbers and the old dates as dates.
constexpr std::array<const char *, RyCompareModel::ColumnCount> ColumnDatatypes
    = { "integer", "string", "string",   "string",   "double", "double",
        "double",  "double", "datetime", "datetime", "string" };

const QString &columnTitle(int column)
{
    static const QStringList titles
        = { QStringLiteral("Unique ID"),  QStringLiteral("Name"),
            QStringLiteral("Change"),     QStringLiteral("Changed fields"),
            QStringLiteral("Start Δ"),    QStringLiteral("Finish Δ"),
            QStringLiteral("Duration Δ"), QStringLiteral("Total float Δ"),
            QStringLiteral("Old Start"),  QStringLiteral("Old Finish"),
            QStringLiteral("Compare key") };
    return titles.at(column);
}

} // namespace

// Which old activity each new one matches, and how a new unique ID reads in the old version
// (identity when matching by unique ID; through WBS paths and names otherwise).
class RyCompareModel::Matcher
{
public:
    Matcher(const RyCompareVersion &oldVersion, const RyCompareVersion &newVersion)
        : oldOfNew(newVersion.activities().size(), -1)
        , newOfOld(oldVersion.activities().size(), -1)
    {
        const auto &olds = oldVersion.activities();
        const auto &news = newVersion.activities();
        oldRowOfUid.reserve(olds.size());
        for (int row = olds.size() - 1; row >= 0; --row) // backwards: the first row stays
            oldRowOfUid.insert(olds.at(row).uniqueId, row);
        newRowOfUid.reserve(news.size());
        int shared = 0;
        for (int row = 0; row < news.size(); ++row) {
            const qint32 uid = news.at(row).uniqueId;
            if (newRowOfUid.contains(uid))
                continue;
            newRowOfUid.insert(uid, row);
            if (oldRowOfUid.contains(uid))
                ++shared;
        }
        matching = shared * 2 < newRowOfUid.size() ? Matching::WbsName : Matching::UniqueId;
        if (matching == Matching::UniqueId)
            matchByUniqueId();
        else
            matchByWbsName(oldVersion, newVersion);
    }

    // The old version's unique ID for a new one; false when it has none.
    bool oldId(qint32 newUid, qint32 *oldUid) const
    {
        if (matching == Matching::UniqueId) {
            *oldUid = newUid;
            return true;
        }
        const auto it = oldUidOfNew.constFind(newUid);
        if (it == oldUidOfNew.cend())
            return false;
        *oldUid = it.value();
        return true;
    }

    QVector<int> oldOfNew;
    QVector<int> newOfOld;
    QHash<qint32, int> oldRowOfUid;
    QHash<qint32, int> newRowOfUid;
    Matching matching = Matching::UniqueId;

private:
    void pair(int newRow, int oldRow)
    {
        oldOfNew[newRow] = oldRow;
        newOfOld[oldRow] = newRow;
    }

    void matchByUniqueId()
    {
        for (auto it = newRowOfUid.cbegin(); it != newRowOfUid.cend(); ++it) {
            const int oldRow = oldRowOfUid.value(it.key(), -1);
            if (oldRow >= 0)
                pair(it.value(), oldRow);
        }
    }

    void matchByWbsName(const RyCompareVersion &oldVersion, const RyCompareVersion &newVersion)
    {
        const auto &olds = oldVersion.activities();
        const auto &news = newVersion.activities();
        QHash<QString, int> oldRowOfKey;
        oldRowOfKey.reserve(olds.size());
        // QHash::insert replaces: walk backwards so that the first row of a key stays.
        for (int row = olds.size() - 1; row >= 0; --row)
            oldRowOfKey.insert(pathAndName(oldVersion, olds.at(row)), row);
        for (int row = 0; row < news.size(); ++row) {
            const auto it = oldRowOfKey.find(pathAndName(newVersion, news.at(row)));
            if (it == oldRowOfKey.end() || it.value() < 0)
                continue;
            pair(row, it.value());
            oldUidOfNew.insert(news.at(row).uniqueId, olds.at(it.value()).uniqueId);
            it.value() = -1; // taken: a second new row of the same key is added
        }
        // WBS nodes match by their paths, so that links to summaries match too.
        QHash<QString, qint32> oldWbsOfPath;
        const auto &oldPaths = oldVersion.wbsPaths();
        for (auto it = oldPaths.cbegin(); it != oldPaths.cend(); ++it) {
            const auto found = oldWbsOfPath.constFind(it.value());
            if (found == oldWbsOfPath.cend() || it.key() < found.value())
                oldWbsOfPath.insert(it.value(), it.key());
        }
        const auto &newPaths = newVersion.wbsPaths();
        for (auto it = newPaths.cbegin(); it != newPaths.cend(); ++it) {
            const auto found = oldWbsOfPath.constFind(it.value());
            if (found != oldWbsOfPath.cend() && !oldUidOfNew.contains(it.key()))
                oldUidOfNew.insert(it.key(), found.value());
        }
    }

    QHash<qint32, qint32> oldUidOfNew;
};

RyCompareModel::RyCompareModel(const RyCompareVersion &oldVersion,
                               const RyCompareVersion &newVersion, int minutesPerDay,
                               QObject *parent)
    : QAbstractTableModel(parent)
    , m_old(oldVersion)
    , m_new(newVersion)
    , m_minutesPerDay(minutesPerDay > 0 ? minutesPerDay : DefaultMinutesPerDay)
{
    const Matcher matcher(m_old, m_new);
    m_summary.matching = matcher.matching;
    compareActivities(matcher);
    compareLinks(matcher);
    summarize();
}

RyCompareModel::~RyCompareModel() = default;

void RyCompareModel::compareActivities(const Matcher &matcher)
{
    const auto &olds = m_old.activities();
    const auto &news = m_new.activities();
    m_activities.reserve(news.size() + olds.size());
    for (int row = 0; row < news.size(); ++row) {
        const RyCompareVersion::Activity &now = news.at(row);
        Activity a;
        a.uniqueId = now.uniqueId;
        a.newRow = row;
        a.oldRow = matcher.oldOfNew.at(row);
        if (a.oldRow < 0) {
            a.change = ChangeKind::Added;
            m_activities.append(a);
            continue;
        }
        const RyCompareVersion::Activity &before = olds.at(a.oldRow);
        for (int field = 0; field < RyCompareVersion::Predecessors; ++field) {
            if (field != RyCompareVersion::Wbs && before.values[field] != now.values[field])
                a.fields |= 1u << field;
        }
        qint32 oldParent = -1;
        const bool sameParent = now.parent == -1
            ? before.parent == -1
            : matcher.oldId(now.parent, &oldParent) && oldParent == before.parent;
        if (!sameParent)
            a.fields |= 1u << RyCompareVersion::Wbs;
        a.startDelta = dateDelta(before.values[Field::Start], now.values[Field::Start]);
        a.finishDelta = dateDelta(before.values[Field::Finish], now.values[Field::Finish]);
        a.durationDelta = hoursDelta(before.values[Field::Duration], now.values[Field::Duration],
                                     m_minutesPerDay);
        a.totalFloatDelta = hoursDelta(before.values[Field::TotalFloat],
                                       now.values[Field::TotalFloat], m_minutesPerDay);
        a.oldStart = before.values[Field::Start];
        a.oldFinish = before.values[Field::Finish];
        m_activities.append(a);
    }
    for (int row = 0; row < olds.size(); ++row) {
        if (matcher.newOfOld.at(row) >= 0)
            continue;
        Activity a;
        a.uniqueId = olds.at(row).uniqueId;
        a.change = ChangeKind::Deleted;
        a.oldRow = row;
        a.oldStart = olds.at(row).values[Field::Start];
        a.oldFinish = olds.at(row).values[Field::Finish];
        m_activities.append(a);
    }
}

void RyCompareModel::compareLinks(const Matcher &matcher)
{
    const auto &olds = m_old.links();
    const auto &news = m_new.links();
    QHash<quint64, int> oldOfKey;
    oldOfKey.reserve(olds.size());
    for (int k = olds.size() - 1; k >= 0; --k) // backwards: the first of a pair stays
        oldOfKey.insert(linkKey(olds.at(k).predecessor, olds.at(k).successor), k);
    QVector<bool> taken(olds.size(), false);
    // Activities are listed in the new version's row order first, so a new row is its index;
    // an added activity has no predecessors to compare.
    const auto markSuccessor = [this](int newRow) {
        if (newRow >= 0 && m_activities.at(newRow).oldRow >= 0)
            m_activities[newRow].fields |= 1u << RyCompareVersion::Predecessors;
    };
    for (const RyCompareVersion::Link &link : news) {
        qint32 predecessor = 0;
        qint32 successor = 0;
        int old = -1;
        if (matcher.oldId(link.predecessor, &predecessor)
            && matcher.oldId(link.successor, &successor))
            old = oldOfKey.value(linkKey(predecessor, successor), -1);
        ChangeKind change = ChangeKind::Added;
        if (old >= 0 && !taken.at(old)) {
            taken[old] = true;
            const bool same = olds.at(old).type == link.type && olds.at(old).lag == link.lag;
            change = same ? ChangeKind::Unchanged : ChangeKind::Changed;
        }
        if (change == ChangeKind::Unchanged)
            continue;
        m_links.append(Link { link.predecessor, link.successor, change, old });
        markSuccessor(matcher.newRowOfUid.value(link.successor, -1));
    }
    for (int k = 0; k < olds.size(); ++k) {
        if (taken.at(k))
            continue;
        const RyCompareVersion::Link &link = olds.at(k);
        m_links.append(Link { link.predecessor, link.successor, ChangeKind::Deleted, k });
        const int oldRow = matcher.oldRowOfUid.value(link.successor, -1);
        markSuccessor(oldRow >= 0 ? matcher.newOfOld.at(oldRow) : -1);
    }
}

void RyCompareModel::summarize()
{
    for (Activity &a : m_activities) {
        if (a.change == ChangeKind::Added) {
            ++m_summary.added;
            continue;
        }
        if (a.change == ChangeKind::Deleted) {
            ++m_summary.deleted;
            continue;
        }
        a.change = a.fields ? ChangeKind::Changed : ChangeKind::Unchanged;
        ++(a.fields ? m_summary.changed : m_summary.unchanged);
        const QDateTime before = a.oldFinish.toDateTime();
        const QDateTime now = m_new.activities().at(a.newRow).values[Field::Finish].toDateTime();
        if (before.isValid() && now.isValid()) {
            m_summary.finishedLater += now > before;
            m_summary.finishedEarlier += now < before;
        }
    }
    if (m_old.finish().isValid() && m_new.finish().isValid())
        m_summary.finishSlipDays = workingDaysBetween(m_old.finish().date(), m_new.finish().date());
}

int RyCompareModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_activities.size();
}

int RyCompareModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RyCompareModel::data(const QModelIndex &index, int role) const
{
    Q_ASSERT(checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid));
    if (role != Qt::DisplayRole || !index.isValid())
        return QVariant();
    return cell(m_activities.at(index.row()), index.column());
}

QVariant RyCompareModel::cell(const Activity &a, int column) const
{
    switch (column) {
    case UniqueId:
        return uint(a.uniqueId);
    case Name:
        return a.newRow >= 0 ? m_new.activities().at(a.newRow).values[Field::Name]
                             : m_old.activities().at(a.oldRow).values[Field::Name];
    case Change:
        return changeName(a.change);
    case ChangedFields:
        return fieldNames(a.fields).join(QStringLiteral(", "));
    case StartDelta:
        return a.startDelta;
    case FinishDelta:
        return a.finishDelta;
    case DurationDelta:
        return a.durationDelta;
    case TotalFloatDelta:
        return a.totalFloatDelta;
    case OldStart:
        return a.oldStart;
    case OldFinish:
        return a.oldFinish;
    case RowKey:
        return a.change == ChangeKind::Deleted ? deletedKey(a.uniqueId)
                                               : QVariant(uint(a.uniqueId));
    default:
        return QVariant();
    }
}

QVariant RyCompareModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString group = section == RowKey ? QStringLiteral("system") : QStringLiteral("Compare");
    switch (role) {
    case Qt::DisplayRole:
        return columnTitle(section);
    case Ry::ColumnIdRole:
        return QLatin1String(ColumnIds[section]);
    case Ry::ColumnGroupRole:
        return group;
    case Ry::ColumnDescriptionRole:
        return QVariantMap { { QStringLiteral("id"), QLatin1String(ColumnIds[section]) },
                             { QStringLiteral("display"), columnTitle(section) },
                             { QStringLiteral("datatype"),
                               QLatin1String(ColumnDatatypes[section]) },
                             { QStringLiteral("group"), group } };
    default:
        return QVariant();
    }
}

QString RyCompareModel::changeName(ChangeKind change)
{
    // In the order of ChangeKind.
    static const char *const Names[] = { "unchanged", "added", "deleted", "changed" };
    const int kind = int(change);
    return QLatin1String(kind >= 0 && kind < 4 ? Names[kind] : Names[0]);
}

int RyCompareModel::minutesPerDayOf(const mppr::Project *project)
{
    const int minutes = project ? project->properties().minutesPerDay : 0;
    return minutes > 0 ? minutes : DefaultMinutesPerDay;
}

QString RyCompareModel::deletedKey(qint32 uniqueId)
{
    return QStringLiteral("deleted %1").arg(uniqueId);
}

QString RyCompareModel::matchingName(Matching matching)
{
    return matching == Matching::WbsName ? QStringLiteral("wbsName") : QStringLiteral("uniqueId");
}

QStringList RyCompareModel::fieldNames(quint32 fields)
{
    QStringList names;
    for (int field = 0; field < RyCompareVersion::FieldCount; ++field) {
        if (fields & (1u << field))
            names.append(RyCompareVersion::fieldName(Field(field)));
    }
    return names;
}

int RyCompareModel::workingDaysBetween(const QDate &from, const QDate &to)
{
    // Julian day 0 was a Monday: count the weekdays before each day and subtract.
    const auto weekdaysBefore = [](qint64 day) {
        const qint64 week = day >= 0 ? day / 7 : (day - 6) / 7;
        return week * 5 + std::min<qint64>(day - week * 7, 5);
    };
    return int(weekdaysBefore(to.toJulianDay()) - weekdaysBefore(from.toJulianDay()));
}
