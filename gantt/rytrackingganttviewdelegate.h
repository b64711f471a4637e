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
    // Percentage of a progress text such as "45%"; 0 for any other text.
    static double progressPercent(const QString &text);

    void paintBar(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index,
                  int barKind) const;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    int m_progressColumn = -1;
    QColor m_baseColor { QStringLiteral("#99CCFF") };
};
