#pragma once

// The Props stream of a version directory: keyed items of raw bytes.

#include <QByteArray>
#include <QHash>

namespace mppr {

class PropsBlock
{
public:
    // 0 on success (a truncated stream keeps the items read so far), 1 when the stream is
    // shorter than its 16-byte header.
    int parse(const QByteArray &stream);

    QByteArray item(quint32 key) const { return m_items.value(key); }
    bool contains(quint32 key) const { return m_items.contains(key); }
    int size() const { return m_items.size(); }

private:
    QHash<quint32, QByteArray> m_items;
};

} // namespace mppr
