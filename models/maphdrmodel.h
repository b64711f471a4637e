// A key filter (see RyKeyFilterProxyModel) that also renames horizontal column headers by
// their text, so that one shared model can be shown with different column titles
// ("Activity Name" as "Predecessor Name").
#pragma once

#include "models/rykeyfilterproxymodel.h"

#include <QHash>

class MapHdrModel : public RyKeyFilterProxyModel
{
    Q_OBJECT

public:
    explicit MapHdrModel(QObject *parent = nullptr);

    // Shows `replacement` wherever a horizontal header reads `header`; replaces an earlier pair.
    void setHeaderMapping(const QString &header, const QString &replacement);
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QHash<QString, QString> m_mapping;
};
