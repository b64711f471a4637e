#include "app/settingsstore.h"

#include <QSqlDatabase>
#include <QSqlQuery>

const QString SettingsStore::WindowGeometryKey = QStringLiteral("window/geometry");
const QString SettingsStore::WindowStateKey = QStringLiteral("window/state");
const QString SettingsStore::SplitterKey = QStringLiteral("window/splitter");
const QString SettingsStore::DetailKey = QStringLiteral("view/detail");
const QString SettingsStore::ViewKey = QStringLiteral("view/current");
const QString SettingsStore::LastFolderKey = QStringLiteral("files/lastFolder");

QString SettingsStore::dialogSizeKey(const QString &dialog)
{
    return QStringLiteral("dialog/%1/size").arg(dialog);
}

SettingsStore::SettingsStore(const QString &connectionName)
    : m_connectionName(connectionName)
{
}

bool SettingsStore::isAvailable() const
{
    if (!QSqlDatabase::contains(m_connectionName))
        return false;
    return QSqlDatabase::database(m_connectionName, false).isOpen();
}

bool SettingsStore::ensureTable() const
{
    if (m_tableReady)
        return true;
    if (!isAvailable())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    m_tableReady = query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS tblSettings ("
                                             "setting_key TEXT PRIMARY KEY, "
                                             "setting_value BLOB)"));
    return m_tableReady;
}

QVariant SettingsStore::value(const QString &key) const
{
    if (!ensureTable())
        return QVariant();
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("SELECT setting_value FROM tblSettings WHERE setting_key = :key"));
    query.bindValue(QStringLiteral(":key"), key);
    if (!query.exec() || !query.next())
        return QVariant();
    return query.value(0);
}

bool SettingsStore::setValue(const QString &key, const QVariant &value)
{
    if (!ensureTable())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO tblSettings(setting_key, setting_value) "
                                 "VALUES (:key, :value)"));
    query.bindValue(QStringLiteral(":key"), key);
    query.bindValue(QStringLiteral(":value"), value);
    return query.exec();
}
