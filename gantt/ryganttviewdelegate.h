// Item delegate of the Gantt view: paints one bar of a row from the bar style list it holds
// (body, end markers, text labels). The view hands it the bar rectangle in option.rect.
#pragma once

#include "gantt/ryganttviewbarstyle.h"

#include <QStyledItemDelegate>

class RyGanttViewDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit RyGanttViewDelegate(QObject *parent = nullptr);

    void setBarStyles(const QList<RyGanttViewBarStyle> &styles) { m_barStyles = styles; }
    const QList<RyGanttViewBarStyle> &barStyles() const { return m_barStyles; }

    // The style a bar of kind `barKind` is drawn with: the style at that index, an empty style
    // outside the list, and for -1 (critical activities) style 0 with a red body.
    RyGanttViewBarStyle styleForKind(int barKind) const;
    // Paints the bar of kind `barKind` of the row `index` into option.rect; in `parts` (inside
    // option.rect) joined by a dotted line when given, whole otherwise.
    void paintBar(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index,
                  int barKind, const QVector<QRect> &parts = {}) const;
    // Draws the style's display columns of the row around `barRect` with the current pen.
    static void drawLabels(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index, const QRect &barRect,
                           const RyGanttViewBarStyle &style);
    // Box of a label `textWidth` wide at `position` around the bar, and its alignment.
    static QRect labelBox(int position, const QRect &barRect, int textWidth, int *alignment);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    QList<RyGanttViewBarStyle> m_barStyles;
};
