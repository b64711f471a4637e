#pragma once

// The filters' logging category, "tarvik.filter": warnings and above unless QT_LOGGING_RULES
// asks for more.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcFilter)
