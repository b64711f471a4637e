#pragma once

// The CompObj stream of an OLE2 file: user type, clipboard format and ProgID.

#include <QByteArray>
#include <QString>

namespace mppr {

struct CompObjInfo
{
    QString ansiUserType;
    QString ansiClipboardFormat;
    // The ProgID; a Unicode user type, when present, is stored over it.
    QString progId;
    QString unicodeClipboardFormat;
    QString reserved;

    // 1 for a malformed stream, else 0. What was read before a problem is kept.
    int parse(const QByteArray &stream);
};

// The leading decimal number of a user type such as "Microsoft.Project 15.0" (15): the text
// after "Microsoft.Project ", fraction ignored; 0 when no number follows; defaultVersion when
// the prefix is missing.
int versionFromUserType(const QString &userType, int defaultVersion);

} // namespace mppr
