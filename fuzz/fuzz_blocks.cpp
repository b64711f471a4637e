// libFuzzer entry point: the block parsers of the reader fed directly with a block's bytes
// (see blockinput.h for the input format). Every view a parser hands out is read to its last
// byte, so that a view reaching past its block is an AddressSanitizer report.

#include "fuzz/blockinput.h"
#include "fuzz/fuzzsupport.h"
#include "mppr/fieldmap.h"
#include "mppr/fieldreader.h"
#include "mppr/fixeddatablock.h"
#include "mppr/fixedmetablock.h"
#include "mppr/propsblock.h"
#include "mppr/vardatablock.h"
#include "mppr/varmetablock.h"

#include <cstdlib>

using namespace mppr;
using namespace fuzzblocks;

namespace {

volatile unsigned sink;

void touch(ByteView view)
{
    unsigned sum = 0;
    for (int i = 0; i < view.size(); ++i)
        sum += view.u8(i);
    sink = sink + sum;
}

int statedSize(int layout)
{
    return StatedSizes[layout % StatedSizeCount];
}

void readMeta(const FixedMetaBlock &meta)
{
    for (int i = 0; i < meta.itemCount(); ++i) {
        const ByteView item = meta.item(i);
        if (item.size() != meta.itemSize())
            std::abort();
        touch(item);
    }
    touch(meta.item(-1));
    touch(meta.item(meta.itemCount()));
}

void readFixed(const FixedDataBlock &fixed, const QByteArray &stream)
{
    for (int i = 0; i < fixed.recordCount(); ++i)
        touch(fixed.record(i));
    for (qint64 offset : { qint64(-1), qint64(0), qint64(stream.size()), qint64(1) << 40 }) {
        const int index = fixed.recordAt(offset);
        if (index >= fixed.recordCount())
            std::abort();
        touch(fixed.record(index));
    }
}

// The (unique ID, field) pairs of a VarMeta stream's items, read as the layout lays them out.
QList<QPair<qint32, quint32>> varKeys(const QByteArray &stream, VarMetaBlock::ItemLayout layout)
{
    QList<QPair<qint32, quint32>> keys;
    const ByteView bytes(stream);
    const int itemSize = layout == VarMetaBlock::ItemLayout::Key ? 8 : 12;
    for (int pos = 24; bytes.fits(pos, itemSize) && keys.size() < 4096; pos += itemSize) {
        if (layout == VarMetaBlock::ItemLayout::Key)
            keys.append({ qint32(bytes.u32(pos) & 0x00FFFFFF), bytes.u8(pos + 3) });
        else
            keys.append({ bytes.i32(pos), bytes.u32(pos + 8) });
    }
    return keys;
}

void readVar(const VarMetaBlock &meta, const VarDataBlock &data, const QByteArray &metaStream,
             VarMetaBlock::ItemLayout layout)
{
    for (const qint32 id : meta.uniqueIds())
        touch(data.value(id, 0));
    for (const auto &key : varKeys(metaStream, layout))
        touch(data.value(key.first, key.second));
}

void fuzzFieldMaps(const QList<QByteArray> &blocks, int layout)
{
    const FieldMapStyle style = FieldMapStyle(layout % 3);
    const auto varLayout = style == FieldMapStyle::Mpp9 ? VarMetaBlock::ItemLayout::Key
                                                        : VarMetaBlock::ItemLayout::FieldId;
    const FieldMap map = FieldMap::fromItem(blocks.at(0), style);
    FixedMetaBlock meta;
    FixedDataBlock fixed;
    VarMetaBlock varMeta;
    VarDataBlock varData;
    if (meta.parse(blocks.at(1), statedSize(layout / 3)) == 0)
        fixed.parse(blocks.at(2), meta);
    if (varMeta.parse(blocks.at(3), varLayout) == 0)
        varData.parse(blocks.at(4), varMeta);

    RecordBlocks record;
    record.meta = &meta;
    record.meta2 = &meta;
    record.fixed = &fixed;
    record.fixed2 = &fixed;
    record.varData = &varData;
    record.varDataByKey = varLayout == VarMetaBlock::ItemLayout::Key;
    const FieldReader reader(record);
    const QVector<qint32> ids = varMeta.uniqueIds();
    const ByteView item(blocks.at(0));
    for (int base = 0; item.fits(base, 28); base += 28) {
        const FieldDescriptor field = map.descriptor(item.u32(base + 12));
        if (field.isAbsent())
            std::abort(); // every item of the map names a field
        const int records = qMin(fixed.recordCount(), 64);
        for (int r = -1; r <= records; ++r) {
            const qint32 id = ids.isEmpty() ? r : ids.at(qBound(0, r, ids.size() - 1));
            touch(reader.value(field, r, id));
            sink = sink + unsigned(reader.integer(field, r, id));
            sink = sink + unsigned(reader.number(field, r, id) != 0);
            sink = sink + unsigned(reader.text(field, id).size());
            sink = sink + unsigned(reader.date(field, r, id).isValid());
            sink = sink + unsigned(reader.flag(field, r));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::quietLogging();
    if (size == 0)
        return 0;
    const int parser = data[0] % ParserCount;
    const int layout = data[0] / ParserCount;
    ++data;
    --size;
    const auto varLayout
        = layout & 1 ? VarMetaBlock::ItemLayout::Key : VarMetaBlock::ItemLayout::FieldId;
    switch (parser) {
    case Props: {
        const QList<QByteArray> blocks = splitBlocks(data, size, 1);
        PropsBlock props;
        props.parse(blocks.at(0));
        // Keys the stream itself holds, wherever they fall.
        const ByteView bytes(blocks.at(0));
        for (int pos = 16; bytes.fits(pos, 8); pos += 4)
            touch(ByteView(props.item(bytes.u32(pos))));
        break;
    }
    case FixedMeta: {
        FixedMetaBlock meta;
        meta.parse(splitBlocks(data, size, 1).at(0), statedSize(layout));
        readMeta(meta);
        break;
    }
    case FixedData: {
        const QList<QByteArray> blocks = splitBlocks(data, size, 2);
        FixedMetaBlock meta;
        FixedDataBlock fixed;
        if (layout & 1) {
            fixed.split(blocks.at(1), statedSize(layout / 2));
        } else {
            meta.parse(blocks.at(0), statedSize(layout / 2));
            readMeta(meta);
            fixed.parse(blocks.at(1), meta);
        }
        readFixed(fixed, blocks.at(1));
        break;
    }
    case VarMeta: {
        const QList<QByteArray> blocks = splitBlocks(data, size, 1);
        VarMetaBlock meta;
        meta.parse(blocks.at(0), varLayout);
        VarDataBlock none;
        readVar(meta, none, blocks.at(0), varLayout);
        break;
    }
    case VarData: {
        const QList<QByteArray> blocks = splitBlocks(data, size, 2);
        VarMetaBlock meta;
        VarDataBlock varData;
        if (meta.parse(blocks.at(0), varLayout) == 0)
            varData.parse(blocks.at(1), meta);
        readVar(meta, varData, blocks.at(0), varLayout);
        break;
    }
    case FieldMaps:
        fuzzFieldMaps(splitBlocks(data, size, 5), layout);
        break;
    }
    return 0;
}
