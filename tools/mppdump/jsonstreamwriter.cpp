#include "jsonstreamwriter.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Doubles below this magnitude hold every integer exactly.
constexpr double ExactIntegerLimit = 9007199254740992.0; // 2^53
// From this magnitude up, Qt writes a fraction in the fixed form ("0.001", "12.25"); below it
// Qt may choose the exponent form, which is left to Qt.
constexpr double FixedFormMinimum = 1e-3;
constexpr qint64 MSecsPerDay = 86400000;
// "\"yyyy-MM-ddT", "HH:mm:ss\"" and both.
constexpr int DayTextSize = 12;
constexpr int ClockTextSize = 9;
constexpr int DateTimeSize = DayTextSize + ClockTextSize;
// Up to here doubles lie at most 2^-12 apart.
constexpr double HundredthsLimit = 1099511627776.0; // 2^40
// What fractionText() may write.
constexpr int FractionRoom = 48;
constexpr char Spaces[] = "                                ";
constexpr int SpaceCount = int(sizeof Spaces) - 1;

// What QJsonDocument itself writes for one value; the slow but certain path for the values
// the fast paths leave out.
QByteArray qtText(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

bool isPlainAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

// Writes the digits at `out` (room for MaxIntegerSize) and returns the end.
char *integerText(char *out, qint64 number)
{
    return std::to_chars(out, out + 20, number).ptr;
}

// The shortest text that reads back as the non-integral `number`, in the fixed form Qt gives it
// for magnitudes from FixedFormMinimum up; null outside that range. Leaves room for 48 bytes.
char *fractionText(char *out, double number)
{
    const double magnitude = std::abs(number);
    if (!(magnitude >= FixedFormMinimum && magnitude < ExactIntegerLimit))
        return nullptr;
    // Hundredths, the usual fractions (the reader's numbers are kept in them), have themselves
    // as their shortest text while doubles lie much closer together than 0.01: no other text
    // of as few digits is then near enough to read back as the same double.
    const double hundredths = magnitude * 100;
    if (magnitude < HundredthsLimit && hundredths == std::trunc(hundredths)
        && hundredths / 100 == magnitude) {
        const qint64 whole = qint64(hundredths);
        if (number < 0)
            *out++ = '-';
        out = integerText(out, whole / 100);
        *out++ = '.';
        const int fraction = int(whole % 100);
        *out++ = char('0' + fraction / 10);
        if (fraction % 10 != 0)
            *out++ = char('0' + fraction % 10);
        return out;
    }
    const std::to_chars_result result
        = std::to_chars(out, out + FractionRoom, number, std::chars_format::fixed);
    return result.ec == std::errc() ? result.ptr : nullptr;
}

void twoDigits(char *out, int number)
{
    out[0] = char('0' + number / 10);
    out[1] = char('0' + number % 10);
}

// Writes "\"yyyy-MM-ddT" (DayTextSize bytes) for a year of four digits.
void dayText(char *out, int year, int month, int dayOfMonth)
{
    out[0] = '"';
    twoDigits(out + 1, year / 100);
    twoDigits(out + 3, year % 100);
    out[5] = '-';
    twoDigits(out + 6, month);
    out[8] = '-';
    twoDigits(out + 9, dayOfMonth);
    out[11] = 'T';
}

// "\"yyyy-MM-ddT" for the years QDateTime::toString writes as four plain digits; false for
// the others.
bool dayText(char *out, const QDate &day)
{
    int year = 0, month = 0, dayOfMonth = 0;
    day.getDate(&year, &month, &dayOfMonth);
    if (year < 1000 || year > 9999)
        return false;
    dayText(out, year, month, dayOfMonth);
    return true;
}

// Writes "HH:mm:ss\"" (ClockTextSize bytes) of the seconds of a day.
void clockText(char *out, int seconds)
{
    twoDigits(out, seconds / 3600);
    out[2] = ':';
    twoDigits(out + 3, seconds / 60 % 60);
    out[5] = ':';
    twoDigits(out + 6, seconds % 60);
    out[8] = '"';
}

// The day of a count of days since 1970-01-01 in the proleptic Gregorian calendar.
void civilDay(qint64 days, int *year, int *month, int *dayOfMonth)
{
    days += 719468; // from 0000-03-01
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra
        = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    *dayOfMonth = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    *month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    *year = int(yearOfEra + era * 400 + (*month <= 2 ? 1 : 0));
}

} // namespace

const char JsonStreamWriter::LineStart[] = ",\n"
                                           "                                        "
                                           "                                        ";

JsonStreamWriter::JsonStreamWriter(std::FILE *out)
    : m_out(out)
    , m_block(new char[BlockSize + BlockSlack])
{
}

JsonStreamWriter::~JsonStreamWriter()
{
    flush();
}

void JsonStreamWriter::endObject()
{
    Q_ASSERT(!m_levels.empty() && m_levels.back().isObject && !m_afterKey);
    close('}');
}

void JsonStreamWriter::endArray()
{
    Q_ASSERT(!m_levels.empty() && !m_levels.back().isObject);
    close(']');
}

#ifndef QT_NO_DEBUG
void JsonStreamWriter::checkKey(const char *name)
{
    Q_ASSERT(isPlainAscii(QString::fromLatin1(name)) && !std::strpbrk(name, "\"\\"));
    checkKeyOrder(QString::fromLatin1(name));
}
#endif

void JsonStreamWriter::longKey(const char *name, int size)
{
    put('"');
    put(name, size);
    put("\": ", 3);
}

void JsonStreamWriter::key(const QString &name)
{
#ifndef QT_NO_DEBUG
    checkKeyOrder(name);
#endif
    startMember();
    if (!putPlainString(name))
        put(stringText(name));
    put(": ", 2);
}

#ifndef QT_NO_DEBUG
void JsonStreamWriter::checkKeyOrder(const QString &name)
{
    // QJsonObject keeps its keys sorted; a dump written in another order would differ.
    Q_ASSERT(!m_levels.empty() && m_levels.back().isObject && !m_afterKey);
    Q_ASSERT_X(m_levels.back().empty || m_levels.back().lastKey < name, "JsonStreamWriter::key",
               qPrintable(name));
    m_levels.back().lastKey = name;
}
#endif

void JsonStreamWriter::value(double number)
{
    beforeValue();
    if (std::abs(number) < ExactIntegerLimit && number == std::trunc(number)) {
        char *out = room(MaxIntegerSize);
        m_used = int(integerText(out, qint64(number)) - m_block.get());
        return;
    }
    if (char *end = fractionText(room(FractionRoom), number))
        m_used = int(end - m_block.get());
    else
        put(numberText(number));
}

void JsonStreamWriter::jsonValue(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        this->value(value.toBool());
        break;
    case QJsonValue::Double:
        this->value(value.toDouble());
        break;
    case QJsonValue::String:
        this->value(value.toString());
        break;
    case QJsonValue::Array:
        beginArray();
        for (const QJsonValue &element : value.toArray())
            jsonValue(element);
        endArray();
        break;
    case QJsonValue::Object: {
        beginObject();
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            key(it.key());
            jsonValue(it.value());
        }
        endObject();
        break;
    }
    default:
        null();
        break;
    }
}

void JsonStreamWriter::value(const QString &text)
{
    beforeValue();
    if (!putPlainString(text))
        put(stringText(text));
}

void JsonStreamWriter::dateTimeValue(const QDateTime &date)
{
    // Dates are held in UTC: their text comes straight from the milliseconds.
    if (date.timeSpec() == Qt::UTC && date.isValid()) {
        utcDateTimeValue(date.toMSecsSinceEpoch());
        return;
    }
    beforeValue();
    char text[DateTimeSize];
    if (!date.isValid() || !dayText(text, date.date())) {
        // Invalid dates and far years keep Qt's own forms.
        put(stringText(date.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))));
        return;
    }
    clockText(text + DayTextSize, date.time().msecsSinceStartOfDay() / 1000);
    put(text, DateTimeSize);
}

void JsonStreamWriter::utcDateTimeValue(qint64 msecs)
{
    beforeValue();
    const qint64 days = msecs >= 0 ? msecs / MSecsPerDay : -((-msecs - 1) / MSecsPerDay) - 1;
    // Dates of one schedule fall on few days: each day's text is worked out once.
    DayText &day = m_days[size_t(days) % DayCacheSize];
    if (day.days != days) {
        day.days = days;
        int year = 0, month = 0, dayOfMonth = 0;
        civilDay(days, &year, &month, &dayOfMonth);
        day.valid = year >= 1000 && year <= 9999;
        if (day.valid)
            dayText(day.text, year, month, dayOfMonth);
    }
    if (!day.valid) {
        // Far years keep Qt's own forms.
        const QDateTime date = QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
        put(stringText(date.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))));
        return;
    }
    char *out = room(DateTimeSize);
    std::memcpy(out, day.text, DayTextSize);
    clockText(out + DayTextSize, int(msecs - days * MSecsPerDay) / 1000);
    m_used += DateTimeSize;
}

void JsonStreamWriter::dateValue(const QDate &date)
{
    beforeValue();
    char text[DateTimeSize];
    if (!date.isValid() || !dayText(text, date)) {
        put(stringText(date.toString(QStringLiteral("yyyy-MM-ddT00:00:00"))));
        return;
    }
    clockText(text + DayTextSize, 0);
    put(text, DateTimeSize);
}

bool JsonStreamWriter::finish()
{
    Q_ASSERT(m_levels.empty());
    flush();
    if (!failed() && std::fflush(m_out) != 0)
        fail();
    return !failed();
}

QByteArray JsonStreamWriter::numberText(double number)
{
    if (!std::isfinite(number))
        return QByteArrayLiteral("null");
    const bool integral = number == std::trunc(number);
    if (integral && std::abs(number) < ExactIntegerLimit)
        return QByteArray::number(qint64(number));
    char text[48];
    if (char *end = !integral ? fractionText(text, number) : nullptr)
        return QByteArray(text, int(end - text));
    if (!integral)
        return QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
    // Qt writes large whole numbers in a form of its own.
    return qtText(number);
}

QByteArray JsonStreamWriter::stringText(const QString &text)
{
    if (!isPlainAscii(text))
        return qtText(text);
    QByteArray out;
    out.reserve(text.size() + 2);
    out.append('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out.append('\\');
        out.append(char(c.unicode()));
    }
    out.append('"');
    return out;
}

bool JsonStreamWriter::putPlainString(const QString &text)
{
    const int size = text.size();
    const int worst = 2 * size + 2;
    if (worst > BlockSize)
        return false;
    // Copied and checked in one pass; a character that needs more than that leaves the block
    // as it was.
    char *out = room(worst);
    *out++ = '"';
    const ushort *from = reinterpret_cast<const ushort *>(text.constData());
    for (int k = 0; k < size; ++k) {
        const ushort c = from[k];
        if (c < 0x20 || c > 0x7e)
            return false;
        if (c == '"' || c == '\\')
            *out++ = '\\';
        *out++ = char(c);
    }
    *out++ = '"';
    m_used = int(out - m_block.get());
    return true;
}

void JsonStreamWriter::slowLineBreak(bool first)
{
    if (!first)
        put(",\n", 2);
    indent(int(m_levels.size()));
}

void JsonStreamWriter::close(char bracket)
{
    const bool empty = m_levels.back().empty;
    m_levels.pop_back();
    m_lineStartSize -= 4;
    const int depth = int(m_levels.size());
    // "\n" after the last entry, the indent and the bracket: one piece of the line start.
    const int skip = empty ? 2 : 1;
    const int size = m_lineStartSize - skip;
    if (depth <= MaxQuickLevels && size + 1 <= BlockSize - m_used) {
        char *out = m_block.get() + m_used;
        const char *from = LineStart + skip;
        copyLineStart(out, from, size);
        out[size] = bracket;
        m_used += size + 1;
    } else {
        if (!empty)
            put('\n');
        indent(depth);
        put(bracket);
    }
    if (depth == 0)
        put('\n');
}

void JsonStreamWriter::indent(int levels)
{
    for (int count = 4 * levels; count > 0; count -= SpaceCount)
        put(Spaces, qMin(count, SpaceCount));
}

void JsonStreamWriter::putLong(const char *data, int size)
{
    flush();
    if (size > BlockSize) {
        if (!failed() && std::fwrite(data, 1, size_t(size), m_out) != size_t(size))
            fail();
        return;
    }
    std::memcpy(m_block.get() + m_used, data, size_t(size));
    m_used += size;
}

void JsonStreamWriter::put(char c)
{
    if (m_used == BlockSize)
        flush();
    m_block[m_used++] = c;
}

void JsonStreamWriter::flush()
{
    if (!failed() && m_used > 0
        && std::fwrite(m_block.get(), 1, size_t(m_used), m_out) != size_t(m_used))
        fail();
    m_used = 0;
}

void JsonStreamWriter::fail()
{
    // Some streams fail without naming a cause.
    m_error = errno != 0 ? errno : EIO;
}
