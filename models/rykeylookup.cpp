#include "models/rykeylookup.h"

#include <QDateTime>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

bool RyKeyLookup::Key::operator==(const Key &other) const
{
    if (kind != other.kind)
        return false;
    switch (kind) {
    case Number:
    case Date:
        return number == other.number;
    case Text:
        return text == other.text;
    case Invalid:
        break;
    }
    return true;
}

namespace {

// Doubles below this magnitude convert to qint64 exactly.
constexpr double WholeLimit = 4.0e18;
// The lowest bit of `mixed` that reaches a table place (hashOf keeps the upper half, whose two
// lowest bits it gives to the kind).
constexpr int PlaceShift = 34;

quint64 mix(quint64 x)
{
    // splitmix64 finaliser: integer-valued doubles differ only in a few high bits.
    x ^= x >> 30;
    x *= Q_UINT64_C(0xbf58476d1ce4e5b9);
    x ^= x >> 27;
    x *= Q_UINT64_C(0x94d049bb133111eb);
    x ^= x >> 31;
    return x;
}

} // namespace

uint RyKeyLookup::hashOf(const Key &key)
{
    quint64 mixed = 0;
    switch (key.kind) {
    case Key::Number:
    case Key::Date: {
        if (std::abs(key.number) < WholeLimit && key.number == std::trunc(key.number)) {
            // Whole numbers that differ only in their last four bits (unique IDs counted up)
            // keep neighbouring table places: a join walking them in order then touches the
            // table in order. Scattering every key made each lookup of a large table a cache
            // and TLB miss, so that joins grew faster than their row count.
            const quint64 whole = quint64(qint64(key.number));
            const quint64 place = Q_UINT64_C(15) << PlaceShift;
            mixed = (mix(whole >> 4) & ~place) | ((whole & 15) << PlaceShift);
            break;
        }
        quint64 bits;
        static_assert(sizeof(bits) == sizeof(key.number), "double is 64 bits");
        memcpy(&bits, &key.number, sizeof(bits));
        mixed = mix(bits);
        break;
    }
    case Key::Text:
        mixed = mix(qHash(key.text));
        break;
    case Key::Invalid:
        break;
    }
    return (uint(mixed >> 32) & ~3u) | uint(key.kind);
}

RyKeyLookup::Key RyKeyLookup::keyOf(const QVariant &value)
{
    Key key;
    if (!value.isValid())
        return key;
    const auto number = [&key](double n) {
        key.kind = Key::Number;
        key.number = n == 0 ? 0.0 : n; // -0 and 0 share a bucket
        return key;
    };
    // The common key types straight from their storage, without QVariant's conversions.
    switch (value.userType()) {
    case QMetaType::Int:
        return number(*static_cast<const int *>(value.constData()));
    case QMetaType::UInt:
        return number(*static_cast<const uint *>(value.constData()));
    case QMetaType::LongLong:
        return number(double(*static_cast<const qlonglong *>(value.constData())));
    case QMetaType::ULongLong:
        return number(double(*static_cast<const qulonglong *>(value.constData())));
    case QMetaType::Double:
        return number(*static_cast<const double *>(value.constData()));
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDateTime instant = value.toDateTime();
        key.kind = Key::Date;
        key.number = instant.isValid() ? double(instant.toMSecsSinceEpoch())
                                       : std::numeric_limits<double>::lowest();
        return key;
    }
    case QMetaType::QString: {
        // "2" equals 2 for QVariant; ISO date texts equal their dates.
        const QString text = value.toString();
        bool ok = false;
        const double parsed = text.trimmed().toDouble(&ok);
        if (ok)
            return number(parsed);
        if (text.size() >= 10 && text.at(4) == QLatin1Char('-')) {
            const QDateTime instant = QDateTime::fromString(text, Qt::ISODate);
            if (instant.isValid()) {
                key.kind = Key::Date;
                key.number = double(instant.toMSecsSinceEpoch());
                return key;
            }
        }
        key.kind = Key::Text;
        key.text = text;
        return key;
    }
    default:
        break;
    }
    bool ok = false;
    const double converted = value.toDouble(&ok);
    if (ok && value.userType() != QMetaType::QByteArray && value.userType() != QMetaType::QChar)
        return number(converted);
    key.kind = Key::Text;
    key.text = value.toString();
    return key;
}

void RyKeyLookup::reserve(int count)
{
    m_values.reserve(count);
    m_rows.reserve(count);
    m_next.reserve(count);
    m_buckets.reserve(count);
    int size = 16;
    while (size < 2 * count)
        size *= 2;
    if (size > m_table.size())
        resizeTable(size);
}

void RyKeyLookup::clear()
{
    m_values.clear();
    m_rows.clear();
    m_next.clear();
    m_buckets.clear();
    m_texts.clear();
    m_table.clear();
}

bool RyKeyLookup::sameKey(const TableEntry &entry, const Key &key) const
{
    // Equal hashes mean equal kinds.
    switch (key.kind) {
    case Key::Number:
    case Key::Date:
        return entry.number == key.number;
    case Key::Text:
        return m_texts.at(m_buckets.at(entry.bucket).text) == key.text;
    case Key::Invalid:
        break;
    }
    return true;
}

int RyKeyLookup::findPosition(const Key &key, uint hash) const
{
    const int mask = m_table.size() - 1;
    const TableEntry *table = m_table.constData();
    for (int position = int(hash >> 2) & mask;; position = (position + 1) & mask) {
        const TableEntry &entry = table[position];
        if (entry.bucket < 0 || (entry.hash == hash && sameKey(entry, key)))
            return position;
    }
}

void RyKeyLookup::resizeTable(int size)
{
    const QVector<TableEntry> old = m_table;
    m_table.fill(TableEntry(), size);
    const int mask = size - 1;
    for (const TableEntry &entry : old) {
        if (entry.bucket < 0)
            continue;
        int position = int(entry.hash >> 2) & mask;
        while (m_table.at(position).bucket >= 0)
            position = (position + 1) & mask;
        m_table[position] = entry;
    }
}

void RyKeyLookup::insert(int row, const QVariant &value)
{
    Q_ASSERT(m_rows.isEmpty() || m_rows.last() < row);
    if (2 * (m_buckets.size() + 1) > m_table.size())
        resizeTable(qMax(16, 2 * m_table.size()));
    const int slot = m_values.size();
    m_values.append(value);
    m_rows.append(row);
    m_next.append(-1);
    Key key = keyOf(value);
    const uint hash = hashOf(key);
    const int position = findPosition(key, hash);
    TableEntry &entry = m_table[position];
    if (entry.bucket >= 0) {
        Bucket &bucket = m_buckets[entry.bucket];
        m_next[bucket.last] = slot;
        bucket.last = slot;
        return;
    }
    Bucket bucket;
    bucket.first = slot;
    bucket.last = slot;
    if (key.kind == Key::Text) {
        bucket.text = m_texts.size();
        m_texts.append(std::move(key.text));
    }
    entry.number = key.number;
    entry.hash = hash;
    entry.bucket = m_buckets.size();
    entry.firstRow = row;
    entry.firstType = value.userType();
    m_buckets.append(bucket);
}

namespace {

// Types whose QVariant equality with a value of the same type is exactly key equality, so the
// first value of a bucket needs no second comparison.
bool keyDecidesEquality(int type, RyKeyLookup::Key::Kind kind)
{
    switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
        return true;
    case QMetaType::QString:
        return kind == RyKeyLookup::Key::Text;
    default:
        return false;
    }
}

} // namespace

int RyKeyLookup::firstMatch(const QVariant &value) const
{
    if (m_table.isEmpty())
        return -1;
    const Key key = keyOf(value);
    const TableEntry &entry = m_table.at(findPosition(key, hashOf(key)));
    if (entry.bucket < 0)
        return -1;
    if (entry.firstType == value.userType() && keyDecidesEquality(entry.firstType, key.kind))
        return entry.firstRow;
    for (int slot = m_buckets.at(entry.bucket).first; slot >= 0; slot = m_next.at(slot)) {
        if (m_values.at(slot) == value)
            return m_rows.at(slot);
    }
    return -1;
}
