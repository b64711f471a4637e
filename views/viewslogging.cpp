#include "views/viewslogging.h"

Q_LOGGING_CATEGORY(lcViews, "tarvik.views", QtWarningMsg)
