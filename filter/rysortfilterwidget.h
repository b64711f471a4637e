// The object behind a header's filter buttons: it opens the column filter pop-up for a press on
// a button, applies the outcome to the filter proxy, marks the header, paints the buttons into
// the header sections and clears all filters. It knows the header only as a QHeaderView; a
// header that also implements RySortFilterMarks gets its filter and sort marks set.
// Nothing it refers to is owned.
#pragma once

#include "filter/rysectionpainter.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QPointer>
#include <QWidget>

class QAction;
class RyFilterDialogPopUp;
class RyFilterDialogProxyModel;
class RySortFilterMarks;

class RySortFilterWidget : public QWidget, public RySectionPainter
{
    Q_OBJECT

public:
    // Bits of a column's button state.
    enum ButtonState {
        ButtonShown = 1,
        Filtered = 2,
        SortedAscending = 4,
        SortedDescending = 8,
    };

    RySortFilterWidget(QHeaderView *header, RyFilterDialogProxyModel *proxy,
                       QAbstractItemModel *model, QWidget *parent = nullptr);
    ~RySortFilterWidget() override;

    QHeaderView *header() const { return m_header; }
    RyFilterDialogProxyModel *proxy() const { return m_proxy; }
    QAbstractItemModel *model() const { return m_model; }

    // The delegate of the pop-ups' value views (the activity details delegate); not owned.
    void setValueDelegate(QAbstractItemDelegate *delegate);
    QAbstractItemDelegate *valueDelegate() const { return m_valueDelegate; }

    int columnState(int column) const;
    // The 16 x 16 button at the bottom-right corner of a section or item rectangle.
    static QRect buttonRect(const QRect &rect);
    // Draws the button of a section or item rectangle in the given state; `cursor` (same
    // coordinates as `rect`) gives the hover feedback.
    void paintButton(QPainter *painter, const QRect &rect, int state, const QPoint &cursor) const;
    void paintSection(const QHeaderView *header, QPainter *painter, const QRect &rect,
                      int logicalIndex, const QPoint &cursor) const override;

    // The pop-up of a column, filled from the proxy's current filter and sort of that column.
    RyFilterDialogPopUp *createPopUp(int column);
    // Applies what the user did in a closed pop-up; `action` is the menu action chosen, if any.
    void applyOutcome(RyFilterDialogPopUp *popUp, QAction *action);
    // Filters a column to a list of values and marks it, as a list chosen in its pop-up does.
    void setValueFilter(int column, const QVariantList &values);

signals:
    void filtered();

public slots:
    void onAutoFilterPopUp(const QRect &rect, int column, const QPoint &pos);
    void clearAllFilters();

private:
    RySortFilterMarks *marks() const;
    void setHeaderSort(int column, Qt::SortOrder order);
    void markFiltered(int column, bool filtered);
    void applyList(RyFilterDialogPopUp *popUp);
    void applyExpression(RyFilterDialogPopUp *popUp);

    QPointer<QHeaderView> m_header;
    QPointer<RyFilterDialogProxyModel> m_proxy;
    QPointer<QAbstractItemModel> m_model;
    QPointer<QAbstractItemDelegate> m_valueDelegate;
};
