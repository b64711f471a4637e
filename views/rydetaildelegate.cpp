#include "views/rydetaildelegate.h"

#include "models/ryvaluetext.h"

#include <QDateTime>
#include <QLineEdit>
#include <QPainter>

RyDetailDelegate::RyDetailDelegate(const QPixmap &icon, int iconColumn, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_icon(icon)
    , m_iconColumn(icon.isNull() ? -1 : iconColumn)
{
}

void RyDetailDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    if (index.column() != m_iconColumn || m_iconColumn < 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const int side = qMin(option.rect.width(), option.rect.height());
    const QRect square(option.rect.topLeft(), QSize(side, side));
    painter->drawPixmap(square, m_icon);
    QStyleOptionViewItem rest(option);
    rest.rect.setLeft(square.right() + 1);
    QStyledItemDelegate::paint(painter, rest, index);
}

QSize RyDetailDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() == 0)
        size.rwidth() += 32;
    return size;
}

void RyDetailDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *lineEdit = qobject_cast<QLineEdit *>(editor);
    if (!lineEdit) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    lineEdit->setText(RyValueText::displayText(index));
}

QString RyDetailDelegate::displayText(const QVariant &value, const QLocale &) const
{
    return RyValueText::displayText(value);
}

void RyDetailDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->features & QStyleOptionViewItem::HasDisplay)
        option->text = RyValueText::displayText(index);
    if (isStruckOut(index))
        strikeOut(option);
}

void RyDetailDelegate::setStruckOutRows(int column, const QString &text)
{
    m_struckColumn = column;
    m_struckText = text;
}

bool RyDetailDelegate::isStruckOut(const QModelIndex &index) const
{
    return m_struckColumn >= 0 && index.isValid()
        && index.sibling(index.row(), m_struckColumn).data().toString() == m_struckText;
}

void RyDetailDelegate::strikeOut(QStyleOptionViewItem *option)
{
    option->font.setStrikeOut(true);
    option->palette.setColor(QPalette::Text,
                             option->palette.color(QPalette::Disabled, QPalette::Text));
}
