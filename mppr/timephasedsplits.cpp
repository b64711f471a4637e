#include "mppr/timephasedsplits.h"

namespace mppr {

namespace {
// A 44-byte head (entry count first), then 28-byte entries: the work done by the entry's end
// (thousandths of a minute) at +0, the entry's end at +24 counted in 1/80 working minute.
constexpr int Head = 44;
constexpr int EntrySize = 28;
constexpr int WorkAt = 0;
constexpr int EndAt = 24;
constexpr double UnitsPerMinute = 80.0;
constexpr int MaxEntries = 10000;
} // namespace

QVector<QPair<double, double>> splitPartsFromTimephased(ByteView data)
{
    QVector<QPair<double, double>> parts;
    if (!data.fits(0, 2))
        return parts;
    const int count = qMin(int(data.u16(0)), MaxEntries);
    double end = 0;
    double work = 0;
    for (int k = 0; k < count; ++k) {
        const int entry = Head + k * EntrySize;
        if (!data.fits(entry + WorkAt, 8) || !data.fits(entry + EndAt, 4))
            break;
        const double doneBy = data.f64(entry + WorkAt);
        const double next = data.u32(entry + EndAt) / UnitsPerMinute;
        if (next < end)
            break; // out of order: not a run of entries this reader knows
        if (doneBy > work) {
            if (!parts.isEmpty() && parts.last().second == end)
                parts.last().second = next;
            else
                parts.append({ end, next });
        }
        end = next;
        work = doneBy;
    }
    if (parts.size() < 2)
        parts.clear();
    return parts;
}

} // namespace mppr
