#pragma once

// One 128-byte entry of a compound file's directory, as the reader uses it.

#include <QString>
#include <QtGlobal>

namespace cfb {

struct DirEntry
{
    // Link value of an absent sibling or child.
    static constexpr quint32 NoLink = 0xFFFFFFFFu;
    static constexpr int ByteSize = 128;

    bool valid = false; // a storage, stream or root with a non-empty name
    QString name; // low byte of each UTF-16 unit; a leading control character dropped
    quint8 type = 0; // 1 storage, 2 stream, 5 root
    bool isStorage = false;
    quint32 size = 0;
    quint32 start = 0;
    quint32 left = NoLink;
    quint32 right = NoLink;
    quint32 child = NoLink;

    // Parses ByteSize bytes.
    static DirEntry fromBytes(const char *bytes);
};

// The order of siblings in a directory tree: shorter names first, then byte by byte.
int compareNames(const QString &a, const QString &b);

} // namespace cfb
