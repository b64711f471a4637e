#include "app/layoutdocument.h"

#include "app/viewcommands.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "gantt/ryganttview.h"
#include "gantt/ryganttviewbarstyle.h"
#include "models/ryconstants.h"
#include "views/activities.h"
#include "views/rygroupedtreeview.h"
#include "views/ryheaderstate.h"
#include "views/rysortfilterheader.h"

#include <QHeaderView>
#include <QJsonDocument>
#include <QStringList>

LayoutDocument::LayoutDocument(Activities *activities, ViewCommands *commands)
    : m_activities(activities)
    , m_commands(commands)
{
}

QString LayoutDocument::document() const
{
    QTreeView *tree = m_activities->treeView();
    const QHeaderView *header = tree->header();
    QVariantMap document;
    document.insert(QStringLiteral("columns"), RyHeaderState::saveHeaderState(header));

    QString sortName;
    if (auto *sortHeader = qobject_cast<const RySortFilterHeader *>(header)) {
        const int column = sortHeader->sortColumn();
        if (column >= 0 && tree->model()) {
            sortName = tree->model()
                           ->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole)
                           .toMap()
                           .value(QStringLiteral("display"))
                           .toString();
        }
        const bool descending = column >= 0 && sortHeader->sortOrder() == Qt::DescendingOrder;
        document.insert(QStringLiteral("sortby"),
                        sortName + QLatin1Char(';')
                            + (descending ? QLatin1Char('D') : QLatin1Char('A')));
    } else {
        document.insert(QStringLiteral("sortby"), QStringLiteral(";A"));
    }

    document.insert(QStringLiteral("filters"), m_activities->filterProxy()->filterSettings());
    document.insert(QStringLiteral("group"), m_activities->groupRules());
    document.insert(QStringLiteral("outline"), m_commands->outlineText());
    document.insert(QStringLiteral("durationUnit"), m_commands->durationUnitName());
    const RyGanttView *gantt = m_activities->ganttView();
    document.insert(QStringLiteral("bars"), gantt->saveState());
    document.insert(QStringLiteral("barStyles"),
                    RyGanttViewBarStyle::toVariantList(gantt->barStyles()));
    return QString::fromUtf8(QJsonDocument::fromVariant(document).toJson(QJsonDocument::Compact));
}

bool LayoutDocument::apply(const QString &document) const
{
    if (document.isEmpty())
        return true;
    QTreeView *tree = m_activities->treeView();
    auto *header = qobject_cast<RySortFilterHeader *>(tree->header());
    if (!header)
        return true;
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(document.toUtf8(), &error);
    // Read as an empty map, a damaged document would wipe the bar styles and the chart's bars.
    if (error.error != QJsonParseError::NoError || !json.isObject())
        return false;
    const QVariantMap layout = json.toVariant().toMap();

    RyHeaderState::restoreHeaderState(header, layout.value(QStringLiteral("columns")).toStringList());

    const QStringList sortBy = layout.value(QStringLiteral("sortby")).toStringList();
    if (sortBy.isEmpty()) {
        m_activities->clearSortAndFilters();
    } else {
        const QStringList parts = sortBy.first().split(QLatin1Char(';'));
        const QString column = parts.value(0);
        m_activities->sortByColumn(column, parts.value(1) != QLatin1String("A"));
    }

    const QVariantMap filters = layout.value(QStringLiteral("filters")).toMap();
    m_activities->filterProxy()->setFilterSettings(filters);
    header->clearFilteredColumns();
    for (const char *kind : { "patterns", "expressions" }) {
        const QVariantMap columns = filters.value(QLatin1String(kind)).toMap();
        for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
            bool ok = false;
            const int column = it.key().toInt(&ok, 10);
            if (ok)
                header->addFilteredColumn(column);
        }
    }

    m_activities->groupBySelection(layout.value(QStringLiteral("group")).toStringList());

    // Layouts saved before the Units choice keep the unit shown.
    if (layout.contains(QStringLiteral("durationUnit")))
        m_commands->setDurationUnitName(layout.value(QStringLiteral("durationUnit")).toString());

    const QString outlineCommand = layout.value(QStringLiteral("outline")).toString();
    if (!outlineCommand.isEmpty())
        m_commands->runOutlineCommand(outlineCommand);

    RyGanttView *gantt = m_activities->ganttView();
    gantt->restoreState(layout.value(QStringLiteral("bars")));
    gantt->setBarStyles(
        RyGanttViewBarStyle::fromVariantList(layout.value(QStringLiteral("barStyles")).toList()));

    tree->setTreePosition(RyHeaderState::firstVisibleColumn(header));
    m_activities->onUpdateMergeColumns();
    m_commands->updateTimeChecks();
    return true;
}

QString LayoutDocument::fromP6Layout(const QString &templateDocument, const P6Layout &layout)
{
    QVariantMap document = QJsonDocument::fromJson(templateDocument.toUtf8()).toVariant().toMap();
    QStringList columns;
    for (const P6Layout::Column &column : layout.columns)
        columns << QStringLiteral("%1:%2").arg(column.display).arg(column.width);
    document.insert(QStringLiteral("columns"), columns);
    document.insert(QStringLiteral("group"), layout.groups);
    document.insert(QStringLiteral("sortby"), layout.sorts);
    return QString::fromUtf8(QJsonDocument::fromVariant(document).toJson(QJsonDocument::Compact));
}

P6LayoutImporter::Status LayoutDocument::importViews(const QList<QVariantMap> &views,
                                                     QList<P6Layout> *layouts)
{
    const P6LayoutImporter importer;
    P6LayoutImporter::Status status = P6LayoutImporter::Status::NoColumns;
    for (const QVariantMap &view : views) {
        P6Layout layout;
        status = importer.importView(view, &layout);
        if (status == P6LayoutImporter::Status::Ok)
            layouts->append(layout);
    }
    return layouts->isEmpty() ? status : P6LayoutImporter::Status::Ok;
}
