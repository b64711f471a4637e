#include "views/ryheaderstate.h"

#include "models/rymodellookup.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QPair>
#include <QVector>

namespace RyHeaderState {

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

} // namespace

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
        const int logical = RyModelLookup::findColumn(header->model(), parts.at(0));
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
        const int logical = RyModelLookup::findColumn(header->model(), name);
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

} // namespace RyHeaderState
