#include "models/ryvalueorder.h"

#include <QDateTime>

#include <cmath>

namespace {

// Kinds of values in the order they sort against each other.
enum class ValueKind { Null, Number, Date, Text };

ValueKind kindOf(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return ValueKind::Null;
    if (RyValueOrder::isNumber(value))
        return ValueKind::Number;
    switch (value.userType()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return ValueKind::Date;
    default:
        return ValueKind::Text;
    }
}

bool isFloating(const QVariant &value)
{
    return value.userType() == QMetaType::Double || value.userType() == QMetaType::Float;
}

bool numberLess(const QVariant &left, const QVariant &right)
{
    if (!isFloating(left) && !isFloating(right)) {
        // Integers compare exactly; doubles would merge neighbours above 2^53.
        if (left.userType() == QMetaType::ULongLong || right.userType() == QMetaType::ULongLong) {
            const bool leftNegative
                = left.toLongLong() < 0 && left.userType() != QMetaType::ULongLong;
            const bool rightNegative
                = right.toLongLong() < 0 && right.userType() != QMetaType::ULongLong;
            if (leftNegative != rightNegative)
                return leftNegative;
            return left.toULongLong() < right.toULongLong();
        }
        return left.toLongLong() < right.toLongLong();
    }
    const double a = left.toDouble();
    const double b = right.toDouble();
    // NaN would make the order inconsistent: it goes after every number.
    if (std::isnan(a) || std::isnan(b))
        return !std::isnan(a) && std::isnan(b);
    return a < b;
}

// Plain dates are midnight wall-clock values, like the reader's UTC-spec date-times, so that a
// date and a date-time of the same day compare by their wall clock in every time zone.
QDateTime wallClock(const QVariant &value)
{
    if (value.userType() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0), Qt::UTC);
    return value.toDateTime();
}

bool dateLess(const QVariant &left, const QVariant &right)
{
    const QDateTime a = wallClock(left);
    const QDateTime b = wallClock(right);
    // Date-times of one time spec are ordered by their fields: QDateTime's own ordering converts
    // both sides through the time zone, which costs a system call per comparison on large
    // schedules.
    if (a.timeSpec() == b.timeSpec() && a.timeSpec() != Qt::OffsetFromUTC
        && a.timeSpec() != Qt::TimeZone)
        return a.date() != b.date() ? a.date() < b.date() : a.time() < b.time();
    return a < b;
}

bool textLess(const QString &left, const QString &right)
{
    // Case-blind, as users expect; texts that differ only in case stay two values, ordered by
    // their exact text.
    const int blind = QString::compare(left, right, Qt::CaseInsensitive);
    if (blind != 0)
        return blind < 0;
    return left < right;
}

} // namespace

bool RyValueOrder::lessThan(const QVariant &left, const QVariant &right)
{
    const ValueKind leftKind = kindOf(left);
    const ValueKind rightKind = kindOf(right);
    if (leftKind != rightKind)
        return leftKind < rightKind;
    switch (leftKind) {
    case ValueKind::Null:
        return false;
    case ValueKind::Number:
        return numberLess(left, right);
    case ValueKind::Date:
        return dateLess(left, right);
    case ValueKind::Text:
        break;
    }
    return textLess(left.toString(), right.toString());
}

bool RyValueOrder::isIntegral(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

bool RyValueOrder::isNumber(const QVariant &value)
{
    const int type = value.userType();
    return isIntegral(value) || type == QMetaType::Double || type == QMetaType::Float;
}
