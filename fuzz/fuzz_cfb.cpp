// libFuzzer entry point: the compound file reader on its own. Every storage is listed and every
// stream read piece by piece and with seeks; a stream must deliver exactly what size() says.

#include "fuzz/cfbwalk.h"
#include "fuzz/fuzzsupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::quietLogging();
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    fuzzsupport::walkCompoundFile(bytes);
    return 0;
}
