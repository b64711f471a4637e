#include "app/schedulecheckwindow.h"

#include "app/csvexport.h"
#include "output/rypagecontent.h"
#include "output/ryprintdialog.h"
#include "tables/ryschedulecheckmodel.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

ScheduleCheckWindow::ScheduleCheckWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_model(new RyScheduleCheckModel(this))
    , m_table(new QTreeView(this))
    , m_summary(new QLabel(this))
    , m_export(new QPushButton(tr("Export..."), this))
    , m_print(new QPushButton(tr("Print..."), this))
{
    setObjectName(QStringLiteral("scheduleCheckWindow"));
    setWindowTitle(tr("Schedule Check"));
    m_table->setObjectName(QStringLiteral("scheduleCheckTable"));
    m_table->setModel(m_model);
    m_table->setRootIsDecorated(false);
    m_table->setUniformRowHeights(true);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_export->setObjectName(QStringLiteral("scheduleCheckExport"));
    m_print->setObjectName(QStringLiteral("scheduleCheckPrint"));
    m_summary->setObjectName(QStringLiteral("scheduleCheckSummary"));
    m_summary->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_export, QDialogButtonBox::ActionRole);
    buttons->addButton(m_print, QDialogButtonBox::ActionRole);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table);
    layout->addWidget(buttons);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    emit checkChosen(current.row() + 1);
            });
    connect(m_export, &QPushButton::clicked, this, &ScheduleCheckWindow::chooseExportFile);
    connect(m_print, &QPushButton::clicked, this, &ScheduleCheckWindow::print);
    resize(720, 480);
}

void ScheduleCheckWindow::setCheck(const RyScheduleCheck &check)
{
    m_model->setCheck(check);
    const QString statusDate = check.statusDate().isValid()
        ? check.statusDate().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
        : tr("none (checks 9, 11, 13 and 14 are not assessed)");
    m_summary->setText(tr("Status date: %1. Working day: %2 hours. Choose a check to show its "
                          "activities.")
                           .arg(statusDate)
                           .arg(check.minutesPerDay() / 60.0));
    for (int column = 0; column < RyScheduleCheckModel::ColumnCount; ++column)
        m_table->resizeColumnToContents(column);
    fitRows();
}

// Every row stays in view: printing draws the rows the table shows.
void ScheduleCheckWindow::fitRows()
{
    const int rows = m_model->rowCount();
    const int rowHeight = rows > 0 ? m_table->sizeHintForRow(0) : 0;
    m_table->setMinimumHeight(m_table->header()->sizeHint().height() + rows * rowHeight
                              + 2 * m_table->frameWidth());
}

bool ScheduleCheckWindow::exportTo(const QString &path, QString *error) const
{
    return CsvExport::exportTree(m_table, path, error);
}

void ScheduleCheckWindow::chooseExportFile()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Export schedule check"),
                                                      QStringLiteral("ScheduleCheck.csv"),
                                                      tr("CSV Files (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!exportTo(path, &error))
        QMessageBox::warning(this, tr("Export schedule check"), error);
}

void ScheduleCheckWindow::print()
{
    const RyPageContent content = RyPageContent::fromTable(m_table);
    RyPrintDialog dialog(&content, this);
    dialog.exec();
}
