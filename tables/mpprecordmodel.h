// Base of the tables with one row per project record: the rows are pointers the project owns,
// gathered again inside a model reset whenever the project changes.
#pragma once

#include "tables/mppmodel.h"

template<class Record> class MPPRecordModel : public MPPModel
{
public:
    using MPPModel::MPPModel;

    void setProject(mppr::Project *project) override
    {
        beginResetModel();
        m_project = project;
        m_records = project ? records(*project) : QVector<Record *>();
        m_rowCount = m_records.size();
        endResetModel();
    }

protected:
    // The rows of `project`, in table order.
    virtual QVector<Record *> records(const mppr::Project &project) const = 0;

    QVector<Record *> m_records;
};
