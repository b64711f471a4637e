#include "app/appconfig.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppConfig {

QString directory()
{
    // The plain config location is ~/.config itself on Linux; the application's own folder
    // keeps mru.config and RyPDB.db away from other programs' files. On Windows the config
    // location is the local (machine-bound) application data; settings belong in the roaming
    // one, %APPDATA%\Tarvik, which follows the user from machine to machine.
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
#endif
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
