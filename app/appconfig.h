// Where Tarvik keeps its two configuration files (the recent-files list and the layout database).
#pragma once

#include <QString>

namespace AppConfig {

// The application's own configuration folder (~/.config/Tarvik on Linux, %APPDATA%\Tarvik on
// Windows). Not created here.
QString directory();

// Creates the folder with all missing parents; false when that is impossible (for example
// when a regular file sits where a parent folder should be).
bool ensureDirectory(const QString &path);

} // namespace AppConfig
