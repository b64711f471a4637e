// Small values the window remembers between runs (geometry, panes, the current view, the last
// folder), kept as key/value rows in the table tblSettings of the configuration database. The
// table is created when missing, so databases from earlier versions keep working. Uses the
// connection the layout store opened; when that is closed nothing is stored or read.
#pragma once

#include <QString>
#include <QVariant>

class SettingsStore
{
public:
    // Keys in use; rows with any other key are left alone and never read.
    static const QString WindowGeometryKey;
    static const QString WindowStateKey;
    static const QString SplitterKey;
    static const QString DetailKey;
    static const QString ViewKey;
    static const QString LastFolderKey;
    // The remembered size of the dialog named `dialog` ("columns", "group", "barStyles").
    static QString dialogSizeKey(const QString &dialog);

    explicit SettingsStore(const QString &connectionName);

    bool isAvailable() const;
    // Invalid when the key is not stored.
    QVariant value(const QString &key) const;
    bool setValue(const QString &key, const QVariant &value);

private:
    bool ensureTable() const;

    QString m_connectionName;
    mutable bool m_tableReady = false;
};
