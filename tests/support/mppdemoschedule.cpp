#include "tests/support/mppdemoschedule.h"

#include <algorithm>

namespace {

constexpr int DayUnits = 4800; // one working day of 8 hours, in tenths of a minute
constexpr double DayWork = 480000.0; // one person-day, in thousandths of a minute
constexpr int Summary = -1;

const QDate ProjectStart(2026, 2, 2);
const QDate StatusDate(2026, 6, 12);

// Link types as the file stores them.
enum Type { FF = 0, FS = 1, SF = 2, SS = 3 };

enum Crew {
    NoCrew,
    SiteManager,
    Groundworks,
    Concrete,
    Steel,
    Roofers,
    Carpenters,
    Glaziers,
    Cladding,
    Electricians,
    Plumbers,
    Hvac,
    Drylining,
    Painters,
    FloorLayers,
    Landscapers,
    CrewCount
};
const char *const CrewNames[CrewCount] = {
    "",
    "Site manager",
    "Groundworks crew",
    "Concrete crew",
    "Steel erectors",
    "Roofers",
    "Carpenters",
    "Glaziers",
    "Cladding crew",
    "Electricians",
    "Plumbers",
    "HVAC fitters",
    "Drylining crew",
    "Painters",
    "Floor layers",
    "Landscapers",
};
const char *const CrewInitials[CrewCount] = { "",   "SM", "GW", "CC", "SE", "RF", "CP", "GL",
                                              "CL", "EL", "PL", "HV", "DL", "PT", "FL", "LS" };

struct Pred
{
    int task;
    Type type;
    int lagDays;
};

// Days are indexes into the working days from the project start; a leaf runs from the start
// of day `s` to the end of day `f`, a milestone (no days) sits at the end of day `f`.
struct Activity
{
    QString name;
    int parent = -1;
    int days = Summary; // 0: milestone
    int slip = 0; // days it took longer than planned
    QVector<Crew> crews;
    QVector<Pred> preds;
    int s = 0, f = 0, lf = 0;
    int baseS = 0, baseF = 0;
    int doneDays = 0;
};

class Builder
{
public:
    int summary(const QString &name, int parent)
    {
        Activity a;
        a.name = name;
        a.parent = parent;
        m_all.append(a);
        return m_all.size() - 1;
    }
    int task(const QString &name, int parent, int days, QVector<Crew> crews, QVector<Pred> preds,
             int slip = 0)
    {
        const int id = summary(name, parent);
        Activity &a = m_all[id];
        a.days = days;
        a.crews = std::move(crews);
        a.preds = std::move(preds);
        a.slip = slip;
        return id;
    }
    int milestone(const QString &name, int parent, QVector<Pred> preds)
    {
        return task(name, parent, 0, {}, std::move(preds));
    }

    MppScheduleSpec spec();

private:
    int duration(const Activity &a, bool current) const { return a.days + (current ? a.slip : 0); }
    void forward(bool current);
    void backward();
    void progress(int statusDay);
    void spanSummaries();
    QDateTime at(int day, int hour) const
    {
        return QDateTime(m_days.at(std::clamp(day, 0, m_days.size() - 1)), QTime(hour, 0), Qt::UTC);
    }

    QVector<Activity> m_all;
    QVector<QDate> m_days;
};

bool isLeaf(const Activity &a)
{
    return a.days != Summary;
}

void Builder::forward(bool current)
{
    for (Activity &a : m_all) {
        if (!isLeaf(a))
            continue;
        const int d = duration(a, current);
        const int span = std::max(d, 1) - 1;
        int s = 0;
        for (const Pred &p : a.preds) {
            const Activity &b = m_all.at(p.task);
            switch (p.type) {
            case FS:
                s = std::max(s, b.f + p.lagDays + (d > 0 ? 1 : 0));
                break;
            case SS:
                s = std::max(s, b.s + p.lagDays);
                break;
            case FF:
                s = std::max(s, b.f + p.lagDays - span);
                break;
            case SF:
                s = std::max(s, b.s + p.lagDays - span);
                break;
            }
        }
        a.s = s;
        a.f = s + span;
        if (!current) {
            a.baseS = a.s;
            a.baseF = a.f;
        }
    }
}

// Late finishes from the last day back; predecessors always come before their successors.
void Builder::backward()
{
    int end = 0;
    for (const Activity &a : qAsConst(m_all))
        end = isLeaf(a) ? std::max(end, a.f) : end;
    for (Activity &a : m_all)
        a.lf = end;
    for (int i = m_all.size() - 1; i >= 0; --i) {
        const Activity &a = m_all.at(i);
        if (!isLeaf(a))
            continue;
        const int ls = a.lf - (a.f - a.s);
        for (const Pred &p : a.preds) {
            Activity &b = m_all[p.task];
            const int span = b.f - b.s;
            const int limit = p.type == FS ? ls - p.lagDays - (a.days > 0 ? 1 : 0)
                : p.type == SS             ? ls - p.lagDays + span
                : p.type == FF             ? a.lf - p.lagDays
                                           : a.lf - p.lagDays + span;
            b.lf = std::min(b.lf, limit);
        }
    }
}

void Builder::progress(int statusDay)
{
    for (Activity &a : m_all) {
        if (!isLeaf(a) || a.s > statusDay)
            continue;
        a.doneDays = a.days == 0 ? 0 : std::min(statusDay, a.f) - a.s + 1;
    }
}

// Summaries span their children: children always come after their parent.
void Builder::spanSummaries()
{
    QVector<bool> seen(m_all.size(), false);
    for (int i = m_all.size() - 1; i >= 1; --i) {
        const Activity &a = m_all.at(i);
        Activity &p = m_all[a.parent];
        if (!seen.at(a.parent)) {
            p.s = a.s, p.f = a.f, p.baseS = a.baseS, p.baseF = a.baseF, p.lf = a.lf;
            seen[a.parent] = true;
        } else {
            p.s = std::min(p.s, a.s), p.f = std::max(p.f, a.f);
            p.baseS = std::min(p.baseS, a.baseS), p.baseF = std::max(p.baseF, a.baseF);
            p.lf = std::max(p.lf, a.lf);
        }
    }
}

MppScheduleSpec Builder::spec()
{
    MppScheduleSpec spec;
    spec.title = QStringLiteral("Riverside Offices (sample schedule)");
    spec.calendarName = QStringLiteral("Standard");
    spec.holidays = { { QDate(2026, 4, 3), QStringLiteral("Good Friday") },
                      { QDate(2026, 4, 6), QStringLiteral("Easter Monday") },
                      { QDate(2026, 5, 4), QStringLiteral("Early May bank holiday") },
                      { QDate(2026, 5, 25), QStringLiteral("Spring bank holiday") },
                      { QDate(2026, 8, 31), QStringLiteral("Summer bank holiday") },
                      { QDate(2026, 12, 25), QStringLiteral("Christmas Day") },
                      { QDate(2026, 12, 28), QStringLiteral("Boxing Day (substitute)") } };
    spec.statusDate = QDateTime(StatusDate, QTime(17, 0), Qt::UTC);
    for (QDate day = ProjectStart; m_days.size() < 1000; day = day.addDays(1)) {
        const bool holiday = std::any_of(spec.holidays.cbegin(), spec.holidays.cend(),
                                         [&day](const auto &h) { return h.first == day; });
        if (day.dayOfWeek() <= 5 && !holiday)
            m_days.append(day);
    }
    forward(false);
    forward(true);
    backward();
    progress(int(std::lower_bound(m_days.cbegin(), m_days.cend(), StatusDate) - m_days.cbegin()));
    spanSummaries();

    for (int k = 1; k < CrewCount; ++k)
        spec.resources.append({ k, QLatin1String(CrewNames[k]), QLatin1String(CrewInitials[k]) });
    // Done days of the leaves below each summary, for its percent complete and actual dates.
    QVector<int> doneDays(m_all.size(), 0), allDays(m_all.size(), 0);
    QVector<bool> started(m_all.size(), false), finished(m_all.size(), true);
    for (int i = m_all.size() - 1; i >= 0; --i) {
        const Activity &a = m_all.at(i);
        if (isLeaf(a)) {
            doneDays[i] = a.doneDays;
            allDays[i] = a.days + a.slip;
            started[i] = a.doneDays > 0 || (a.days == 0 && a.f <= m_days.indexOf(StatusDate));
            finished[i] = started[i] && a.doneDays == a.days + a.slip;
        }
        if (i > 0) {
            doneDays[a.parent] += doneDays.at(i);
            allDays[a.parent] += allDays.at(i);
            started[a.parent] = started.at(a.parent) || started.at(i);
            finished[a.parent] = finished.at(a.parent) && finished.at(i);
        }
    }
    quint32 linkId = 0;
    for (int i = 0; i < m_all.size(); ++i) {
        const Activity &a = m_all.at(i);
        MppTaskSpec t;
        t.uniqueId = i;
        t.name = a.name;
        t.parentUniqueId = a.parent;
        const bool milestone = a.days == 0;
        const int firstHour = milestone ? (a.preds.isEmpty() ? 8 : 17) : 8;
        t.start = t.scheduledStart = t.earlyStart = at(a.s, firstHour);
        t.finish = t.scheduledFinish = t.earlyFinish = at(a.f, 17);
        t.lateStart = at(a.lf - (a.f - a.s), firstHour);
        t.lateFinish = at(a.lf, 17);
        t.startSlack = t.finishSlack = t.freeSlack = (a.lf - a.f) * DayUnits;
        const int days = milestone ? 0 : a.f - a.s + 1;
        const int done = std::min(
            days, isLeaf(a) ? a.doneDays : doneDays.at(i) * days / std::max(allDays.at(i), 1));
        t.duration = days * DayUnits;
        t.remainingDuration = (days - done) * DayUnits;
        const double people = std::max(1, int(a.crews.size()));
        t.work = isLeaf(a) ? days * people * DayWork : allDays.at(i) * DayWork;
        t.actualWork = isLeaf(a) ? done * people * DayWork : doneDays.at(i) * DayWork;
        t.remainingWork = t.work - t.actualWork;
        t.percentComplete = milestone ? (started.at(i) ? 100 : 0)
                                      : 100 * doneDays.at(i) / std::max(allDays.at(i), 1);
        if (started.at(i))
            t.actualStart = t.start;
        if (finished.at(i))
            t.actualFinish = t.finish;
        MppBaselineSpec baseline;
        baseline.start = at(a.baseS, firstHour);
        baseline.finish = at(a.baseF, 17);
        baseline.duration = milestone ? 0 : (a.baseF - a.baseS + 1) * DayUnits;
        baseline.work = !isLeaf(a) ? allDays.at(i) * DayWork
            : milestone            ? 0.0
                                   : (a.baseF - a.baseS + 1) * people * DayWork;
        t.baselines.append(baseline);
        spec.tasks.append(t);
        for (const Pred &p : a.preds)
            spec.relations.append(
                { ++linkId, p.task, i, quint16(p.type), p.lagDays * DayUnits, 7 });
        for (Crew crew : a.crews) {
            MppAssignmentSpec assignment;
            assignment.uniqueId = spec.assignments.size() + 1;
            assignment.taskUniqueId = i;
            assignment.resourceUniqueId = crew;
            assignment.workHours = days * 8.0;
            assignment.actualWorkHours = done * 8.0;
            assignment.start = t.start;
            assignment.finish = t.finish;
            spec.assignments.append(assignment);
        }
    }
    return spec;
}

QString block(int b)
{
    return QStringLiteral("Block %1").arg(QChar(QLatin1Char(char('A' + b))));
}

} // namespace

MppScheduleSpec demoMppSchedule()
{
    constexpr int Blocks = 2;
    constexpr int Levels = 4;
    Builder d;
    using S = QString;
    const int root = d.summary(S("Riverside Offices"), -1);

    const int pre = d.summary(S("Preconstruction"), root);
    const int award = d.milestone(S("Contract awarded"), pre, {});
    const int design
        = d.task(S("Detailed design review"), pre, 10, { SiteManager }, { { award, FS, 0 } });
    const int permit = d.milestone(S("Building permit approved"), pre, { { design, FS, 5 } });
    const int setup
        = d.task(S("Site set-up and hoarding"), pre, 5, { Groundworks }, { { permit, FS, 0 } });
    d.task(S("Temporary site power"), pre, 3, { Electricians }, { { setup, SS, 2 } });

    const int site = d.summary(S("Site works"), root);
    const int clearance
        = d.task(S("Site clearance"), site, 4, { Groundworks }, { { setup, FS, 0 } });
    const int topsoil
        = d.task(S("Topsoil strip"), site, 3, { Groundworks }, { { clearance, FS, 0 } });
    const int excavation
        = d.task(S("Bulk excavation"), site, 8, { Groundworks }, { { topsoil, FS, 0 } }, 3);
    const int drainage
        = d.task(S("Underground drainage"), site, 6, { Plumbers }, { { excavation, SS, 4 } });
    const int roads = d.task(S("Site roads and hardstanding"), site, 5, { Groundworks },
                             { { drainage, FF, 2 } });
    d.milestone(S("Site works complete"), site, { { roads, FS, 0 }, { drainage, FS, 0 } });

    const int foundations = d.summary(S("Foundations"), root);
    QVector<int> groundSlab(Blocks), padDig(Blocks);
    for (int b = 0; b < Blocks; ++b) {
        const int g = d.summary(block(b), foundations);
        const Pred first = b == 0 ? Pred { excavation, FS, 0 } : Pred { padDig[0], SS, 3 };
        const int set = d.task(S("Set out foundations"), g, 1, { Groundworks }, { first });
        padDig[b] = d.task(S("Excavate pad footings"), g, 4, { Groundworks }, { { set, FS, 0 } });
        const int rebar
            = d.task(S("Blind and fix rebar"), g, 3, { Concrete }, { { padDig[b], SS, 2 } });
        const int pour
            = d.task(S("Pour footings"), g, 2, { Concrete, Groundworks }, { { rebar, FS, 0 } });
        const int beams
            = d.task(S("Ground beams"), g, 4, { Concrete }, { { pour, FS, 2 } }, b == 1 ? 2 : 0);
        groundSlab[b] = d.task(S("Ground floor slab"), g, 5, { Concrete }, { { beams, FS, 0 } });
    }
    d.milestone(S("Foundations complete"), foundations,
                { { groundSlab[0], FS, 0 }, { groundSlab[1], FS, 0 } });

    const int structure = d.summary(S("Structure"), root);
    QVector<QVector<int>> slab(Blocks, QVector<int>(Levels)), erect(slab);
    for (int b = 0; b < Blocks; ++b) {
        const int g = d.summary(block(b), structure);
        int below = groundSlab[b];
        for (int l = 0; l < Levels; ++l) {
            const int level = d.summary(S("Level %1").arg(l + 1), g);
            QVector<Pred> preds { { below, FS, l == 0 ? 0 : 3 } };
            if (b > 0)
                preds.append({ erect[0][l], SS, 5 });
            erect[b][l] = d.task(S("Erect steel frame"), level, 5, { Steel }, preds,
                                 b == 0 && l == 1 ? 2 : 0);
            const int deck
                = d.task(S("Metal decking"), level, 3, { Steel }, { { erect[b][l], FS, 0 } });
            const int cores
                = d.task(S("Stairs and cores"), level, 3, { Concrete }, { { deck, SS, 1 } });
            const int rebar
                = d.task(S("Fix slab rebar"), level, 2, { Concrete }, { { deck, FS, 0 } });
            slab[b][l] = d.task(S("Pour floor slab"), level, 1, { Concrete },
                                { { rebar, FS, 0 }, { cores, FF, 0 } });
            below = slab[b][l];
        }
    }
    d.milestone(S("Structure topped out"), structure,
                { { slab[0][Levels - 1], FS, 3 }, { slab[1][Levels - 1], FS, 3 } });

    const int envelope = d.summary(S("Envelope"), root);
    QVector<int> watertight(Blocks);
    for (int b = 0; b < Blocks; ++b) {
        const int g = d.summary(block(b), envelope);
        const int roof
            = d.task(S("Roof steel and deck"), g, 4, { Steel }, { { slab[b][Levels - 1], FS, 3 } });
        const int membrane = d.task(S("Roof membrane"), g, 5, { Roofers }, { { roof, FS, 0 } });
        const int walls
            = d.task(S("External wall framing"), g, 12, { Carpenters }, { { slab[b][0], FS, 5 } });
        const int windows
            = d.task(S("Windows and curtain wall"), g, 10, { Glaziers }, { { walls, SS, 4 } });
        const int cladding = d.task(S("Cladding"), g, 12, { Cladding }, { { windows, FF, 3 } });
        watertight[b] = d.milestone(S("%1 watertight").arg(block(b)), g,
                                    { { membrane, FS, 0 }, { cladding, FS, 0 } });
    }

    struct FirstFix
    {
        int electrical, plumbing, ductwork, sprinklers;
    };
    const int services = d.summary(S("Services"), root);
    QVector<QVector<FirstFix>> firstFix(Blocks, QVector<FirstFix>(Levels));
    for (int b = 0; b < Blocks; ++b) {
        const int g = d.summary(block(b), services);
        for (int l = 0; l < Levels; ++l) {
            const int level = d.summary(S("Level %1").arg(l + 1), g);
            FirstFix &f = firstFix[b][l];
            f.electrical = d.task(S("Electrical first fix"), level, 5, { Electricians },
                                  { { slab[b][l], FS, 10 } });
            f.plumbing = d.task(S("Plumbing first fix"), level, 4, { Plumbers },
                                { { f.electrical, SS, 1 } });
            f.ductwork
                = d.task(S("HVAC ductwork"), level, 6, { Hvac }, { { f.electrical, SS, 2 } });
            f.sprinklers = d.task(S("Sprinkler pipework"), level, 3, { Plumbers },
                                  { { f.ductwork, FS, 0 } });
            d.task(S("Pressure testing"), level, 1, { Plumbers, SiteManager },
                   { { f.sprinklers, FS, 0 }, { f.plumbing, FS, 0 } });
        }
    }

    const int finishes = d.summary(S("Finishes"), root);
    QVector<Pred> levelsDone;
    for (int b = 0; b < Blocks; ++b) {
        const int g = d.summary(block(b), finishes);
        for (int l = 0; l < Levels; ++l) {
            const int level = d.summary(S("Level %1").arg(l + 1), g);
            const FirstFix &f = firstFix[b][l];
            const int partitions = d.task(
                S("Partition framing"), level, 5, { Carpenters },
                { { f.plumbing, FS, 0 }, { f.sprinklers, FS, 0 }, { watertight[b], FS, 0 } });
            const int dry = d.task(S("Drylining and taping"), level, 6, { Drylining },
                                   { { partitions, SS, 2 } });
            const int ceilings = d.task(S("Suspended ceilings"), level, 4, { Drylining },
                                        { { dry, FS, 0 }, { f.ductwork, FS, 0 } });
            const int electrical = d.task(S("Electrical second fix"), level, 4, { Electricians },
                                          { { ceilings, FS, 0 } });
            const int plumbing = d.task(S("Plumbing second fix"), level, 3, { Plumbers },
                                        { { electrical, FF, 1 } });
            const int paint = d.task(S("Painting"), level, 5, { Painters }, { { dry, FS, 2 } });
            const int floors
                = d.task(S("Floor finishes"), level, 4, { FloorLayers }, { { paint, FS, 0 } });
            const int doors = d.task(S("Doors and ironmongery"), level, 3, { Carpenters },
                                     { { floors, SS, 1 } });
            levelsDone.append({ d.milestone(S("Level %1 finishes complete").arg(l + 1), level,
                                            { { doors, FS, 0 }, { plumbing, FS, 0 } }),
                                FS, 0 });
        }
    }

    const int external = d.summary(S("External works"), root);
    const int power = d.task(S("Permanent power connection"), external, 2, { Electricians },
                             { { watertight[0], FS, 0 } });
    const int carPark = d.task(S("Car park surfacing"), external, 6, { Groundworks },
                               { { roads, FS, 0 }, { watertight[1], FS, 5 } });
    const int landscaping
        = d.task(S("Landscaping"), external, 10, { Landscapers }, { { carPark, SS, 3 } });
    const int lighting = d.task(S("External lighting"), external, 4, { Electricians },
                                { { power, FS, 0 }, { carPark, FS, 0 } });
    const int fencing
        = d.task(S("Fencing and gates"), external, 5, { Groundworks }, { { landscaping, FF, 0 } });

    const int handover = d.summary(S("Handover"), root);
    QVector<Pred> ready = levelsDone;
    ready.append({ power, FS, 0 });
    const int commissioning
        = d.task(S("Commissioning"), handover, 10, { Hvac, Electricians }, ready);
    const int certificate = d.task(S("Fire alarm certification"), handover, 2, { Electricians },
                                   { { commissioning, FF, 0 } });
    d.task(S("Site security guarding"), handover, 15, { SiteManager },
           { { commissioning, SF, 5 } });
    const int snagging = d.task(S("Snagging"), handover, 8, { SiteManager, Carpenters },
                                { { commissioning, SS, 5 }, { landscaping, FS, 0 } });
    const int completion = d.milestone(
        S("Practical completion"), handover,
        { { snagging, FS, 0 }, { certificate, FS, 0 }, { fencing, FS, 0 }, { lighting, FS, 0 } });
    d.milestone(S("Handover to client"), handover, { { completion, FS, 5 } });
    return d.spec();
}
