#include "views/rygroupedtreeviewdelegate.h"

#include "models/ryconstants.h"
#include "models/ryvaluetext.h"
#include "views/rydetaildelegate.h"

RyGroupedTreeViewDelegate::RyGroupedTreeViewDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
    , m_rowHeight(Ry::RowHeight)
{
}

void RyGroupedTreeViewDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    if (option.version != MergedCellMarker) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The style only accepts view item options of the current version; anything older makes
    // qstyleoption_cast fail and the cell would stay empty.
    QStyleOptionViewItem merged(option);
    merged.version = QStyleOptionViewItem::Version;
    QStyledItemDelegate::paint(painter, merged, index.sibling(index.row(), m_groupColumn));
}

QSize RyGroupedTreeViewDelegate::sizeHint(const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), m_rowHeight);
}

QString RyGroupedTreeViewDelegate::displayText(const QVariant &value, const QLocale &) const
{
    return RyValueText::displayText(value);
}

void RyGroupedTreeViewDelegate::initStyleOption(QStyleOptionViewItem *option,
                                                const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->features & QStyleOptionViewItem::HasDisplay)
        option->text = RyValueText::displayText(index);
    if (isStruckOut(index))
        RyDetailDelegate::strikeOut(option);
}

void RyGroupedTreeViewDelegate::setStruckOutRows(int column, const QString &text)
{
    m_struckColumn = column;
    m_struckText = text;
}

bool RyGroupedTreeViewDelegate::isStruckOut(const QModelIndex &index) const
{
    return m_struckColumn >= 0 && index.isValid()
        && index.sibling(index.row(), m_struckColumn).data().toString() == m_struckText;
}
