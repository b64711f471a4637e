// The one order of cell values. Sorting, value indexes, the filter value lists and grouping all
// compare through it, so that a column reads the same way in each of them.
#pragma once

#include <QVariant>

// A strict weak order: no value first, then numbers (booleans among them) by value, then dates
// by time, then texts case-blind with the exact text breaking ties. Values of different kinds
// never compare equal, so a column that mixes kinds still sorts consistently and the order is fit
// for sorted containers.
struct RyValueOrder
{
    static bool lessThan(const QVariant &left, const QVariant &right);
    // Whether a value sorts among the numbers: the integral types (booleans among them) and the
    // floating ones.
    static bool isIntegral(const QVariant &value);
    static bool isNumber(const QVariant &value);
    bool operator()(const QVariant &left, const QVariant &right) const
    {
        return lessThan(left, right);
    }
};
