// RSRC: one row per resource.
#pragma once

#include "tables/mppmodel.h"

namespace mppr {
class Resource;
}

class MPPRsrcModel : public MPPModel
{
    Q_OBJECT

public:
    enum Column {
        RsrcId,
        RsrcSeqNum,
        RsrcType,
        RsrcShortName,
        RsrcName,
        ParentRsrcId,
        ColumnCount
    };

    explicit MPPRsrcModel(QObject *parent = nullptr);

    void setProject(mppr::Project *project) override;

protected:
    QVariant cell(int row, int column) const override;

private:
    QVector<mppr::Resource *> m_resources;
};
