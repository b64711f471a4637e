#pragma once

// The reader's logging category, "tarvik.mppr": warnings and above unless QT_LOGGING_RULES
// asks for more.

#include <QLoggingCategory>

namespace mppr {
Q_DECLARE_LOGGING_CATEGORY(lcMppr)
} // namespace mppr
