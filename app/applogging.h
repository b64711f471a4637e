// The logging category of the app library, "tarvik.app": warnings only unless the logging
// rules ask for more.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)
