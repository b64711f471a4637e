// Conversions from the file's stored units to the hours the P6-shaped tables show.
// Durations, slack and lags are stored in tenths of a minute, work in thousandths of a minute.
#pragma once

#include <QVariant>

#include <optional>

namespace MPPUnits {

inline double durationHours(qint32 tenthsOfMinute)
{
    return tenthsOfMinute / 600.0;
}

inline double workHours(double thousandthsOfMinute)
{
    return thousandthsOfMinute / 60000.0;
}

// An absent field (not in the file's field map) has no value.
inline QVariant durationHours(const std::optional<qint32> &tenthsOfMinute)
{
    return tenthsOfMinute ? QVariant(durationHours(*tenthsOfMinute)) : QVariant();
}

inline QVariant workHours(const std::optional<double> &thousandthsOfMinute)
{
    return thousandthsOfMinute ? QVariant(workHours(*thousandthsOfMinute)) : QVariant();
}

// Lag unit codes of percentage lags: they are a share of the predecessor's duration and
// have no hour value.
inline bool isPercentLagUnit(qint32 unitCode)
{
    return unitCode == 19 || unitCode == 20;
}

} // namespace MPPUnits
