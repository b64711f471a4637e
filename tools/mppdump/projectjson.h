#pragma once

// The in-memory project as the JSON document that mppdump prints.

#include <QJsonObject>
#include <QString>

namespace mppr {
class Project;
}

// {"file", "status", "userType", "progId", "clipboardFormat", "project", "calendars", "tasks",
//  "resources", "assignments"}; tasks and resources sorted by unique ID, assignments in list order.
// "HH:mm" of a time of day in minutes; midnight at the end of a day is "00:00", as the
// authoring tool's XML export writes it.
QString clockText(int minutes);

QJsonObject projectToJson(const mppr::Project &project, int status);
