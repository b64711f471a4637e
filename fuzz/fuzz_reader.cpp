// libFuzzer entry point: the compound file reader and the MPP reader on whole files. Any crash,
// hang, leak or sanitizer report is a fault: the reader must turn every input into a status
// code or a shorter read.

#include "fuzz/cfbwalk.h"
#include "fuzz/fuzzsupport.h"
#include "mppr/project.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::quietLogging();
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    fuzzsupport::walkCompoundFile(bytes);
    mppr::Project project(QStringLiteral("fuzz.mpp"));
    project.readData(bytes);
    return 0;
}
