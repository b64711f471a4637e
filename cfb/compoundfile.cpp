#include "cfb/compoundfile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>
#include <mutex>

namespace cfb {

// Where the container's bytes come from: a file or a byte array.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    virtual qint64 length() const = 0;
    // Copies up to count bytes at offset; returns the count copied, 0 outside the source.
    virtual qint64 readAt(qint64 offset, char *buffer, qint64 count) = 0;
};

// The blocks of one allocation chain, as extents of the file.
struct CompoundFile::Chain
{
    std::vector<CompoundStream::Extent> extents;
    qint64 length = 0;

    // Adds length bytes at fileOffset; joins them to the last extent when they follow it.
    void append(qint64 fileOffset, qint64 bytes, bool join)
    {
        if (join && !extents.empty()) {
            CompoundStream::Extent &last = extents.back();
            if (last.fileOffset + last.length == fileOffset) {
                last.length += bytes;
                length += bytes;
                return;
            }
        }
        extents.push_back({ length, fileOffset, bytes });
        length += bytes;
    }
};

namespace {

constexpr int HeaderSize = 512;
constexpr int HeaderTableSlots = 109;
constexpr quint32 RequiredMiniCutoff = 4096;
constexpr int MinBigShift = 7;
constexpr int MaxBigShift = 30;
constexpr qint64 Unlimited = std::numeric_limits<qint64>::max();
// A QByteArray holds a little under 2 GiB.
constexpr qint64 ByteArrayMax = std::numeric_limits<int>::max() - 4096;
const char Signature[8] = { '\xD0', '\xCF', '\x11', '\xE0', '\xA1', '\xB1', '\x1A', '\xE1' };

class FileSource : public ByteSource
{
public:
    explicit FileSource(const QString &fileName)
        : m_file(fileName)
    {
    }
    bool open()
    {
        if (!m_file.open(QIODevice::ReadOnly))
            return false;
        m_length = m_file.size();
        return true;
    }
    qint64 length() const override { return m_length; }
    // Streams may be read from several threads at once; a seek and its read go together.
    qint64 readAt(qint64 offset, char *buffer, qint64 count) override
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (offset < 0 || count <= 0 || offset >= m_length || !m_file.seek(offset))
            return 0;
        return std::max<qint64>(0, m_file.read(buffer, count));
    }

private:
    std::mutex m_mutex;
    QFile m_file;
    qint64 m_length = 0;
};

class MemorySource : public ByteSource
{
public:
    explicit MemorySource(const QByteArray &bytes)
        : m_bytes(bytes)
    {
    }
    qint64 length() const override { return m_bytes.size(); }
    qint64 readAt(qint64 offset, char *buffer, qint64 count) override
    {
        if (offset < 0 || count <= 0 || offset >= m_bytes.size())
            return 0;
        const qint64 n = std::min<qint64>(count, m_bytes.size() - offset);
        std::memcpy(buffer, m_bytes.constData() + offset, size_t(n));
        return n;
    }

private:
    QByteArray m_bytes;
};

quint16 u16At(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

quint32 u32At(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

std::vector<quint32> toTable(const QByteArray &bytes)
{
    std::vector<quint32> table(size_t(bytes.size() / 4));
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = u32At(bytes, int(4 * i));
    return table;
}

} // namespace

CompoundFile::CompoundFile(const QString &fileName)
    : m_fileName(fileName)
{
}

CompoundFile::~CompoundFile() = default;

bool CompoundFile::open()
{
    auto file = std::make_unique<FileSource>(m_fileName);
    if (!file->open()) {
        m_source.reset();
        m_opened = false;
        m_result = ResultCannotOpen;
        return false;
    }
    m_source = std::move(file);
    m_result = load();
    m_opened = m_result == ResultOk;
    return m_opened;
}

bool CompoundFile::openData(const QByteArray &bytes)
{
    m_source = std::make_unique<MemorySource>(bytes);
    m_result = load();
    m_opened = m_result == ResultOk;
    return m_opened;
}

int CompoundFile::load()
{
    m_bigTable.clear();
    m_smallTable.clear();
    m_directory.clear();
    m_miniStream.clear();
    m_fileLength = m_source->length();

    QByteArray header(HeaderSize, '\0');
    const qint64 headerBytes = readAt(0, header.data(), HeaderSize);
    if (headerBytes < qint64(sizeof(Signature))
        || std::memcmp(header.constData(), Signature, sizeof(Signature)) != 0)
        return ResultNotCompound;
    if (headerBytes < HeaderSize)
        return ResultMalformed;
    const int result = loadHeader(header);
    if (result != ResultOk)
        return result;

    loadBigTable(header);
    m_smallTable = toTable(readChain(bigChain(u32At(header, 60), Unlimited)));
    loadDirectory(u32At(header, 48));
    if (!m_directory.empty()) {
        // One extent per big block, so that a small block is found by index.
        const Chain mini = bigChain(m_directory.front().start, Unlimited);
        for (const CompoundStream::Extent &extent : mini.extents) {
            for (qint64 done = 0; done < extent.length; done += bigBlockSize()) {
                const qint64 bytes = std::min<qint64>(bigBlockSize(), extent.length - done);
                m_miniStream.push_back(
                    { extent.streamOffset + done, extent.fileOffset + done, bytes });
            }
        }
    }
    return ResultOk;
}

int CompoundFile::loadHeader(const QByteArray &header)
{
    const int bigShift = u16At(header, 30);
    const int smallShift = u16At(header, 32);
    const quint32 tableBlocks = u32At(header, 44);
    const quint32 masterBlocks = u32At(header, 72);
    m_miniCutoff = u32At(header, 56);
    if (m_miniCutoff != RequiredMiniCutoff || tableBlocks == 0
        || (tableBlocks < HeaderTableSlots && masterBlocks != 0) || bigShift < smallShift
        || bigShift < MinBigShift || bigShift > MaxBigShift)
        return ResultMalformed;
    m_bigShift = bigShift;
    m_smallShift = smallShift;
    return ResultOk;
}

qint64 CompoundFile::bigBlockOffset(quint32 block) const
{
    return (qint64(block) + 1) << m_bigShift;
}

qint64 CompoundFile::blocksInFile() const
{
    const qint64 blockSize = bigBlockSize();
    return m_fileLength <= blockSize ? 0 : (m_fileLength - 1) / blockSize;
}

std::vector<quint32> CompoundFile::bigTableBlocks(const QByteArray &header) const
{
    // The table's blocks are distinct blocks of the file: a larger count is a lie.
    const qint64 count = std::min<qint64>(u32At(header, 44), blocksInFile());
    std::vector<quint32> blocks;
    blocks.reserve(size_t(count));
    for (int i = 0; i < HeaderTableSlots && qint64(blocks.size()) < count; ++i)
        blocks.push_back(u32At(header, 76 + 4 * i));

    const quint32 masterCount = u32At(header, 72);
    const int perMaster = bigBlockSize() / 4 - 1;
    std::vector<bool> visited(static_cast<size_t>(blocksInFile()));
    quint32 master = u32At(header, 68);
    QByteArray bytes;
    for (quint32 m = 0; m < masterCount && qint64(blocks.size()) < count; ++m) {
        if (master >= visited.size() || visited[master])
            break;
        visited[master] = true;
        bytes.fill('\xFF', bigBlockSize());
        readAt(bigBlockOffset(master), bytes.data(), bytes.size());
        for (int i = 0; i < perMaster && qint64(blocks.size()) < count; ++i)
            blocks.push_back(u32At(bytes, 4 * i));
        // The last slot of a master block links to the next one.
        master = u32At(bytes, 4 * perMaster);
    }
    return blocks;
}

void CompoundFile::loadBigTable(const QByteArray &header)
{
    const std::vector<quint32> blocks = bigTableBlocks(header);
    const int perBlock = bigBlockSize() / 4;
    // Unreadable table blocks read as free entries, which end any chain running into them.
    m_bigTable.assign(blocks.size() * size_t(perBlock), 0xFFFFFFFFu);
    QByteArray bytes(bigBlockSize(), '\0');
    for (size_t b = 0; b < blocks.size(); ++b) {
        bytes.fill('\xFF');
        if (readAt(bigBlockOffset(blocks[b]), bytes.data(), bytes.size()) <= 0)
            continue;
        for (int i = 0; i < perBlock; ++i)
            m_bigTable[b * size_t(perBlock) + size_t(i)] = u32At(bytes, 4 * i);
    }
}

CompoundFile::Chain CompoundFile::bigChain(quint32 start, qint64 maxBytes) const
{
    // Each block is taken once: a chain that loops back ends where it would repeat itself.
    Chain chain;
    std::vector<bool> visited(m_bigTable.size());
    const qint64 blockSize = bigBlockSize();
    for (quint32 block = start;
         chain.length < maxBytes && block < m_bigTable.size() && !visited[block];
         block = m_bigTable[block]) {
        visited[block] = true;
        const qint64 offset = bigBlockOffset(block);
        const qint64 bytes = std::min(blockSize, m_fileLength - offset);
        if (bytes <= 0)
            break;
        chain.append(offset, bytes, true);
        if (bytes < blockSize)
            break;
    }
    return chain;
}

CompoundFile::Chain CompoundFile::smallChain(quint32 start, qint64 maxBytes) const
{
    Chain chain;
    std::vector<bool> visited(m_smallTable.size());
    const qint64 blockSize = smallBlockSize();
    for (quint32 block = start;
         chain.length < maxBytes && block < m_smallTable.size() && !visited[block];
         block = m_smallTable[block]) {
        visited[block] = true;
        const qint64 miniOffset = qint64(block) << m_smallShift;
        const qint64 bigIndex = miniOffset >> m_bigShift;
        if (bigIndex >= qint64(m_miniStream.size()))
            break;
        const CompoundStream::Extent &big = m_miniStream[size_t(bigIndex)];
        const qint64 within = miniOffset - big.streamOffset;
        const qint64 bytes = std::min(blockSize, big.length - within);
        if (bytes <= 0)
            break;
        chain.append(big.fileOffset + within, bytes, true);
        if (bytes < blockSize)
            break;
    }
    return chain;
}

QByteArray CompoundFile::readChain(const Chain &chain) const
{
    QByteArray bytes(int(std::min(chain.length, ByteArrayMax)), Qt::Uninitialized);
    qint64 done = 0;
    for (const CompoundStream::Extent &extent : chain.extents) {
        const qint64 wanted = std::min(extent.length, bytes.size() - done);
        const qint64 got = readAt(extent.fileOffset, bytes.data() + done, wanted);
        done += got;
        if (got < wanted)
            break;
    }
    bytes.truncate(int(done));
    return bytes;
}

void CompoundFile::loadDirectory(quint32 start)
{
    const QByteArray bytes = readChain(bigChain(start, Unlimited));
    const int count = bytes.size() / DirEntry::ByteSize;
    m_directory.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        m_directory.push_back(DirEntry::fromBytes(bytes.constData() + i * DirEntry::ByteSize));
}

qint64 CompoundFile::readAt(qint64 offset, char *buffer, qint64 count) const
{
    return m_source ? m_source->readAt(offset, buffer, count) : 0;
}

bool CompoundFile::isLink(quint32 link) const
{
    // Link 0 is the root, which is nobody's sibling or child.
    return link != 0 && link < m_directory.size();
}

int CompoundFile::findEntry(const QString &path) const
{
    if (path.isEmpty() || m_directory.empty())
        return -1;
    const QString relative = path.startsWith(QLatin1Char('/')) ? path.mid(1) : path;
    if (relative.isEmpty())
        return 0;
    int current = 0;
    for (const QString &component : relative.split(QLatin1Char('/'))) {
        current = component.isEmpty() ? -1 : findChild(current, component);
        if (current < 0)
            return -1;
    }
    return current;
}

int CompoundFile::findChild(int storage, const QString &name) const
{
    if (!m_directory[size_t(storage)].isStorage)
        return -1;
    // The sibling tree is a search tree; the step bound keeps a cyclic one from trapping us.
    quint32 link = m_directory[size_t(storage)].child;
    for (size_t steps = 0; isLink(link) && steps < m_directory.size(); ++steps) {
        const DirEntry &entry = m_directory[link];
        if (!entry.valid)
            break;
        const int order = compareNames(entry.name, name);
        if (order == 0)
            return int(link);
        link = order < 0 ? entry.right : entry.left;
    }
    return searchChild(storage, name);
}

int CompoundFile::searchChild(int storage, const QString &name) const
{
    // Writers order siblings by a case-folded comparison, which can disagree with the exact
    // order used above; an entry that is present must still be found.
    for (int index : childrenInOrder(storage)) {
        if (m_directory[size_t(index)].name == name)
            return index;
    }
    return -1;
}

std::vector<int> CompoundFile::childrenInOrder(int storage) const
{
    std::vector<int> children;
    std::vector<bool> seen(m_directory.size());
    seen[size_t(storage)] = true;
    std::vector<quint32> pending;
    // Each entry is pushed at most once, so a tree with cycles still ends. Invalid entries
    // are passed through but not listed: their siblings are still found.
    auto pushLeftSpine = [&](quint32 link) {
        while (isLink(link) && !seen[link]) {
            seen[link] = true;
            pending.push_back(link);
            link = m_directory[link].left;
        }
    };
    pushLeftSpine(m_directory[size_t(storage)].child);
    while (!pending.empty()) {
        const quint32 link = pending.back();
        pending.pop_back();
        if (m_directory[link].valid)
            children.push_back(int(link));
        pushLeftSpine(m_directory[link].right);
    }
    return children;
}

bool CompoundFile::exists(const QString &path) const
{
    return findEntry(path) >= 0;
}

QStringList CompoundFile::listEntries(const QString &path) const
{
    QStringList names;
    const int index = findEntry(path);
    if (index < 0 || !m_directory[size_t(index)].isStorage)
        return names;
    for (int child : childrenInOrder(index))
        names.append(m_directory[size_t(child)].name);
    return names;
}

CompoundStream CompoundFile::openStream(const QString &path) const
{
    const int index = findEntry(path);
    if (index < 0 || m_directory[size_t(index)].isStorage)
        return CompoundStream();
    const DirEntry &entry = m_directory[size_t(index)];
    const Chain chain = entry.size < m_miniCutoff ? smallChain(entry.start, entry.size)
                                                  : bigChain(entry.start, entry.size);
    return CompoundStream(this, index, path, chain.extents, entry.size);
}

} // namespace cfb
