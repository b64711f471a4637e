#include "gantt/ryganttchartstylesdialogdelegate.h"

#include "gantt/ryganttchartstylesdialogmodel.h"
#include "gantt/ryganttviewdelegate.h"
#include "gantt/ryitempainter.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>

using Model = RyGanttChartStylesDialogModel;

RyGanttChartStylesDialogDelegate::RyGanttChartStylesDialogDelegate(
    const QStringList &dateColumnNames, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_dateColumnNames(dateColumnNames)
{
}

QRect RyGanttChartStylesDialogDelegate::previewRect(const QRect &cell)
{
    QRect bar(0, 0, PreviewWidth, PreviewHeight);
    bar.moveCenter(cell.center());
    return bar;
}

void RyGanttChartStylesDialogDelegate::paintPreview(QPainter *painter,
                                                    const QStyleOptionViewItem &option,
                                                    const RyGanttViewBarStyle &style)
{
    const QRect bar = previewRect(option.rect);
    painter->save();
    painter->setClipRect(option.rect);
    RyItemPainter().drawBar(painter, bar, style, option.palette.color(QPalette::WindowText));
    for (auto it = style.displayColumns.cbegin(); it != style.displayColumns.cend(); ++it) {
        int alignment = 0;
        const QRect box = RyGanttViewDelegate::labelBox(
            it.key(), bar, option.fontMetrics.horizontalAdvance(it.value()) + 1, &alignment);
        painter->drawText(box, alignment, it.value());
    }
    painter->restore();
}

QWidget *RyGanttChartStylesDialogDelegate::createEditor(QWidget *parent,
                                                        const QStyleOptionViewItem &option,
                                                        const QModelIndex &index) const
{
    if (index.column() != Model::StartColumn && index.column() != Model::FinishColumn)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *combo = new QComboBox(parent);
    combo->addItems(m_dateColumnNames);
    return combo;
}

void RyGanttChartStylesDialogDelegate::setEditorData(QWidget *editor,
                                                     const QModelIndex &index) const
{
    auto *combo = qobject_cast<QComboBox *>(editor);
    if (!combo) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const int match = combo->findText(index.data(Qt::EditRole).toString(),
                                      Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(qMax(0, match));
}

void RyGanttChartStylesDialogDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                                    const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        model->setData(index, combo->currentText(), Qt::EditRole);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

void RyGanttChartStylesDialogDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const
{
    switch (index.column()) {
    case Model::ShowColumn:
        paintCheck(painter, option, index);
        break;
    case Model::AppearanceColumn:
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, option.palette.window());
        paintPreview(painter, option, index.data(Model::ValueRole).value<RyGanttViewBarStyle>());
        break;
    default:
        QStyledItemDelegate::paint(painter, option, index);
    }
}

void RyGanttChartStylesDialogDelegate::paintCheck(QPainter *painter,
                                                  const QStyleOptionViewItem &option,
                                                  const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, widget);

    QStyleOptionButton check;
    check.state = option.state & QStyle::State_Enabled;
    check.state |= index.data(Model::ValueRole).toBool() ? QStyle::State_On : QStyle::State_Off;
    const QRect indicator = style->subElementRect(QStyle::SE_CheckBoxIndicator, &check, widget);
    check.rect
        = QStyle::alignedRect(option.direction, Qt::AlignCenter, indicator.size(), option.rect);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &check, painter, widget);
}

bool RyGanttChartStylesDialogDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                                   const QStyleOptionViewItem &option,
                                                   const QModelIndex &index)
{
    if (index.column() != Model::ShowColumn)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->pos()))
        return false;
    return model->setData(index, !index.data(Model::ValueRole).toBool(), Model::ValueRole);
}

QSize RyGanttChartStylesDialogDelegate::sizeHint(const QStyleOptionViewItem &option,
                                                 const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() == Model::AppearanceColumn)
        size.setWidth(qMax(size.width(), PreviewWidth + 160));
    // Room above and below the bar for the top and bottom labels.
    size.setHeight(qMax(size.height(), PreviewHeight + 2 * option.fontMetrics.height() + 4));
    return size;
}
