// Crafted compound files: well-formed ones from CfbWriter, and damaged copies of them in which
// exactly one field lies. Every damaged file must open or fail with a result code, and every
// lookup and read must end with a bounded, shorter answer.

#include "cfb/compoundfile.h"
#include "tests/support/cfbwriter.h"

#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using cfb::CompoundFile;
using cfb::CompoundStream;

namespace {

QByteArray pattern(int size, int seed = 0)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = 0x9E3779B9u + quint32(seed);
    for (int i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = char(state >> 24);
    }
    return bytes;
}

QByteArray readStream(const CompoundFile &file, const QString &path)
{
    CompoundStream stream = file.openStream(path);
    return stream.readAll();
}

// The names below the root of a real Project file, with the tree order writers give them.
CfbWriter projectLikeWriter()
{
    CfbWriter writer;
    writer.addStream(QStringLiteral("/\x01"
                                    "CompObj"),
                     QByteArray("compobj"));
    writer.addStream(QStringLiteral("/Props12"), QByteArray("props"));
    writer.addStream(QStringLiteral("/SummaryInformation"), pattern(300));
    writer.addStream(QStringLiteral("/DocumentSummaryInformation"), pattern(200));
    writer.addStream(QStringLiteral("/   112/TBkndTask/FixedData"), pattern(5000, 1));
    writer.addStream(QStringLiteral("/   112/TBkndTask/FixedMeta"), pattern(100, 2));
    writer.addStorage(QStringLiteral("/   212"));
    return writer;
}

} // namespace

class TestCompoundFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void readInPieces();
    void pathForms();
    void namesAreExact();
    void listingOrder();
    void storageOrMissingOpensEmpty();
    void cutoffSelectsBlockKind();
    void masterBlocks();
    void controlCharacterPrefix();
    void openFromFile();
    void openFailures();
    void headerValidation_data();
    void headerValidation();
    void bigChainDamage_data();
    void bigChainDamage();
    void smallChainDamage();
    void declaredSizeLargerThanFile();
    void directoryCycles();
    void directoryChainLoop();
    void masterChainLoop();
    void hugeCounts();
    void entryNameRules();
    void truncatedFile();
};

void TestCompoundFile::roundTrip_data()
{
    QTest::addColumn<int>("bigShift");
    QTest::addColumn<int>("size");
    for (int shift : { 9, 12 }) {
        for (int size : { 0, 1, 63, 64, 65, 4095, 4096, 4097, 100000 }) {
            QTest::addRow("shift %d, %d bytes", shift, size) << shift << size;
        }
    }
}

void TestCompoundFile::roundTrip()
{
    QFETCH(int, bigShift);
    QFETCH(int, size);
    CfbWriter writer(bigShift);
    const QByteArray data = pattern(size);
    writer.addStream(QStringLiteral("/dir/data"), data);
    writer.addStream(QStringLiteral("/dir/other"), pattern(700, 3));
    CompoundFile file;
    QVERIFY(file.openData(writer.build()));
    QCOMPARE(file.result(), int(cfb::ResultOk));
    QCOMPARE(file.bigBlockSize(), 1 << bigShift);
    CompoundStream stream = file.openStream(QStringLiteral("/dir/data"));
    QVERIFY(!stream.isNull());
    QCOMPARE(stream.size(), qint64(size));
    QCOMPARE(stream.readAll(), data);
    QVERIFY(stream.eof());
    QCOMPARE(readStream(file, QStringLiteral("dir/other")), pattern(700, 3));
}

void TestCompoundFile::readInPieces()
{
    CfbWriter writer;
    const QByteArray big = pattern(20000);
    const QByteArray small = pattern(3000, 1);
    writer.addStream(QStringLiteral("big"), big);
    writer.addStream(QStringLiteral("small"), small);
    CompoundFile file;
    QVERIFY(file.openData(writer.build()));
    for (const auto &[path, data] :
         { qMakePair(QStringLiteral("big"), big), qMakePair(QStringLiteral("small"), small) }) {
        CompoundStream stream = file.openStream(path);
        QByteArray joined;
        char buffer[97];
        qint64 n;
        while ((n = stream.read(buffer, sizeof buffer)) > 0)
            joined.append(buffer, int(n));
        QCOMPARE(joined, data);
        QCOMPARE(stream.tell(), qint64(data.size()));

        stream.seek(data.size() - 10);
        QCOMPARE(stream.read(100), data.right(10));
        stream.seek(1000);
        QCOMPARE(stream.read(600), data.mid(1000, 600));
        QCOMPARE(stream.tell(), qint64(1600));
        stream.seek(-5);
        QCOMPARE(stream.read(buffer, 10), qint64(0));
        stream.seek(data.size() + 100);
        QCOMPARE(stream.read(buffer, 10), qint64(0));
        QVERIFY(stream.eof());
        stream.seek(0);
        QCOMPARE(stream.read(nullptr, 10), qint64(0));
        QCOMPARE(stream.read(buffer, 0), qint64(0));
        QCOMPARE(stream.tell(), qint64(0));
    }
}

void TestCompoundFile::pathForms()
{
    CfbWriter writer = projectLikeWriter();
    CompoundFile file;
    QVERIFY(file.openData(writer.build()));
    QVERIFY(file.exists(QStringLiteral("/CompObj")));
    QVERIFY(file.exists(QStringLiteral("CompObj")));
    QCOMPARE(readStream(file, QStringLiteral("CompObj")), QByteArray("compobj"));
    QCOMPARE(readStream(file, QStringLiteral("/CompObj")), QByteArray("compobj"));
    QVERIFY(file.exists(QStringLiteral("/   112/TBkndTask/FixedData")));
    QVERIFY(file.exists(QStringLiteral("   112/TBkndTask")));
    QVERIFY(file.exists(QStringLiteral("/")));
    QVERIFY(!file.exists(QString()));
    QVERIFY(!file.exists(QStringLiteral("//CompObj")));
    QVERIFY(!file.exists(QStringLiteral("/   112/")));
    QVERIFY(!file.exists(QStringLiteral("/   112/TBkndTask/FixedData/x")));
    QVERIFY(!file.exists(QStringLiteral("/   114")));
    QVERIFY(!file.exists(QStringLiteral("/   112/Missing/FixedData")));
}

void TestCompoundFile::namesAreExact()
{
    CfbWriter writer;
    writer.addStream(QStringLiteral("   19"), QByteArray("nineteen"));
    writer.addStream(QStringLiteral("   114"), QByteArray("one-fourteen"));
    writer.addStream(QStringLiteral("Props"), QByteArray("upper"));
    writer.addStream(QStringLiteral("props"), QByteArray("lower"));
    writer.addStream(QStringLiteral("PROPS"), QByteArray("capitals"));
    CompoundFile file;
    QVERIFY(file.openData(writer.build()));
    QCOMPARE(readStream(file, QStringLiteral("   19")), QByteArray("nineteen"));
    QCOMPARE(readStream(file, QStringLiteral("   114")), QByteArray("one-fourteen"));
    QVERIFY(!file.exists(QStringLiteral("19")));
    QVERIFY(!file.exists(QStringLiteral("  19")));
    QCOMPARE(readStream(file, QStringLiteral("Props")), QByteArray("upper"));
    QCOMPARE(readStream(file, QStringLiteral("props")), QByteArray("lower"));
    QCOMPARE(readStream(file, QStringLiteral("PROPS")), QByteArray("capitals"));
    QVERIFY(!file.exists(QStringLiteral("pROPS")));
}

void TestCompoundFile::listingOrder()
{
    CfbWriter writer;
    for (const char *name : { "zz", "b", "aaa", "a", "   19", "   114", "B" })
        writer.addStream(QStringLiteral("/store/") + QLatin1String(name), QByteArray(name));
    writer.addStorage(QStringLiteral("/store/sub"));
    writer.addStream(QStringLiteral("/top"), QByteArray("t"));
    CompoundFile file;
    QVERIFY(file.openData(writer.build()));
    // Tree order as writers make it: by length, then case-folded.
    const QStringList expected { "a", "B", "b", "zz", "aaa", "sub", "   19", "   114" };
    QCOMPARE(file.listEntries(QStringLiteral("/store")), expected);
    QCOMPARE(file.listEntries(QStringLiteral("store")), expected);
    QCOMPARE(file.listEntries(QStringLiteral("/")), QStringList({ "top", "store" }));
    QVERIFY(file.listEntries(QStringLiteral("/store/sub")).isEmpty());
    QVERIFY(file.listEntries(QStringLiteral("/top")).isEmpty());
    QVERIFY(file.listEntries(QStringLiteral("/missing")).isEmpty());
    QVERIFY(file.listEntries(QString()).isEmpty());
}

void TestCompoundFile::storageOrMissingOpensEmpty()
{
    CfbWriter writer = projectLikeWriter();
    CompoundFile file;
    QVERIFY(file.openData(writer.build()));
    for (const QString &path : { QStringLiteral("/   112"), QStringLiteral("/"),
                                 QStringLiteral("/nothing"), QString() }) {
        CompoundStream stream = file.openStream(path);
        QVERIFY2(stream.isNull(), qPrintable(path));
        QCOMPARE(stream.size(), qint64(0));
        char buffer[16];
        QCOMPARE(stream.read(buffer, sizeof buffer), qint64(0));
        QVERIFY(stream.readAll().isEmpty());
        QVERIFY(stream.eof());
    }
    CompoundStream detached;
    char buffer[4];
    QCOMPARE(detached.read(buffer, 4), qint64(0));
}

void TestCompoundFile::cutoffSelectsBlockKind()
{
    // Cutting the small-block chain shortens the 4095-byte stream only; cutting the big-block
    // chain shortens the 4096-byte stream only.
    CfbWriter writer;
    writer.addStream(QStringLiteral("small"), pattern(4095));
    writer.addStream(QStringLiteral("big"), pattern(4096));
    const QByteArray good = writer.build();

    QByteArray bytes = good;
    CfbWriter::putU32(bytes, writer.smallTableEntryOffset(writer.startBlock("small")),
                      CfbWriter::EndOfChain);
    CompoundFile smallCut;
    QVERIFY(smallCut.openData(bytes));
    QCOMPARE(readStream(smallCut, "small"), pattern(4095).left(CfbWriter::SmallBlockSize));
    QCOMPARE(readStream(smallCut, "big"), pattern(4096));

    bytes = good;
    CfbWriter::putU32(bytes, writer.bigTableEntryOffset(writer.startBlock("big")),
                      CfbWriter::EndOfChain);
    CompoundFile bigCut;
    QVERIFY(bigCut.openData(bytes));
    QCOMPARE(readStream(bigCut, "small"), pattern(4095));
    QCOMPARE(readStream(bigCut, "big"), pattern(4096).left(writer.bigBlockSize()));
}

void TestCompoundFile::masterBlocks()
{
    // 109 table blocks cover 7 MB of 512-byte blocks: a 16 MB stream needs two master blocks,
    // and its chain runs through table blocks that only they list.
    CfbWriter writer;
    const QByteArray data = pattern(16 << 20);
    writer.addStream(QStringLiteral("/   114/big"), data);
    writer.addStream(QStringLiteral("/   114/small"), pattern(900, 1));
    const QByteArray bytes = writer.build();
    QCOMPARE(writer.masterBlockCount(), 2);
    CompoundFile file;
    QVERIFY(file.openData(bytes));
    QCOMPARE(readStream(file, QStringLiteral("/   114/big")), data);
    QCOMPARE(readStream(file, QStringLiteral("/   114/small")), pattern(900, 1));

    CfbWriter padded(12);
    padded.setMinimumBigTableBlocks(120);
    padded.addStream(QStringLiteral("s"), pattern(5000));
    CompoundFile paddedFile;
    QVERIFY(paddedFile.openData(padded.build()));
    QCOMPARE(padded.masterBlockCount(), 1);
    QCOMPARE(readStream(paddedFile, "s"), pattern(5000));
}

void TestCompoundFile::controlCharacterPrefix()
{
    // Writers order siblings by their stored names, where "\x01CompObj" is eight characters
    // long; looked up as "CompObj" it must still be found, and so must its neighbours.
    CfbWriter writer = projectLikeWriter();
    CompoundFile file;
    QVERIFY(file.openData(writer.build()));
    const QStringList names = file.listEntries(QStringLiteral("/"));
    QVERIFY(names.contains(QStringLiteral("CompObj")));
    QCOMPARE(names.size(), 6);
    for (const QString &name : names)
        QVERIFY2(file.exists(QLatin1Char('/') + name), qPrintable(name));
    QCOMPARE(readStream(file, "Props12"), QByteArray("props"));
    QVERIFY(!file.exists(QStringLiteral("\x01"
                                        "CompObj")));
}

void TestCompoundFile::openFromFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CfbWriter writer = projectLikeWriter();
    const QString path = dir.filePath(QStringLiteral("project.mpp"));
    QVERIFY(writer.write(path));
    CompoundFile file(path);
    QCOMPARE(file.fileName(), path);
    QVERIFY(!file.isOpen());
    QVERIFY(file.open());
    QVERIFY(file.isOpen());
    QCOMPARE(readStream(file, QStringLiteral("/   112/TBkndTask/FixedData")), pattern(5000, 1));
    QCOMPARE(readStream(file, QStringLiteral("/   112/TBkndTask/FixedMeta")), pattern(100, 2));
}

void TestCompoundFile::openFailures()
{
    QTemporaryDir dir;
    CompoundFile missing(dir.filePath(QStringLiteral("missing.mpp")));
    QVERIFY(!missing.open());
    QCOMPARE(missing.result(), int(cfb::ResultCannotOpen));
    QVERIFY(!missing.exists(QStringLiteral("/")));
    QVERIFY(missing.openStream(QStringLiteral("CompObj")).isNull());

    CompoundFile folder(dir.path());
    QVERIFY(!folder.open());

    CompoundFile empty;
    QVERIFY(!empty.openData(QByteArray()));
    QCOMPARE(empty.result(), int(cfb::ResultNotCompound));

    CompoundFile text;
    QVERIFY(!text.openData(QByteArray(2048, 'x')));
    QCOMPARE(text.result(), int(cfb::ResultNotCompound));

    // A valid signature but no room for the header.
    CfbWriter writer;
    CompoundFile shortHeader;
    QVERIFY(!shortHeader.openData(writer.build().left(100)));
    QCOMPARE(shortHeader.result(), int(cfb::ResultMalformed));
}

void TestCompoundFile::headerValidation_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("width");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("result");
    QTest::newRow("cutoff 4095") << 56 << 4 << 4095u << int(cfb::ResultMalformed);
    QTest::newRow("cutoff 4097") << 56 << 4 << 4097u << int(cfb::ResultMalformed);
    QTest::newRow("cutoff 0") << 56 << 4 << 0u << int(cfb::ResultMalformed);
    QTest::newRow("no table blocks") << 44 << 4 << 0u << int(cfb::ResultMalformed);
    QTest::newRow("masters with few table blocks") << 72 << 4 << 1u << int(cfb::ResultMalformed);
    QTest::newRow("big shift 6") << 30 << 2 << 6u << int(cfb::ResultMalformed);
    QTest::newRow("big shift 31") << 30 << 2 << 31u << int(cfb::ResultMalformed);
    QTest::newRow("big shift 65535") << 30 << 2 << 65535u << int(cfb::ResultMalformed);
    QTest::newRow("small shift above big") << 32 << 2 << 10u << int(cfb::ResultMalformed);
    QTest::newRow("small shift equal") << 32 << 2 << 9u << int(cfb::ResultOk);
    QTest::newRow("small shift 0") << 32 << 2 << 0u << int(cfb::ResultOk);
    QTest::newRow("signature") << 0 << 4 << 0x0u << int(cfb::ResultNotCompound);
}

void TestCompoundFile::headerValidation()
{
    QFETCH(int, offset);
    QFETCH(int, width);
    QFETCH(quint32, value);
    QFETCH(int, result);
    CfbWriter writer = projectLikeWriter();
    QByteArray bytes = writer.build();
    if (width == 2)
        CfbWriter::putU16(bytes, offset, quint16(value));
    else
        CfbWriter::putU32(bytes, offset, value);
    CompoundFile file;
    QCOMPARE(file.openData(bytes), result == cfb::ResultOk);
    QCOMPARE(file.result(), result);
    // Whatever the header says, lookups and reads stay bounded.
    for (const QString &name : file.listEntries(QStringLiteral("/")))
        QVERIFY(readStream(file, name).size() <= bytes.size());
}

void TestCompoundFile::bigChainDamage_data()
{
    QTest::addColumn<int>("damagedBlock"); // position in the chain whose link is rewritten
    QTest::addColumn<int>("target"); // -1 first block of the chain, else a block number
    QTest::addColumn<int>("readable"); // blocks still read
    QTest::newRow("loop to start") << 2 << -1 << 3;
    QTest::newRow("self loop") << 0 << -2 << 1;
    QTest::newRow("past the table") << 3 << 0x7FFFFFFF << 4;
    QTest::newRow("free marker") << 1 << int(0xFFFFFFFF) << 2;
    QTest::newRow("beyond the file") << 4 << 5000 << 5;
    QTest::newRow("into the table") << 1 << 0 << 3;
}

void TestCompoundFile::bigChainDamage()
{
    QFETCH(int, damagedBlock);
    QFETCH(int, target);
    QFETCH(int, readable);
    CfbWriter writer;
    writer.setMinimumBigTableBlocks(50); // a table much longer than the file
    const QByteArray data = pattern(10 * 512);
    writer.addStream(QStringLiteral("/s/data"), data);
    QByteArray bytes = writer.build();
    const quint32 first = writer.startBlock("/s/data");
    const quint32 damaged = first + quint32(damagedBlock);
    const quint32 link = target == -1 ? first : target == -2 ? damaged : quint32(target);
    CfbWriter::putU32(bytes, writer.bigTableEntryOffset(damaged), link);

    CompoundFile file;
    QVERIFY(file.openData(bytes));
    CompoundStream stream = file.openStream(QStringLiteral("/s/data"));
    QCOMPARE(stream.size(), qint64(readable) * 512);
    const QByteArray read = stream.readAll();
    QCOMPARE(read.size(), readable * 512);
    // The blocks before the damage read as written; a link into the table reads table bytes.
    QCOMPARE(read.left((damagedBlock + 1) * 512), data.left((damagedBlock + 1) * 512));
}

void TestCompoundFile::smallChainDamage()
{
    CfbWriter writer;
    const QByteArray data = pattern(1000);
    writer.addStream(QStringLiteral("small"), data);
    const QByteArray good = writer.build();
    const quint32 first = writer.startBlock("small");

    QByteArray loop = good;
    CfbWriter::putU32(loop, writer.smallTableEntryOffset(first + 3), first);
    CompoundFile looped;
    QVERIFY(looped.openData(loop));
    QCOMPARE(readStream(looped, "small"), data.left(4 * 64));

    QByteArray past = good;
    CfbWriter::putU32(past, writer.smallTableEntryOffset(first + 1), 0x00FFFFFF);
    CompoundFile pastTable;
    QVERIFY(pastTable.openData(past));
    QCOMPARE(readStream(pastTable, "small"), data.left(2 * 64));

    // The root's chain holds the mini stream: without it every small stream is empty.
    QByteArray noMini = good;
    CfbWriter::putU32(noMini, writer.entryOffset("/") + 116, CfbWriter::EndOfChain);
    CompoundFile withoutMini;
    QVERIFY(withoutMini.openData(noMini));
    QVERIFY(readStream(withoutMini, "small").isEmpty());
    QCOMPARE(withoutMini.openStream("small").size(), qint64(0));

    // A small block number whose place lies past the mini stream's end.
    QByteArray outside = good;
    CfbWriter::putU32(outside, writer.smallTableEntryOffset(first), 100);
    CfbWriter::putU32(outside, writer.smallTableEntryOffset(100), CfbWriter::EndOfChain);
    CompoundFile outsideMini;
    QVERIFY(outsideMini.openData(outside));
    QCOMPARE(readStream(outsideMini, "small"), data.left(64));
}

void TestCompoundFile::declaredSizeLargerThanFile()
{
    CfbWriter writer;
    writer.addStream(QStringLiteral("big"), pattern(8192));
    writer.addStream(QStringLiteral("small"), pattern(500, 1));
    QByteArray bytes = writer.build();
    CfbWriter::putU32(bytes, writer.entryOffset("big") + 120, 0xFFFFFFF0u);
    CfbWriter::putU32(bytes, writer.entryOffset("small") + 120, 4000);
    CompoundFile file;
    QVERIFY(file.openData(bytes));
    QCOMPARE(file.directory()[size_t(writer.entryIndex("big"))].size, 0xFFFFFFF0u);
    CompoundStream big = file.openStream("big");
    QCOMPARE(big.size(), qint64(8192)); // what the chain covers, not what the entry claims
    QCOMPARE(big.readAll(), pattern(8192));
    CompoundStream small = file.openStream("small");
    QCOMPARE(small.size(), qint64(512)); // eight small blocks in its chain
    QCOMPARE(small.readAll().left(500), pattern(500, 1));
}

void TestCompoundFile::directoryCycles()
{
    CfbWriter writer;
    for (const char *name : { "a", "b", "c", "d", "e", "f", "g" })
        writer.addStream(QStringLiteral("/store/") + QLatin1String(name), QByteArray(name));
    const QByteArray good = writer.build();
    CompoundFile reference;
    QVERIFY(reference.openData(good));
    const int store = writer.entryIndex("/store");
    const quint32 top = reference.directory()[size_t(store)].child;
    const QString topName = reference.directory()[top].name;
    const QString leftName = reference.directory()[reference.directory()[top].left].name;
    const QString rightName = reference.directory()[reference.directory()[top].right].name;
    QCOMPARE(topName, QStringLiteral("d"));

    struct Damage
    {
        QString entry;
        int field; // 68 left, 72 right, 76 child
        quint32 link;
    };
    const QList<Damage> damages {
        { QStringLiteral("/store/g"), 72, top }, // rightmost leaf back to the top
        { QStringLiteral("/store/a"), 68, top }, // leftmost leaf back to the top
        { QStringLiteral("/store/") + topName, 68, top }, // top is its own left
        { QStringLiteral("/store/b"), 68, quint32(store) }, // back to the storage
        { QStringLiteral("/store/f"), 72, 0 }, // the root
        { QStringLiteral("/store"), 76, quint32(store) }, // storage is its own child
        { QStringLiteral("/store/c"), 76, top }, // stream with a child
        { QStringLiteral("/store/e"), 72, 0x7FFFFFFF }, // beyond the directory
    };
    for (const Damage &damage : damages) {
        QByteArray bytes = good;
        CfbWriter::putU32(bytes, writer.entryOffset(damage.entry) + damage.field, damage.link);
        CompoundFile file;
        QVERIFY(file.openData(bytes));
        const QStringList names = file.listEntries(QStringLiteral("/store"));
        QVERIFY(names.size() <= 7);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        for (const char *name : { "a", "b", "c", "d", "e", "f", "g", "x", "zz", "" })
            file.exists(QStringLiteral("/store/") + QLatin1String(name));
        QVERIFY(!file.exists(QStringLiteral("/store/x")));
        QVERIFY(!file.exists(QStringLiteral("/store/c/d")));
        if (damage.field != 76)
            QCOMPARE(readStream(file, QStringLiteral("/store/") + topName), topName.toLatin1());
        if (damage.entry == QStringLiteral("/store/g")
            || damage.entry == QStringLiteral("/store/a")) {
            // A leaf linking back up loses nothing.
            QCOMPARE(names, QStringList({ "a", "b", "c", "d", "e", "f", "g" }));
            for (const QString &name : { leftName, rightName })
                QCOMPARE(readStream(file, QStringLiteral("/store/") + name), name.toLatin1());
        }
    }
}

void TestCompoundFile::directoryChainLoop()
{
    CfbWriter writer;
    for (int i = 0; i < 20; ++i)
        writer.addStream(QStringLiteral("s%1").arg(i), pattern(100, i));
    QByteArray bytes = writer.build();
    // 21 entries fill six 512-byte blocks; make the second block link back to the first.
    const quint32 first = qFromLittleEndian<quint32>(bytes.constData() + 48);
    CfbWriter::putU32(bytes, writer.bigTableEntryOffset(first + 1), first);
    CompoundFile file;
    QVERIFY(file.openData(bytes));
    QCOMPARE(file.directory().size(), size_t(8));
    for (const QString &name : file.listEntries(QStringLiteral("/")))
        QVERIFY(file.openStream(name).size() <= 100);
}

void TestCompoundFile::masterChainLoop()
{
    CfbWriter writer;
    const QByteArray data = pattern(16 << 20);
    writer.addStream(QStringLiteral("big"), data);
    const QByteArray good = writer.build();
    const int perMaster = writer.bigBlockSize() / 4 - 1;
    const qint64 firstMasterLink = writer.bigBlockOffset(writer.firstMasterBlock()) + 4 * perMaster;

    for (quint32 link : { writer.firstMasterBlock(), 0xFFFFFFF0u, 0u, 5000u }) {
        QByteArray bytes = good;
        CfbWriter::putU32(bytes, firstMasterLink, link);
        CompoundFile file;
        QVERIFY(file.openData(bytes));
        CompoundStream stream = file.openStream(QStringLiteral("big"));
        // The table blocks listed by the second master block are lost; the stream stops where
        // its chain enters them.
        QVERIFY(stream.size() < data.size());
        QVERIFY(stream.size() > 7 << 20);
        const QByteArray read = stream.readAll();
        QCOMPARE(read.size(), int(stream.size()));
        QCOMPARE(read, data.left(read.size()));
    }
}

void TestCompoundFile::hugeCounts()
{
    CfbWriter writer = projectLikeWriter();
    const QByteArray good = writer.build();
    QByteArray bytes = good;
    CfbWriter::putU32(bytes, 44, 0xFFFFFFFFu);
    CfbWriter::putU32(bytes, 68, 0); // the first master block is a table block
    CfbWriter::putU32(bytes, 72, 0xFFFFFFFFu);
    CfbWriter::putU32(bytes, 64, 0xFFFFFFFFu);
    CompoundFile file;
    QVERIFY(file.openData(bytes));
    QCOMPARE(readStream(file, QStringLiteral("/   112/TBkndTask/FixedData")), pattern(5000, 1));
    QCOMPARE(readStream(file, QStringLiteral("CompObj")), QByteArray("compobj"));

    // Every header slot points at the same block.
    QByteArray same = good;
    for (int i = 0; i < 109; ++i)
        CfbWriter::putU32(same, 76 + 4 * i, 0);
    CfbWriter::putU32(same, 44, 109);
    CompoundFile repeated;
    QVERIFY(repeated.openData(same));
    QCOMPARE(readStream(repeated, QStringLiteral("CompObj")), QByteArray("compobj"));
}

void TestCompoundFile::entryNameRules()
{
    CfbWriter writer;
    writer.addStream(QStringLiteral("abcdefghijklmnopqrstuvwxyz01234"), QByteArray("long"));
    writer.addStream(QStringLiteral("withnul"), QByteArray("nul"));
    writer.addStream(QStringLiteral("invalid"), QByteArray("gone"));
    writer.addStream(QStringLiteral("nameless"), QByteArray("gone"));
    writer.addStream(QStringLiteral("\x05"
                                    "Ctl"),
                     QByteArray("ctl"));
    QByteArray bytes = writer.build();
    // A zero unit in the middle ends the name even when the stored length goes on.
    CfbWriter::putU16(bytes, writer.entryOffset("withnul") + 8, 0);
    // Stored lengths beyond the 64-byte field are capped.
    CfbWriter::putU16(bytes, writer.entryOffset("abcdefghijklmnopqrstuvwxyz01234") + 64, 0xFFFF);
    bytes[int(writer.entryOffset("invalid") + 66)] = 3; // neither storage nor stream
    CfbWriter::putU16(bytes, writer.entryOffset("nameless") + 64, 0);
    CompoundFile file;
    QVERIFY(file.openData(bytes));
    const auto &directory = file.directory();
    QCOMPARE(directory[size_t(writer.entryIndex("withnul"))].name, QStringLiteral("with"));
    QCOMPARE(directory[size_t(writer.entryIndex("abcdefghijklmnopqrstuvwxyz01234"))].name,
             QStringLiteral("abcdefghijklmnopqrstuvwxyz01234"));
    QVERIFY(!directory[size_t(writer.entryIndex("invalid"))].valid);
    QVERIFY(!directory[size_t(writer.entryIndex("nameless"))].valid);
    QVERIFY(directory[size_t(writer.entryIndex("withnul"))].valid);
    QCOMPARE(directory[size_t(writer.entryIndex("\x05"
                                                "Ctl"))]
                 .name,
             QStringLiteral("Ctl"));
    QCOMPARE(readStream(file, "Ctl"), QByteArray("ctl"));
    QCOMPARE(readStream(file, "abcdefghijklmnopqrstuvwxyz01234"), QByteArray("long"));
    QVERIFY(!file.exists(QStringLiteral("invalid")));
    QVERIFY(!file.exists(QStringLiteral("nameless")));
    QVERIFY(directory[0].isStorage);
    QCOMPARE(int(directory[0].type), 5);
}

void TestCompoundFile::truncatedFile()
{
    CfbWriter writer = projectLikeWriter();
    const QByteArray good = writer.build();
    // Every cut, in steps, must open or fail cleanly and read no more than the file holds.
    int opened = 0;
    for (int length = 0; length <= good.size(); length += 97) {
        const QByteArray bytes = good.left(length);
        CompoundFile file;
        if (!file.openData(bytes))
            continue;
        ++opened;
        const QString path = QStringLiteral("/   112/TBkndTask/FixedData");
        CompoundStream stream = file.openStream(path);
        const QByteArray read = stream.readAll();
        QCOMPARE(read.size(), int(stream.size()));
        QCOMPARE(read, pattern(5000, 1).left(read.size()));
    }
    QVERIFY2(opened > 0, "no cut opened, so no read was checked");
}

QTEST_MAIN(TestCompoundFile)
#include "tst_compoundfile.moc"
