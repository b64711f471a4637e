#include "cfb/direntry.h"

#include <QtEndian>

namespace cfb {

namespace {

constexpr int NameBytesMax = 64;

quint32 u32At(const char *bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes + offset);
}

QString nameFromBytes(const char *bytes, int byteLength)
{
    const int units = qBound(0, byteLength, NameBytesMax) / 2;
    QString name;
    name.reserve(units);
    for (int i = 0; i < units; ++i) {
        const quint16 unit = qFromLittleEndian<quint16>(bytes + 2 * i);
        if (unit == 0)
            break;
        name.append(QChar(quint16(unit & 0xFF)));
    }
    // Some writers prefix special streams with a control character ("\x01CompObj"); callers
    // look them up by their readable name.
    if (!name.isEmpty() && name.at(0).unicode() < 32)
        name.remove(0, 1);
    return name;
}

} // namespace

DirEntry DirEntry::fromBytes(const char *bytes)
{
    DirEntry entry;
    const int nameLength = qFromLittleEndian<quint16>(bytes + 64);
    entry.type = quint8(bytes[66]);
    entry.valid = (entry.type == 1 || entry.type == 2 || entry.type == 5) && nameLength != 0;
    entry.name = nameFromBytes(bytes, nameLength);
    entry.isStorage = entry.type != 2;
    entry.left = u32At(bytes, 68);
    entry.right = u32At(bytes, 72);
    entry.child = u32At(bytes, 76);
    entry.start = u32At(bytes, 116);
    entry.size = u32At(bytes, 120);
    return entry;
}

int compareNames(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b, Qt::CaseSensitive);
}

} // namespace cfb
