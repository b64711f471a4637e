#include "app/recentfiles.h"

#include "app/appconfig.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

bool RecentEntry::operator==(const RecentEntry &other) const
{
    if (type != other.type)
        return false;
    if (type == 0)
        return file == other.file;
    if (type == 1)
        return conn == other.conn && projid == other.projid;
    return false;
}

RecentFiles::RecentFiles(int capacity)
    : m_capacity(capacity)
{
}

void RecentFiles::add(const RecentEntry &entry)
{
    m_entries.removeAll(entry);
    m_entries.prepend(entry);
    while (m_entries.size() > m_capacity)
        m_entries.removeLast();
}

void RecentFiles::removeFile(const QString &file)
{
    RecentEntry key;
    key.file = file;
    m_entries.removeAll(key);
}

namespace {

bool isStringOrAbsent(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    return value.isUndefined() || value.isString();
}

// A value of the wrong kind means the file was not written by this program: reject it as a whole
// rather than guess at what the user had.
bool readEntry(const QJsonValue &value, RecentEntry *entry, bool *known)
{
    if (!value.isObject())
        return false;
    const QJsonObject object = value.toObject();
    const QJsonValue type = object.value(QStringLiteral("type"));
    if (!type.isUndefined() && !type.isDouble())
        return false;
    for (const char *key : { "conn", "file", "user", "projid", "name" }) {
        if (!isStringOrAbsent(object, QLatin1String(key)))
            return false;
    }
    entry->type = type.toInt(0);
    *known = true;
    if (entry->type == 0) {
        entry->name = object.value(QStringLiteral("name")).toString();
        entry->file = object.value(QStringLiteral("file")).toString();
    } else if (entry->type == 1) {
        entry->name = object.value(QStringLiteral("name")).toString();
        entry->projid = object.value(QStringLiteral("projid")).toString();
        entry->user = object.value(QStringLiteral("user")).toString();
        entry->conn = object.value(QStringLiteral("conn")).toString();
    } else {
        *known = false;
    }
    return true;
}

} // namespace

bool RecentFiles::parse(const QByteArray &json, QList<RecentEntry> *entries)
{
    entries->clear();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return false;
    QList<RecentEntry> result;
    const QJsonArray array = document.array();
    for (const QJsonValue &value : array) {
        RecentEntry entry;
        bool known = false;
        if (!readEntry(value, &entry, &known))
            return false;
        if (known)
            result.append(entry);
    }
    *entries = result;
    return true;
}

QByteArray RecentFiles::serialise(const QList<RecentEntry> &entries)
{
    QJsonArray array;
    for (const RecentEntry &entry : entries) {
        QJsonObject object;
        object.insert(QStringLiteral("type"), entry.type);
        object.insert(QStringLiteral("conn"), entry.conn);
        object.insert(QStringLiteral("file"), entry.file);
        object.insert(QStringLiteral("user"), entry.user);
        object.insert(QStringLiteral("projid"), entry.projid);
        object.insert(QStringLiteral("name"), entry.name);
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

void RecentFiles::load(const QString &path)
{
    m_entries.clear();
    m_damaged = false;
    QFile file(path);
    if (!file.exists())
        return;
    if (QFileInfo(path).size() > MaxFileSize) {
        m_damaged = true;
        return;
    }
    if (!file.open(QIODevice::ReadOnly))
        return;
    QList<RecentEntry> read;
    if (parse(file.read(MaxFileSize + 1), &read))
        m_entries = read;
    else
        m_damaged = true;
}

void RecentFiles::save(const QString &path)
{
    if (m_damaged && QFile::exists(path)) {
        const QString kept = path + QStringLiteral(".bad");
        QFile::remove(kept);
        if (!QFile::rename(path, kept))
            return; // never overwrite the only copy of what the user had
        m_damaged = false;
    }
    // Written through a temporary file so that a failed write cannot leave half a list.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(serialise(m_entries));
    file.commit();
}

QString RecentFiles::defaultPath()
{
    return QStringLiteral("%1/mru.config").arg(AppConfig::directory());
}
