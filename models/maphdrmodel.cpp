#include "models/maphdrmodel.h"

MapHdrModel::MapHdrModel(QObject *parent)
    : RyKeyFilterProxyModel(parent)
{
}

void MapHdrModel::setHeaderMapping(const QString &header, const QString &replacement)
{
    m_mapping.insert(header, replacement);
    const int columns = columnCount();
    if (columns > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
}

QVariant MapHdrModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const QVariant value = QSortFilterProxyModel::headerData(section, orientation, role);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return value;
    const auto replacement = m_mapping.constFind(value.toString());
    return replacement == m_mapping.cend() ? value : QVariant(*replacement);
}
