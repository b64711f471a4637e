#include "app/dialogcommands.h"

#include "app/csvexport.h"
#include "app/layoutstore.h"
#include "app/projectinfodialog.h"
#include "app/projectopener.h"
#include "app/viewcommands.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "filter/rysortfilterwidget.h"
#include "gantt/ryganttchartstylesdialog.h"
#include "gantt/ryganttview.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"
#include "output/rypagecontent.h"
#include "output/ryprintdialog.h"
#include "output/rysnipdialog.h"
#include "output/ryviewsnapshot.h"
#include "tables/mpploader.h"
#include "views/activities.h"
#include "views/resources.h"
#include "views/rygroupdialog.h"
#include "views/rygroupedcolumndialog.h"
#include "views/rygroupedtreeview.h"
#include "views/ryheaderstate.h"
#include "views/rysortfilterheader.h"

#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>

DialogCommands::DialogCommands(QMainWindow *window, Activities *activities, Resources *resources,
                               const ViewCommands *views, const ProjectOpener *opener)
    : QObject(window)
    , m_settings(LayoutStore::ConnectionName)
    , m_window(window)
    , m_activities(activities)
    , m_resources(resources)
    , m_views(views)
    , m_opener(opener)
{
}

int DialogCommands::execSized(QDialog *dialog, const QString &name, const QSize &initial)
{
    const QString key = SettingsStore::dialogSizeKey(name);
    // Stored as "<width>x<height>"; anything else is ignored.
    const QStringList stored = m_settings.value(key).toString().split(QLatin1Char('x'));
    QSize size = stored.size() == 2 ? QSize(stored.at(0).toInt(), stored.at(1).toInt()) : QSize();
    if (size.width() <= 0 || size.height() <= 0)
        size = initial;
    // Never larger than the screen the window is on, nor smaller than the dialog's layout.
    const QScreen *screen = m_window->screen();
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog->setSizeGripEnabled(true);
    dialog->resize(size.expandedTo(dialog->minimumSizeHint()));
    const int result = dialog->exec();
    m_settings.setValue(key, QStringLiteral("%1x%2").arg(dialog->width()).arg(dialog->height()));
    return result;
}

void DialogCommands::chooseColumns()
{
    RySortFilterHeader *header = m_views->currentHeader();
    if (!header || !header->model())
        return;
    QTreeView *tree = m_activities->treeView();
    const bool activityPage = header == tree->header();
    RyFilterDialogProxyModel *proxy
        = activityPage ? m_activities->filterProxy() : m_resources->filterProxy();
    QAbstractItemModel *model
        = activityPage ? m_activities->activityModel() : m_resources->sourceModel();
    const RySortFilterWidget *viewWidget
        = activityPage ? m_activities->sortFilterWidget() : m_resources->sortFilterWidget();

    RyGroupedColumnDialog dialog(header, m_window);
    auto *widget = new RySortFilterWidget(header, proxy, model, &dialog);
    widget->hide();
    if (viewWidget)
        widget->setValueDelegate(viewWidget->valueDelegate());
    if (activityPage) {
        connect(widget, &RySortFilterWidget::filtered, m_activities,
                &Activities::updateGanttRelationship);
    }
    connect(&dialog, &RyGroupedColumnDialog::popUp, widget, &RySortFilterWidget::onAutoFilterPopUp);
    dialog.setSortFilterWidget(widget);
    dialog.setGroupHidden(QStringLiteral("system"), true);
    if (execSized(&dialog, QStringLiteral("columns"), QSize(900, 700)) != QDialog::Accepted)
        return;

    RyHeaderState::applyColumnOrder(header, dialog.chosenColumns());
    if (activityPage) {
        tree->setTreePosition(RyHeaderState::firstVisibleColumn(header));
        m_activities->onUpdateMergeColumns();
    }
}

void DialogCommands::chooseGroups()
{
    QAbstractItemModel *model = m_activities->activityModel();
    if (!m_activities->hasProject() || !model)
        return;
    RyGroupDialog dialog(m_window);
    dialog.setModel(model);
    dialog.setLevelStyles(m_activities->levelStyles());
    for (int column = 0; column < model->columnCount(); ++column) {
        const QVariantMap description
            = model->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
        if (description.value(QStringLiteral("structure")).toBool())
            dialog.setStructured(column);
        if (description.value(QStringLiteral("group")).toString() == QLatin1String("system"))
            dialog.setColumnHidden(column, true);
    }
    dialog.setGroups(m_activities->groupRules());
    if (execSized(&dialog, QStringLiteral("group"), QSize(760, 600)) == QDialog::Accepted)
        m_activities->groupBySelection(dialog.groups());
}

void DialogCommands::chooseBarStyles()
{
    const QAbstractItemModel *model = m_activities->activityModel();
    if (!m_activities->hasProject() || !model)
        return;
    QStringList columnNames;
    QStringList dateColumnNames;
    for (int column = 0; column < model->columnCount(); ++column) {
        const QVariantMap description
            = model->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
        if (description.value(QStringLiteral("group")).toString() == QLatin1String("system"))
            continue;
        const QString name = model->headerData(column, Qt::Horizontal).toString();
        columnNames.append(name);
        if (description.value(QStringLiteral("datatype")).toString() == QLatin1String("datetime"))
            dateColumnNames.append(name);
    }

    RyGanttView *gantt = m_activities->ganttView();
    RyTimeLineHeader *timeline = gantt->header();
    RyGanttChartStylesDialog dialog(dateColumnNames, m_window);
    dialog.setStyles(gantt->barStyles());
    dialog.setColumnNames(columnNames);
    dialog.setDateFormats(timeline->dateFormats());
    dialog.setAlternatingRowColors(gantt->alternatingRowColors());
    dialog.setShowLinks(gantt->showLinks());
    dialog.setShowVerticalLines(gantt->showVerticalLines());
    if (execSized(&dialog, QStringLiteral("barStyles"), QSize(1100, 640)) != QDialog::Accepted)
        return;

    gantt->setBarStyles(dialog.styles());
    gantt->setShowLinks(dialog.showLinks());
    gantt->setShowVerticalLines(dialog.showVerticalLines());
    // Units the dialog does not offer keep their formats.
    QMap<int, int> formats = timeline->dateFormats();
    const QMap<int, int> chosen = dialog.dateFormats();
    for (auto it = chosen.cbegin(); it != chosen.cend(); ++it)
        formats.insert(it.key(), it.value());
    timeline->setDateFormats(formats);
    gantt->setAlternatingRowColors(dialog.alternatingRowColors());
    m_activities->treeView()->setAlternatingRowColors(dialog.alternatingRowColors());
    gantt->viewport()->update();
}

void DialogCommands::exportActivities()
{
    const QString path = QFileDialog::getSaveFileName(
        m_window, tr("Export activities"), QStringLiteral("Export.csv"), tr("CSV Files (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!CsvExport::exportTree(m_activities->treeView(), path, &error)) {
        QMessageBox::warning(m_window, tr("Export activities"), error);
        return;
    }
    m_window->statusBar()->showMessage(tr("File saved successfully."), 3000);
}

void DialogCommands::showAbout()
{
    QString body
        = QStringLiteral(
              "<!DOCTYPE html><html><body><h1>About Tarvik</h1><p>This is version 0.0.0.0</p>"
              "<p>A read-only viewer for Microsoft Project schedules.</p>"
              "<p>Built with Qt %1, running on Qt %2.</p>"
              "<p>Released under the MIT License.</p></body></html>")
              .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()));
    body.replace(QStringLiteral("0.0.0.0"), QApplication::applicationVersion());
    QMessageBox::about(m_window, QStringLiteral("About Tarvik"), body);
}

void DialogCommands::showProjectInfo()
{
    const MPPLoader *loader = m_opener->loader();
    if (!m_activities->hasProject() || !loader || !loader->project())
        return;
    ProjectInfoDialog dialog(*loader, m_window);
    execSized(&dialog, QStringLiteral("projectInfo"), QSize(560, 480));
}

void DialogCommands::snip()
{
    if (!m_activities->hasProject())
        return;
    RyViewSnapshot snapshot(nullptr, m_activities->ganttView());
    RyPageContent content = RyPageContent::fromChart(m_activities->ganttView());
    content.setBeforePaint([&snapshot] { snapshot.hold(); });
    RySnipDialog dialog(&content, m_window);
    dialog.exec();
}

void DialogCommands::print()
{
    if (!m_activities->hasProject())
        return;
    RyViewSnapshot snapshot(m_activities->treeView(), m_activities->ganttView());
    RyPageContent content
        = RyPageContent::fromViews(m_activities->treeView(), m_activities->ganttView());
    content.setBeforePaint([&snapshot] { snapshot.hold(); });
    RyPrintDialog dialog(&content, m_window);
    dialog.exec();
}
