#include "models/ryutils.h"

#include "models/modelslogging.h"
#include "models/ryvalueorder.h"
#include "models/ryvaluetext.h"

#include <QAbstractItemModel>
#include <QColor>
#include <QFile>
#include <QHeaderView>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QVector>
#include <QtDebug>

#include <cmath>
#include <utility>

namespace RyUtils {

namespace {

QString headerText(const QAbstractItemModel *model, int section, Qt::Orientation orientation)
{
    return model->headerData(section, orientation, Qt::DisplayRole).toString();
}

QString sectionText(const QHeaderView *header, int logical)
{
    return header->model() ? headerText(header->model(), logical, header->orientation())
                           : QString();
}

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

// Hides every section of the header.
void hideAll(QHeaderView *header)
{
    for (int s = 0; s < header->count(); ++s)
        header->hideSection(s);
}

// Shows `logical` and puts it at visual position `position`.
void showAt(QHeaderView *header, int logical, int position)
{
    header->showSection(logical);
    if (header->visualIndex(logical) != position)
        header->moveSection(header->visualIndex(logical), position);
}

// Children of a row are those of its column-0 index, the convention every view relies on.
QModelIndex childParent(const QModelIndex &index)
{
    return index.isValid() ? index.sibling(index.row(), 0) : index;
}

template<typename Better>
void rollUp(QAbstractItemModel *model, int column, int role, const QModelIndex &parent,
            Better better)
{
    if (!model || column < 0)
        return;
    // Reverse pre-order visits every row after all of its descendants, which is what a
    // recursive roll-up does, without recursing as deep as the tree is.
    QModelIndexList rows = flattenIndexes(model, childParent(parent));
    rows.prepend(childParent(parent));
    for (int i = rows.size() - 1; i >= 0; --i) {
        const QModelIndex node = rows.at(i);
        QVariant best;
        const int children = model->rowCount(node);
        for (int c = 0; c < children; ++c) {
            const QVariant value = model->index(c, column, node).data(Qt::DisplayRole);
            if (isNull(value))
                continue;
            if (isNull(best) || better(value, best))
                best = value;
        }
        if (!isNull(best) && node.isValid())
            model->setData(node.sibling(node.row(), column), best, role);
    }
}

} // namespace

int findColumn(const QAbstractItemModel *model, const QString &text)
{
    if (!model)
        return -1;
    const int columns = model->columnCount();
    for (int c = 0; c < columns; ++c) {
        if (headerText(model, c, Qt::Horizontal) == text)
            return c;
    }
    return -1;
}

int findSection(const QHeaderView *header, const QVariant &value, int role)
{
    const QAbstractItemModel *model = header ? header->model() : nullptr;
    if (!model)
        return -1;
    const Qt::Orientation orientation = header->orientation();
    const int count = orientation == Qt::Horizontal ? model->columnCount() : model->rowCount();
    for (int s = 0; s < count; ++s) {
        if (model->headerData(s, orientation, role) == value)
            return s;
    }
    return -1;
}

QModelIndex verticalLookup(const QVariant &value, const QAbstractItemModel *model, int returnColumn,
                           int lookupColumn)
{
    if (!model)
        return QModelIndex();
    const int columns = model->columnCount();
    if (returnColumn < 0 || returnColumn >= columns) {
        qCWarning(lcModels) << "Invalid return column passed to verticalLookup";
        return QModelIndex();
    }
    if (lookupColumn < 0 || lookupColumn >= columns) {
        qCWarning(lcModels) << "Invalid lookup column passed to verticalLookup";
        return QModelIndex();
    }
    const QModelIndexList hits = model->match(model->index(0, lookupColumn), Qt::DisplayRole, value,
                                              1, Qt::MatchExactly | Qt::MatchRecursive);
    if (hits.isEmpty())
        return QModelIndex();
    const QModelIndex hit = hits.first();
    return model->index(hit.row(), returnColumn, hit.parent());
}

int firstVisibleColumn(const QHeaderView *header)
{
    if (!header)
        return -1;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            return logical;
    }
    return -1;
}

int indexDepth(const QModelIndex &index)
{
    int depth = 0;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        ++depth;
    return depth;
}

QModelIndexList flattenIndexes(const QAbstractItemModel *model, const QModelIndex &parent)
{
    QModelIndexList result;
    if (!model)
        return result;
    // An explicit stack of (parent, next child row): schedules can nest deeper than the call stack.
    // Each level keeps its row count, and leaves are recognised by hasChildren: a sorting proxy
    // builds a mapping for every index it is asked the row count of.
    struct Level
    {
        QModelIndex parent;
        int next;
        int count;
    };
    QVector<Level> stack { { parent, 0, model->rowCount(parent) } };
    while (!stack.isEmpty()) {
        Level &top = stack.last();
        if (top.next >= top.count) {
            stack.removeLast();
            continue;
        }
        const QModelIndex child = model->index(top.next++, 0, top.parent);
        result.append(child);
        if (model->hasChildren(child))
            stack.append({ child, 0, model->rowCount(child) });
    }
    return result;
}

QStringList saveHeaderState(const QHeaderView *header)
{
    QStringList state;
    if (!header)
        return state;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical))
            continue;
        state << QStringLiteral("%1:%2")
                     .arg(sectionText(header, logical))
                     .arg(header->sectionSize(logical));
    }
    return state;
}

void restoreHeaderState(QHeaderView *header, const QStringList &state)
{
    if (!header)
        return;
    QVector<QPair<int, int>> shown; // logical index, width (-1 keeps the section's size)
    for (const QString &entry : state) {
        const QStringList parts = entry.split(QLatin1Char(':'));
        if (parts.size() != 2)
            continue;
        const int logical = findColumn(header->model(), parts.at(0));
        if (logical < 0)
            continue;
        bool ok = false;
        const int width = parts.at(1).toInt(&ok, 10);
        // A width that is no number, or none at all (P6 layouts leave it out), keeps the
        // section's size rather than collapsing the column out of sight.
        shown.append({ logical, ok && width > 0 ? width : -1 });
    }
    // A list naming no column here (another schedule's, or a damaged one) would leave nothing
    // to see; the columns stay as they are instead.
    if (shown.isEmpty())
        return;
    hideAll(header);
    for (int j = 0; j < shown.size(); ++j) {
        showAt(header, shown.at(j).first, j);
        if (shown.at(j).second >= 0)
            header->resizeSection(shown.at(j).first, shown.at(j).second);
    }
}

QStringList visibleHeaderTexts(const QHeaderView *header)
{
    QStringList texts;
    if (!header)
        return texts;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            texts << sectionText(header, logical);
    }
    return texts;
}

void applyColumnOrder(QHeaderView *header, const QStringList &names)
{
    if (!header)
        return;
    QVector<int> shown;
    for (const QString &name : names) {
        const int logical = findColumn(header->model(), name);
        if (logical >= 0)
            shown.append(logical);
    }
    // As with an empty list, names that match nothing leave the columns as they are.
    if (shown.isEmpty())
        return;
    hideAll(header);
    for (int position = 0; position < shown.size(); ++position)
        showAt(header, shown.at(position), position);
}

void setFixedSectionSize(QHeaderView *header, int size)
{
    if (!header)
        return;
    header->setSectionResizeMode(QHeaderView::Fixed);
    // The style's minimum follows the font and may exceed the 22-pixel rows that table and
    // chart share; the fixed size must win.
    if (size < header->minimumSectionSize())
        header->setMinimumSectionSize(size);
    header->setDefaultSectionSize(size);
}

QString fontToText(const QFont &font)
{
    QString text = font.family() + QLatin1Char(':');
    if (font.style() != QFont::StyleNormal)
        text += QLatin1Char('i');
    if (font.underline())
        text += QLatin1Char('u');
    if (font.weight() > 57)
        text += QLatin1Char('b');
    return text;
}

QFont fontFromText(const QString &text)
{
    // A text without ":" is taken as a bare family name.
    const QStringList parts = text.split(QLatin1Char(':'));
    const QString flags = parts.value(1);
    QFont font(parts.at(0));
    font.setItalic(flags.contains(QLatin1Char('i')));
    font.setUnderline(flags.contains(QLatin1Char('u')));
    font.setWeight(flags.contains(QLatin1Char('b')) ? 75 : 50);
    return font;
}

QString colorToText(const QColor &color)
{
    return QStringLiteral("r%1g%2b%3a%4")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

QBrush colorFromText(const QString &text)
{
    static const QRegularExpression letter(QStringLiteral("[a-z]"));
    const QStringList parts = text.split(letter, Qt::SkipEmptyParts);
    if (parts.size() < 4)
        return QBrush();
    int rgba[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        rgba[i] = parts.at(i).toInt(&ok, 10);
        if (!ok || rgba[i] < 0 || rgba[i] > 255)
            return QBrush();
    }
    return QBrush(QColor(rgba[0], rgba[1], rgba[2], rgba[3]));
}

QString readTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void rollUpMax(QAbstractItemModel *model, int column, int role, const QModelIndex &parent)
{
    rollUp(model, column, role, parent, [](const QVariant &value, const QVariant &best) {
        return RyValueOrder::lessThan(best, value);
    });
}

void rollUpMin(QAbstractItemModel *model, int column, int role, const QModelIndex &parent)
{
    rollUp(model, column, role, parent, [](const QVariant &value, const QVariant &best) {
        return RyValueOrder::lessThan(value, best);
    });
}

QString predecessorDetail(const QString &type, const QVariant &lagHours)
{
    QString detail = type.startsWith(QLatin1String("PR_")) ? type.mid(3) : type;
    bool ok = false;
    // Hours to two decimals; a lag that rounds to nothing is no lag.
    const double lag = std::round(lagHours.toDouble(&ok) * 100.0) / 100.0;
    if (ok && lag != 0.0) {
        if (lag > 0)
            detail += QLatin1Char('+');
        detail += RyValueText::decimalText(lag) + QLatin1Char('h');
    }
    return detail;
}

QMap<int, QMap<QString, QString>> predecessorTexts(const QAbstractItemModel *relationships)
{
    QMap<int, QMap<QString, QString>> texts;
    if (!relationships)
        return texts;
    const int taskColumn = findColumn(relationships, QStringLiteral("task_id"));
    const int typeColumn = findColumn(relationships, QStringLiteral("Type"));
    const int lagColumn = findColumn(relationships, QStringLiteral("Lag"));
    const int keyColumn = relationships->columnCount() - 2;
    if (taskColumn < 0 || typeColumn < 0 || keyColumn < 0)
        return texts;
    const int rows = relationships->rowCount();
    for (int r = 0; r < rows; ++r) {
        const int taskId = relationships->index(r, taskColumn).data().toInt();
        const QString key = relationships->index(r, keyColumn).data().toString();
        if (key.isEmpty())
            continue;
        const QString type = relationships->index(r, typeColumn).data().toString();
        if (type.isEmpty())
            continue;
        const QVariant lag
            = lagColumn >= 0 ? relationships->index(r, lagColumn).data() : QVariant();
        texts[taskId][key] = predecessorDetail(type, lag);
    }
    return texts;
}

} // namespace RyUtils
