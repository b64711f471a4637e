// Reading the small text files the program keeps beside a schedule (layouts, settings).
#pragma once

#include <QString>

namespace RyTextFile {

// The whole file as UTF-8 text; empty when it cannot be opened.
QString readTextFile(const QString &path);

} // namespace RyTextFile
