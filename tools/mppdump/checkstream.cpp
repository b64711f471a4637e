#include "checkstream.h"

#include "jsonstreamwriter.h"

#include "mppr/project.h"
#include "tables/mpptaskmodel.h"
#include "tables/mpptaskpredmodel.h"
#include "tables/mpptaskrsrcmodel.h"
#include "tables/ryschedulecheck.h"

#include <cstdio>

void writeCheck(JsonStreamWriter &w, const RyScheduleCheck &check)
{
    w.beginObject();
    w.key("checks");
    w.beginArray();
    for (const RyScheduleCheck::Check &c : check.checks()) {
        w.beginObject();
        w.key("activities");
        w.beginArray();
        for (const qint32 id : c.activities)
            w.value(int(id));
        w.endArray();
        w.key("count");
        w.value(c.count);
        w.key("name");
        w.value(c.name);
        w.key("number");
        w.value(c.number);
        w.key("population");
        w.value(c.population);
        w.key("ratio");
        if (c.ratio)
            w.value(*c.ratio);
        else
            w.null();
        w.key("result");
        w.value(RyScheduleCheck::resultName(c.result));
        w.key("threshold");
        if (c.threshold.isEmpty())
            w.null();
        else
            w.value(c.threshold);
        w.endObject();
    }
    w.endArray();
    w.key("minutesPerDay");
    w.value(check.minutesPerDay());
    w.key("statusDate");
    if (check.statusDate().isValid())
        w.dateTimeValue(check.statusDate());
    else
        w.null();
    w.endObject();
}

int writeCheck(JsonStreamWriter &w, const QString &path, const std::function<int(int)> &done)
{
    // Only the three tables the check reads: the derived models of a full load are not needed.
    mppr::Project project(path);
    const int status = project.read();
    if (status != mppr::StatusOk) {
        std::fprintf(stderr, "mppdump: cannot read %s (status %d)\n", qPrintable(path), status);
        w.beginObject();
        w.key("file");
        w.value(path);
        w.key("status");
        w.value(status);
        w.endObject();
        return done(status);
    }
    MPPTaskModel tasks;
    MPPTaskPredModel relations;
    MPPTaskRsrcModel assignments;
    for (MPPModel *table : { static_cast<MPPModel *>(&tasks), static_cast<MPPModel *>(&relations),
                             static_cast<MPPModel *>(&assignments) })
        table->setProject(&project);
    writeCheck(w, RyScheduleCheck::run(tasks, relations, &assignments));
    return done(status);
}
