#include "filter/rydatefilter.h"

#include "filter/ryexpression.h"
#include "tables/rydateindex.h"
#include "tables/rystructuredkeylistindex.h"

#include <QDateEdit>
#include <QStandardItemModel>

#include <map>

namespace {

const char *const dayFormat = "dd.MM.yyyy";

QDateEdit *newDateEdit()
{
    auto *edit = new QDateEdit(QDate::currentDate());
    edit->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    return edit;
}

QDate toDate(const QVariant &value)
{
    return RyExpression::convertCell(value, QStringLiteral("datetime")).toDate();
}

} // namespace

RyDateFilter::RyDateFilter(QAbstractItemModel *model, int column, QWidget *parent)
    : RyTypedFilter(model, column, parent, QStringLiteral("datetime"), newDateEdit)
{
    populate();
}

void RyDateFilter::fillValues()
{
    const QString format = QString::fromLatin1(dayFormat);
    RyDateIndex years(model(), column(), QStringLiteral("Year"), format);
    years.index(Qt::DisplayRole);
    RyDateIndex months(model(), column(), QStringLiteral("Month"), format);
    months.index(Qt::DisplayRole);
    RyStructuredKeyListIndex yearMonths(years, months);
    yearMonths.fillItemModel(valueModel(), false);

    QStandardItem *root = valueModel()->invisibleRootItem();
    for (int y = 1; y < root->rowCount(); ++y) {
        QStandardItem *yearItem = root->child(y);
        for (int m = 0; m < yearItem->rowCount(); ++m) {
            QStandardItem *monthItem = yearItem->child(m);
            appendDays(monthItem, yearMonths.rows(monthItem->data(Qt::UserRole)));
        }
    }
}

// One item per day rather than one per activity: a month of a large schedule would otherwise
// list the same date hundreds of times. The item keeps every distinct cell value of its day,
// so that checking it accepts exactly the cells that fall on that day.
void RyDateFilter::appendDays(QStandardItem *monthItem, const QSet<int> &rows) const
{
    std::map<QDate, QVariantList> cellsByDay;
    std::map<QDate, QSet<QString>> seen;
    for (int row : rows) {
        const QVariant cell = model()->index(row, column()).data(Qt::DisplayRole);
        const QDate day = toDate(cell);
        if (!day.isValid())
            continue;
        QSet<QString> &texts = seen[day];
        const QString text = cell.toString();
        if (texts.contains(text))
            continue;
        texts.insert(text);
        cellsByDay[day].append(cell);
    }
    QList<QStandardItem *> items;
    for (const auto &day : cellsByDay) {
        auto *item = new QStandardItem(day.first.toString(QString::fromLatin1(dayFormat)));
        item->setData(day.first, Qt::UserRole);
        item->setData(day.second, CellValuesRole);
        item->setCheckable(true);
        item->setCheckState(Qt::Checked);
        item->setEditable(false);
        items.append(item);
    }
    monthItem->appendRows(items);
}

QVariant RyDateFilter::operand(const QVariant &saved) const
{
    const QDate date = toDate(saved);
    return date.isValid() ? QVariant(date) : QVariant();
}

QString RyDateFilter::displayOperator(const QString &op) const
{
    return RyExpression::displayOperator(op, QStringLiteral("datetime"));
}
