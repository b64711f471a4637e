#pragma once

// "mppdump --compare OLD NEW": the comparison of two versions of a schedule written as it is
// walked, changed activities and links only, then the summary.

#include <QString>

class JsonStreamWriter;

// Loads both files and writes their comparison; returns the reader's status of the first file
// that cannot be read (naming it on stderr), 0 when both were read.
int writeComparison(JsonStreamWriter &writer, const QString &oldPath, const QString &newPath);
