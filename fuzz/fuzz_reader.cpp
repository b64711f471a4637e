// libFuzzer entry point: the compound file reader and the MPP reader on arbitrary bytes.
// Any crash, hang, leak or sanitizer report is a fault: the reader must turn every input into
// a status code or a shorter read.

#include "cfb/compoundfile.h"
#include "mppr/project.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Lists every storage and reads every stream, piece by piece and with seeks, within a budget
// of entries (a directory may name the same storage from many places).
void walk(const cfb::CompoundFile &file, const QString &storage, int depth, int &budget)
{
    if (depth > 16)
        return;
    for (const QString &name : file.listEntries(storage)) {
        if (--budget < 0)
            return;
        const QString path = storage + QLatin1Char('/') + name;
        cfb::CompoundStream stream = file.openStream(path);
        if (stream.isNull()) {
            walk(file, path, depth + 1, budget);
            continue;
        }
        char buffer[777];
        while (stream.read(buffer, sizeof buffer) > 0) { }
        stream.seek(stream.size() / 3);
        // A stream delivers exactly what size() promises.
        if (stream.readAll().size() != stream.size() - stream.size() / 3)
            std::abort();
    }
}

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &) { }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool quiet = [] {
        qInstallMessageHandler(dropMessages);
        return true;
    }();
    Q_UNUSED(quiet);

    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    cfb::CompoundFile file;
    if (file.openData(bytes)) {
        int budget = 4096;
        walk(file, QString(), 0, budget);
    }
    mppr::Project project(QStringLiteral("fuzz.mpp"));
    project.readData(bytes);
    return 0;
}
