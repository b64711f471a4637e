#include "app/layoutstore.h"

#include "app/appconfig.h"
#include "models/rytextfile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>

namespace {
Q_LOGGING_CATEGORY(lcApp, "tarvik.app", QtWarningMsg)
} // namespace

const QString LayoutStore::ConnectionName = QStringLiteral("RyPDB");
const QString LayoutStore::FileName = QStringLiteral("RyPDB.db");

LayoutStore::LayoutStore() = default;

LayoutStore::~LayoutStore()
{
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(ConnectionName);
}

bool LayoutStore::looksLikeSqliteFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return true; // SQLite creates it
    if (!QFileInfo(path).isFile())
        return false;
    if (file.size() == 0)
        return true; // an empty file is an empty database to SQLite
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray magic("SQLite format 3\0", 16);
    return file.read(magic.size()) == magic;
}

bool LayoutStore::open(const QString &directory)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ConnectionName);
    QString folder = directory;
    if (!AppConfig::ensureDirectory(folder))
        folder = QDir::currentPath();
    m_fileName = QDir(folder).absolutePath() + QLatin1Char('/') + FileName;
    qCDebug(lcApp) << "Config database file: " << m_fileName;

    // SQLite would happily "open" any file and fail later; refuse early so that a file the user
    // put there is never touched by the creation script.
    if (!looksLikeSqliteFile(m_fileName)) {
        qCWarning(lcApp) << "Not a layout database, left untouched:" << m_fileName;
        return false;
    }
    m_db.setDatabaseName(m_fileName);
    if (!m_db.open())
        return false;
    if (m_db.tables().isEmpty())
        createTables();
    upgradeDefaultLayout();
    return true;
}

bool LayoutStore::isOpen() const
{
    return m_db.isValid() && m_db.isOpen();
}

void LayoutStore::createTables()
{
    const QString script = RyTextFile::readTextFile(QStringLiteral(":/files/createrypdb.sql"));
    const QStringList statements = script.split(QLatin1Char(';'));
    for (const QString &statement : statements) {
        if (statement.trimmed().isEmpty())
            continue; // an empty statement is an error to SQLite and does nothing anyway
        QSqlQuery query(m_db);
        query.exec(statement);
    }
}

QString LayoutStore::scriptDefaultDocument()
{
    const QString script = RyTextFile::readTextFile(QStringLiteral(":/files/createrypdb.sql"));
    const QRegularExpression insert(
        QStringLiteral("VALUES\\s*\\(\\s*'default'\\s*,\\s*'((?:[^']|'')*)'\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = insert.match(script);
    return match.hasMatch() ? match.captured(1).replace(QStringLiteral("''"), QStringLiteral("'"))
                            : QString();
}

QString LayoutStore::builtInDefaultDocument()
{
    QVariantMap document
        = QJsonDocument::fromJson(scriptDefaultDocument().toUtf8()).toVariant().toMap();
    const QVariantMap builtIn
        = QJsonDocument::fromJson(
              RyTextFile::readTextFile(QStringLiteral(":/files/mpp_style.json")).toUtf8())
              .toVariant()
              .toMap();
    // "bars" holds the time scales ("timelineFlags").
    for (const char *key : { "columns", "bars", "barStyles" })
        document.insert(QLatin1String(key), builtIn.value(QLatin1String(key)));
    return QString::fromUtf8(QJsonDocument::fromVariant(document).toJson(QJsonDocument::Compact));
}

void LayoutStore::upgradeDefaultLayout()
{
    // Only a row still holding the script's text is replaced: a "default" the user saved over
    // is theirs.
    const QString old = scriptDefaultDocument();
    if (old.isEmpty())
        return;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE tblLayout SET layout_data = :data "
                                 "WHERE layout_name = 'default' AND layout_data = :old"));
    query.bindValue(QStringLiteral(":data"), builtInDefaultDocument());
    query.bindValue(QStringLiteral(":old"), old);
    if (!query.exec())
        qCWarning(lcApp) << "Default layout not upgraded:" << m_fileName;
}

QList<QPair<QString, QString>> LayoutStore::layouts() const
{
    QList<QPair<QString, QString>> result;
    if (!isOpen())
        return result;
    QSqlQuery query(m_db);
    if (!query.exec(
            QStringLiteral("select layout_name, layout_data from tblLayout order by layout_name")))
        return result;
    while (query.next())
        result.append({ query.value(0).toString(), query.value(1).toString() });
    return result;
}

QString LayoutStore::defaultTemplate() const
{
    if (!isOpen())
        return QString();
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("select layout_data from tblLayout where layout_name = '%1'")
                        .arg(QStringLiteral("default"))))
        return QString();
    QString document;
    while (query.next())
        document = query.value(0).toString();
    return document;
}

bool LayoutStore::contains(const QString &name) const
{
    if (!isOpen())
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("select layout_id from tblLayout where layout_name = :lname"));
    query.bindValue(QStringLiteral(":lname"), name);
    return query.exec() && query.next();
}

bool LayoutStore::insert(const QString &name, const QString &document)
{
    if (!isOpen())
        return false;
    QSqlQuery query(m_db);
    query.prepare(
        QStringLiteral("INSERT INTO tblLayout(layout_name, layout_data) VALUES (:name,:data)"));
    query.bindValue(QStringLiteral(":name"), name);
    query.bindValue(QStringLiteral(":data"), document);
    return query.exec();
}

bool LayoutStore::overwrite(const QString &name, const QString &document)
{
    if (!isOpen())
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE tblLayout SET update_date = current_timestamp, "
                                 "layout_data = :data WHERE layout_name =:name"));
    query.bindValue(QStringLiteral(":data"), document);
    query.bindValue(QStringLiteral(":name"), name);
    return query.exec();
}

bool LayoutStore::remove(const QString &name)
{
    if (!isOpen() || name == QLatin1String("default"))
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("DELETE FROM tblLayout WHERE layout_name = :name"));
    query.bindValue(QStringLiteral(":name"), name);
    return query.exec();
}
