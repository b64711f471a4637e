#pragma once

// Writes compound files for tests and the schedule generator: big blocks, a mini stream for
// small streams, a balanced directory tree per storage, and master blocks when the big-block
// table needs more blocks than the header lists. After build(), the layout queries tell where
// things went, so that a test can damage exactly one field of a well-formed file.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

#include <vector>

class CfbWriter
{
public:
    static constexpr quint32 EndOfChain = 0xFFFFFFFEu;
    static constexpr quint32 FreeBlock = 0xFFFFFFFFu;
    static constexpr quint32 NoLink = 0xFFFFFFFFu;
    static constexpr int MiniStreamCutoff = 4096;
    static constexpr int SmallBlockSize = 64;
    static constexpr int EntrySize = 128;

    // bigShift 9 gives 512-byte blocks (version 3 files), 12 gives 4096-byte blocks (version 4).
    explicit CfbWriter(int bigShift = 9);

    // Adds a storage and every missing storage above it. Paths use "/", a leading one optional;
    // names may start with a control character ("\x01CompObj").
    void addStorage(const QString &path);
    // Adds or replaces a stream; missing storages above it are added.
    void addStream(const QString &path, const QByteArray &data);
    // Pads the big-block table to at least count blocks, so that a small file can carry master
    // blocks (more than 109 table blocks).
    void setMinimumBigTableBlocks(int count);

    QByteArray build();
    // Builds and writes the file; false when it cannot be written.
    bool write(const QString &fileName);

    // Layout of the last build().
    int bigBlockSize() const { return 1 << m_bigShift; }
    int entryIndex(const QString &path) const;
    qint64 entryOffset(const QString &path) const;
    quint32 startBlock(const QString &path) const;
    qint64 bigBlockOffset(quint32 block) const;
    qint64 bigTableEntryOffset(quint32 block) const;
    qint64 smallTableEntryOffset(quint32 block) const;
    int bigTableBlockCount() const { return m_tableBlocks; }
    int masterBlockCount() const { return m_masterBlocks; }
    quint32 firstMasterBlock() const { return quint32(m_tableBlocks); }

    // Little-endian stores for patching a built file.
    static void putU16(QByteArray &bytes, qint64 offset, quint16 value);
    static void putU32(QByteArray &bytes, qint64 offset, quint32 value);

private:
    struct Node
    {
        QString name;
        int type = 0; // 1 storage, 2 stream, 5 root
        QByteArray data;
        std::vector<int> children;
        quint32 left = NoLink;
        quint32 right = NoLink;
        quint32 child = NoLink;
        quint32 start = EndOfChain;
    };

    static QString normalized(const QString &path);
    int ensureStorage(const QString &path);
    int addNode(int parent, const QString &name, int type);
    quint32 linkTree(std::vector<int> &sorted, int first, int last);
    void linkDirectory();
    void planBlocks();
    void writeHeader(QByteArray &file) const;
    void writeTables(QByteArray &file) const;
    void writeDirectory(QByteArray &file) const;
    void writeStreams(QByteArray &file) const;
    void putChain(QByteArray &file, bool small, quint32 first, quint32 count) const;

    int m_bigShift;
    int m_minimumTableBlocks = 0;
    std::vector<Node> m_nodes;
    QHash<QString, int> m_byPath;

    // Plan of the last build(), in blocks: table, master, directory, small table, mini stream,
    // then the big streams in entry order.
    int m_tableBlocks = 0;
    int m_masterBlocks = 0;
    int m_directoryBlocks = 0;
    int m_smallTableBlocks = 0;
    int m_miniStreamBlocks = 0;
    quint32 m_smallBlocks = 0;
    quint32 m_totalBlocks = 0;
};
