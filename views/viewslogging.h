// The logging category of the views library, quiet below warnings by default
// (QT_LOGGING_RULES="tarvik.views.debug=true" shows the rest).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcViews)
