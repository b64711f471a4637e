#include "models/rykeylookup.h"

#include <QDateTime>

#include <limits>

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

uint qHash(const RyKeyLookup::Key &key, uint seed)
{
    switch (key.kind) {
    case RyKeyLookup::Key::Number:
    case RyKeyLookup::Key::Date:
        return qHash(key.number, seed) ^ key.kind;
    case RyKeyLookup::Key::Text:
        return qHash(key.text, seed) ^ key.kind;
    case RyKeyLookup::Key::Invalid:
        break;
    }
    return seed;
}

RyKeyLookup::Key RyKeyLookup::keyOf(const QVariant &value)
{
    Key key;
    if (!value.isValid())
        return key;
    switch (value.userType()) {
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
        const double number = text.trimmed().toDouble(&ok);
        if (ok) {
            key.kind = Key::Number;
            key.number = number == 0 ? 0.0 : number; // -0 and 0 share a bucket
            return key;
        }
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
    const double number = value.toDouble(&ok);
    if (ok && value.userType() != QMetaType::QByteArray && value.userType() != QMetaType::QChar) {
        key.kind = Key::Number;
        key.number = number == 0 ? 0.0 : number;
        return key;
    }
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
}

void RyKeyLookup::clear()
{
    m_values.clear();
    m_rows.clear();
    m_next.clear();
    m_buckets.clear();
}

void RyKeyLookup::insert(int row, const QVariant &value)
{
    Q_ASSERT(m_rows.isEmpty() || m_rows.last() < row);
    const int slot = m_values.size();
    m_values.append(value);
    m_rows.append(row);
    m_next.append(-1);
    Bucket &bucket = m_buckets[keyOf(value)];
    if (bucket.first < 0)
        bucket.first = slot;
    else
        m_next[bucket.last] = slot;
    bucket.last = slot;
}

int RyKeyLookup::firstMatch(const QVariant &value) const
{
    const auto bucket = m_buckets.constFind(keyOf(value));
    if (bucket == m_buckets.cend())
        return -1;
    for (int slot = bucket->first; slot >= 0; slot = m_next.at(slot)) {
        if (m_values.at(slot) == value)
            return m_rows.at(slot);
    }
    return -1;
}
