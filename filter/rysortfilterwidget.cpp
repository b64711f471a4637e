#include "filter/rysortfilterwidget.h"

#include "filter/ryexpression.h"
#include "filter/ryfilterdialogpopup.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "filter/rysortfiltermarks.h"

#include <QAbstractItemDelegate>
#include <QCursor>
#include <QHeaderView>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>

namespace {

// The value that no cell carries: a list with nothing checked hides every row.
const QString noValue = QStringLiteral("!_!_#£@*'€%&!_+?$§");

enum class Indicator { Filter, FilterUp, FilterDown, ArrowUp, ArrowDown };

QString iconPath(Indicator indicator)
{
    switch (indicator) {
    case Indicator::Filter:
        return QStringLiteral(":/images/filter_16.png");
    case Indicator::FilterUp:
        return QStringLiteral(":/images/filter_up_16.png");
    case Indicator::FilterDown:
        return QStringLiteral(":/images/filter_down_16.png");
    case Indicator::ArrowUp:
        return QStringLiteral(":/images/arrow_up_16.png");
    case Indicator::ArrowDown:
        return QStringLiteral(":/images/arrow_down_16.png");
    }
    return QString();
}

void drawFunnel(QPainter *painter, const QRectF &box)
{
    QPainterPath funnel;
    funnel.moveTo(box.left(), box.top());
    funnel.lineTo(box.right(), box.top());
    funnel.lineTo(box.center().x() + 1.5, box.top() + box.height() * 0.55);
    funnel.lineTo(box.center().x() + 1.5, box.bottom());
    funnel.lineTo(box.center().x() - 1.5, box.bottom() - 2);
    funnel.lineTo(box.center().x() - 1.5, box.top() + box.height() * 0.55);
    funnel.closeSubpath();
    painter->fillPath(funnel, QColor(40, 90, 170));
}

void drawArrow(QPainter *painter, const QRectF &box, bool up)
{
    const qreal x = box.center().x();
    const qreal tip = up ? box.top() : box.bottom();
    const qreal base = up ? box.top() + 4 : box.bottom() - 4;
    painter->fillRect(QRectF(x - 1, box.top() + (up ? 3 : 0), 2, box.height() - 3),
                      QColor(60, 60, 60));
    QPainterPath head;
    head.moveTo(x, tip);
    head.lineTo(x + 3.5, base);
    head.lineTo(x - 3.5, base);
    head.closeSubpath();
    painter->fillPath(head, QColor(60, 60, 60));
}

// The icons come from the resources; drawn shapes stand in where a build carries none.
void drawIndicator(QPainter *painter, const QRect &button, Indicator indicator)
{
    const QIcon icon(iconPath(indicator));
    const QPixmap pixmap = icon.pixmap(button.size());
    if (!pixmap.isNull()) {
        painter->drawPixmap(button, pixmap);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF inner = QRectF(button).adjusted(2, 2, -2, -2);
    switch (indicator) {
    case Indicator::Filter:
        drawFunnel(painter, inner);
        break;
    case Indicator::FilterUp:
    case Indicator::FilterDown:
        drawFunnel(painter, QRectF(inner.left(), inner.top(), inner.width() * 0.6, inner.height()));
        drawArrow(painter, QRectF(inner.right() - 4, inner.top(), 4, inner.height()),
                  indicator == Indicator::FilterUp);
        break;
    case Indicator::ArrowUp:
    case Indicator::ArrowDown:
        drawArrow(painter, inner, indicator == Indicator::ArrowUp);
        break;
    }
    painter->restore();
}

} // namespace

RySortFilterWidget::RySortFilterWidget(QHeaderView *header, RyFilterDialogProxyModel *proxy,
                                       QAbstractItemModel *model, QWidget *parent)
    : QWidget(parent)
    , m_header(header)
    , m_proxy(proxy)
    , m_model(model)
{
    setFixedSize(0, 0);
}

RySortFilterWidget::~RySortFilterWidget() = default;

void RySortFilterWidget::setValueDelegate(QAbstractItemDelegate *delegate)
{
    m_valueDelegate = delegate;
}

RySortFilterMarks *RySortFilterWidget::marks() const
{
    return dynamic_cast<RySortFilterMarks *>(m_header.data());
}

int RySortFilterWidget::columnState(int column) const
{
    int state = ButtonShown;
    if (!m_proxy)
        return state;
    if (m_proxy->isColumnFiltered(column))
        state |= Filtered;
    if (m_proxy->sortColumn() == column && column >= 0)
        state |= m_proxy->sortOrder() == Qt::AscendingOrder ? SortedAscending : SortedDescending;
    return state;
}

QRect RySortFilterWidget::buttonRect(const QRect &rect)
{
    const QRect inner = rect.adjusted(0, 0, -1, -1);
    return QRect(inner.right() - 15, inner.bottom() - 15, 16, 16);
}

void RySortFilterWidget::paintButton(QPainter *painter, const QRect &rect, int state,
                                     const QPoint &cursor) const
{
    const QRect button = buttonRect(rect);
    const bool overButton = button.contains(cursor);
    painter->save();
    if (state & (Filtered | SortedAscending | SortedDescending)) {
        if (overButton) {
            painter->setPen(QColor(186, 186, 186));
            painter->drawRect(button.adjusted(0, 0, -1, -1));
        }
        Indicator indicator = Indicator::Filter;
        if (state & Filtered) {
            if (state & SortedAscending)
                indicator = Indicator::FilterUp;
            else if (state & SortedDescending)
                indicator = Indicator::FilterDown;
        } else {
            indicator = state & SortedAscending ? Indicator::ArrowUp : Indicator::ArrowDown;
        }
        drawIndicator(painter, button, indicator);
    } else if (rect.contains(cursor)) {
        painter->fillRect(button, QColor(246, 246, 246));
        painter->setPen(overButton ? QColor(186, 186, 186) : QColor(223, 223, 223));
        painter->drawRect(button.adjusted(0, 0, -1, -1));
        const int grey = overButton ? 71 : 193;
        const int top = button.top() + 6;
        const int center = button.left() + 7;
        for (int row = 0; row < 4; ++row) {
            const int half = 3 - row;
            painter->fillRect(QRect(center - half, top + row, 2 * half + 1, 1),
                              QColor(grey, grey, grey));
        }
    }
    painter->restore();
}

void RySortFilterWidget::paintSection(const QHeaderView *, QPainter *painter, const QRect &rect,
                                      int logicalIndex, const QPoint &cursor) const
{
    if (logicalIndex < 0)
        return;
    paintButton(painter, rect, columnState(logicalIndex), cursor);
}

RyFilterDialogPopUp *RySortFilterWidget::createPopUp(int column)
{
    RyFilterDialogPopUp *popUp = RyFilterDialogPopUp::create(m_model, column, m_header);
    popUp->setValueDelegate(m_valueDelegate);
    if (m_proxy->valueFilters().contains(column))
        popUp->showValueFilter(m_proxy->valueFilters().value(column));
    if (const RyExpression *first = m_proxy->expressionFilter(column)) {
        const RyExpression *second = first->andLink() ? first->andLink() : first->orLink();
        popUp->setExpression(first->op(), first->operand(), second ? second->op() : QString(),
                             second ? second->operand() : QVariant(), first->andLink() != nullptr);
    }
    if (m_proxy->sortColumn() == column && column >= 0) {
        const bool ascending = m_proxy->sortOrder() == Qt::AscendingOrder;
        popUp->sortAscendingAction()->setChecked(ascending);
        popUp->sortDescendingAction()->setChecked(!ascending);
    }
    return popUp;
}

void RySortFilterWidget::onAutoFilterPopUp(const QRect &rect, int column, const QPoint &pos)
{
    if (!buttonRect(rect).contains(pos) || !m_header || !m_proxy || column < 0)
        return;
    RyFilterDialogPopUp *popUp = createPopUp(column);
    QAction *action = popUp->exec(QCursor::pos());
    applyOutcome(popUp, action);
    delete popUp;
    emit filtered();
}

void RySortFilterWidget::applyOutcome(RyFilterDialogPopUp *popUp, QAction *action)
{
    if (!m_proxy)
        return;
    const int column = popUp->column();
    if (action && action == popUp->sortAscendingAction()) {
        m_proxy->sort(column, Qt::AscendingOrder);
        setHeaderSort(column, Qt::AscendingOrder);
    } else if (action && action == popUp->sortDescendingAction()) {
        m_proxy->sort(column, Qt::DescendingOrder);
        setHeaderSort(column, Qt::DescendingOrder);
    } else if ((action && action == popUp->clearAction()) || popUp->isCleared()) {
        m_proxy->clearFilter(column);
        markFiltered(column, false);
        m_proxy->sort(-1);
        setHeaderSort(-1, Qt::AscendingOrder);
    } else if (popUp->isAccepted()) {
        if (popUp->isListTabCurrent())
            applyList(popUp);
        else
            applyExpression(popUp);
    }
}

void RySortFilterWidget::setValueFilter(int column, const QVariantList &values)
{
    if (!m_proxy)
        return;
    m_proxy->setValueFilter(column, values);
    markFiltered(column, true);
}

void RySortFilterWidget::applyList(RyFilterDialogPopUp *popUp)
{
    const int column = popUp->column();
    if (popUp->showsAllValues()) {
        m_proxy->clearFilter(column);
        markFiltered(column, false);
        return;
    }
    QVariantList values = popUp->checkedValues();
    if (values.isEmpty())
        values.append(noValue);
    m_proxy->setValueFilter(column, values);
    markFiltered(column, true);
}

void RySortFilterWidget::applyExpression(RyFilterDialogPopUp *popUp)
{
    std::unique_ptr<RyExpression> first
        = RyExpression::makeExpression(popUp->firstOperator(), popUp->firstValue());
    if (!first)
        return;
    std::unique_ptr<RyExpression> second
        = RyExpression::makeExpression(popUp->secondOperator(), popUp->secondValue());
    if (second) {
        if (popUp->isAnd())
            first->setAndLink(std::move(second));
        else
            first->setOrLink(std::move(second));
    }
    const int column = popUp->column();
    m_proxy->setExpressionFilter(column, std::move(first));
    markFiltered(column, true);
}

void RySortFilterWidget::clearAllFilters()
{
    if (!m_proxy || !m_header)
        return;
    m_proxy->sort(-1, Qt::AscendingOrder);
    setHeaderSort(-1, Qt::AscendingOrder);
    m_proxy->clearAllFilters();
    if (RySortFilterMarks *headerMarks = marks())
        headerMarks->clearFilteredColumns();
    m_header->viewport()->update();
    emit filtered();
}

void RySortFilterWidget::setHeaderSort(int column, Qt::SortOrder order)
{
    if (!m_header)
        return;
    if (RySortFilterMarks *headerMarks = marks())
        headerMarks->setSort(column, order);
    else
        m_header->setSortIndicator(column, order);
    m_header->viewport()->update();
}

void RySortFilterWidget::markFiltered(int column, bool filtered)
{
    if (!m_header)
        return;
    // One call, one notification: the header's listeners (roll-ups, icons) run once.
    if (RySortFilterMarks *headerMarks = marks()) {
        if (filtered)
            headerMarks->addFilteredColumn(column);
        else
            headerMarks->removeFilteredColumn(column);
    }
    m_header->viewport()->update();
}
