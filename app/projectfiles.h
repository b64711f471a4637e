// Checks on project file paths that come from outside the Open dialog: the command line and
// files dropped on the window.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

namespace ProjectFiles {

// Why `path` cannot be opened as a project ("The file does not exist.", "It is not a Microsoft
// Project file (.mpp)."), or empty when it can be tried.
QString problem(const QString &path);

// The first local .mpp file among dropped URLs; directories and other files are skipped.
QString firstProjectFile(const QList<QUrl> &urls);

} // namespace ProjectFiles
