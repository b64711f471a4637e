#pragma once

// One stream of a compound file, read sequentially with explicit seek. Streams are values that
// point into their container: drop them before the CompoundFile they came from.

#include <QByteArray>
#include <QString>

#include <vector>

namespace cfb {

class CompoundFile;

class CompoundStream
{
public:
    // A contiguous part of the stream and where it lies in the file.
    struct Extent
    {
        qint64 streamOffset = 0;
        qint64 fileOffset = 0;
        qint64 length = 0;
    };

    // An empty stream: no entry, size 0, every read returns 0.
    CompoundStream() = default;

    bool isNull() const { return m_entry < 0; }
    // Directory index of the stream's entry, -1 for an empty stream.
    int entryIndex() const { return m_entry; }
    QString path() const { return m_path; }

    // The bytes the stream can deliver: the entry's size, cut short where its block chain ends
    // or leaves the file, so that a caller may allocate size() bytes safely.
    qint64 size() const { return m_size; }
    qint64 tell() const { return m_pos; }
    void seek(qint64 pos) { m_pos = pos; }
    bool eof() const { return m_pos >= m_size; }

    // Copies up to count bytes from the current position; returns the count copied.
    qint64 read(char *buffer, qint64 count);
    // Reads up to count bytes; the result is shorter at the end of the stream.
    QByteArray read(qint64 count);
    // Reads from the current position to the end.
    QByteArray readAll();

private:
    friend class CompoundFile;
    CompoundStream(const CompoundFile *file, int entry, const QString &path,
                   std::vector<Extent> extents, qint64 declaredSize);

    const CompoundFile *m_file = nullptr;
    int m_entry = -1;
    QString m_path;
    qint64 m_pos = 0;
    qint64 m_size = 0;
    std::vector<Extent> m_extents;
};

} // namespace cfb
