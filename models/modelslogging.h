// The logging category of the models library, quiet below warnings by default
// (QT_LOGGING_RULES="tarvik.models.debug=true" shows the rest).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcModels)
