// Table model of the bar styles dialog: one row per bar style with the columns Show, Name,
// Start date, Finish date and Appearance (the whole style record). The dialog edits copies
// here; styles() builds the list back.
#pragma once

#include "gantt/ryganttviewbarstyle.h"

#include <QStandardItemModel>

class RyGanttChartStylesDialogModel : public QStandardItemModel
{
    Q_OBJECT
public:
    enum Column { ShowColumn, NameColumn, StartColumn, FinishColumn, AppearanceColumn };
    // Show keeps its flag and Appearance its record under this role.
    static constexpr int ValueRole = Qt::UserRole;

    explicit RyGanttChartStylesDialogModel(QObject *parent = nullptr);

    void setStyles(const QList<RyGanttViewBarStyle> &styles);
    // Each row's Appearance record with visible, start and finish date from their columns.
    QList<RyGanttViewBarStyle> styles() const;

    RyGanttViewBarStyle style(int row) const;
    void setStyle(int row, const RyGanttViewBarStyle &style);
    bool isShown(int row) const;

    // Start and Finish date are editable only while the row's Show is on.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
};
