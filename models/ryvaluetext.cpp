#include "models/ryvaluetext.h"

#include "models/ryconstants.h"
#include "models/ryvalueorder.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QLocale>

#include <algorithm>

namespace RyValueText {

namespace {

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

bool isDate(const QVariant &value)
{
    const int type = value.userType();
    return type == QMetaType::QDateTime || type == QMetaType::QDate;
}

} // namespace

QDate dateFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    // Saved conditions and layouts hold ISO dates; hand-written ones may use the shown forms.
    QDate date = QDate::fromString(trimmed, Qt::ISODate);
    if (!date.isValid())
        date = QDate::fromString(trimmed.left(10), Qt::ISODate);
    if (!date.isValid())
        date = QDate::fromString(trimmed, QStringLiteral("dd-MM-yyyy"));
    if (!date.isValid())
        date = QDate::fromString(trimmed, QStringLiteral("dd.MM.yyyy"));
    return date;
}

QDate dateOf(const QVariant &value)
{
    if (value.userType() == QMetaType::QDate)
        return value.toDate();
    if (value.userType() == QMetaType::QDateTime)
        return value.toDateTime().date();
    return dateFromText(value.toString());
}

double decimalFromText(const QString &text, bool *ok)
{
    QString dotted = text;
    return dotted.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(ok);
}

QString stripCodePrefix(const QString &text)
{
    // Constraint codes read better as the words planners use for them.
    static const struct
    {
        const char *code;
        const char *text;
    } constraints[] = {
        { "CS_ALAP", "As Late As Possible" },  { "CS_MSO", "Must Start On" },
        { "CS_MEO", "Must Finish On" },        { "CS_MSOA", "Start No Earlier Than" },
        { "CS_MSOB", "Start No Later Than" },  { "CS_MEOA", "Finish No Earlier Than" },
        { "CS_MEOB", "Finish No Later Than" }, { "CS_MANDSTART", "Mandatory Start" },
        { "CS_MANDFIN", "Mandatory Finish" },
    };
    if (text.startsWith(QLatin1String("CS_"))) {
        for (const auto &constraint : constraints) {
            if (text == QLatin1String(constraint.code))
                return QLatin1String(constraint.text);
        }
    }
    // Only the prefixes of the P6 code values: user texts such as "A1_Pour" keep their start.
    static const char *const prefixes[] = { "TT_", "PR_", "RT_", "TK_", "CS_" };
    for (const char *prefix : prefixes) {
        if (text.startsWith(QLatin1String(prefix)))
            return text.mid(3);
    }
    return text;
}

QString decimalText(double value)
{
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    // A small negative value rounds to "-0".
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

QString displayText(const QVariant &value, const QVariantMap &columnDescription)
{
    if (isNull(value))
        return QString();
    const bool number = RyValueOrder::isNumber(value) && value.userType() != QMetaType::Bool;
    if (number) {
        const bool decimal = !RyValueOrder::isIntegral(value);
        const QString text = decimal ? decimalText(value.toDouble()) : value.toString();
        const QString format = columnDescription.value(QStringLiteral("format")).toString();
        if (format == QLatin1String("percent"))
            return text + QLatin1Char('%');
        if (format == QLatin1String("duration"))
            return durationText(value.toDouble());
        return text;
    }
    if (isDate(value) || value.userType() == QMetaType::QString) {
        const QDateTime date = value.toDateTime();
        if (date.isValid())
            return date.toString(QStringLiteral("dd-MM-yyyy"));
    }
    return stripCodePrefix(value.toString());
}

namespace {
DurationFormat &currentDurationFormat()
{
    static DurationFormat format;
    return format;
}
} // namespace

DurationFormat durationFormat()
{
    return currentDurationFormat();
}

void setDurationFormat(const DurationFormat &format)
{
    currentDurationFormat() = format;
}

QString durationText(double hours, const DurationFormat &format)
{
    switch (format.unit) {
    case DurationUnit::Hours:
        return decimalText(hours) + QLatin1Char('h');
    case DurationUnit::Weeks:
        return decimalText(hours * 60 / std::max(format.minutesPerWeek, 1)) + QLatin1Char('w');
    case DurationUnit::Days:
        break;
    }
    return decimalText(hours * 60 / std::max(format.minutesPerDay, 1)) + QLatin1Char('d');
}

QString durationText(double hours)
{
    return durationText(hours, currentDurationFormat());
}

QString durationUnitName(DurationUnit unit)
{
    // In the order of DurationUnit; Days for anything else.
    static const char *const Names[] = { "Hours", "Days", "Weeks" };
    const int index = int(unit);
    return QLatin1String(index >= 0 && index < 3 ? Names[index] : Names[1]);
}

DurationUnit durationUnitFromName(const QString &name, DurationUnit fallback)
{
    for (const DurationUnit unit :
         { DurationUnit::Hours, DurationUnit::Days, DurationUnit::Weeks }) {
        if (name == durationUnitName(unit))
            return unit;
    }
    return fallback;
}

QString displayText(const QModelIndex &index)
{
    if (!index.isValid())
        return QString();
    const QVariantMap description
        = index.model()
              ->headerData(index.column(), Qt::Horizontal, Ry::ColumnDescriptionRole)
              .toMap();
    return displayText(index.data(Qt::DisplayRole), description);
}

QString monthName(int month)
{
    if (month < 1 || month > 12)
        return QString();
    // The C locale keeps the names English on every machine.
    return QLocale::c().monthName(month, QLocale::LongFormat);
}

QString shortMonthName(int month)
{
    return monthName(month).left(3);
}

int quarterOf(int month)
{
    if (month < 1 || month > 12)
        return 0;
    return (month - 1) / 3 + 1;
}

QDate quarterStart(const QDate &date)
{
    if (!date.isValid())
        return QDate();
    return QDate(date.year(), (quarterOf(date.month()) - 1) * 3 + 1, 1);
}

QString quarterText(int quarter)
{
    return QStringLiteral("Q%1").arg(quarter);
}

QString weekText(int week)
{
    return QStringLiteral("Week %1").arg(week);
}

QString dayMonthText(const QVariant &value)
{
    return QLocale::c().toString(value.toDate(), QStringLiteral("dd MMMM"));
}

QString yearName(const QDate &date)
{
    return date.isValid() ? QString::number(date.year()) : QString();
}

QString quarterYearName(const QDate &date)
{
    if (!date.isValid())
        return QString();
    return quarterText(quarterOf(date.month())) + QLatin1Char(' ') + yearName(date);
}

QString monthYearName(const QDate &date)
{
    if (!date.isValid())
        return QString();
    return monthName(date.month()) + QLatin1Char(' ') + yearName(date);
}

QString isoWeekYearName(const QDate &date)
{
    if (!date.isValid())
        return QString();
    int weekYear = 0;
    const int week = date.weekNumber(&weekYear);
    return weekText(week) + QLatin1Char(' ') + QString::number(weekYear);
}

QString dayName(const QDate &date)
{
    return date.isValid() ? dayMonthText(date) : QString();
}

} // namespace RyValueText
