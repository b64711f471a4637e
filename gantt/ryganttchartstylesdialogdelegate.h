// Delegate of the bar styles table: Show as a centred check box toggled by a click, the date
// columns edited with a combo of the date column names, and Appearance painted as a preview of
// the bar exactly as the chart's bar delegate draws it, with its label positions.
#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

class RyGanttViewBarStyle;

class RyGanttChartStylesDialogDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int PreviewWidth = 200;
    static constexpr int PreviewHeight = 22;

    explicit RyGanttChartStylesDialogDelegate(const QStringList &dateColumnNames,
                                              QObject *parent = nullptr);

    // The preview's bar rectangle: 200 x 22, centred in `cell`.
    static QRect previewRect(const QRect &cell);
    // The bar, its markers and its label positions (column names as texts) into `cell`.
    static void paintPreview(QPainter *painter, const QStyleOptionViewItem &option,
                             const RyGanttViewBarStyle &style);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    void paintCheck(QPainter *painter, const QStyleOptionViewItem &option,
                    const QModelIndex &index) const;

    QStringList m_dateColumnNames;
};
