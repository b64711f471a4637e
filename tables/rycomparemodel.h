// The comparison of two versions of a schedule, computed once when built: one row per activity
// of the new version (added, changed or unchanged) followed by one per deleted activity of the
// old one, the changed links and a summary. Activities match by unique ID, or by WBS path and
// name when fewer than half of the new version's unique IDs exist in the old one (a file
// rebuilt from scratch); links match by their two ends after that. Where a unique ID (or a
// WBS path and name) occurs twice in one version, the first row wins and the others count as
// added or deleted. Deltas are in working days of `minutesPerDay` minutes.
#pragma once

#include "tables/rycompareversion.h"

#include <QAbstractTableModel>

namespace mppr {
class Project;
}

class RyCompareModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        UniqueId,
        Name,
        Change,
        ChangedFields,
        StartDelta,
        FinishDelta,
        DurationDelta,
        TotalFloatDelta,
        OldStart,
        OldFinish,
        RowKey, // the unique ID; "deleted <unique ID>" for a deleted activity, so that a view
                // showing deleted rows beside the new version's can key both apart
        ColumnCount
    };

    enum class ChangeKind { Unchanged, Added, Deleted, Changed };
    enum class Matching { UniqueId, WbsName };

    // The authoring tool's default day, until a project's own minutes per day is read.
    static constexpr int DefaultMinutesPerDay = 480;

    struct Activity
    {
        qint32 uniqueId = 0; // the new version's, the old one's for a deleted activity
        ChangeKind change = ChangeKind::Unchanged;
        quint32 fields = 0; // bit (1 << RyCompareVersion::Field) per changed field
        QVariant startDelta, finishDelta, durationDelta, totalFloatDelta; // working days
        QVariant oldStart, oldFinish;
        int newRow = -1; // in the new version's activities, -1 for a deleted activity
        int oldRow = -1; // in the old version's activities, -1 for an added activity
    };

    struct Link
    {
        qint32 predecessor = 0; // unique IDs in the new version, the old one's when deleted
        qint32 successor = 0;
        ChangeKind change = ChangeKind::Added;
        int oldLink = -1; // in the old version's links, -1 for an added link
    };

    struct Summary
    {
        int added = 0;
        int deleted = 0;
        int changed = 0;
        int unchanged = 0;
        double finishSlipDays = 0; // the latest finish, new against old
        int finishedLater = 0;
        int finishedEarlier = 0;
        Matching matching = Matching::UniqueId;
    };

    RyCompareModel(const RyCompareVersion &oldVersion, const RyCompareVersion &newVersion,
                   int minutesPerDay = DefaultMinutesPerDay, QObject *parent = nullptr);
    ~RyCompareModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const QVector<Activity> &activities() const { return m_activities; }
    // Added, deleted and changed links; unchanged ones are left out.
    const QVector<Link> &links() const { return m_links; }
    const Summary &summary() const { return m_summary; }
    const RyCompareVersion &oldVersion() const { return m_old; }
    const RyCompareVersion &newVersion() const { return m_new; }

    // The day length deltas are counted in: the project's own minutes per day, else the default.
    static int minutesPerDayOf(const mppr::Project *project);
    // The RowKey of a deleted activity of the old version.
    static QString deletedKey(qint32 uniqueId);
    // "added", "deleted", "changed", "unchanged"; "uniqueId", "wbsName".
    static QString changeName(ChangeKind change);
    static QString matchingName(Matching matching);
    // The names of the fields set in `fields`, in field order.
    static QStringList fieldNames(quint32 fields);
    // Monday-to-Friday days from the day of `from` to the day of `to`, negative when earlier.
    static int workingDaysBetween(const QDate &from, const QDate &to);

private:
    class Matcher;

    void compareActivities(const Matcher &matcher);
    void compareLinks(const Matcher &matcher);
    void summarize();
    QVariant cell(const Activity &activity, int column) const;

    RyCompareVersion m_old;
    RyCompareVersion m_new;
    int m_minutesPerDay;
    QVector<Activity> m_activities;
    QVector<Link> m_links;
    Summary m_summary;
};
