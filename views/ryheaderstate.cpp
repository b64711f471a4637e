#include "views/ryheaderstate.h"

#include "models/ryconstants.h"
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

// Entries that name a column by its id start with this mark; older layouts name columns by
// header text alone, which changes with a custom field's alias from file to file.
const QLatin1Char IdMark('@');

QString sectionId(const QAbstractItemModel *model, int section, Qt::Orientation orientation)
{
    return model->headerData(section, orientation, Ry::ColumnIdRole).toString();
}

// The section whose id is `id`, when exactly one has it; -1 otherwise.
int uniqueSectionWithId(const QAbstractItemModel *model, Qt::Orientation orientation,
                        const QString &id)
{
    if (!model || id.isEmpty())
        return -1;
    const int count = orientation == Qt::Horizontal ? model->columnCount() : model->rowCount();
    int found = -1;
    for (int s = 0; s < count; ++s) {
        if (sectionId(model, s, orientation) != id)
            continue;
        if (found >= 0)
            return -1;
        found = s;
    }
    return found;
}

// How a saved list names a section: by id where that names it alone, else by header text.
QString sectionName(const QHeaderView *header, int logical)
{
    const QAbstractItemModel *model = header->model();
    if (!model)
        return QString();
    const QString id = sectionId(model, logical, header->orientation());
    if (uniqueSectionWithId(model, header->orientation(), id) == logical)
        return IdMark + id;
    return headerText(model, logical, header->orientation());
}

// The section and width text of one saved entry; section -1 when it names none.
QPair<int, QString> parseEntry(const QHeaderView *header, const QString &entry)
{
    if (entry.startsWith(IdMark)) {
        const int colon = entry.lastIndexOf(QLatin1Char(':'));
        if (colon < 0)
            return { -1, QString() };
        const QString id = entry.mid(1, colon - 1);
        return { uniqueSectionWithId(header->model(), header->orientation(), id),
                 entry.mid(colon + 1) };
    }
    const QStringList parts = entry.split(QLatin1Char(':'));
    if (parts.size() != 2)
        return { -1, QString() };
    return { RyModelLookup::findColumn(header->model(), parts.at(0)), parts.at(1) };
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
                     .arg(sectionName(header, logical))
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
        const QPair<int, QString> parsed = parseEntry(header, entry);
        const int logical = parsed.first;
        if (logical < 0)
            continue;
        bool ok = false;
        const int width = parsed.second.toInt(&ok, 10);
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
