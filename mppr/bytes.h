#pragma once

// Little-endian reads over a non-owning view of bytes. Every value in an .mpp file is
// little-endian; callers check fits() before reading, the accessors do not check again.

#include <QByteArray>
#include <QtEndian>

#include <cstring>

namespace mppr {

// The magic number that opens the meta blocks (FixedMeta, VarMeta).
constexpr quint32 MetaBlockMagic = 0xFADFADBA;

class ByteView
{
public:
    ByteView() = default;
    ByteView(const char *data, int size)
        : m_data(data)
        , m_size(size)
    {
    }
    explicit ByteView(const QByteArray &bytes)
        : m_data(bytes.constData())
        , m_size(bytes.size())
    {
    }

    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    const char *data() const { return m_data; }

    bool fits(qint64 pos, qint64 count) const
    {
        return pos >= 0 && count >= 0 && pos <= m_size && count <= m_size - pos;
    }
    // The part [pos, pos + count) clamped to the view.
    ByteView mid(qint64 pos, qint64 count) const
    {
        if (pos < 0 || pos >= m_size || count <= 0)
            return ByteView();
        const qint64 n = qMin<qint64>(count, m_size - pos);
        return ByteView(m_data + pos, int(n));
    }

    quint8 u8(int pos) const { return static_cast<quint8>(m_data[pos]); }
    qint8 i8(int pos) const { return static_cast<qint8>(m_data[pos]); }
    quint16 u16(int pos) const { return qFromLittleEndian<quint16>(m_data + pos); }
    qint16 i16(int pos) const { return qFromLittleEndian<qint16>(m_data + pos); }
    quint32 u32(int pos) const { return qFromLittleEndian<quint32>(m_data + pos); }
    qint32 i32(int pos) const { return qFromLittleEndian<qint32>(m_data + pos); }
    double f64(int pos) const
    {
        const quint64 bits = qFromLittleEndian<quint64>(m_data + pos);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    QByteArray toByteArray() const { return QByteArray(m_data, m_size); }

private:
    const char *m_data = nullptr;
    int m_size = 0;
};

} // namespace mppr
