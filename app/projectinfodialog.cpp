#include "app/projectinfodialog.h"

#include "models/ryvaluetext.h"
#include "mppr/project.h"
#include "tables/mpploader.h"
#include "tables/mppworkingtime.h"

#include <QAbstractItemModel>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QString dateText(const QDateTime &date)
{
    return mppr::isUnset(date) ? QString() : RyValueText::displayText(date);
}

// The storage directory names the layout: "   114" is MPP14, "   112" MPP12, "   19" MPP9.
QString layoutName(const QString &directory)
{
    const QString number = directory.trimmed();
    if (number == QLatin1String("114"))
        return QStringLiteral("MPP14");
    if (number == QLatin1String("112"))
        return QStringLiteral("MPP12");
    if (number == QLatin1String("19"))
        return QStringLiteral("MPP9");
    return number;
}

int rowCount(const MPPLoader &loader, const char *table)
{
    const auto *model
        = qobject_cast<const QAbstractItemModel *>(loader.model(QLatin1String(table)));
    return model ? model->rowCount() : 0;
}

} // namespace

QVector<QPair<QString, QString>> ProjectInfoDialog::lines(const MPPLoader &loader)
{
    const mppr::Project *project = loader.project();
    if (!project)
        return {};
    const mppr::ProjectProperties &p = project->properties();
    return {
        { tr("Title"), p.title },
        { tr("Author"), p.author },
        { tr("Company"), p.company },
        { tr("Start"), dateText(p.startDate) },
        { tr("Finish"), dateText(p.finishDate) },
        { tr("Status date"), dateText(p.statusDate) },
        { tr("Current date"), dateText(p.currentDate) },
        { tr("Minutes per day"), QString::number(p.minutesPerDay) },
        { tr("Minutes per week"), QString::number(p.minutesPerWeek) },
        { tr("Calendar"), MPPWorkingTime::projectCalendarName(*project) },
        { tr("File"), QDir::toNativeSeparators(project->filePath()) },
        { tr("Storage layout"), layoutName(project->storageDirectory()) },
        { tr("Activities"), QString::number(rowCount(loader, "TASK")) },
        { tr("Links"), QString::number(rowCount(loader, "TASKPRED")) },
        { tr("Resources"), QString::number(rowCount(loader, "RSRC")) },
        { tr("Assignments"), QString::number(rowCount(loader, "TASKRSRC")) },
    };
}

ProjectInfoDialog::ProjectInfoDialog(const MPPLoader &loader, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("projectInfoDialog"));
    setWindowTitle(tr("Project Information"));
    auto *form = new QFormLayout;
    for (const auto &line : lines(loader)) {
        auto *value = new QLabel(line.second, this);
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        value->setObjectName(line.first);
        form->addRow(line.first + QLatin1Char(':'), value);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}
