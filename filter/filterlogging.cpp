#include "filter/filterlogging.h"

Q_LOGGING_CATEGORY(lcFilter, "tarvik.filter", QtWarningMsg)
