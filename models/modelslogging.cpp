#include "models/modelslogging.h"

Q_LOGGING_CATEGORY(lcModels, "tarvik.models", QtWarningMsg)
