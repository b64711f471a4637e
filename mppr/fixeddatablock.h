#pragma once

// The fixed records of a record class (FixedData or Fixed2Data), as views into the stream.

#include "mppr/bytes.h"

#include <QVector>

namespace mppr {

class FixedMetaBlock;

class FixedDataBlock
{
public:
    // Offset-located records: record i starts at the offset named by meta item i and runs to
    // the next larger start offset of any item, or to the stream end. Status 0 or 5.
    int parse(const QByteArray &stream, const FixedMetaBlock &meta);
    // Back-to-back records of a fixed size, the last one possibly shorter. Never fails.
    void split(const QByteArray &stream, int recordSize);

    int recordCount() const { return m_records.size(); }
    ByteView record(int index) const;
    // Index of the record that starts at the offset, or -1.
    int recordAt(qint64 offset) const;

private:
    struct Span
    {
        qint64 start = 0;
        int size = 0;
    };
    QByteArray m_stream;
    QVector<Span> m_records;
    int m_fixedSize = 0; // for split(): records start at multiples of it
};

} // namespace mppr
