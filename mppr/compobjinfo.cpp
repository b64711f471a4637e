#include "mppr/compobjinfo.h"

#include "mppr/bytes.h"

namespace mppr {

namespace {

constexpr int HeaderSize = 28;
constexpr quint32 UnicodeMarker = 0x71B239F4;
constexpr quint32 MaxClipboardNameLength = 400;

// Stored strings carry a terminating NUL; the text ends at the first one.
QString latin1UpToNul(ByteView bytes)
{
    const int end = int(qstrnlen(bytes.data(), uint(bytes.size())));
    return QString::fromLatin1(bytes.data(), end);
}

QString utf16UpToNul(ByteView bytes)
{
    QString text;
    const int units = bytes.size() / 2;
    text.reserve(units);
    for (int i = 0; i < units; ++i) {
        const quint16 unit = bytes.u16(i * 2);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

QString standardClipboardName(quint32 id)
{
    switch (id) {
    case 2:
        return QStringLiteral("0x00000002 (CF_BITMAP)");
    case 3:
        return QStringLiteral("0x00000003 (CF_METAFILEPICT)");
    case 8:
        return QStringLiteral("0x00000008 (CF_DIB)");
    case 14:
        return QStringLiteral("0x0000000E (CF_ENHMETAFILE)");
    default:
        return QStringLiteral("0x") + QString::number(id, 16);
    }
}

class Cursor
{
public:
    explicit Cursor(const QByteArray &stream)
        : m_bytes(stream)
    {
    }
    qint64 remaining() const { return m_bytes.size() - m_pos; }
    bool readU32(quint32 *value)
    {
        if (!m_bytes.fits(m_pos, 4))
            return false;
        *value = m_bytes.u32(int(m_pos));
        m_pos += 4;
        return true;
    }
    ByteView take(qint64 count)
    {
        const ByteView part = m_bytes.mid(m_pos, count);
        m_pos += part.size();
        return part;
    }
    void skip(qint64 count) { m_pos += qMin(count, remaining()); }

private:
    ByteView m_bytes;
    qint64 m_pos = HeaderSize;
};

// A clipboard format: a standard id behind a marker, or a string of `unitSize`-byte units.
// Returns false for a malformed entry.
bool readClipboardFormat(Cursor &cursor, int unitSize, QString *name)
{
    quint32 marker;
    if (!cursor.readU32(&marker))
        return false;
    if (marker == 0xFFFFFFFE || marker == 0xFFFFFFFF) {
        quint32 id;
        if (!cursor.readU32(&id))
            return false;
        *name = standardClipboardName(id);
        return true;
    }
    if (marker > MaxClipboardNameLength || qint64(marker) * unitSize > cursor.remaining())
        return false;
    const ByteView text = cursor.take(qint64(marker) * unitSize);
    *name = unitSize == 1 ? latin1UpToNul(text) : utf16UpToNul(text);
    return true;
}

} // namespace

int CompObjInfo::parse(const QByteArray &stream)
{
    if (stream.size() < HeaderSize)
        return 1;
    Cursor cursor(stream);

    quint32 length;
    if (!cursor.readU32(&length))
        return 1;
    if (length != 0 && length < cursor.remaining())
        ansiUserType = latin1UpToNul(cursor.take(length));
    else
        cursor.skip(length);

    if (!readClipboardFormat(cursor, 1, &ansiClipboardFormat))
        return 1;

    if (!cursor.readU32(&length) || length < 1 || length > 40 || length > cursor.remaining())
        return 0;
    progId = latin1UpToNul(cursor.take(length));

    quint32 marker;
    if (!cursor.readU32(&marker) || marker != UnicodeMarker)
        return 0;

    if (!cursor.readU32(&length) || qint64(length) * 2 > cursor.remaining())
        return 1;
    // An empty Unicode user type carries nothing to prefer over the ProgID.
    const QString unicodeUserType = utf16UpToNul(cursor.take(qint64(length) * 2));
    if (!unicodeUserType.isEmpty())
        progId = unicodeUserType;

    if (!readClipboardFormat(cursor, 2, &unicodeClipboardFormat))
        return 1;

    if (!cursor.readU32(&length) || length == 0)
        return 0;
    if (qint64(length) * 2 > cursor.remaining())
        return 1;
    reserved = utf16UpToNul(cursor.take(qint64(length) * 2));
    return 0;
}

int versionFromUserType(const QString &userType, int defaultVersion)
{
    static const QString prefix = QStringLiteral("Microsoft.Project ");
    if (!userType.startsWith(prefix))
        return defaultVersion;
    int version = 0;
    for (int i = prefix.size(); i < userType.size() && i < prefix.size() + 9; ++i) {
        const QChar c = userType.at(i);
        if (!c.isDigit() || c.unicode() > '9')
            break;
        version = version * 10 + (c.unicode() - '0');
    }
    return version;
}

} // namespace mppr
