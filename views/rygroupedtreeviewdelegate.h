// Item delegate of the grouped activity tree: fixed row height, the shared cell text rule, and
// the merged group cell, which paints the group column of the row over several columns.
#pragma once

#include <QStyledItemDelegate>

class RyGroupedTreeViewDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Set by the tree's row painter in QStyleOption::version for a merged group cell.
    static constexpr int MergedCellMarker = 999;

    explicit RyGroupedTreeViewDelegate(QObject *parent = nullptr);

    void setGroupColumn(int column) { m_groupColumn = column; }
    int groupColumn() const { return m_groupColumn; }
    int rowHeight() const { return m_rowHeight; }
    // Rows whose cell in `column` reads `text` are drawn greyed and struck through (the deleted
    // activities of a comparison); -1 for none.
    void setStruckOutRows(int column, const QString &text);
    int struckOutColumn() const { return m_struckColumn; }
    bool isStruckOut(const QModelIndex &index) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QString displayText(const QVariant &value, const QLocale &locale) const override;

protected:
    // The cell text comes from RyValueText::displayText(index), which knows the column's format.
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    int m_groupColumn = 0;
    int m_struckColumn = -1;
    QString m_struckText;
    int m_rowHeight;
};
