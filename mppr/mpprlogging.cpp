#include "mppr/mpprlogging.h"

namespace mppr {
Q_LOGGING_CATEGORY(lcMppr, "tarvik.mppr", QtWarningMsg)
} // namespace mppr
