#include "app/applogging.h"

Q_LOGGING_CATEGORY(lcApp, "tarvik.app", QtWarningMsg)
