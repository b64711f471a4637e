// Writes a seed corpus for one fuzz target from sample schedules, so that no sample-derived
// bytes are kept in the repository:
//   fuzz_seedmaker <blocks|rtf> <output folder> [--max N] <.mpp files...>
// blocks: every block the readers parse, in the input format of fuzz_blocks (blockinput.h);
// rtf: every note's rich text in the variable data.

#include "cfb/compoundfile.h"
#include "fuzz/blockinput.h"
#include "fuzz/fuzzsupport.h"
#include "mppr/bytes.h"
#include "mppr/propsblock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <cstdio>

using namespace fuzzblocks;

namespace {

class SeedWriter
{
public:
    SeedWriter(const QString &folder, int max)
        : m_folder(folder)
        , m_max(max)
    {
    }

    // Named by content, so that a block seen twice is written once.
    void write(const QByteArray &input)
    {
        if (full())
            return;
        const QString name = QString::fromLatin1(
            QCryptographicHash::hash(input, QCryptographicHash::Sha1).toHex().left(16));
        if (m_written.contains(name))
            return;
        QFile file(m_folder + QLatin1Char('/') + name);
        if (file.open(QIODevice::WriteOnly) && file.write(input) == input.size())
            m_written.insert(name);
    }
    bool full() const { return m_max > 0 && m_written.size() >= m_max; }
    int count() const { return m_written.size(); }

private:
    QString m_folder;
    int m_max;
    QSet<QString> m_written;
};

// The streams directly inside each storage, by name.
void collectStorages(const cfb::CompoundFile &file, const QString &storage, int depth,
                     QHash<QString, QHash<QString, QByteArray>> *storages)
{
    if (depth > 8)
        return;
    for (const QString &name : file.listEntries(storage)) {
        const QString path
            = (storage == QLatin1String("/") ? storage : storage + QLatin1Char('/')) + name;
        cfb::CompoundStream stream = file.openStream(path);
        if (stream.isNull())
            collectStorages(file, path, depth + 1, storages);
        else
            (*storages)[storage].insert(name, stream.readAll());
    }
}

// The field map items of a Props stream (tasks, resources, calendars, assignments, outline
// codes) with the record class blocks they describe, where those sit beside them.
const struct
{
    quint32 key;
    const char *folder;
} FieldMapItems[] = {
    { 0x20014, "/TBkndTask" },  { 0x20015, "/TBkndRsc" },      { 0x20016, "/TBkndCal" },
    { 0x20017, "/TBkndAssn" },  { 0x20019, "/TBkndOutlCode" }, { 0x3000014, "/TBkndTask" },
    { 0x3000015, "/TBkndRsc" }, { 0x3000017, "/TBkndAssn" },
};

void blockSeeds(const QHash<QString, QHash<QString, QByteArray>> &storages, SeedWriter *out)
{
    for (auto it = storages.cbegin(); it != storages.cend(); ++it) {
        const QHash<QString, QByteArray> &streams = it.value();
        const bool byKey = it.key().contains(QLatin1String("   19"));
        const int varLayout = byKey ? 1 : 0;
        for (auto s = streams.cbegin(); s != streams.cend(); ++s) {
            if (s.key().startsWith(QLatin1String("Props")))
                out->write(joinBlocks(Props, 0, { s.value() }));
        }
        for (const char *prefix : { "Fixed", "Fixed2" }) {
            const QString meta = QLatin1String(prefix) + QLatin1String("Meta");
            const QString data = QLatin1String(prefix) + QLatin1String("Data");
            if (!streams.contains(meta))
                continue;
            for (int layout = 0; layout < 4; ++layout)
                out->write(joinBlocks(FixedMeta, layout, { streams.value(meta) }));
            out->write(joinBlocks(FixedData, 0, { streams.value(meta), streams.value(data) }));
            out->write(joinBlocks(FixedData, 5, { QByteArray(), streams.value(data) }));
        }
        if (streams.contains(QStringLiteral("VarMeta"))) {
            const QByteArray meta = streams.value(QStringLiteral("VarMeta"));
            out->write(joinBlocks(VarMeta, varLayout, { meta }));
            out->write(joinBlocks(VarData, varLayout,
                                  { meta, streams.value(QStringLiteral("Var2Data")) }));
        }
    }
    // Field maps with the task, resource and assignment blocks of the same version directory.
    for (auto it = storages.cbegin(); it != storages.cend(); ++it) {
        const QByteArray propsStream = it.value().value(QStringLiteral("Props"));
        if (propsStream.isEmpty())
            continue;
        mppr::PropsBlock props;
        props.parse(propsStream);
        const int style = it.key().contains(QLatin1String("   19")) ? 2
            : it.key().contains(QLatin1String("   112"))            ? 1
                                                                    : 0;
        for (const auto &map : FieldMapItems) {
            const QByteArray item = props.item(map.key);
            if (item.isEmpty())
                continue;
            const QHash<QString, QByteArray> blocks
                = storages.value(it.key() + QLatin1String(map.folder));
            out->write(joinBlocks(FieldMaps, style,
                                  { item, blocks.value(QStringLiteral("FixedMeta")),
                                    blocks.value(QStringLiteral("FixedData")),
                                    blocks.value(QStringLiteral("VarMeta")),
                                    blocks.value(QStringLiteral("Var2Data")) }));
        }
    }
}

// Rich text values: "{\rtf" behind their 32-bit length, anywhere in the variable data.
void rtfSeeds(const QHash<QString, QHash<QString, QByteArray>> &storages, SeedWriter *out)
{
    for (const QHash<QString, QByteArray> &streams : storages) {
        const QByteArray data = streams.value(QStringLiteral("Var2Data"));
        const mppr::ByteView bytes(data);
        for (int pos = data.indexOf("{\\rtf"); pos >= 4; pos = data.indexOf("{\\rtf", pos + 1)) {
            const quint32 length = bytes.u32(pos - 4);
            if (bytes.fits(pos, length))
                out->write(data.mid(pos, int(length)));
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    fuzzsupport::quietLogging();
    QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: fuzz_seedmaker <blocks|rtf> <folder> [--max N] "
                     "<.mpp files...>\n");
        return 2;
    }
    const QString kind = args.takeFirst();
    const QString folder = args.takeFirst();
    int max = 0;
    if (args.value(0) == QLatin1String("--max")) {
        max = args.value(1).toInt();
        args = args.mid(2);
    }
    QDir().mkpath(folder);
    SeedWriter out(folder, max);
    if (kind == QLatin1String("blocks") || kind == QLatin1String("rtf")) {
        for (const QString &path : args) {
            cfb::CompoundFile file(path);
            if (!file.open())
                continue;
            QHash<QString, QHash<QString, QByteArray>> storages;
            collectStorages(file, QStringLiteral("/"), 0, &storages);
            if (kind == QLatin1String("blocks"))
                blockSeeds(storages, &out);
            else
                rtfSeeds(storages, &out);
            if (out.full())
                break;
        }
    } else {
        std::fprintf(stderr, "fuzz_seedmaker: unknown kind %s\n", qPrintable(kind));
        return 2;
    }
    std::printf("%d seeds in %s\n", out.count(), qPrintable(folder));
    return 0;
}
