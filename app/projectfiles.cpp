#include "app/projectfiles.h"

#include <QFileInfo>

namespace ProjectFiles {

namespace {

bool hasProjectSuffix(const QFileInfo &info)
{
    return info.suffix().compare(QLatin1String("mpp"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString problem(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("The file does not exist.");
    if (!info.isFile() || !hasProjectSuffix(info))
        return QStringLiteral("It is not a Microsoft Project file (.mpp).");
    return QString();
}

QString firstProjectFile(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        if (info.isFile() && hasProjectSuffix(info))
            return info.absoluteFilePath();
    }
    return QString();
}

} // namespace ProjectFiles
