#pragma once

// "mppdump --check FILE": the fourteen-point schedule check of a file as JSON, all checks in
// number order.

#include <QString>

class JsonStreamWriter;
class RyScheduleCheck;

// Reads the file and writes its check; returns the reader's status (the JSON then carries
// only the file and that status).
int writeCheck(JsonStreamWriter &writer, const QString &path);
// The check's JSON: {"checks": [...], "minutesPerDay", "statusDate"}.
void writeCheck(JsonStreamWriter &writer, const RyScheduleCheck &check);
