// ACTVCODE: activity code values, one row per value of every outline code in the order stored.
// A value's parent is kept only where it exists and leads to the top level: a missing parent
// or a cycle puts the value at the top level. The code name is the value's full text ("A.1"),
// as a task shows it.
#pragma once

#include "tables/mppmodel.h"

#include <QVector>

class MPPActvCodeModel : public MPPModel
{
    Q_OBJECT

public:
    enum Column {
        ActvCodeId,
        ActvCodeTypeId,
        SeqNum,
        ShortName,
        ParentActvCodeId,
        ActvCodeName,
        ColumnCount = 13
    };

    explicit MPPActvCodeModel(QObject *parent = nullptr);

    void setProject(mppr::Project *project) override;

protected:
    QVariant cell(int row, int column) const override;

private:
    struct Row
    {
        int code; // position in Project::outlineCodes()
        int value; // position in its values
        qint32 parent; // 0 at the top level
        QString name;
    };
    QVector<Row> m_rows;
};
