// Item delegate of the details tables, the resources table and the details form's mapper:
// dates as "dd-MM-yyyy", P6 codes without their prefix, and an icon at the left of one column.
#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

class RyDetailDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // The icon is drawn in `iconColumn`; a null pixmap means no icon column (-1).
    explicit RyDetailDelegate(const QPixmap &icon = QPixmap(), int iconColumn = -1,
                              QObject *parent = nullptr);

    int iconColumn() const { return m_iconColumn; }
    // Rows whose cell in `column` reads `text` are drawn greyed and struck through (the deleted
    // links of a comparison); -1 for none.
    void setStruckOutRows(int column, const QString &text);
    bool isStruckOut(const QModelIndex &index) const;
    // How every table draws a row that is gone: greyed and struck through.
    static void strikeOut(QStyleOptionViewItem *option);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    QString displayText(const QVariant &value, const QLocale &locale) const override;

protected:
    // The cell text comes from RyValueText::displayText(index), which knows the column's format.
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QPixmap m_icon;
    int m_iconColumn;
    int m_struckColumn = -1;
    QString m_struckText;
};
