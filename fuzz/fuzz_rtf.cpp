// libFuzzer entry point: the plain text of a note's rich text. Any bytes must give some text,
// never more of it than the input could hold.

#include "fuzz/fuzzsupport.h"
#include "mppr/rtftext.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::quietLogging();
    const QByteArray rtf = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const QString text = mppr::rtfToText(rtf);
    // Every character comes from at least one input byte, a paragraph mark included.
    if (text.size() > rtf.size())
        std::abort();
    return 0;
}
