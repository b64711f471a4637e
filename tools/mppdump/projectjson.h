#pragma once

// The in-memory project as the JSON document that mppdump prints.

#include <QJsonObject>

namespace mppr {
class Project;
}

// {"file", "status", "userType", "progId", "clipboardFormat", "tasks", "resources",
//  "assignments"}; tasks and resources sorted by unique ID, assignments in list order.
QJsonObject projectToJson(const mppr::Project &project, int status);
