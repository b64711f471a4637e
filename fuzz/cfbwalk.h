// Lists every storage of a compound file and reads every stream piece by piece and with seeks,
// within a budget of entries (a directory may name the same storage from many places). A stream
// must deliver exactly what size() promises.
#pragma once

#include "cfb/compoundfile.h"

#include <cstdlib>

namespace fuzzsupport {

inline void walk(const cfb::CompoundFile &file, const QString &storage, int depth, int &budget)
{
    if (depth > 16)
        return;
    for (const QString &name : file.listEntries(storage)) {
        if (--budget < 0)
            return;
        // The root storage is "/"; the entries below it are "/name", "/name/child".
        const QString path
            = (storage == QLatin1String("/") ? storage : storage + QLatin1Char('/')) + name;
        if (!file.exists(path))
            continue; // a name with '/' in it cannot be addressed
        cfb::CompoundStream stream = file.openStream(path);
        if (stream.isNull()) {
            walk(file, path, depth + 1, budget);
            continue;
        }
        char buffer[777];
        qint64 total = 0;
        for (qint64 n; (n = stream.read(buffer, sizeof buffer)) > 0;)
            total += n;
        if (total != stream.size())
            std::abort();
        stream.seek(stream.size() / 3);
        if (stream.readAll().size() != stream.size() - stream.size() / 3)
            std::abort();
        stream.seek(stream.size() + 5);
        if (stream.read(buffer, sizeof buffer) != 0)
            std::abort();
    }
}

// Opens `bytes` as a compound file and walks it from the root; a file that does not open is
// left alone.
inline void walkCompoundFile(const QByteArray &bytes)
{
    cfb::CompoundFile file;
    if (file.openData(bytes)) {
        int budget = 4096;
        walk(file, QStringLiteral("/"), 0, budget);
    }
}

} // namespace fuzzsupport
