#include "tests/support/chartcolumns.h"

#include "models/ryconstants.h"

#include <QAbstractItemModel>

void nameChartColumns(QAbstractItemModel *model)
{
    const struct
    {
        const char *title;
        int role;
    } columns[] = {
        { "Start Date", Ry::StartRole },
        { "Finish Date", Ry::FinishRole },
        { "Activity Type", Ry::RowTypeRole },
        { "Total float", Ry::TotalFloatRole },
        { "BL Project Start", Ry::BaselineStartRole },
        { "BL Project Finish", Ry::BaselineFinishRole },
    };
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        for (const auto &column : columns) {
            if (title == QLatin1String(column.title))
                model->setHeaderData(c, Qt::Horizontal, column.role, Ry::ColumnItemRole);
        }
    }
}
