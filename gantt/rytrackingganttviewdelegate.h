// Item delegate of the Gantt view in tracking mode: every bar is a progress bar, a pale full
// bar with the done share over it and the progress text to its right.
#pragma once

#include <QColor>
#include <QStyledItemDelegate>

class RyTrackingGanttViewDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit RyTrackingGanttViewDelegate(QObject *parent = nullptr);

    static constexpr int InnerBarHeight = 5;
    static constexpr int InnerBarOffset = 9;

    void setProgressColumn(int column) { m_progressColumn = column; }
    int progressColumn() const { return m_progressColumn; }
    // The share done of a progress value (45 for 45%), within 0..100; 0 without a number.
    static double progressPercent(const QVariant &value);

    void paintBar(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index,
                  int barKind) const;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    int m_progressColumn = -1;
    QColor m_baseColor { QStringLiteral("#99CCFF") };
};
