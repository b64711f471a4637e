// ACTVTYPE: activity code types, one row per outline code the file defines (OutlineCode1 to
// OutlineCode10), its type id the code's number and its name the code's alias.
#pragma once

#include "tables/mppmodel.h"

class MPPActvTypeModel : public MPPModel
{
    Q_OBJECT

public:
    enum Column {
        ActvCodeTypeId,
        ActvShortLen,
        SeqNum,
        ActvCodeType,
        ActvCodeTypeScope,
        ProjId,
        SuperFlag,
        ColumnCount = 13
    };

    explicit MPPActvTypeModel(QObject *parent = nullptr);

    void setProject(mppr::Project *project) override;

    // The name a code type is shown under: the alias, else "Outline Code n".
    static QString typeName(int number, const QString &alias);

protected:
    QVariant cell(int row, int column) const override;
};
