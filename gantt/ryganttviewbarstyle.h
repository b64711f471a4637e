// One Gantt bar style: which two date columns give a bar's ends, the body's height, offset and
// colour, the marker shape and colour at each end, and the texts printed around the bar.
// A plain value; the Gantt view's delegate holds the list, layouts store it under "barStyles".
#pragma once

#include <QColor>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

class RyGanttViewBarStyle
{
public:
    // Label positions around the bar, the keys of displayColumns.
    enum TextPosition { Left = 1, Right = 2, Top = 32, Bottom = 64, Inside = 132 };
    // The body's height lies in [0, MaxBodyExtent], its offset in [-MaxBodyExtent,
    // MaxBodyExtent]: more than any row is high, and far enough from the int range that the
    // painters' rectangle arithmetic cannot overflow on a damaged layout's values.
    static constexpr int MaxBodyExtent = 1000;

    QString styleName;
    QString startPointShape;
    QColor startPointColor;
    int bodyShapeHeight = 0;
    int bodyShapeOffset = 0;
    QColor bodyColor;
    QString endPointShape;
    QColor endPointColor;
    QMap<int, QString> displayColumns; // position -> column header name
    QString startDate;
    QString finishDate;
    bool visible = true;

    bool operator==(const RyGanttViewBarStyle &other) const;
    bool operator!=(const RyGanttViewBarStyle &other) const { return !(*this == other); }

    // Layout document form: colours as "#rrggbb" (empty for no colour), "displayColumns" as an
    // array of {"key": position, "value": column name}. Missing keys read as empty values,
    // except "visible", which reads as true so that layouts written without it show their bars.
    // The body's height and offset are bounded as MaxBodyExtent says.
    QVariantMap toVariantMap() const;
    static RyGanttViewBarStyle fromVariantMap(const QVariantMap &map);
    static QVariantList toVariantList(const QList<RyGanttViewBarStyle> &styles);
    static QList<RyGanttViewBarStyle> fromVariantList(const QVariantList &list);

    // The seven styles every Gantt view starts with: task, milestone, summary, actual task,
    // actual milestone, baseline task, baseline milestone (row types pick them by index).
    static QList<RyGanttViewBarStyle> defaultStyles();
    // The old version's bar of a comparison from the "Old Start" and "Old Finish" columns, thin
    // just above the plan's bar (the band below it is the baseline's); shown while comparing.
    static RyGanttViewBarStyle previousVersionStyle();
    static const QString PreviousVersionName;
    // The date fields the shown styles of `styles` draw, each once: the chart's range takes
    // them in, so any style added later (a previous version's bars) widens it once shown.
    static QStringList shownDateFields(const QList<RyGanttViewBarStyle> &styles);
};

Q_DECLARE_METATYPE(RyGanttViewBarStyle)
