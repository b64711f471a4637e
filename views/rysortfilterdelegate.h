// Paints the items of the columns dialog with the filter buttons of the header they stand for:
// a column item gets its column's button, a group item one button summing up its columns.
// The sort/filter widget is not owned.
#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

class RySortFilterWidget;

class RySortFilterDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // The item role holding the logical column an item stands for; group items have none.
    static constexpr int ColumnRole = Qt::UserRole + 2;

    explicit RySortFilterDelegate(RySortFilterWidget *widget, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

    // The button state of an item: its column's, or for a group the union of its columns'.
    int buttonState(const QModelIndex &index) const;

private:
    QPointer<RySortFilterWidget> m_widget;
};
