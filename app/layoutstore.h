// The configuration database "RyPDB.db": named layout documents in the table tblLayout.
// Owns the SQLite connection "RyPDB" for its whole life.
#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>

class LayoutStore
{
public:
    static const QString ConnectionName;
    static const QString FileName;

    LayoutStore();
    ~LayoutStore();
    LayoutStore(const LayoutStore &) = delete;
    LayoutStore &operator=(const LayoutStore &) = delete;

    // Opens (and on first use creates) the database in `directory`; when the folder cannot be
    // created the current directory is used. A file there that is not an SQLite database is left
    // untouched and the store stays closed.
    bool open(const QString &directory);
    bool isOpen() const;
    QString fileName() const { return m_fileName; }

    // (name, document) pairs ordered by name; empty when the store is closed.
    QList<QPair<QString, QString>> layouts() const;
    // The document stored under "default" by the creation script (last row wins).
    QString defaultTemplate() const;
    bool contains(const QString &name) const;
    bool insert(const QString &name, const QString &document);
    bool overwrite(const QString &name, const QString &document);
    // Deletes the rows of `name`; "default" is never deleted.
    bool remove(const QString &name);

    // The "default" row as the creation script writes it.
    static QString scriptDefaultDocument();
    // The "default" layout shown to users: the script's row with the columns, bars, bar styles
    // and time scales of the built-in layout ":/files/mpp_style.json", which fit the loaded
    // schedules (the script's row names columns no schedule has and bars without dates).
    static QString builtInDefaultDocument();

    static bool looksLikeSqliteFile(const QString &path);

private:
    void createTables();
    void upgradeDefaultLayout();

    QSqlDatabase m_db;
    QString m_fileName;
};
