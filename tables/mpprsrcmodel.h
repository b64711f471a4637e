// RSRC: one row per resource.
#pragma once

#include "tables/mpprecordmodel.h"

namespace mppr {
class Resource;
}

class MPPRsrcModel : public MPPRecordModel<mppr::Resource>
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
        RsrcNotes, // the note's first line; the whole note is the cell's tool tip
        ColumnCount
    };

    explicit MPPRsrcModel(QObject *parent = nullptr);

protected:
    QVector<mppr::Resource *> records(const mppr::Project &project) const override;
    QVariant cell(int row, int column) const override;
    QVariant toolTip(int row, int column) const override;
};
