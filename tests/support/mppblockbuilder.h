#pragma once

// Encoders for the block streams of an .mpp file, for crafting files in tests and in the
// schedule generator. Each returns the stream bytes; counts and sizes can be overridden so
// that a test can state one thing and store another.

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QVector>

namespace MppBlockBuilder {

void putU16(QByteArray &bytes, int offset, quint16 value);
void putU32(QByteArray &bytes, int offset, quint32 value);
void putF64(QByteArray &bytes, int offset, double value);
QByteArray u32Bytes(quint32 value);
QByteArray f64Bytes(double value);
// The 4-byte date value: time in tenths of a minute, then the day number since 1983-12-31.
// A null QDateTime gives the no-date value FF FF FF FF.
QByteArray dateBytes(const QDateTime &wallClock);
// UTF-16LE with a terminating NUL, as the files store texts.
QByteArray textBytes(const QString &text);

// CompObj: header, ANSI user type, clipboard format, ProgID, then the Unicode part.
QByteArray compObjStream(const QString &userType, const QString &clipboardFormat,
                         const QString &progId);

// Props: items under their keys; statedCount < 0 states the real count.
QByteArray propsStream(const QMap<quint32, QByteArray> &items, int statedCount = -1);

// One field-map entry (28 bytes).
struct FieldEntry
{
    quint32 fieldId = 0;
    quint16 offset = 0xFFFF; // 0xFFFF: variable data
    quint16 category = 0;
    quint16 size = 0;
    quint8 varKey = 0; // "   19" layout: the variable-data key
};
QByteArray fieldMapItem(const QVector<FieldEntry> &entries);

// FixedMeta-style stream: 16-byte header with the magic, then the items padded or cut to
// itemSize. statedCount < 0 states the real count.
QByteArray fixedMetaStream(const QVector<QByteArray> &items, int itemSize, int statedCount = -1);
// A meta item of `size` bytes: byte 0 = flags, offset at 4, the given bits set.
QByteArray metaItem(int size, quint8 flags, qint32 offset, const QVector<int> &bits = {});

// Variable data: (unique ID, field or key) -> bytes.
struct VarValue
{
    qint32 uniqueId = 0;
    quint32 field = 0; // full field id, or the 8-bit key of the "   19" layout
    QByteArray bytes;
};
// VarMeta with 12-byte items (byKey false) or 8-byte items (byKey true), and its Var2Data.
void varStreams(const QVector<VarValue> &values, bool byKey, QByteArray *varMeta,
                QByteArray *var2Data);

} // namespace MppBlockBuilder
