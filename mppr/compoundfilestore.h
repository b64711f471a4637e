#pragma once

// Streams of an open compound file.

#include "mppr/streamstore.h"

namespace cfb {
class CompoundFile;
}

namespace mppr {

class CompoundFileStore : public StreamStore
{
public:
    explicit CompoundFileStore(const cfb::CompoundFile &file)
        : m_file(file)
    {
    }

    bool exists(const QString &path) const override;
    QStringList list(const QString &path) const override;
    QByteArray read(const QString &path) const override;

private:
    const cfb::CompoundFile &m_file;
};

} // namespace mppr
