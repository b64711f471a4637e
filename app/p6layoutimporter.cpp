#include "app/p6layoutimporter.h"

#include "app/p6confignode.h"
#include "models/rytextfile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

P6LayoutImporter::P6LayoutImporter()
    : m_displayMap(buildDisplayMap())
{
}

QHash<QString, QString> P6LayoutImporter::buildDisplayMap()
{
    QHash<QString, QString> map;
    const QJsonObject schema
        = QJsonDocument::fromJson(
              RyTextFile::readTextFile(QStringLiteral(":/files/schema.json")).toUtf8())
              .object();
    const QJsonArray tables = schema.value(QStringLiteral("tables")).toArray();
    for (const QJsonValue &table : tables) {
        const QJsonArray columns = table.toObject().value(QStringLiteral("columns")).toArray();
        for (const QJsonValue &value : columns) {
            const QJsonObject column = value.toObject();
            const QString id = column.value(QStringLiteral("id")).toString();
            const QString display = column.value(QStringLiteral("display")).toString();
            if (!display.isEmpty() && !map.contains(id))
                map.insert(id, display);
        }
    }
    // P6 names the activity dates by these fields; the tables here call them differently.
    map.insert(QStringLiteral("start_date"), QStringLiteral("Start Date"));
    map.insert(QStringLiteral("end_date"), QStringLiteral("Finish Date"));
    return map;
}

P6LayoutImporter::Status P6LayoutImporter::readFile(const QString &path, QString *text)
{
    // Devices and pipes could be read forever; a layout is always a plain file.
    const QFileInfo info(path);
    if (!info.isFile())
        return Status::Unreadable;
    if (info.size() > MaxFileSize)
        return Status::TooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::Unreadable;
    // The file may have grown since it was measured.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        return Status::TooLarge;
    *text = QString::fromUtf8(bytes);
    return Status::Ok;
}

namespace {

QString groupRule(const P6ConfigNode::Pointer &group)
{
    if (!group || group->attributes.value(QStringLiteral("join_path")) != QLatin1String("PROJWBS"))
        return QString();
    QString level = group->attributes.value(QStringLiteral("max_level"));
    if (level.isEmpty() || level == QLatin1String("0"))
        level = QStringLiteral("All");
    return QStringLiteral("WBS Code;") + level;
}

} // namespace

P6LayoutImporter::Status P6LayoutImporter::importView(const QVariantMap &view,
                                                      P6Layout *layout) const
{
    const P6ConfigNode::Pointer top
        = parseP6ViewData(view.value(QStringLiteral("VIEW_DATA")).toString());
    if (top->isEmpty())
        return Status::Malformed;

    P6Layout result;
    result.id = view.value(QStringLiteral("VIEW_ID")).toInt();
    result.name = view.value(QStringLiteral("VIEW_NAME")).toString();
    const P6ConfigNode::Pointer columns
        = top->find({ QStringLiteral("TaskView"), QStringLiteral("Columns") });
    if (columns) {
        for (const P6ConfigNode::Pointer &node : columns->children) {
            P6Layout::Column column;
            column.field = node->name;
            column.title = node->attributes.value(QStringLiteral("column_title"));
            column.display = m_displayMap.value(node->name);
            column.width = node->attributes.value(QStringLiteral("width")).toInt();
            result.columns.append(column);
        }
    }
    if (result.columns.isEmpty())
        return Status::NoColumns;

    const QString rule
        = groupRule(top->find({ QStringLiteral("TaskView"), QStringLiteral("GroupSortBy"),
                                QStringLiteral("GroupBys"), QStringLiteral("Item1") }));
    if (!rule.isEmpty())
        result.groups.append(rule);

    const P6ConfigNode::Pointer sorts = top->find(
        { QStringLiteral("TaskView"), QStringLiteral("GroupSortBy"), QStringLiteral("SortBys") });
    if (sorts) {
        for (const P6ConfigNode::Pointer &node : sorts->children) {
            const QString field = node->attributes.value(QStringLiteral("source_field"));
            if (field.isEmpty() || !m_displayMap.contains(field))
                continue;
            const bool descending = node->attributes.value(QStringLiteral("sort_type"))
                                        .compare(QLatin1String("DESC"), Qt::CaseInsensitive)
                == 0;
            result.sorts.append(QStringLiteral("%1;%2").arg(
                m_displayMap.value(field), descending ? QStringLiteral("D") : QStringLiteral("A")));
        }
    }
    *layout = result;
    return Status::Ok;
}

QString P6LayoutImporter::reason(Status status)
{
    switch (status) {
    case Status::Ok:
        return QString();
    case Status::Unreadable:
        return QStringLiteral("The file cannot be read.");
    case Status::TooLarge:
        return QStringLiteral("The file is larger than 16 MB, too large for a layout file.");
    case Status::Malformed:
        return QStringLiteral("Its view data is damaged or nested too deeply to be read.");
    case Status::NoColumns:
        return QStringLiteral("It holds no activity table columns.");
    }
    return QString();
}
