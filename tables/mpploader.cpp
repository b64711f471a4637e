#include "tables/mpploader.h"

#include "mppr/project.h"
#include "tables/mppactvcodemodel.h"
#include "tables/mppactvtypemodel.h"
#include "tables/mpprsrcmodel.h"
#include "tables/mpptaskactivemodel.h"
#include "tables/mpptaskmodel.h"
#include "tables/mpptaskpredmodel.h"
#include "tables/mpptaskrsrcmodel.h"
#include "tables/mppudftypemodel.h"
#include "tables/mppudfvaluemodel.h"
#include "tables/mppwbsmodel.h"

#include <QThread>

MPPLoader::MPPLoader(QObject *parent)
    : ProjectLoader(parent)
{
}

MPPLoader::~MPPLoader()
{
    // The tables point into the project: they go first, then the project.
    deleteTables();
    m_project.reset();
}

void MPPLoader::clear()
{
    deleteTables();
    m_project.reset();
}

void MPPLoader::load(const QString &path)
{
    emit started();
    m_path = path;
    m_project = std::make_unique<mppr::Project>(path);
    emit progress(10, QStringLiteral("Read project from file"));
    const int status = m_project->read();
    if (status != 0) {
        m_project.reset();
        emit failed(status, path);
        return;
    }
    createTables();
    createModels();
}

void MPPLoader::loadProject(std::unique_ptr<mppr::Project> project)
{
    deleteTables();
    m_project = std::move(project);
    if (!m_project)
        return;
    m_path = m_project->filePath();
    createTables();
    createModels();
}

void MPPLoader::createTables()
{
    registerTable(QStringLiteral("TASK"), new MPPTaskModel);
    registerTable(QStringLiteral("PROJWBS"), new MPPWBSModel);
    registerTable(QStringLiteral("TASKRSRC"), new MPPTaskRsrcModel);
    registerTable(QStringLiteral("RSRC"), new MPPRsrcModel);
    registerTable(QStringLiteral("TASKPRED"), new MPPTaskPredModel);
    registerTable(QStringLiteral("ACTVTYPE"), new MPPActvTypeModel);
    registerTable(QStringLiteral("ACTVCODE"), new MPPActvCodeModel);
    registerTable(QStringLiteral("TASKACTV"), new MPPTaskActiveModel);
    registerTable(QStringLiteral("UDFTYPE"), new MPPUdfTypeModel);
    registerTable(QStringLiteral("UDFVALUE"), new MPPUdfValueModel);

    for (auto it = m_tables.cbegin(); it != m_tables.cend(); ++it) {
        auto *model = qobject_cast<MPPModel *>(it.value());
        if (!model)
            continue;
        if (m_schema.contains(it.key())) {
            QVariantMap descriptions;
            for (const QVariant &column : m_schema.value(it.key())) {
                const QVariantMap description = column.toMap();
                descriptions.insert(description.value("id").toString(), description);
            }
            model->setColumns(descriptions);
        }
        model->setProject(m_project.get());
    }
}

bool MPPLoader::createModels()
{
    const struct
    {
        int percent;
        const char *text;
        void (ProjectLoader::*create)();
    } steps[] = {
        { 20, "Create Predecessor Model", &ProjectLoader::createPredecessorModel },
        { 30, "Create Resource Model", &ProjectLoader::createResourceModel },
        { 40, "Create Codes Model", &ProjectLoader::createCodesModel },
        { 50, "Create Task Codes Assignment Model",
          &ProjectLoader::createTaskCodesAssignmentModel },
        { 60, "Create UDF Assignment Model", &ProjectLoader::createUserDefinedAssignmentModel },
        { 70, "Create Activity Model", &ProjectLoader::createActivityModel },
    };
    for (const auto &step : steps) {
        emit progress(step.percent, QString::fromLatin1(step.text));
        (this->*step.create)();
    }
    emit progress(80, QStringLiteral("Process data"));
    QThread::msleep(5);
    emit finished();
    return true;
}

QString MPPLoader::loaderName() const
{
    return QStringLiteral("MPPLoader");
}

QString MPPLoader::sourceHost() const
{
    return QStringLiteral("localhost");
}

QString MPPLoader::sourceDatabase() const
{
    return m_path;
}

QString MPPLoader::sourceName() const
{
    return m_path;
}
