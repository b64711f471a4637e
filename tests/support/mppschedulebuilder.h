#pragma once

// Builds the streams of a whole .mpp file from a plain description of a schedule: tasks,
// relations, resources and assignments, in the "   114", "   112" or "   19" layout. Used by
// crafted-file tests and by the mppgen tool; write the result with CfbWriter.

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

// One stored baseline: Baseline (number 0) or Baseline1 to Baseline10. A null date is stored as
// "no date"; durations in tenths of a minute, work in thousandths of a minute.
struct MppBaselineSpec
{
    int number = 0;
    QDateTime start, finish;
    qint32 duration = 0;
    double work = 0;
    double cost = 0;
    QByteArray startBytes; // stored instead of start when not empty
};

struct MppTaskSpec
{
    qint32 uniqueId = 0;
    QString name;
    qint32 parentUniqueId = -1;
    // Wall-clock dates (Qt::UTC); a null date is stored as "no date".
    QDateTime start, finish; // fields 0x503/0x504 (second block)
    QDateTime scheduledStart, scheduledFinish; // fields 0x23/0x24
    QDateTime earlyStart, earlyFinish, lateStart, lateFinish, actualStart, actualFinish;
    bool manual = false; // flag 0x500
    bool blank = false; // meta flag: only the unique ID is kept
    bool shortRecord = false; // a 16-byte fixed record: unique ID and field 0x17 only
    qint32 tf17 = 0;
    qint32 freeSlack = 0;
    qint32 startSlack = 0;
    qint32 finishSlack = 0;
    qint32 duration = 0;
    qint32 remainingDuration = 0;
    double work = 0;
    double actualWork = 0;
    double remainingWork = 0;
    QString text1;
    int percentComplete = -1; // written (as variable data) when 0 or more; not in "   19"
    // Variable data; Baseline1 to Baseline10 of the "   19" layout in one block of field 0x1E1.
    QVector<MppBaselineSpec> baselines;
    // Written only in wide task records: custom number, integer and date fields 1 to 10
    // (only dates 1 to 4 of the second ten fit; the rest stays unset).
    std::array<double, 10> numbers {};
    std::array<qint32, 10> integers {};
    std::array<QDateTime, 10> dates;
};

struct MppRelationSpec
{
    quint32 id = 0;
    qint32 predecessor = 0;
    qint32 successor = 0;
    quint16 type = 1;
    qint32 lag = 0;
    quint16 lagUnits = 7;
};

struct MppResourceSpec
{
    qint32 uniqueId = 0;
    QString name;
    QString shortName;
};

struct MppAssignmentSpec
{
    qint32 uniqueId = 0;
    qint32 taskUniqueId = 0;
    qint32 resourceUniqueId = 0;
    double workHours = 0; // field 0x0A
    double actualWorkHours = 0; // field 0x0B
    QDateTime start, finish; // fields 0x14/0x15
};

struct MppScheduleSpec
{
    enum Layout { Mpp14, Mpp12, Mpp9 };
    Layout layout = Mpp14;
    QString userType = QStringLiteral("Microsoft.Project 15.0");
    QVector<MppTaskSpec> tasks;
    QVector<MppRelationSpec> relations;
    QVector<MppResourceSpec> resources;
    QVector<MppAssignmentSpec> assignments;
    // Project properties, each written when set: the title, the status date, and the name of
    // a base calendar of the default week with the given days off (not in "   19").
    QString title;
    QDateTime statusDate;
    QString calendarName;
    QVector<QPair<QDate, QString>> holidays;

    // Variations of what saving versions do.
    int taskFixed2MetaSize = 0; // 0: as saved by default, 93 in "   114", 86 in "   112"
    bool relationLayoutB = true; // lag at 14, unit at 18
    bool reverseRecordOrder = false; // fixed records stored in the opposite order of items
    bool omitSlackFields = false; // fields 0x1B6, 0x1B7, 0x1D, 0x00, 0x02 not in the map
    bool withRelationsStorage = true;
    // "   114" task records as wide as the widest saved ones: a 991-entry field map, 206-byte
    // records in the first fixed block and 64-byte ones in the second.
    bool wideTaskRecords = false;
};

// Stream path -> bytes, paths with a leading "/" ("/   114/TBkndTask/FixedData").
QMap<QString, QByteArray> buildMppStreams(const MppScheduleSpec &spec);
// The whole compound file.
QByteArray buildMppFile(const MppScheduleSpec &spec);
