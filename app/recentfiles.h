// The list of recently opened projects (newest first) and its file "mru.config".
#pragma once

#include <QList>
#include <QString>

// One recent file (type 0) or database project (type 1). The password lives in memory only.
struct RecentEntry
{
    QString file;
    QString conn;
    QString projid;
    QString user;
    QString password;
    QString name;
    int type = 0;

    bool operator==(const RecentEntry &other) const;
    bool operator!=(const RecentEntry &other) const { return !(*this == other); }
};

class RecentFiles
{
public:
    static constexpr int DefaultCapacity = 7;
    // A larger file is not a list this program wrote; it is set aside like any unreadable one.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    explicit RecentFiles(int capacity = DefaultCapacity);

    const QList<RecentEntry> &entries() const { return m_entries; }
    int capacity() const { return m_capacity; }
    bool isEmpty() const { return m_entries.isEmpty(); }

    // Moves an equal entry to the front or inserts the new one there; keeps the newest `capacity`.
    void add(const RecentEntry &entry);
    // Removes the project-file entries for `file`.
    void removeFile(const QString &file);

    // Reads the list from `path`. A missing file gives an empty list. A file that exists but is
    // not a list of entries (not JSON, wrong value types, oversized) also gives an empty list and
    // is remembered as damaged, so that save() keeps it as "<path>.bad" instead of overwriting it.
    void load(const QString &path);
    // Writes the list to `path`; failures are ignored (nothing is saved).
    void save(const QString &path);

    bool loadedFileWasDamaged() const { return m_damaged; }

    // The JSON forms of the list; parse() returns false for anything that is not a list of entries
    // (unknown types are skipped without making the list damaged).
    static QByteArray serialise(const QList<RecentEntry> &entries);
    static bool parse(const QByteArray &json, QList<RecentEntry> *entries);

    static QString defaultPath();

private:
    QList<RecentEntry> m_entries;
    int m_capacity;
    bool m_damaged = false;
};
