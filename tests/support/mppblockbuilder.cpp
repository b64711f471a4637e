#include "tests/support/mppblockbuilder.h"

#include <QtEndian>

#include <cstring>

namespace MppBlockBuilder {

namespace {
constexpr quint32 Magic = 0xFADFADBA;
constexpr qint64 EpochMSecs = 441676800000; // 1983-12-31T00:00:00

void ensureSize(QByteArray &bytes, int size)
{
    if (bytes.size() < size)
        bytes.append(QByteArray(size - bytes.size(), '\0'));
}
} // namespace

void putU16(QByteArray &bytes, int offset, quint16 value)
{
    ensureSize(bytes, offset + 2);
    qToLittleEndian(value, bytes.data() + offset);
}

void putU32(QByteArray &bytes, int offset, quint32 value)
{
    ensureSize(bytes, offset + 4);
    qToLittleEndian(value, bytes.data() + offset);
}

void putF64(QByteArray &bytes, int offset, double value)
{
    ensureSize(bytes, offset + 8);
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, bytes.data() + offset);
}

QByteArray u32Bytes(quint32 value)
{
    QByteArray bytes;
    putU32(bytes, 0, value);
    return bytes;
}

QByteArray f64Bytes(double value)
{
    QByteArray bytes;
    putF64(bytes, 0, value);
    return bytes;
}

QByteArray dateBytes(const QDateTime &wallClock)
{
    QByteArray bytes;
    if (!wallClock.isValid()) {
        putU32(bytes, 0, 0xFFFFFFFF);
        return bytes;
    }
    const qint64 msecs = wallClock.toMSecsSinceEpoch() - EpochMSecs;
    const qint64 days = msecs / 86400000;
    const qint64 time = (msecs % 86400000) / 6000;
    putU16(bytes, 0, quint16(time));
    putU16(bytes, 2, quint16(days));
    return bytes;
}

QByteArray textBytes(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const int at = bytes.size();
        putU16(bytes, at, c.unicode());
    }
    putU16(bytes, bytes.size(), 0);
    return bytes;
}

QByteArray compObjStream(const QString &userType, const QString &clipboardFormat,
                         const QString &progId)
{
    QByteArray bytes(28, '\0');
    const auto ansi = [&bytes](const QString &text) {
        const QByteArray latin = text.toLatin1() + '\0';
        putU32(bytes, bytes.size(), quint32(latin.size()));
        bytes.append(latin);
    };
    ansi(userType);
    ansi(clipboardFormat);
    ansi(progId);
    putU32(bytes, bytes.size(), 0x71B239F4);
    putU32(bytes, bytes.size(), 0); // Unicode user type
    putU32(bytes, bytes.size(), 0); // Unicode clipboard format
    putU32(bytes, bytes.size(), 0); // reserved
    return bytes;
}

QByteArray propsStream(const QMap<quint32, QByteArray> &items, int statedCount)
{
    QByteArray bytes(16, '\0');
    putU16(bytes, 12, quint16(statedCount < 0 ? items.size() : statedCount));
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        const int at = bytes.size();
        putU32(bytes, at, quint32(it.value().size()));
        putU32(bytes, at + 4, it.key());
        putU32(bytes, at + 8, 0);
        bytes.append(it.value());
        if (it.value().size() % 2)
            bytes.append('\0');
    }
    return bytes;
}

QByteArray fieldMapItem(const QVector<FieldEntry> &entries)
{
    QByteArray bytes;
    for (const FieldEntry &e : entries) {
        QByteArray item(28, '\0');
        putU16(item, 4, e.offset);
        item[6] = char(e.varKey);
        putU32(item, 12, e.fieldId);
        putU16(item, 20, e.category);
        putU16(item, 22, e.size);
        bytes.append(item);
    }
    return bytes;
}

QByteArray fixedMetaStream(const QVector<QByteArray> &items, int itemSize, int statedCount)
{
    QByteArray bytes(16, '\0');
    putU32(bytes, 0, Magic);
    putU32(bytes, 8, quint32(statedCount < 0 ? items.size() : statedCount));
    for (QByteArray item : items) {
        item.resize(itemSize);
        bytes.append(item);
    }
    return bytes;
}

QByteArray metaItem(int size, quint8 flags, qint32 offset, const QVector<int> &bits)
{
    QByteArray item(size, '\0');
    item[0] = char(flags);
    putU32(item, 4, quint32(offset));
    for (const int bit : bits) {
        ensureSize(item, bit / 8 + 1);
        item[bit / 8] = char(quint8(item[bit / 8]) | (1 << (bit % 8)));
    }
    return item;
}

void varStreams(const QVector<VarValue> &values, bool byKey, QByteArray *varMeta,
                QByteArray *var2Data)
{
    QByteArray meta(24, '\0');
    putU32(meta, 0, Magic);
    putU32(meta, 8, quint32(values.size()));
    QByteArray data;
    for (const VarValue &v : values) {
        const int offset = data.size();
        putU32(data, offset, quint32(v.bytes.size()));
        data.append(v.bytes);
        const int at = meta.size();
        if (byKey) {
            putU32(meta, at, (quint32(v.uniqueId) & 0x00FFFFFF) | (v.field << 24));
            putU32(meta, at + 4, quint32(offset));
        } else {
            putU32(meta, at, quint32(v.uniqueId));
            putU32(meta, at + 4, quint32(offset));
            putU32(meta, at + 8, v.field);
        }
    }
    *varMeta = meta;
    *var2Data = data;
}

} // namespace MppBlockBuilder
