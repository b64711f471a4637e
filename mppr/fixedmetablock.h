#pragma once

// A FixedMeta-style stream: a 16-byte header (magic, item count) and items of one size.
// The block keeps the stream bytes; items are views into them.

#include "mppr/bytes.h"

namespace mppr {

class FixedMetaBlock
{
public:
    // Status 0 or 5. The stated item size is replaced by the one the stream implies when the
    // stream divides evenly into items of another size (the size varies between saving
    // versions); otherwise the stated size must fit.
    int parse(const QByteArray &stream, int statedItemSize);

    int itemCount() const { return m_count; }
    int itemSize() const { return m_itemSize; }
    ByteView item(int index) const;

private:
    QByteArray m_stream;
    int m_count = 0;
    int m_itemSize = 0;
};

} // namespace mppr
