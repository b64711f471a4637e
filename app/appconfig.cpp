#include "app/appconfig.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppConfig {

QString directory()
{
    // The plain config location is ~/.config itself on Linux; the application's own folder
    // keeps mru.config and RyPDB.db away from other programs' files.
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

bool ensureDirectory(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (!QDir().mkpath(path))
        return false;
    return QFileInfo(path).isDir();
}

} // namespace AppConfig
