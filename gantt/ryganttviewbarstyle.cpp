#include "gantt/ryganttviewbarstyle.h"

namespace {

QString colorText(const QColor &color)
{
    return color.isValid() ? color.name() : QString();
}

// QColor(QString) accepts names beyond "#rrggbb"; anything it cannot read stays invalid.
QColor colorFromVariant(const QVariant &value)
{
    if (value.type() != QVariant::String)
        return QColor();
    return QColor(value.toString());
}

RyGanttViewBarStyle makeStyle(const char *name, const char *startDate, const char *finishDate,
                              int height, int offset, const QColor &body)
{
    RyGanttViewBarStyle style;
    style.styleName = QString::fromLatin1(name);
    style.startDate = QString::fromLatin1(startDate);
    style.finishDate = QString::fromLatin1(finishDate);
    style.bodyShapeHeight = height;
    style.bodyShapeOffset = offset;
    style.bodyColor = body;
    return style;
}

} // namespace

bool RyGanttViewBarStyle::operator==(const RyGanttViewBarStyle &other) const
{
    return styleName == other.styleName && startPointShape == other.startPointShape
        && startPointColor == other.startPointColor && bodyShapeHeight == other.bodyShapeHeight
        && bodyShapeOffset == other.bodyShapeOffset && bodyColor == other.bodyColor
        && endPointShape == other.endPointShape && endPointColor == other.endPointColor
        && displayColumns == other.displayColumns && startDate == other.startDate
        && finishDate == other.finishDate && visible == other.visible;
}

QVariantMap RyGanttViewBarStyle::toVariantMap() const
{
    QVariantList columns;
    for (auto it = displayColumns.cbegin(); it != displayColumns.cend(); ++it)
        columns.append(QVariantMap { { QStringLiteral("key"), it.key() },
                                     { QStringLiteral("value"), it.value() } });
    return {
        { QStringLiteral("styleName"), styleName },
        { QStringLiteral("startPointShape"), startPointShape },
        { QStringLiteral("startPointColor"), colorText(startPointColor) },
        { QStringLiteral("bodyShapeHeight"), bodyShapeHeight },
        { QStringLiteral("bodyShapeOffset"), bodyShapeOffset },
        { QStringLiteral("bodyColor"), colorText(bodyColor) },
        { QStringLiteral("endPointShape"), endPointShape },
        { QStringLiteral("endPointColor"), colorText(endPointColor) },
        { QStringLiteral("displayColumns"), columns },
        { QStringLiteral("startDate"), startDate },
        { QStringLiteral("finishDate"), finishDate },
        { QStringLiteral("visible"), visible },
    };
}

RyGanttViewBarStyle RyGanttViewBarStyle::fromVariantMap(const QVariantMap &map)
{
    RyGanttViewBarStyle style;
    style.styleName = map.value(QStringLiteral("styleName")).toString();
    style.startPointShape = map.value(QStringLiteral("startPointShape")).toString();
    style.startPointColor = colorFromVariant(map.value(QStringLiteral("startPointColor")));
    style.bodyShapeHeight
        = qBound(0, map.value(QStringLiteral("bodyShapeHeight")).toInt(), MaxBodyExtent);
    style.bodyShapeOffset = qBound(
        -MaxBodyExtent, map.value(QStringLiteral("bodyShapeOffset")).toInt(), MaxBodyExtent);
    style.bodyColor = colorFromVariant(map.value(QStringLiteral("bodyColor")));
    style.endPointShape = map.value(QStringLiteral("endPointShape")).toString();
    style.endPointColor = colorFromVariant(map.value(QStringLiteral("endPointColor")));
    // A later entry for the same position replaces an earlier one.
    const QVariantList columns = map.value(QStringLiteral("displayColumns")).toList();
    for (const QVariant &entry : columns) {
        const QVariantMap pair = entry.toMap();
        style.displayColumns.insert(pair.value(QStringLiteral("key")).toInt(),
                                    pair.value(QStringLiteral("value")).toString());
    }
    style.startDate = map.value(QStringLiteral("startDate")).toString();
    style.finishDate = map.value(QStringLiteral("finishDate")).toString();
    style.visible = map.value(QStringLiteral("visible"), true).toBool();
    return style;
}

QVariantList RyGanttViewBarStyle::toVariantList(const QList<RyGanttViewBarStyle> &styles)
{
    QVariantList list;
    for (const RyGanttViewBarStyle &style : styles)
        list.append(style.toVariantMap());
    return list;
}

QList<RyGanttViewBarStyle> RyGanttViewBarStyle::fromVariantList(const QVariantList &list)
{
    QList<RyGanttViewBarStyle> styles;
    for (const QVariant &entry : list)
        styles.append(fromVariantMap(entry.toMap()));
    return styles;
}

QList<RyGanttViewBarStyle> RyGanttViewBarStyle::defaultStyles()
{
    const char *start = "Start Date";
    const char *finish = "Finish Date";
    const QColor paleBlue(QStringLiteral("#99CCFF"));

    RyGanttViewBarStyle task = makeStyle("Task", start, finish, 11, 6, paleBlue);
    RyGanttViewBarStyle milestone = makeStyle("Milestone", start, finish, 0, 6, QColor());
    milestone.startPointShape = QStringLiteral("Diamond");
    milestone.startPointColor = Qt::black;
    RyGanttViewBarStyle summary = makeStyle("Summary", start, finish, 5, 3, Qt::black);
    summary.startPointShape = summary.endPointShape = QStringLiteral("SouthPenta");
    summary.startPointColor = summary.endPointColor = Qt::black;
    RyGanttViewBarStyle actualTask = makeStyle("Actual Task", "Actual Start", "Actual Finish", 3,
                                               10, QColor(QStringLiteral("#0000FF")));
    RyGanttViewBarStyle actualMilestone
        = makeStyle("Actual Milestone", "Actual Start", "Actual Finish", 0, 6, QColor());
    actualMilestone.startPointShape = QStringLiteral("Diamond");
    actualMilestone.startPointColor = paleBlue;
    const char *baselineStart = "BL Project Start";
    const char *baselineFinish = "BL Project Finish";
    RyGanttViewBarStyle baselineTask = makeStyle("Baseline Task", baselineStart, baselineFinish, 3,
                                                 18, QColor(QStringLiteral("#666699")));
    baselineTask.visible = false;
    RyGanttViewBarStyle baselineMilestone
        = makeStyle("Baseline Milestone", baselineStart, baselineFinish, 0, 6, QColor());
    baselineMilestone.startPointShape = QStringLiteral("Diamond");
    baselineMilestone.startPointColor = paleBlue;
    baselineMilestone.visible = false;
    return {
        task, milestone, summary, actualTask, actualMilestone, baselineTask, baselineMilestone
    };
}

const QString RyGanttViewBarStyle::PreviousVersionName = QStringLiteral("Previous Version");

RyGanttViewBarStyle RyGanttViewBarStyle::previousVersionStyle()
{
    return makeStyle("Previous Version", "Old Start", "Old Finish", 3, 2,
                     QColor(QStringLiteral("#E07000")));
}

QStringList RyGanttViewBarStyle::shownDateFields(const QList<RyGanttViewBarStyle> &styles)
{
    QStringList fields;
    for (const RyGanttViewBarStyle &style : styles) {
        if (!style.visible)
            continue;
        for (const QString &field : { style.startDate, style.finishDate }) {
            if (!field.isEmpty() && !fields.contains(field))
                fields.append(field);
        }
    }
    return fields;
}
