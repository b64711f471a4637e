// Block streams: Props, field maps, fixed and variable data.

#include "tests/support/mppblockbuilder.h"

#include "mppr/fieldmap.h"
#include "mppr/fixeddatablock.h"
#include "mppr/fixedmetablock.h"
#include "mppr/project.h"
#include "mppr/propsblock.h"
#include "mppr/vardatablock.h"
#include "mppr/varmetablock.h"

#include <QtTest>

using namespace mppr;
using namespace MppBlockBuilder;

class TestMppBlocks : public QObject
{
    Q_OBJECT

private slots:
    void propsKeepsItemsOfTruncatedStream();
    void propsPadsOddItems();
    void propsShorterThanHeaderFails();
    void fieldMapBlockIndexFollowsOffsetRestarts();
    void fieldMapCategories();
    void fieldMapVariableKeyOfOldLayout();
    void fixedMetaItemSize_data();
    void fixedMetaItemSize();
    void fixedMetaRejectsBadStreams_data();
    void fixedMetaRejectsBadStreams();
    void fixedDataLocatesRecordsByOwnOffset();
    void fixedDataSplitsFixedSizeRecords();
    void varMetaItemLayouts();
    void varMetaLaterItemWins_data();
    void varMetaLaterItemWins();
    void varDataShortStreamFails();
};

void TestMppBlocks::propsKeepsItemsOfTruncatedStream()
{
    QMap<quint32, QByteArray> items;
    for (quint32 k = 1; k <= 7; ++k)
        items.insert(k, u32Bytes(k * 10));
    PropsBlock props;
    QCOMPARE(props.parse(propsStream(items, 10)), int(StatusOk));
    QCOMPARE(props.size(), 7);
    QCOMPARE(props.item(7), u32Bytes(70));
}

void TestMppBlocks::propsPadsOddItems()
{
    QMap<quint32, QByteArray> items;
    items.insert(1, QByteArray("abcde"));
    items.insert(2, QByteArray("xy"));
    const QByteArray stream = propsStream(items);
    // The second item header starts 18 bytes after the first: 12 header, 5 data, 1 padding.
    QCOMPARE(stream.size(), 16 + 18 + 14);
    PropsBlock props;
    QCOMPARE(props.parse(stream), int(StatusOk));
    QCOMPARE(props.item(1), QByteArray("abcde"));
    QCOMPARE(props.item(2), QByteArray("xy"));
}

void TestMppBlocks::propsShorterThanHeaderFails()
{
    PropsBlock props;
    QCOMPARE(props.parse(QByteArray(15, '\0')), int(StatusOpenFailed));
}

void TestMppBlocks::fieldMapBlockIndexFollowsOffsetRestarts()
{
    QVector<FieldEntry> entries;
    const quint16 offsets[] = { 0, 4, 8, 2, 6 };
    for (int i = 0; i < 5; ++i) {
        FieldEntry e;
        e.fieldId = TaskFieldBase + quint32(i);
        e.offset = offsets[i];
        e.category = 3;
        e.size = 2;
        entries.append(e);
    }
    const FieldMap map = FieldMap::fromItem(fieldMapItem(entries), FieldMapStyle::Mpp14);
    const quint32 expected[] = { 0, 0, 0, 1, 1 };
    for (int i = 0; i < 5; ++i) {
        const FieldDescriptor d = map.descriptor(TaskFieldBase + quint32(i));
        QCOMPARE(d.location, FieldLocation::FixedData);
        QCOMPARE(d.blockIndex, expected[i]);
        QCOMPARE(d.offset, offsets[i]);
    }
}

void TestMppBlocks::fieldMapCategories()
{
    FieldEntry flag;
    flag.fieldId = TaskFieldBase + 0x18;
    flag.offset = 0x0010;
    flag.category = 100;
    FieldEntry meta;
    meta.fieldId = TaskFieldBase + 0x19;
    meta.offset = 4;
    meta.category = 11;
    FieldEntry other;
    other.fieldId = 0x12340000;
    other.offset = 2;
    const FieldMap map
        = FieldMap::fromItem(fieldMapItem({ flag, meta, other }), FieldMapStyle::Mpp14);
    QCOMPARE(map.descriptor(TaskFieldBase + 0x18).location, FieldLocation::MetaFlag);
    QCOMPARE(map.descriptor(TaskFieldBase + 0x19).location, FieldLocation::MetaData);
    QCOMPARE(map.descriptor(0x12340000).fieldClass, quint32(0x0F400001));
    QVERIFY(map.descriptor(TaskFieldBase + 0x99).isAbsent());
    // A trailing partial entry is ignored.
    const FieldMap partial
        = FieldMap::fromItem(fieldMapItem({ flag }) + QByteArray(27, '\1'), FieldMapStyle::Mpp14);
    QCOMPARE(partial.size(), 1);
}

void TestMppBlocks::fieldMapVariableKeyOfOldLayout()
{
    FieldEntry name;
    name.fieldId = TaskFieldBase + 0x0E;
    name.varKey = 11;
    const QByteArray item = fieldMapItem({ name });
    QCOMPARE(FieldMap::fromItem(item, FieldMapStyle::Mpp9).descriptor(name.fieldId).offset,
             quint16(11));
    QCOMPARE(FieldMap::fromItem(item, FieldMapStyle::Mpp14).descriptor(name.fieldId).offset,
             quint16(0));
}

void TestMppBlocks::fixedMetaItemSize_data()
{
    QTest::addColumn<int>("storedSize");
    QTest::addColumn<int>("statedSize");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("extraBytes");
    QTest::addColumn<int>("expectedSize");
    QTest::newRow("stated matches") << 93 << 93 << 20 << 0 << 93;
    QTest::newRow("stream says 92") << 92 << 93 << 20 << 0 << 92;
    QTest::newRow("stream says 94") << 94 << 93 << 20 << 0 << 94;
    QTest::newRow("stream says 96") << 96 << 93 << 20 << 0 << 96;
    QTest::newRow("older layout says 93") << 93 << 86 << 5 << 0 << 93;
    // Trailing bytes that do not divide evenly: the stated size is kept.
    QTest::newRow("uneven tail keeps stated") << 47 << 47 << 20 << 3 << 47;
}

void TestMppBlocks::fixedMetaItemSize()
{
    QFETCH(int, storedSize);
    QFETCH(int, statedSize);
    QFETCH(int, count);
    QFETCH(int, extraBytes);
    QFETCH(int, expectedSize);
    QVector<QByteArray> items;
    for (int i = 0; i < count; ++i)
        items.append(metaItem(storedSize, quint8(i), i * 100));
    FixedMetaBlock meta;
    QCOMPARE(
        meta.parse(fixedMetaStream(items, storedSize) + QByteArray(extraBytes, '\0'), statedSize),
        int(StatusOk));
    QCOMPARE(meta.itemSize(), expectedSize);
    QCOMPARE(meta.itemCount(), count);
    QCOMPARE(int(meta.item(count - 1).u8(0)), count - 1);
}

void TestMppBlocks::fixedMetaRejectsBadStreams_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<int>("status");
    QByteArray wrongMagic = fixedMetaStream({ metaItem(10, 0, 0) }, 10);
    wrongMagic[0] = 0;
    QTest::newRow("empty") << QByteArray() << int(StatusMalformedBlock);
    QTest::newRow("wrong magic") << wrongMagic << int(StatusMalformedBlock);
    QTest::newRow("count beyond stream")
        << fixedMetaStream({ metaItem(10, 0, 0) }, 10, 1000000) << int(StatusMalformedBlock);
    QTest::newRow("huge count") << fixedMetaStream({}, 10, 0x7FFFFFFF) << int(StatusMalformedBlock);
    QTest::newRow("no items") << fixedMetaStream({}, 10) << int(StatusOk);
}

void TestMppBlocks::fixedMetaRejectsBadStreams()
{
    QFETCH(QByteArray, stream);
    QFETCH(int, status);
    FixedMetaBlock meta;
    QCOMPARE(meta.parse(stream, 10), status);
    if (status != StatusOk)
        QCOMPARE(meta.itemCount(), 0);
}

void TestMppBlocks::fixedDataLocatesRecordsByOwnOffset()
{
    // Items name offsets out of order; item 3 names an offset past the stream end and item 4
    // a negative one.
    const QByteArray data = QByteArray("AAAA") + "BBBBBB" + "CC";
    FixedMetaBlock meta;
    QCOMPARE(
        meta.parse(fixedMetaStream({ metaItem(10, 0, 10), metaItem(10, 0, 0), metaItem(10, 0, 4),
                                     metaItem(10, 0, 500), metaItem(10, 0, -4) },
                                   10),
                   10),
        int(StatusOk));
    FixedDataBlock fixed;
    QCOMPARE(fixed.parse(data, meta), int(StatusOk));
    QCOMPARE(fixed.record(0).toByteArray(), QByteArray("CC"));
    QCOMPARE(fixed.record(1).toByteArray(), QByteArray("AAAA"));
    QCOMPARE(fixed.record(2).toByteArray(), QByteArray("BBBBBB"));
    QVERIFY(fixed.record(3).isEmpty());
    QVERIFY(fixed.record(4).isEmpty());
    QVERIFY(fixed.record(5).isEmpty());

    // In ascending order (the common case), the last record ends at the stream's end.
    FixedMetaBlock inOrder;
    QCOMPARE(inOrder.parse(fixedMetaStream({ metaItem(10, 0, 0), metaItem(10, 0, 4),
                                             metaItem(10, 0, 10), metaItem(10, 0, 500) },
                                           10),
                           10),
             int(StatusOk));
    QCOMPARE(fixed.parse(data, inOrder), int(StatusOk));
    QCOMPARE(fixed.record(0).toByteArray(), QByteArray("AAAA"));
    QCOMPARE(fixed.record(1).toByteArray(), QByteArray("BBBBBB"));
    QCOMPARE(fixed.record(2).toByteArray(), QByteArray("CC"));
    QVERIFY(fixed.record(3).isEmpty());

    FixedMetaBlock tooSmall;
    QCOMPARE(tooSmall.parse(fixedMetaStream({ metaItem(4, 0, 0) }, 4), 4), int(StatusOk));
    QCOMPARE(fixed.parse(data, tooSmall), int(StatusMalformedBlock));
}

void TestMppBlocks::fixedDataSplitsFixedSizeRecords()
{
    FixedDataBlock fixed;
    fixed.split(QByteArray(250, 'x'), 110);
    QCOMPARE(fixed.recordCount(), 3);
    QCOMPARE(fixed.record(2).size(), 30);
    QCOMPARE(fixed.recordAt(220), 2);
    QCOMPARE(fixed.recordAt(110), 1);
    QCOMPARE(fixed.recordAt(111), -1);
    QCOMPARE(fixed.recordAt(330), -1);
    QCOMPARE(fixed.recordAt(-110), -1);
}

void TestMppBlocks::varMetaItemLayouts()
{
    const QVector<VarValue> values = { { 7, 11, textBytes("seven") },
                                       { 0x123456, 12, textBytes("big") },
                                       { 7, 11, textBytes("later") } };
    QByteArray meta8, data8;
    varStreams(values, true, &meta8, &data8);
    QCOMPARE(meta8.size(), 24 + 3 * 8);
    VarMetaBlock meta;
    QCOMPARE(meta.parse(meta8, VarMetaBlock::ItemLayout::Key), int(StatusOk));
    VarDataBlock var;
    QCOMPARE(var.parse(data8, meta), int(StatusOk));
    // A later item for the same record and key replaces the earlier one.
    QCOMPARE(var.value(7, 11).toByteArray(), textBytes("later"));
    QCOMPARE(var.value(0x123456, 12).toByteArray(), textBytes("big"));
    QVERIFY(var.value(7, 12).isEmpty());
    QCOMPARE(meta.uniqueIds(), (QVector<qint32> { 7, 0x123456 }));

    QByteArray meta12, data12;
    varStreams({ { -5, TaskFieldBase + 0x0E, textBytes("x") } }, false, &meta12, &data12);
    QCOMPARE(meta.parse(meta12, VarMetaBlock::ItemLayout::FieldId), int(StatusOk));
    QCOMPARE(var.parse(data12, meta), int(StatusOk));
    QCOMPARE(var.value(-5, TaskFieldBase + 0x0E).toByteArray(), textBytes("x"));
    // 8-byte items read as 12-byte ones run past the stream.
    QCOMPARE(meta.parse(meta8, VarMetaBlock::ItemLayout::FieldId), int(StatusMalformedBlock));
}

void TestMppBlocks::varMetaLaterItemWins_data()
{
    // Items out of field order, repeated (record, field) pairs and records with many fields,
    // under unique IDs close together and far apart: both kinds of index give the same values.
    QTest::addColumn<qint32>("idStep");
    QTest::addColumn<int>("fieldsPerRecord");
    QTest::newRow("close IDs, few fields") << 1 << 5;
    QTest::newRow("close IDs, many fields") << 3 << 40;
    QTest::newRow("far IDs") << 1000003 << 5;
    QTest::newRow("far IDs, many fields") << 700001 << 40;
}

void TestMppBlocks::varMetaLaterItemWins()
{
    QFETCH(qint32, idStep);
    QFETCH(int, fieldsPerRecord);
    QVector<VarValue> values;
    QMap<QPair<qint32, quint32>, QByteArray> expected;
    int n = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int r = 0; r < 30; ++r) {
            const qint32 id = -20 * idStep + r * idStep;
            for (int f = fieldsPerRecord - 1; f >= 0; f -= 1 + pass) {
                const quint32 field = TaskFieldBase + quint32(f * 7 % fieldsPerRecord);
                const QByteArray bytes = u32Bytes(quint32(++n));
                values.append({ id, field, bytes });
                expected[qMakePair(id, field)] = bytes;
            }
        }
    }
    QByteArray metaBytes, data;
    varStreams(values, false, &metaBytes, &data);
    VarMetaBlock meta;
    QCOMPARE(meta.parse(metaBytes, VarMetaBlock::ItemLayout::FieldId), int(StatusOk));
    VarDataBlock var;
    QCOMPARE(var.parse(data, meta), int(StatusOk));
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(var.value(it.key().first, it.key().second).toByteArray(), it.value());
    const qint32 lowest = -20 * idStep;
    QVERIFY(var.value(lowest, TaskFieldBase + quint32(fieldsPerRecord)).isEmpty());
    QVERIFY(var.value(lowest - 1, TaskFieldBase).isEmpty());
    QVERIFY(var.value(lowest + 30 * idStep, TaskFieldBase).isEmpty());
    QCOMPARE(meta.uniqueIds().size(), 30);
}

void TestMppBlocks::varDataShortStreamFails()
{
    QByteArray metaBytes, data;
    varStreams({ { 1, 1, QByteArray("abc") }, { 2, 1, QByteArray("defg") } }, false, &metaBytes,
               &data);
    VarMetaBlock meta;
    QCOMPARE(meta.parse(metaBytes, VarMetaBlock::ItemLayout::FieldId), int(StatusOk));
    VarDataBlock var;
    QCOMPARE(var.parse(data, meta), int(StatusOk));
    QCOMPARE(var.parse(data.left(data.size() - 1), meta), int(StatusMalformedBlock));
    QVERIFY(var.value(1, 1).isEmpty());
}

QTEST_GUILESS_MAIN(TestMppBlocks)
#include "tst_mppblocks.moc"
