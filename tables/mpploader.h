// Loads one .mpp file: reads it with the MPP reader on a pool thread, creates the ten P6-shaped
// tables over the project, gives them their schema columns and derives the combined models,
// reporting progress. Owns the project and every registered table.
#pragma once

#include "tables/projectloader.h"

#include <memory>

namespace mppr {
class Project;
}

class MPPLoader : public ProjectLoader
{
    Q_OBJECT

public:
    explicit MPPLoader(QObject *parent = nullptr);
    ~MPPLoader() override;

    void clear() override;
    bool createModels() override;
    QString loaderName() const override;
    QString sourceHost() const override;
    QString sourceDatabase() const override;
    QString sourceName() const override;

    // Runs on a pool thread: started(), progress 10 to 80, then finished() after a good read,
    // or failed(status, path) after a failed one.
    void load(const QString &path);
    // Builds the tables and derived models over a project that is already read (progress 20
    // to 80, then finished()); takes ownership of the project.
    void loadProject(std::unique_ptr<mppr::Project> project);

    mppr::Project *project() const { return m_project.get(); }

signals:
    // The read failed with a reader status (never 0); no finished() follows.
    void failed(int status, QString path);

private:
    void createTables();

    QString m_path;
    std::unique_ptr<mppr::Project> m_project;
};
