#pragma once

// The tables and derived models of a completely loaded file as the JSON document that
// "mppdump --tables" prints.

#include <QJsonObject>
#include <QString>

// {"status": int, "models": {NAME: {"columns": [{"display", "id", "group", "datatype"}],
//  "rows": [[cell, ...], ...]}}}; cells null for no value, dates "yyyy-MM-ddTHH:mm:ss".
// `status` receives the reader's status.
QJsonObject tablesToJson(const QString &path, int *status);
