#pragma once

// Where the block parsers take their streams from. Project::read() reads a compound file;
// tests may hand the readers streams held in memory.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace mppr {

// Readers may call a store from several threads at once.
class StreamStore
{
public:
    virtual ~StreamStore();
    // True when the path names a storage or a stream.
    virtual bool exists(const QString &path) const = 0;
    // Names directly inside the storage at path.
    virtual QStringList list(const QString &path) const = 0;
    // The whole stream; empty when the path is missing or names a storage. Never larger than
    // the file the stream lives in.
    virtual QByteArray read(const QString &path) const = 0;
};

} // namespace mppr
