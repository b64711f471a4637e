#include "tablesstream.h"

#include "jsonstreamwriter.h"

#include "models/ryconstants.h"
#include "tables/mpploader.h"
#include "tables/mppmodel.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>

#include <vector>

namespace {

// A cell's value read in place where its type is known: no copy, no conversion.
template<typename T> const T &held(const QVariant &value)
{
    return *static_cast<const T *>(value.constData());
}

void writeCell(JsonStreamWriter &w, const QVariant &value)
{
    if (!value.isValid()) {
        w.null();
        return;
    }
    // Numbers are written as the document's doubles would be: integers within int as they are.
    switch (value.userType()) {
    case QMetaType::QDateTime:
        w.dateTimeValue(held<QDateTime>(value));
        break;
    case QMetaType::QDate:
        w.dateValue(held<QDate>(value));
        break;
    case QMetaType::Int:
        w.value(held<int>(value));
        break;
    case QMetaType::Double:
        w.value(held<double>(value));
        break;
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
        w.value(value.toDouble());
        break;
    case QMetaType::Bool:
        w.value(held<bool>(value));
        break;
    case QMetaType::QString:
        w.value(held<QString>(value));
        break;
    default:
        w.value(value.toString());
    }
}

void writeTextOrNull(JsonStreamWriter &w, const QVariant &value)
{
    if (value.isValid())
        w.value(value.toString());
    else
        w.null();
}

void writeColumns(JsonStreamWriter &w, const QAbstractItemModel &model)
{
    w.beginArray();
    const int columnCount = model.columnCount();
    for (int column = 0; column < columnCount; ++column) {
        const QVariantMap description
            = model.headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
        w.beginObject();
        w.key("datatype");
        writeTextOrNull(w, description.value("datatype"));
        w.key("display");
        writeTextOrNull(w, model.headerData(column, Qt::Horizontal));
        w.key("group");
        writeTextOrNull(w, model.headerData(column, Qt::Horizontal, Ry::ColumnGroupRole));
        w.key("id");
        writeTextOrNull(w, model.headerData(column, Qt::Horizontal, Ry::ColumnIdRole));
        w.endObject();
    }
    w.endArray();
}

void writeRows(JsonStreamWriter &w, const QAbstractItemModel &model)
{
    w.beginArray();
    const int columnCount = model.columnCount();
    const int rowCount = model.rowCount();
    // The tables hand over whole rows; the derived models are asked cell by cell.
    const auto *table = qobject_cast<const MPPModel *>(&model);
    std::vector<QVariant> cells(static_cast<size_t>(columnCount));
    // Stops early once the output fails: nothing more would reach it.
    for (int row = 0; row < rowCount && !w.failed(); ++row) {
        if (table) {
            table->rowCells(row, cells.data());
        } else {
            for (int column = 0; column < columnCount; ++column)
                cells[size_t(column)] = model.index(row, column).data();
        }
        w.beginArray();
        for (const QVariant &cell : cells)
            writeCell(w, cell);
        w.endArray();
    }
    w.endArray();
}

void writeModel(JsonStreamWriter &w, const QAbstractItemModel &model)
{
    w.beginObject();
    w.key("columns");
    writeColumns(w, model);
    w.key("rows");
    writeRows(w, model);
    w.endObject();
}

} // namespace

void setBuiltInSchema(ProjectLoader &loader)
{
    QFile schema(QStringLiteral(":/files/mppr.json"));
    if (schema.open(QIODevice::ReadOnly))
        loader.setSchema(QJsonDocument::fromJson(schema.readAll()));
}

int writeTables(JsonStreamWriter &w, const QString &path,
                const std::function<int(int status)> &done)
{
    MPPLoader loader;
    setBuiltInSchema(loader);
    int status = 0;
    QObject::connect(&loader, &MPPLoader::failed, [&status](int code) { status = code; });
    // Run on this thread: the tool has nothing else to do while the file loads.
    loader.load(path);
    w.beginObject();
    w.key("models");
    w.beginObject();
    // The loader lists its models in ascending name order, the order of JSON object keys.
    for (const QString &name : loader.modelNames()) {
        if (const auto *model = qobject_cast<const QAbstractItemModel *>(loader.model(name))) {
            w.key(name);
            writeModel(w, *model);
        }
    }
    w.endObject();
    w.key("status");
    w.value(status);
    w.endObject();
    return done(status);
}
