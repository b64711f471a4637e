#include "gantt/ganttlogging.h"

Q_LOGGING_CATEGORY(lcGantt, "tarvik.gantt", QtWarningMsg)
