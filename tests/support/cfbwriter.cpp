#include "tests/support/cfbwriter.h"

#include <QFile>
#include <QStringList>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr int HeaderTableSlots = 109;
constexpr quint32 TableBlockMark = 0xFFFFFFFDu;
constexpr quint32 MasterBlockMark = 0xFFFFFFFCu;
constexpr int MaxNameLength = 31;

int blocksFor(qint64 bytes, qint64 blockSize)
{
    return int((bytes + blockSize - 1) / blockSize);
}

// The order compound-file writers give siblings: by name length, then case-folded.
bool siblingLess(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() < b.size();
    const int folded = a.toUpper().compare(b.toUpper());
    return folded != 0 ? folded < 0 : a.compare(b) < 0;
}

void chainInto(std::vector<quint32> &table, quint32 first, quint32 count)
{
    for (quint32 i = 0; i < count; ++i)
        table[first + i] = i + 1 < count ? first + i + 1 : CfbWriter::EndOfChain;
}

} // namespace

CfbWriter::CfbWriter(int bigShift)
    : m_bigShift(bigShift)
{
    // Smaller blocks would overlap the 512-byte header.
    Q_ASSERT(bigShift >= 9 && bigShift <= 16);
    Node root;
    root.name = QStringLiteral("Root Entry");
    root.type = 5;
    m_nodes.push_back(root);
    m_byPath.insert(QString(), 0);
}

QString CfbWriter::normalized(const QString &path)
{
    return path.startsWith(QLatin1Char('/')) ? path.mid(1) : path;
}

int CfbWriter::addNode(int parent, const QString &name, int type)
{
    Q_ASSERT(!name.isEmpty() && name.size() <= MaxNameLength);
    Node node;
    node.name = name;
    node.type = type;
    m_nodes.push_back(node);
    const int index = int(m_nodes.size()) - 1;
    m_nodes[size_t(parent)].children.push_back(index);
    return index;
}

int CfbWriter::ensureStorage(const QString &path)
{
    const QString key = normalized(path);
    auto found = m_byPath.constFind(key);
    if (found != m_byPath.constEnd())
        return found.value();
    const int slash = key.lastIndexOf(QLatin1Char('/'));
    const int parent = slash < 0 ? 0 : ensureStorage(key.left(slash));
    const int index = addNode(parent, key.mid(slash + 1), 1);
    m_byPath.insert(key, index);
    return index;
}

void CfbWriter::addStorage(const QString &path)
{
    ensureStorage(path);
}

void CfbWriter::addStream(const QString &path, const QByteArray &data)
{
    const QString key = normalized(path);
    auto found = m_byPath.constFind(key);
    if (found != m_byPath.constEnd()) {
        Q_ASSERT(m_nodes[size_t(found.value())].type == 2);
        m_nodes[size_t(found.value())].data = data;
        return;
    }
    const int slash = key.lastIndexOf(QLatin1Char('/'));
    const int parent = slash < 0 ? 0 : ensureStorage(key.left(slash));
    const int index = addNode(parent, key.mid(slash + 1), 2);
    m_nodes[size_t(index)].data = data;
    m_byPath.insert(key, index);
}

void CfbWriter::setMinimumBigTableBlocks(int count)
{
    m_minimumTableBlocks = count;
}

quint32 CfbWriter::linkTree(std::vector<int> &sorted, int first, int last)
{
    if (first > last)
        return NoLink;
    const int middle = first + (last - first) / 2;
    Node &node = m_nodes[size_t(sorted[size_t(middle)])];
    node.left = linkTree(sorted, first, middle - 1);
    node.right = linkTree(sorted, middle + 1, last);
    return quint32(sorted[size_t(middle)]);
}

void CfbWriter::linkDirectory()
{
    for (Node &node : m_nodes)
        node.left = node.right = node.child = NoLink;
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        std::vector<int> sorted = m_nodes[i].children;
        std::sort(sorted.begin(), sorted.end(), [this](int a, int b) {
            return siblingLess(m_nodes[size_t(a)].name, m_nodes[size_t(b)].name);
        });
        const quint32 child = linkTree(sorted, 0, int(sorted.size()) - 1);
        m_nodes[i].child = child;
    }
}

void CfbWriter::planBlocks()
{
    const int blockSize = bigBlockSize();
    const int perTableBlock = blockSize / 4;
    m_smallBlocks = 0;
    int bigStreamBlocks = 0;
    for (Node &node : m_nodes) {
        node.start = node.type == 2 ? EndOfChain : 0;
        if (node.type != 2 || node.data.isEmpty())
            continue;
        if (node.data.size() < MiniStreamCutoff) {
            node.start = m_smallBlocks;
            m_smallBlocks += quint32(blocksFor(node.data.size(), SmallBlockSize));
        } else {
            bigStreamBlocks += blocksFor(node.data.size(), blockSize);
        }
    }
    m_directoryBlocks = blocksFor(qint64(m_nodes.size()) * EntrySize, blockSize);
    m_smallTableBlocks = blocksFor(qint64(m_smallBlocks) * 4, blockSize);
    m_miniStreamBlocks = blocksFor(qint64(m_smallBlocks) * SmallBlockSize, blockSize);
    const int dataBlocks
        = m_directoryBlocks + m_smallTableBlocks + m_miniStreamBlocks + bigStreamBlocks;

    // The table must also describe its own blocks and the master blocks listing it.
    m_tableBlocks = std::max(1, m_minimumTableBlocks);
    for (;;) {
        m_masterBlocks = m_tableBlocks > HeaderTableSlots
            ? blocksFor(m_tableBlocks - HeaderTableSlots, perTableBlock - 1)
            : 0;
        const int needed = std::max(
            m_minimumTableBlocks,
            blocksFor(qint64(dataBlocks) + m_tableBlocks + m_masterBlocks, perTableBlock));
        if (needed <= m_tableBlocks)
            break;
        m_tableBlocks = needed;
    }

    quint32 next = quint32(m_tableBlocks + m_masterBlocks + m_directoryBlocks + m_smallTableBlocks);
    m_nodes.front().start = m_miniStreamBlocks > 0 ? next : EndOfChain;
    next += quint32(m_miniStreamBlocks);
    for (Node &node : m_nodes) {
        if (node.type == 2 && node.data.size() >= MiniStreamCutoff) {
            node.start = next;
            next += quint32(blocksFor(node.data.size(), blockSize));
        }
    }
    m_totalBlocks = next;
}

QByteArray CfbWriter::build()
{
    linkDirectory();
    planBlocks();
    QByteArray file(int(bigBlockOffset(m_totalBlocks)), '\0');
    writeHeader(file);
    writeTables(file);
    writeDirectory(file);
    writeStreams(file);
    return file;
}

bool CfbWriter::write(const QString &fileName)
{
    const QByteArray bytes = build();
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

void CfbWriter::writeHeader(QByteArray &file) const
{
    static const char signature[8]
        = { '\xD0', '\xCF', '\x11', '\xE0', '\xA1', '\xB1', '\x1A', '\xE1' };
    std::copy(signature, signature + 8, file.data());
    putU16(file, 24, 0x003E);
    putU16(file, 26, m_bigShift == 12 ? 4 : 3);
    putU16(file, 28, 0xFFFE);
    putU16(file, 30, quint16(m_bigShift));
    putU16(file, 32, 6);
    putU32(file, 40, m_bigShift == 12 ? quint32(m_directoryBlocks) : 0);
    putU32(file, 44, quint32(m_tableBlocks));
    putU32(file, 48, quint32(m_tableBlocks + m_masterBlocks));
    putU32(file, 56, MiniStreamCutoff);
    const quint32 smallTable = quint32(m_tableBlocks + m_masterBlocks + m_directoryBlocks);
    putU32(file, 60, m_smallTableBlocks > 0 ? smallTable : EndOfChain);
    putU32(file, 64, quint32(m_smallTableBlocks));
    putU32(file, 68, m_masterBlocks > 0 ? firstMasterBlock() : EndOfChain);
    putU32(file, 72, quint32(m_masterBlocks));
    for (int i = 0; i < HeaderTableSlots; ++i)
        putU32(file, 76 + 4 * i, i < m_tableBlocks ? quint32(i) : FreeBlock);
}

void CfbWriter::writeTables(QByteArray &file) const
{
    const int perTableBlock = bigBlockSize() / 4;
    std::vector<quint32> table(size_t(m_tableBlocks) * size_t(perTableBlock), FreeBlock);
    std::fill_n(table.begin(), m_tableBlocks, TableBlockMark);
    std::fill_n(table.begin() + m_tableBlocks, m_masterBlocks, MasterBlockMark);
    quint32 next = quint32(m_tableBlocks + m_masterBlocks);
    for (int count : { m_directoryBlocks, m_smallTableBlocks, m_miniStreamBlocks }) {
        chainInto(table, next, quint32(count));
        next += quint32(count);
    }
    std::vector<quint32> smallTable(size_t(m_smallTableBlocks) * size_t(perTableBlock), FreeBlock);
    for (const Node &node : m_nodes) {
        if (node.type != 2 || node.data.isEmpty())
            continue;
        if (node.data.size() < MiniStreamCutoff)
            chainInto(smallTable, node.start, quint32(blocksFor(node.data.size(), SmallBlockSize)));
        else
            chainInto(table, node.start, quint32(blocksFor(node.data.size(), bigBlockSize())));
    }
    for (size_t i = 0; i < table.size(); ++i)
        putU32(file, bigTableEntryOffset(quint32(i)), table[i]);
    for (size_t i = 0; i < smallTable.size(); ++i)
        putU32(file, smallTableEntryOffset(quint32(i)), smallTable[i]);

    // Master blocks list the table blocks beyond the header's 109; their last slot links on.
    const int perMaster = perTableBlock - 1;
    for (int m = 0; m < m_masterBlocks; ++m) {
        const qint64 offset = bigBlockOffset(firstMasterBlock() + quint32(m));
        for (int i = 0; i < perMaster; ++i) {
            const int tableBlock = HeaderTableSlots + m * perMaster + i;
            putU32(file, offset + 4 * i,
                   tableBlock < m_tableBlocks ? quint32(tableBlock) : FreeBlock);
        }
        const bool last = m + 1 == m_masterBlocks;
        putU32(file, offset + 4 * perMaster,
               last ? EndOfChain : firstMasterBlock() + quint32(m) + 1);
    }
}

void CfbWriter::writeDirectory(QByteArray &file) const
{
    const qint64 base = bigBlockOffset(quint32(m_tableBlocks + m_masterBlocks));
    const int entrySlots = m_directoryBlocks * bigBlockSize() / EntrySize;
    for (int i = 0; i < entrySlots; ++i) {
        const qint64 offset = base + qint64(i) * EntrySize;
        putU32(file, offset + 68, NoLink);
        putU32(file, offset + 72, NoLink);
        putU32(file, offset + 76, NoLink);
        if (size_t(i) >= m_nodes.size())
            continue;
        const Node &node = m_nodes[size_t(i)];
        for (int c = 0; c < node.name.size(); ++c)
            putU16(file, offset + 2 * c, node.name.at(c).unicode());
        putU16(file, offset + 64, quint16(2 * (node.name.size() + 1)));
        file[int(offset + 66)] = char(node.type);
        file[int(offset + 67)] = 1; // black
        putU32(file, offset + 68, node.left);
        putU32(file, offset + 72, node.right);
        putU32(file, offset + 76, node.child);
        putU32(file, offset + 116, node.start);
        const quint32 size
            = node.type == 5 ? m_smallBlocks * SmallBlockSize : quint32(node.data.size());
        putU32(file, offset + 120, size);
    }
}

void CfbWriter::writeStreams(QByteArray &file) const
{
    const qint64 miniBase = bigBlockOffset(m_nodes.front().start);
    for (const Node &node : m_nodes) {
        if (node.type != 2 || node.data.isEmpty())
            continue;
        const qint64 offset = node.data.size() < MiniStreamCutoff
            ? miniBase + qint64(node.start) * SmallBlockSize
            : bigBlockOffset(node.start);
        std::copy(node.data.constBegin(), node.data.constEnd(), file.begin() + offset);
    }
}

int CfbWriter::entryIndex(const QString &path) const
{
    return m_byPath.value(normalized(path), -1);
}

qint64 CfbWriter::entryOffset(const QString &path) const
{
    const int index = entryIndex(path);
    Q_ASSERT(index >= 0);
    return bigBlockOffset(quint32(m_tableBlocks + m_masterBlocks)) + qint64(index) * EntrySize;
}

quint32 CfbWriter::startBlock(const QString &path) const
{
    const int index = entryIndex(path);
    Q_ASSERT(index >= 0);
    return m_nodes[size_t(index)].start;
}

qint64 CfbWriter::bigBlockOffset(quint32 block) const
{
    return (qint64(block) + 1) << m_bigShift;
}

qint64 CfbWriter::bigTableEntryOffset(quint32 block) const
{
    const quint32 perTableBlock = quint32(bigBlockSize() / 4);
    return bigBlockOffset(block / perTableBlock) + 4 * qint64(block % perTableBlock);
}

qint64 CfbWriter::smallTableEntryOffset(quint32 block) const
{
    const quint32 perTableBlock = quint32(bigBlockSize() / 4);
    const quint32 first = quint32(m_tableBlocks + m_masterBlocks + m_directoryBlocks);
    return bigBlockOffset(first + block / perTableBlock) + 4 * qint64(block % perTableBlock);
}

void CfbWriter::putU16(QByteArray &bytes, qint64 offset, quint16 value)
{
    Q_ASSERT(offset >= 0 && offset + 2 <= bytes.size());
    qToLittleEndian(value, bytes.data() + offset);
}

void CfbWriter::putU32(QByteArray &bytes, qint64 offset, quint32 value)
{
    Q_ASSERT(offset >= 0 && offset + 4 <= bytes.size());
    qToLittleEndian(value, bytes.data() + offset);
}
