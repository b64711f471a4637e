#pragma once

// The tables and derived models of a completely loaded file written as "mppdump --tables"
// prints them, row by row: the same text as the document tablesToJson() describes, without
// building that document.

#include <QString>

#include <functional>

class JsonStreamWriter;
class ProjectLoader;

// Gives the loader the column descriptions built into the program.
void setBuiltInSchema(ProjectLoader &loader);

// Loads the file and writes it; returns what `done` returns for the reader's status. `done`
// runs while the loader and its tables still exist, so that a caller about to end the process
// need not free them.
int writeTables(JsonStreamWriter &writer, const QString &path,
                const std::function<int(int status)> &done);
