// The frame of a project load: a registry of named tables that the loader owns, the table
// schema, progress signals, and the fixed steps that derive the combined models the views show
// from the raw tables. The steps work on the table interface only (columns found by header
// text, rows joined by key value), so they serve any concrete loader.
#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <QVariantList>

class QJsonDocument;
class QAbstractItemModel;

class ProjectLoader : public QObject
{
    Q_OBJECT

public:
    explicit ProjectLoader(QObject *parent = nullptr);
    ~ProjectLoader() override;

    // Replaces the schema entries named in a {"tables": [{"name", "columns"}]} document.
    virtual bool setSchema(const QJsonDocument &document);
    // Deletes every registered table and whatever the loader read.
    virtual void clear() = 0;
    // Runs the derived-model steps in their fixed order.
    virtual bool createModels();
    virtual void createPredecessorModel();
    virtual void createResourceModel();
    virtual void createCodesModel();
    virtual void createTaskCodesAssignmentModel();
    virtual void createUserDefinedAssignmentModel();
    virtual void createActivityModel();
    virtual QString loaderName() const = 0;
    virtual QString sourceHost() const;
    virtual QString sourceDatabase() const;
    virtual QString sourceUser() const;
    virtual QString sourceName() const;
    virtual bool hasModel(const QString &name) const;
    virtual QObject *model(const QString &name) const;
    // All registered objects in ascending name order.
    virtual QList<QObject *> models() const;
    // The registry names in ascending order, matching models().
    QStringList modelNames() const { return m_tables.keys(); }

    // The column descriptions (variant maps) of a table; empty when the schema has none.
    QVariantList schema(const QString &tableName) const;

signals:
    void started();
    void progress(int percent, QString text);
    void finished();

protected:
    // Takes ownership; an object registered earlier under the same name is deleted.
    void registerTable(const QString &name, QObject *table);
    void deleteTables();
    QAbstractItemModel *table(const QString &name) const;
    // The "Predecessors" and "Predecessors Details" texts of each activity, for tables that
    // have those columns.
    void writePredecessorTexts(QAbstractItemModel *tasks);

    QMap<QString, QObject *> m_tables;
    QList<QObject *> m_registrationOrder;
    QMap<QString, QVariantList> m_schema;
};
