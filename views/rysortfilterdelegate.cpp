#include "views/rysortfilterdelegate.h"

#include "filter/ryfilterdialogproxymodel.h"
#include "filter/rysortfilterwidget.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QPainter>

RySortFilterDelegate::RySortFilterDelegate(RySortFilterWidget *widget, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_widget(widget)
{
}

int RySortFilterDelegate::buttonState(const QModelIndex &index) const
{
    if (!m_widget || !index.isValid())
        return 0;
    const QVariant column = index.data(ColumnRole);
    if (column.isValid())
        return m_widget->columnState(column.toInt());
    int state = RySortFilterWidget::ButtonShown;
    const QAbstractItemModel *model = index.model();
    for (int row = 0; row < model->rowCount(index); ++row) {
        const QVariant child = model->index(row, 0, index).data(ColumnRole);
        if (child.isValid())
            state |= m_widget->columnState(child.toInt());
    }
    return state;
}

void RySortFilterDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (!m_widget)
        return;
    // The hover look of the button follows the cursor, wherever the last mouse move left it.
    QPoint cursor(-1, -1);
    if (const auto *view = qobject_cast<const QAbstractItemView *>(option.widget))
        cursor = view->viewport()->mapFromGlobal(QCursor::pos());
    m_widget->paintButton(painter, option.rect, buttonState(index), cursor);
}
