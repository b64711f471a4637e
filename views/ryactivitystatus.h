// The status bar text of the activity view: how many activities the project has and, while
// filters hide some, how many of them are shown. Group rows are not activities.
#pragma once

#include <QString>

class Activities;
class Resources;

class RyActivityStatus
{
public:
    // Activities that pass the filters, whether or not their branch is expanded.
    static int shownActivityCount(const Activities &view);
    // "N activities", or "M of N activities shown" when M < N; empty without a project.
    static QString text(const Activities &view);
    // "N assignments" (or "M of N assignments shown") of the Resources page.
    static QString text(const Resources &page);
    // The same count of other rows, such as "assignments".
    static QString text(int shown, int total, const QString &rows = QStringLiteral("activities"));
};
