// The input format of fuzz_blocks, shared by the target and the seed maker. The first byte
// chooses the parser (byte % ParserCount) and its layout (byte / ParserCount); the blocks the
// parser takes follow, each but the last one with a 16-bit little-endian length in front.
#pragma once

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>

namespace fuzzblocks {

enum Parser : int {
    Props = 0,
    FixedMeta = 1,
    FixedData = 2, // FixedMeta, FixedData
    VarMeta = 3,
    VarData = 4, // VarMeta, Var2Data
    FieldMaps = 5, // field map item, FixedMeta, FixedData, VarMeta, Var2Data
    ParserCount = 6,
};

// Item sizes that the readers state for their meta blocks, and record sizes they split by.
constexpr int StatedSizes[] = { 47, 37, 34, 10, 12, 16, 20, 24, 8, 4, 110, 48, 1, 0 };
constexpr int StatedSizeCount = int(sizeof StatedSizes / sizeof StatedSizes[0]);

// Splits `data` into `count` blocks: every block but the last is taken with its length in
// front; a length past the end takes what is left.
inline QList<QByteArray> splitBlocks(const uint8_t *data, size_t size, int count)
{
    QList<QByteArray> blocks;
    size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        size_t length = size - pos;
        if (i + 1 < count) {
            length = pos + 2 <= size ? size_t(data[pos] | (data[pos + 1] << 8)) : 0;
            pos = pos + 2 <= size ? pos + 2 : size;
            if (length > size - pos)
                length = size - pos;
        }
        blocks.append(QByteArray(reinterpret_cast<const char *>(data + pos), int(length)));
        pos += length;
    }
    return blocks;
}

// The inverse of the above: one input for the parser and layout (the first byte).
inline QByteArray joinBlocks(int parser, int layout, const QList<QByteArray> &blocks)
{
    QByteArray input(1, char(parser + ParserCount * layout));
    for (int i = 0; i < blocks.size(); ++i) {
        QByteArray block = blocks.at(i);
        if (i + 1 < blocks.size()) {
            block.truncate(0xFFFF);
            input.append(char(block.size() & 0xFF));
            input.append(char(block.size() >> 8));
        }
        input.append(block);
    }
    return input;
}

} // namespace fuzzblocks
