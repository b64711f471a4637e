#pragma once

// The in-memory project written as mppdump's JSON while it is walked, record by record: the
// same text as the document projectToJson() describes, without building that document.

namespace mppr {
class Project;
}
class JsonStreamWriter;

void writeProject(JsonStreamWriter &writer, const mppr::Project &project, int status);
