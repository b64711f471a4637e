#include "gantt/ryganttchartstylesdialogmodel.h"

RyGanttChartStylesDialogModel::RyGanttChartStylesDialogModel(QObject *parent)
    : QStandardItemModel(0, 5, parent)
{
    setHorizontalHeaderLabels({ QStringLiteral("Show"), QStringLiteral("Name"),
                                QStringLiteral("Start date"), QStringLiteral("Finish date"),
                                QStringLiteral("Appearance") });
}

void RyGanttChartStylesDialogModel::setStyles(const QList<RyGanttViewBarStyle> &styles)
{
    removeRows(0, rowCount());
    for (const RyGanttViewBarStyle &style : styles) {
        auto *show = new QStandardItem;
        show->setData(style.visible, ValueRole);
        auto *appearance = new QStandardItem;
        appearance->setData(QVariant::fromValue(style), ValueRole);
        appendRow({ show, new QStandardItem(style.styleName), new QStandardItem(style.startDate),
                    new QStandardItem(style.finishDate), appearance });
    }
}

QList<RyGanttViewBarStyle> RyGanttChartStylesDialogModel::styles() const
{
    QList<RyGanttViewBarStyle> list;
    for (int row = 0; row < rowCount(); ++row) {
        RyGanttViewBarStyle record = style(row);
        record.visible = isShown(row);
        record.startDate = index(row, StartColumn).data(Qt::EditRole).toString();
        record.finishDate = index(row, FinishColumn).data(Qt::EditRole).toString();
        list.append(record);
    }
    return list;
}

RyGanttViewBarStyle RyGanttChartStylesDialogModel::style(int row) const
{
    return index(row, AppearanceColumn).data(ValueRole).value<RyGanttViewBarStyle>();
}

void RyGanttChartStylesDialogModel::setStyle(int row, const RyGanttViewBarStyle &style)
{
    setData(index(row, AppearanceColumn), QVariant::fromValue(style), ValueRole);
}

bool RyGanttChartStylesDialogModel::isShown(int row) const
{
    return index(row, ShowColumn).data(ValueRole).toBool();
}

Qt::ItemFlags RyGanttChartStylesDialogModel::flags(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    Qt::ItemFlags result = QStandardItemModel::flags(index);
    if (!index.isValid())
        return result;
    switch (index.column()) {
    case ShowColumn:
        return (result | Qt::ItemIsUserCheckable) & ~Qt::ItemIsEditable;
    case StartColumn:
    case FinishColumn:
        return isShown(index.row()) ? result : result & ~Qt::ItemIsEditable;
    default:
        return result;
    }
}
