#pragma once

// "mppdump --check FILE": the fourteen-point schedule check of a file as JSON, all checks in
// number order.

#include <QString>

#include <functional>

class JsonStreamWriter;
class RyScheduleCheck;

// Reads the file and writes its check; returns what `done` returns for the reader's status (the
// JSON then carries only the file and that status). `done` runs while the project and its
// tables still exist, so that a caller about to end the process need not free them.
int writeCheck(JsonStreamWriter &writer, const QString &path,
               const std::function<int(int status)> &done);
// The check's JSON: {"checks": [...], "minutesPerDay", "statusDate"}.
void writeCheck(JsonStreamWriter &writer, const RyScheduleCheck &check);
