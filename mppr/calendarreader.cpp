#include "mppr/calendarreader.h"

#include "mppr/bytes.h"
#include "mppr/fieldreader.h"
#include "mppr/fixeddatablock.h"
#include "mppr/fixedmetablock.h"
#include "mppr/mpprlogging.h"
#include "mppr/project.h"
#include "mppr/propsblock.h"
#include "mppr/recordstreams.h"
#include "mppr/recurrence.h"
#include "mppr/streamstore.h"

#include <algorithm>

namespace mppr {

namespace {

constexpr int CalendarFixedMetaSize = 10;
constexpr quint32 CalendarMapKey = 0x20016;
constexpr quint32 CalendarMapFallbackKey = 0x3000016;
// Calendar fields; the record of 12 bytes holds the three numbers, in an order that changed
// between saving versions (the field map tells it). Base and resource are -1 (or 0, as saved
// since 2013) where there is none.
constexpr quint32 CalendarFieldBase = 0x0D400000;
constexpr quint32 NameField = CalendarFieldBase + 0x01;
constexpr quint32 BaseField = CalendarFieldBase + 0x06;
constexpr quint32 ResourceField = CalendarFieldBase + 0x07;
constexpr quint32 DataField = CalendarFieldBase + 0x08;
constexpr quint32 UniqueIdField = CalendarFieldBase + 0x09;

// Where a map lacks a field: the order saved before 2013 (unique ID, base, resource), names
// and data in variable data under their field ids or the "   19" keys 1 and 3.
FieldDescriptor calendarField(const FieldMap &map, quint32 fieldId, bool byKey)
{
    FieldDescriptor d = map.descriptor(fieldId);
    if (!d.isAbsent())
        return d;
    d.fieldId = fieldId;
    d.fieldClass = CalendarFieldBase;
    if (fieldId == NameField || fieldId == DataField) {
        d.location = FieldLocation::VarData;
        d.offset = byKey ? (fieldId == NameField ? 1 : 3) : 0;
    } else {
        d.location = FieldLocation::FixedData;
        d.size = 4;
        d.offset = fieldId == UniqueIdField ? 0 : fieldId == BaseField ? 4 : 8;
    }
    return d;
}

// A day block of the data value, 60 bytes: 16-bit "use base / default" flag, 16-bit number of
// working ranges (at most 5), 32-bit working total, five 16-bit range starts, two bytes, five
// 32-bit range lengths; times in tenths of a minute after midnight. The rest is not needed.
constexpr int DayBlockSize = 60;
constexpr int MaxRanges = 5;
constexpr int WeekSize = Calendar::DaysPerWeek * DayBlockSize;
// "   114" and "   112": the week, a 32-bit exception count, then the exceptions. "   19": a
// 32-bit count before the week; its exception layout is not known, so none are read there.
constexpr int OlderWeekOffset = 4;
// Exception record: 16-bit first and last day (days after 1983-12-31), 32-bit occurrence
// count, 4 bytes, a day block, the 32-bit recurrence type, four bytes of recurrence data, 8
// bytes, the 32-bit byte length of the name and the UTF-16 name, padded to 4 bytes.
constexpr int ExceptionDayOffset = 12;
constexpr int ExceptionTypeOffset = 72;
constexpr int ExceptionDataOffset = 76;
constexpr int ExceptionNameLengthOffset = 88;
constexpr int ExceptionHeaderSize = 92;
constexpr int MaxExceptions = 10000;

// Project properties in the version's Props (keys 0x2400000 + number).
constexpr quint32 StatusDateKey = 0x2400000;
constexpr quint32 StartDateKey = 0x2400002;
constexpr quint32 FinishDateKey = 0x2400003;
constexpr quint32 LastSavedKey = 0x2400007;
constexpr quint32 TitleKey = 0x2400008;
constexpr quint32 AuthorKey = 0x240000C;
constexpr quint32 CalendarNameKey = 0x240000E;
constexpr quint32 DefaultStartTimeKey = 0x240001C;
constexpr quint32 MinutesPerDayKey = 0x240001D;
constexpr quint32 MinutesPerWeekKey = 0x240001E;
constexpr quint32 DaysPerMonthKey = 0x240138F;
constexpr int DefaultStartMinutes = 8 * 60;

const QDate &dayZero()
{
    static const QDate day(1983, 12, 31);
    return day;
}

QVector<TimeRange> dayRanges(ByteView block, int count)
{
    QVector<TimeRange> ranges;
    for (int k = 0; k < std::min(count, MaxRanges); ++k) {
        const int from = block.u16(8 + 2 * k) / 10;
        const int length = int(std::min<quint32>(block.u32(20 + 4 * k), 24 * 600) / 10);
        ranges.append({ std::min(from, 24 * 60), std::min(from + length, 24 * 60) });
    }
    return ranges;
}

CalendarWeekDay decodeDay(ByteView block)
{
    CalendarWeekDay day;
    if (block.u16(0) != 0)
        return day; // left to the base calendar or the default
    day.defined = true;
    day.ranges = dayRanges(block, block.u16(2));
    day.working = !day.ranges.isEmpty();
    return day;
}

Recurrence recurrenceOf(ByteView record, const QDate &from, const QDate &to)
{
    Recurrence r;
    r.type = Recurrence::Type(record.u32(ExceptionTypeOffset));
    r.from = from;
    r.to = to;
    r.count = int(std::min<quint32>(record.u32(4), Recurrence::MaxOccurrences));
    const quint8 a = record.u8(ExceptionDataOffset);
    const quint8 b = record.u8(ExceptionDataOffset + 1);
    const quint16 c = record.u16(ExceptionDataOffset + 2);
    // The stored weekday codes run 3 (Sunday) to 9 (Saturday); Qt's run 1 (Monday) to 7.
    const auto qtDay = [](int code) { return code <= 3 ? 7 : std::min(code - 3, 6); };
    switch (r.type) {
    case Recurrence::Type::Daily:
        r.period = a;
        break;
    case Recurrence::Type::Weekly:
        r.weekDays = a;
        r.period = c;
        break;
    case Recurrence::Type::MonthlyByDate:
        r.dayOfMonth = a;
        r.period = c;
        break;
    case Recurrence::Type::MonthlyByPosition:
        r.position = a;
        r.dayOfWeek = qtDay(b);
        r.period = c;
        break;
    case Recurrence::Type::YearlyByDate:
        r.month = a + 1;
        r.dayOfMonth = b;
        break;
    case Recurrence::Type::YearlyByPosition:
        r.month = a + 1;
        r.position = b;
        r.dayOfWeek = qtDay(c);
        break;
    default:
        r.type = Recurrence::Type::Range;
        break;
    }
    return r;
}

// Appends the exception at `pos` and returns the position of the next, or -1 when the record
// does not fit.
int decodeException(ByteView data, int pos, QVector<CalendarException> &out)
{
    if (!data.fits(pos, ExceptionHeaderSize))
        return -1;
    const ByteView record = data.mid(pos, ExceptionHeaderSize);
    const quint32 nameLength = record.u32(ExceptionNameLengthOffset);
    if (!data.fits(pos + ExceptionHeaderSize, nameLength))
        return -1;
    const QDate from = dayZero().addDays(record.u16(0));
    const QDate to = dayZero().addDays(record.u16(2));
    const ByteView day = record.mid(ExceptionDayOffset, DayBlockSize);
    const QVector<TimeRange> ranges = dayRanges(day, day.u16(2));
    const Recurrence recurrence = recurrenceOf(record, from, to);
    if (recurrence.type == Recurrence::Type::Range) {
        if (from <= to)
            out.append({ from, to, !ranges.isEmpty(), ranges });
    } else {
        for (const QDate &occurrence : recurrence.occurrences())
            out.append({ occurrence, occurrence, !ranges.isEmpty(), ranges });
    }
    return int((qint64(pos) + ExceptionHeaderSize + nameLength + 3) & ~qint64(3));
}

// Sorted by first day; of two exceptions on the same first day the earlier one stays, as the
// authoring tool lists each day once.
void sortExceptions(QVector<CalendarException> &exceptions)
{
    std::stable_sort(
        exceptions.begin(), exceptions.end(),
        [](const CalendarException &a, const CalendarException &b) { return a.from < b.from; });
    exceptions.erase(std::unique(exceptions.begin(), exceptions.end(),
                                 [](const CalendarException &a, const CalendarException &b) {
                                     return a.from == b.from;
                                 }),
                     exceptions.end());
}

QString propsText(const PropsBlock &props, quint32 key)
{
    return decodeText(ByteView(props.item(key))).section(QChar(0), 0, 0);
}

// PID_COMPANY of the document summary property set ([MS-OLEPS]); empty when absent.
QString summaryCompany(const QByteArray &stream)
{
    constexpr quint32 CompanyId = 0x0F;
    constexpr quint32 CodePageId = 0x01;
    const ByteView s(stream);
    if (!s.fits(0, 48) || s.u32(24) == 0)
        return QString();
    const quint32 set = s.u32(44);
    if (!s.fits(set, 8))
        return QString();
    const quint32 count = std::min<quint32>(s.u32(set + 4), 1000);
    int codePage = 1252;
    QString company;
    for (quint32 i = 0; i < count && s.fits(set + 8 + 8 * i, 8); ++i) {
        const quint32 id = s.u32(set + 8 + 8 * i);
        const qint64 at = qint64(set) + s.u32(set + 12 + 8 * i);
        if (!s.fits(at, 8))
            continue;
        const quint32 type = s.u32(at);
        if (id == CodePageId && type == 2)
            codePage = s.u16(at + 4);
        if (id != CompanyId)
            continue;
        const quint32 length = s.u32(at + 4);
        if (type == 0x1E && s.fits(at + 8, length)) // 8-bit text in the code page
            company = codePage == 65001 ? QString::fromUtf8(s.data() + at + 8, int(length))
                                        : QString::fromLatin1(s.data() + at + 8, int(length));
        else if (type == 0x1F && s.fits(at + 8, qint64(length) * 2))
            company = decodeText(s.mid(at + 8, qint64(length) * 2));
    }
    return company.section(QChar(0), 0, 0);
}

} // namespace

CalendarWeekDay defaultWeekDay(int day)
{
    CalendarWeekDay weekDay;
    weekDay.defined = true;
    weekDay.working = day >= 1 && day <= 5;
    if (weekDay.working)
        weekDay.ranges = { { 8 * 60, 12 * 60 }, { 13 * 60, 17 * 60 } };
    return weekDay;
}

CalendarReader::CalendarReader(const StreamStore &store, const Layout &layout)
    : m_store(store)
    , m_layout(layout)
{
}

bool CalendarReader::decodeData(const QByteArray &bytes, bool olderLayout, Calendar &calendar)
{
    const ByteView data(bytes);
    const int week = olderLayout ? OlderWeekOffset : 0;
    if (!data.fits(week, WeekSize))
        return false;
    for (int d = 0; d < Calendar::DaysPerWeek; ++d)
        calendar.weekDays[size_t(d)] = decodeDay(data.mid(week + d * DayBlockSize, DayBlockSize));
    if (olderLayout) {
        if (data.u32(0) != 0)
            qCDebug(lcMppr) << "Calendar" << calendar.uniqueId
                            << "exceptions not read:" << data.u32(0);
        return true;
    }
    if (!data.fits(WeekSize, 4))
        return false;
    const quint32 count = std::min<quint32>(data.u32(WeekSize), MaxExceptions);
    int pos = WeekSize + 4;
    for (quint32 i = 0; i < count; ++i) {
        pos = decodeException(data, pos, calendar.exceptions);
        if (pos < 0)
            break;
    }
    sortExceptions(calendar.exceptions);
    return pos >= 0;
}

QVector<Calendar> CalendarReader::readCalendars(const PropsBlock &props) const
{
    const QString dir = m_layout.directory + QLatin1String("/TBkndCal/");
    RecordStreams s;
    if (!m_store.exists(m_layout.directory + QLatin1String("/TBkndCal"))
        || s.meta.parse(m_store.read(dir + "FixedMeta"), CalendarFixedMetaSize) != StatusOk
        || s.fixed.parse(m_store.read(dir + "FixedData"), s.meta) != StatusOk) {
        qCDebug(lcMppr) << "No readable calendar records";
        return {};
    }
    const bool byKey = m_layout.varMetaLayout == VarMetaBlock::ItemLayout::Key;
    // Without variable data the calendars keep their records: unnamed, default weeks.
    if (s.readVarData(m_store, dir, m_layout.varMetaLayout) != StatusOk)
        qCDebug(lcMppr) << "Calendar variable data unreadable";
    const FieldMap map
        = FieldMap::fromProps(props, CalendarMapKey, CalendarMapFallbackKey, m_layout.mapStyle);
    const FieldDescriptor uniqueId = calendarField(map, UniqueIdField, byKey);
    const FieldDescriptor base = calendarField(map, BaseField, byKey);
    const FieldDescriptor resource = calendarField(map, ResourceField, byKey);
    const FieldDescriptor name = calendarField(map, NameField, byKey);
    const FieldDescriptor data = calendarField(map, DataField, byKey);
    const FieldReader reader(s.blocks(false, false, m_layout.varMetaLayout));

    QVector<Calendar> calendars;
    for (int i = 0; i < s.meta.itemCount(); ++i) {
        Calendar c;
        c.uniqueId = reader.integer(uniqueId, i, 0);
        if (c.uniqueId <= 0)
            continue; // the leading placeholder records
        const qint32 baseId = reader.integer(base, i, c.uniqueId);
        if (baseId > 0)
            c.baseCalendarUniqueId = baseId;
        if (reader.value(resource, i, c.uniqueId).size() >= 4)
            c.resourceUniqueId = reader.integer(resource, i, c.uniqueId);
        // A base calendar belongs to no resource, whatever the field holds.
        if (c.isBase() || (c.resourceUniqueId && *c.resourceUniqueId < 0))
            c.resourceUniqueId.reset();
        // Resource 0 is the file's placeholder for "no resource": neither it nor its unnamed
        // calendar is part of the project (the authoring tool's exports leave both out).
        if (c.resourceUniqueId == 0)
            continue;
        c.name = reader.text(name, c.uniqueId).section(QChar(0), 0, 0);
        const ByteView bytes = reader.value(data, i, c.uniqueId);
        if (!bytes.isEmpty() && !decodeData(bytes.toByteArray(), byKey, c))
            qCDebug(lcMppr) << "Calendar" << c.uniqueId << "data truncated";
        calendars.append(c);
    }
    std::sort(calendars.begin(), calendars.end(),
              [](const Calendar &a, const Calendar &b) { return a.uniqueId < b.uniqueId; });
    calendars.erase(
        std::unique(calendars.begin(), calendars.end(),
                    [](const Calendar &a, const Calendar &b) { return a.uniqueId == b.uniqueId; }),
        calendars.end());

    const auto exists = [&calendars](qint32 id) {
        return std::binary_search(
            calendars.cbegin(), calendars.cend(), id, [](const auto &a, const auto &b) {
                if constexpr (std::is_same_v<std::decay_t<decltype(a)>, Calendar>)
                    return a.uniqueId < b;
                else
                    return a < b.uniqueId;
            });
    };
    for (Calendar &c : calendars) {
        if (c.baseCalendarUniqueId
            && (*c.baseCalendarUniqueId == c.uniqueId || !exists(*c.baseCalendarUniqueId)))
            c.baseCalendarUniqueId.reset();
        if (!c.isBase())
            continue;
        // A base calendar has no base to fall back to: its undefined days are the defaults.
        for (int d = 0; d < Calendar::DaysPerWeek; ++d) {
            if (!c.weekDays[size_t(d)].defined)
                c.weekDays[size_t(d)] = defaultWeekDay(d);
        }
    }
    return calendars;
}

ProjectProperties CalendarReader::readProperties(const PropsBlock &props,
                                                 const QVector<Calendar> &calendars) const
{
    ProjectProperties p;
    const auto positive = [&props](quint32 key, int fallback) {
        const qint32 value = decodeInteger(ByteView(props.item(key)));
        return value > 0 ? int(value) : fallback;
    };
    p.minutesPerDay = positive(MinutesPerDayKey, ProjectProperties::DefaultMinutesPerDay);
    p.minutesPerWeek = positive(MinutesPerWeekKey, ProjectProperties::DefaultMinutesPerWeek);
    p.daysPerMonth = positive(DaysPerMonthKey, ProjectProperties::DefaultDaysPerMonth);
    p.startDate = decodeDate(ByteView(props.item(StartDateKey)));
    p.finishDate = decodeDate(ByteView(props.item(FinishDateKey)));
    p.statusDate = decodeDate(ByteView(props.item(StatusDateKey)));
    // The file keeps no current date of its own: the authoring tool takes the day it was
    // last saved, at the project's default start time, and so does this reader.
    const QDateTime saved = decodeDate(ByteView(props.item(LastSavedKey)));
    if (!isUnset(saved)) {
        const QByteArray start = props.item(DefaultStartTimeKey);
        const int minutes = start.size() >= 2 ? ByteView(start).u16(0) / 10 : DefaultStartMinutes;
        p.currentDate = QDateTime(saved.date(), QTime(0, 0), Qt::UTC).addSecs(qint64(minutes) * 60);
    } else {
        p.currentDate = epoch();
    }
    p.title = propsText(props, TitleKey);
    p.author = propsText(props, AuthorKey);
    p.company = summaryCompany(m_store.read(QStringLiteral("\x05") + "DocumentSummaryInformation"));

    const QString calendarName = propsText(props, CalendarNameKey);
    for (const Calendar &c : calendars) {
        if (c.isBase() && !c.resourceUniqueId && c.name == calendarName) {
            p.calendarUniqueId = c.uniqueId;
            break;
        }
    }
    return p;
}

} // namespace mppr
