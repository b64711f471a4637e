#pragma once

// The tables and derived models of a completely loaded file written as "mppdump --tables"
// prints them, row by row: the same text as the document tablesToJson() describes, without
// building that document.

#include <QString>

class JsonStreamWriter;
class ProjectLoader;

// Gives the loader the column descriptions built into the program.
void setBuiltInSchema(ProjectLoader &loader);

// Loads the file and writes it; returns the reader's status.
int writeTables(JsonStreamWriter &writer, const QString &path);
