#include "comparestream.h"

#include "jsonstreamwriter.h"
#include "tablesstream.h"

#include "mppr/project.h"
#include "tables/mpploader.h"
#include "tables/rycomparemodel.h"

#include <cstdio>

namespace {

// The reader status of a load, 0 after a good one.
int load(MPPLoader &loader, const QString &path)
{
    setBuiltInSchema(loader);
    int status = 0;
    QObject::connect(&loader, &MPPLoader::failed, [&status](int code) { status = code; });
    loader.load(path);
    return status;
}

// The day length the deltas are counted in: the new version's own minutes per day.
int minutesPerDay(const MPPLoader &newVersion)
{
    return RyCompareModel::minutesPerDayOf(newVersion.project());
}

void numberOrNull(JsonStreamWriter &w, const QVariant &value)
{
    if (value.isValid())
        w.value(value.toDouble());
    else
        w.null();
}

void writeActivities(JsonStreamWriter &w, const RyCompareModel &comparison)
{
    w.beginArray();
    for (const RyCompareModel::Activity &a : comparison.activities()) {
        if (w.failed())
            break;
        if (a.change == RyCompareModel::ChangeKind::Unchanged)
            continue;
        w.beginObject();
        w.key("change");
        w.value(RyCompareModel::changeName(a.change));
        w.key("durationDelta");
        numberOrNull(w, a.durationDelta);
        w.key("fields");
        w.beginArray();
        for (const QString &field : RyCompareModel::fieldNames(a.fields))
            w.value(field);
        w.endArray();
        w.key("finishDelta");
        numberOrNull(w, a.finishDelta);
        w.key("startDelta");
        numberOrNull(w, a.startDelta);
        w.key("totalFloatDelta");
        numberOrNull(w, a.totalFloatDelta);
        w.key("uniqueId");
        w.value(int(a.uniqueId));
        w.endObject();
    }
    w.endArray();
}

void writeLinks(JsonStreamWriter &w, const RyCompareModel &comparison)
{
    w.beginArray();
    for (const RyCompareModel::Link &link : comparison.links()) {
        if (w.failed())
            break;
        w.beginObject();
        w.key("change");
        w.value(RyCompareModel::changeName(link.change));
        w.key("predecessor");
        w.value(int(link.predecessor));
        w.key("successor");
        w.value(int(link.successor));
        w.endObject();
    }
    w.endArray();
}

void writeSummary(JsonStreamWriter &w, const RyCompareModel::Summary &s)
{
    w.beginObject();
    w.key("added");
    w.value(s.added);
    w.key("changed");
    w.value(s.changed);
    w.key("deleted");
    w.value(s.deleted);
    w.key("finishSlipDays");
    w.value(s.finishSlipDays);
    w.key("matching");
    w.value(RyCompareModel::matchingName(s.matching));
    w.key("unchanged");
    w.value(s.unchanged);
    w.endObject();
}

} // namespace

int writeComparison(JsonStreamWriter &w, const QString &oldPath, const QString &newPath)
{
    MPPLoader oldLoader;
    MPPLoader newLoader;
    for (const auto &[loader, path] :
         { std::make_pair(&oldLoader, oldPath), std::make_pair(&newLoader, newPath) }) {
        const int status = load(*loader, path);
        if (status != 0) {
            std::fprintf(stderr, "mppdump: cannot read %s (status %d)\n", qPrintable(path), status);
            w.beginObject();
            w.key("file");
            w.value(path);
            w.key("status");
            w.value(status);
            w.endObject();
            return status;
        }
    }
    const RyCompareModel comparison(RyCompareVersion::fromLoader(oldLoader),
                                    RyCompareVersion::fromLoader(newLoader),
                                    minutesPerDay(newLoader));
    w.beginObject();
    w.key("activities");
    writeActivities(w, comparison);
    w.key("links");
    writeLinks(w, comparison);
    w.key("summary");
    writeSummary(w, comparison.summary());
    w.endObject();
    return 0;
}
