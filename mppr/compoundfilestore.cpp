#include "mppr/compoundfilestore.h"

#include "cfb/compoundfile.h"

namespace mppr {

bool CompoundFileStore::exists(const QString &path) const
{
    return m_file.exists(path);
}

QStringList CompoundFileStore::list(const QString &path) const
{
    return m_file.listEntries(path);
}

QByteArray CompoundFileStore::read(const QString &path) const
{
    // size() counts only bytes the stream's chain can deliver, so the allocation is bounded
    // by the file.
    return m_file.openStream(path).readAll();
}

} // namespace mppr
