#include "models/rytextfile.h"

#include <QFile>

namespace RyTextFile {

QString readTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace RyTextFile
