// The one logging category of the Gantt library, quiet below warnings by default.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcGantt)
