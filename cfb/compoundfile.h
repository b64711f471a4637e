#pragma once

// Read-only access to an OLE2 compound file: test paths, list storages, read streams by path.
// The container owns its byte source (a file or a byte array); streams keep a plain pointer to
// the container and must be dropped before it.

#include "cfb/compoundstream.h"
#include "cfb/direntry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace cfb {

class ByteSource;

// Result codes of CompoundFile::open().
enum OpenResult : int {
    ResultOk = 0,
    ResultCannotOpen = 1, // the file could not be opened for reading
    ResultNotCompound = 2, // the signature is missing
    ResultMalformed = 3, // the header contradicts itself or the format
};

class CompoundFile
{
public:
    explicit CompoundFile(const QString &fileName = QString());
    ~CompoundFile();
    CompoundFile(const CompoundFile &) = delete;
    CompoundFile &operator=(const CompoundFile &) = delete;

    // Opens the named file read-only and loads header, allocation tables and directory.
    bool open();
    // Same as open(), on bytes already in memory (the byte array is shared, not copied).
    bool openData(const QByteArray &bytes);

    QString fileName() const { return m_fileName; }
    int result() const { return m_result; }
    bool isOpen() const { return m_opened; }

    bool exists(const QString &path) const;
    // Names directly inside the storage at path, in directory tree order.
    QStringList listEntries(const QString &path) const;
    // An empty stream when the path is missing or names a storage.
    CompoundStream openStream(const QString &path) const;

    // Every directory entry in file order; entry 0 is the root storage.
    const std::vector<DirEntry> &directory() const { return m_directory; }
    int bigBlockSize() const { return 1 << m_bigShift; }
    int smallBlockSize() const { return 1 << m_smallShift; }
    quint32 miniStreamCutoff() const { return m_miniCutoff; }

private:
    friend class CompoundStream;

    struct Chain;

    int load();
    int loadHeader(const QByteArray &header);
    void loadBigTable(const QByteArray &header);
    std::vector<quint32> bigTableBlocks(const QByteArray &header) const;
    Chain bigChain(quint32 start, qint64 maxBytes) const;
    Chain smallChain(quint32 start, qint64 maxBytes) const;
    QByteArray readChain(const Chain &chain) const;
    void loadDirectory(quint32 start);
    qint64 bigBlockOffset(quint32 block) const;
    qint64 blocksInFile() const;

    int findEntry(const QString &path) const;
    int findChild(int storage, const QString &name) const;
    int searchChild(int storage, const QString &name) const;
    std::vector<int> childrenInOrder(int storage) const;
    bool isLink(quint32 link) const;

    qint64 readAt(qint64 offset, char *buffer, qint64 count) const;

    QString m_fileName;
    std::unique_ptr<ByteSource> m_source;
    qint64 m_fileLength = 0;
    int m_result = ResultCannotOpen;
    bool m_opened = false;

    int m_bigShift = 9;
    int m_smallShift = 6;
    quint32 m_miniCutoff = 4096;
    std::vector<quint32> m_bigTable;
    std::vector<quint32> m_smallTable;
    std::vector<DirEntry> m_directory;
    // Where the mini stream lies in the file: one extent per big block of the root's chain.
    std::vector<CompoundStream::Extent> m_miniStream;
};

} // namespace cfb
