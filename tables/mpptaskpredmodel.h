// TASKPRED: one row per relation, read from the successors' predecessor lists.
#pragma once

#include "tables/mppmodel.h"

class MPPTaskPredModel : public MPPModel
{
    Q_OBJECT

public:
    enum Column { TaskId, PredTaskId, PredProjId, PredType, LagHrCnt, ColumnCount };

    struct Relation
    {
        qint32 taskUniqueId;
        qint32 predUniqueId;
        double lag; // raw file value, tenths of a minute
        qint32 lagUnit;
        qint16 type;
    };

    explicit MPPTaskPredModel(QObject *parent = nullptr);

    void setProject(mppr::Project *project) override;

    const QVector<Relation> &relations() const { return m_relations; }
    // "PR_FF", "PR_FS", "PR_SF", "PR_SS" for type codes 0 to 3; no value otherwise.
    static QVariant typeCode(qint16 type);

protected:
    QVariant cell(int row, int column) const override;

private:
    QVector<Relation> m_relations;
};
