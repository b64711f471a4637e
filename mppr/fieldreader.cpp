#include "mppr/fieldreader.h"

#include "mppr/fixeddatablock.h"
#include "mppr/fixedmetablock.h"
#include "mppr/project.h"
#include "mppr/vardatablock.h"

#include <cmath>
#include <limits>

namespace mppr {

namespace {
constexpr qint64 MSecsPerDay = 86400000;
constexpr qint64 MSecsPerTimeUnit = 6000; // times are stored in tenths of a minute
constexpr quint32 CategoryFlag = 100;
} // namespace

qint32 decodeInteger(ByteView value)
{
    if (value.size() >= 4)
        return value.i32(0);
    if (value.size() >= 2)
        return value.i16(0);
    if (value.size() == 1)
        return value.i8(0);
    return 0;
}

double decodeNumber(ByteView value)
{
    return value.size() == 8 ? value.f64(0) : 0.0;
}

QString decodeText(ByteView value)
{
    int units = value.size() / 2;
    if (units > 1 && value.u16((units - 1) * 2) == 0)
        --units;
    // Most text fields are empty: they share one static empty (not null) text.
    if (units == 0)
        return QStringLiteral("");
    QString text(units, Qt::Uninitialized);
    QChar *out = text.data();
    for (int i = 0; i < units; ++i)
        out[i] = QChar(value.u16(i * 2));
    return text;
}

QDateTime decodeDate(ByteView value)
{
    if (value.size() != 4)
        return epoch();
    const quint16 time = value.u16(0);
    const quint16 day = value.u16(2);
    if (time == 0xFFFF && day == 0xFFFF)
        return epoch();
    // Wall-clock time as stored: no time zone enters the arithmetic.
    return QDateTime::fromMSecsSinceEpoch(EpochMSecs + day * MSecsPerDay + time * MSecsPerTimeUnit,
                                          Qt::UTC);
}

const QDateTime &DateCache::date(ByteView value)
{
    const quint32 stored = value.size() == 4 ? value.u32(0) : 0xFFFFFFFF;
    Slot &slot = m_slots[(stored * 2654435761u) >> (32 - SlotBits)];
    if (!slot.filled || slot.stored != stored) {
        slot.date = decodeDate(value);
        slot.stored = stored;
        slot.filled = true;
    }
    return slot.date;
}

bool holdsDate(ByteView value)
{
    if (value.size() != 4)
        return false;
    const quint32 stored = value.u32(0);
    return stored != 0xFFFFFFFF && stored != 0;
}

qint32 truncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (value <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(value);
}

ByteView FieldReader::lookUp(const FieldDescriptor &field, int record, qint32 uniqueId) const
{
    switch (field.location) {
    case FieldLocation::FixedData: {
        if (field.blockIndex > 1 || field.size == 0)
            return ByteView();
        if (record != m_record) {
            m_fixed[0] = m_blocks.fixed ? m_blocks.fixed->record(record) : ByteView();
            m_fixed[1] = m_blocks.fixed2 ? m_blocks.fixed2->record(record) : ByteView();
            m_record = record;
        }
        const ByteView &bytes = m_fixed[field.blockIndex];
        if (!bytes.fits(field.offset, field.size))
            return ByteView();
        return ByteView(bytes.data() + field.offset, field.size);
    }
    case FieldLocation::VarData: {
        if (!m_blocks.varData || !m_blocks.varData->meta())
            return ByteView();
        if (!m_haveItems || uniqueId != m_itemsId) {
            m_items = m_blocks.varData->meta()->recordItems(uniqueId);
            m_itemsId = uniqueId;
            m_haveItems = true;
        }
        return m_blocks.varData->value(m_items,
                                       m_blocks.varDataByKey ? field.offset : field.fieldId);
    }
    default:
        return ByteView();
    }
}

bool FieldReader::holdsAnyVarData(const std::vector<quint32> &fieldIds,
                                  const std::vector<quint32> &keys, qint32 uniqueId) const
{
    if (!m_blocks.varData || !m_blocks.varData->meta())
        return false;
    if (!m_haveItems || uniqueId != m_itemsId) {
        m_items = m_blocks.varData->meta()->recordItems(uniqueId);
        m_itemsId = uniqueId;
        m_haveItems = true;
    }
    return m_blocks.varData->meta()->holdsAny(m_items, m_blocks.varDataByKey ? keys : fieldIds);
}

QString FieldReader::text(const FieldDescriptor &field, qint32 uniqueId) const
{
    if (field.location != FieldLocation::VarData)
        return QString();
    return decodeText(value(field, 0, uniqueId));
}

bool FieldReader::flag(const FieldDescriptor &field, int item) const
{
    if (field.category != CategoryFlag)
        return false;
    const FixedMetaBlock *meta = field.location == FieldLocation::MetaData ? m_blocks.meta
        : field.location == FieldLocation::MetaFlag                        ? m_blocks.meta2
                                                                           : nullptr;
    if (!meta)
        return false;
    const ByteView bytes = meta->item(item);
    const int byte = field.offset / 8;
    if (!bytes.fits(byte, 1))
        return false;
    return (bytes.u8(byte) >> (field.offset % 8)) & 1;
}

} // namespace mppr
