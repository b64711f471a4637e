// Turns the activity table view of Primavera P6 layout files (.plf) into layouts of this program:
// the columns with their widths, a WBS grouping and the sort order. Field names are translated to
// column headers through the P6 table schema ":/files/schema.json".
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// A layout taken from a P6 layout file: listed as "[P6] <name>" over the "default" layout.
struct P6Layout
{
    struct Column
    {
        QString display; // the header text of the matching column here; empty when none
        int width = 0;
        QString field; // the P6 field name, "task_code"
        QString title; // the title P6 showed
    };
    int id = 0;
    QString name;
    QList<Column> columns;
    QStringList groups;
    QStringList sorts;
};

class P6LayoutImporter
{
public:
    enum class Status { Ok, Unreadable, TooLarge, Malformed, NoColumns };

    // Larger files are refused unread: real layout files are a few kilobytes.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    P6LayoutImporter();

    // The whole file as text in `text`; refuses anything but a regular file of at most
    // MaxFileSize bytes.
    static Status readFile(const QString &path, QString *text);
    // One view {"VIEW_ID", "VIEW_NAME", "VIEW_DATA"}; `layout` is filled when Ok.
    Status importView(const QVariantMap &view, P6Layout *layout) const;
    // The sentence a message box gives for a failed import.
    static QString reason(Status status);

    // P6 field name -> column header text.
    const QHash<QString, QString> &displayMap() const { return m_displayMap; }

private:
    static QHash<QString, QString> buildDisplayMap();

    QHash<QString, QString> m_displayMap;
};
