#include "tablesdump.h"
#include "tablesstream.h"

#include "models/ryconstants.h"
#include "tables/mpploader.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonValue cellToJson(const QVariant &value)
{
    if (!value.isValid())
        return QJsonValue::Null;
    switch (value.userType()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-ddT00:00:00"));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::Bool:
        return value.toBool();
    default:
        return value.toString();
    }
}

QJsonValue textOrNull(const QVariant &value)
{
    return value.isValid() ? QJsonValue(value.toString()) : QJsonValue(QJsonValue::Null);
}

QJsonObject modelToJson(const QAbstractItemModel &model)
{
    QJsonArray columns;
    const int columnCount = model.columnCount();
    for (int column = 0; column < columnCount; ++column) {
        const QVariantMap description
            = model.headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
        columns.append(QJsonObject {
            { "display", textOrNull(model.headerData(column, Qt::Horizontal)) },
            { "id", textOrNull(model.headerData(column, Qt::Horizontal, Ry::ColumnIdRole)) },
            { "group", textOrNull(model.headerData(column, Qt::Horizontal, Ry::ColumnGroupRole)) },
            { "datatype", textOrNull(description.value("datatype")) } });
    }
    QJsonArray rows;
    const int rowCount = model.rowCount();
    for (int row = 0; row < rowCount; ++row) {
        QJsonArray cells;
        for (int column = 0; column < columnCount; ++column)
            cells.append(cellToJson(model.index(row, column).data()));
        rows.append(cells);
    }
    return QJsonObject { { "columns", columns }, { "rows", rows } };
}

} // namespace

QJsonObject tablesToJson(const QString &path, int *status)
{
    MPPLoader loader;
    setBuiltInSchema(loader);
    *status = 0;
    QObject::connect(&loader, &MPPLoader::failed, [status](int code) { *status = code; });
    // Run on this thread: the tool has nothing else to do while the file loads.
    loader.load(path);
    QJsonObject models;
    for (const QString &name : loader.modelNames()) {
        if (const auto *model = qobject_cast<const QAbstractItemModel *>(loader.model(name)))
            models.insert(name, modelToJson(*model));
    }
    return QJsonObject { { "status", *status }, { "models", models } };
}
