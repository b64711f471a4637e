#pragma once

// The in-memory project as the JSON document that mppdump prints.

#include "mppr/customfields.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace mppr {
class Project;
struct Task;
} // namespace mppr

// {"file", "status", "userType", "progId", "clipboardFormat", "project", "calendars", "tasks",
//  "resources", "assignments"}; tasks and resources sorted by unique ID, assignments in list order.
// "HH:mm" of a time of day in minutes; midnight at the end of a day is "00:00", as the
// authoring tool's XML export writes it.
QString clockText(int minutes);

QJsonObject projectToJson(const mppr::Project &project, int status);

// {"Text1": "...", "Flag2": true, "Date1": "2015-04-29T08:00:00", "Duration1": minutes, ...}.
QJsonObject customFieldsToJson(const mppr::CustomFieldValues &values);
// A split task's parts: [{"start", "finish"}].
QJsonArray segmentsToJson(const mppr::Task &task);
// The plain text, or null.
QJsonValue notesToJson(const QString &notes);
// [{"entity": "task"|"resource", "field": "Text1", "alias": "..."}].
QJsonArray customFieldDefinitionsToJson(const mppr::Project &project);
// [{"field": "OutlineCode1", "alias", "values": [{"uniqueId", "parentUniqueId", "value",
//  "description"}]}]; a top-level value's parent and an empty alias or description are null.
QJsonArray outlineCodesToJson(const mppr::Project &project);
