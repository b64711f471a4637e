#include "gantt/ryganttlinkmodel.h"

#include "gantt/ryganttrowcontroller.h"

#include <QAbstractItemModel>

#include <algorithm>

namespace {

// Links are looked up by the blocks of rows they cross, so a paint touches only the links of
// the rows in view, not every link of the project.
constexpr int LinkBlockRows = 32;

} // namespace

RyGanttLinkModel::RyGanttLinkModel(QObject *parent)
    : QObject(parent)
{
}

void RyGanttLinkModel::setModel(QAbstractItemModel *model)
{
    if (model == m_model)
        return;
    for (const QMetaObject::Connection &connection : qAsConst(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_links.clear();
    m_rowIndexDirty = true;
    m_model = model;
    if (!model)
        return;
    using M = QAbstractItemModel;
    auto &c = m_connections;
    c << connect(model, &M::layoutAboutToBeChanged, this, &RyGanttLinkModel::holdDuringLayout);
    c << connect(model, &M::layoutChanged, this, &RyGanttLinkModel::restoreAfterLayout);
    c << connect(model, &M::modelAboutToBeReset, this, &RyGanttLinkModel::drop);
    c << connect(model, &M::rowsInserted, this, &RyGanttLinkModel::drop);
    c << connect(model, &M::rowsAboutToBeRemoved, this, &RyGanttLinkModel::drop);
    c << connect(model, &M::rowsAboutToBeMoved, this, &RyGanttLinkModel::drop);
    c << connect(model, &M::columnsAboutToBeInserted, this, &RyGanttLinkModel::drop);
    c << connect(model, &M::columnsAboutToBeRemoved, this, &RyGanttLinkModel::drop);
    c << connect(model, &M::columnsAboutToBeMoved, this, &RyGanttLinkModel::drop);
    c << connect(model, &QObject::destroyed, this, [this] {
        m_connections.clear();
        m_links.clear();
        m_model = nullptr;
        m_rowIndexDirty = true;
    });
}

QAbstractItemModel *RyGanttLinkModel::model() const
{
    return m_model;
}

bool RyGanttLinkModel::insert(const QModelIndex &successor, const QModelIndex &predecessor,
                              const QString &type)
{
    if (!successor.isValid() || !predecessor.isValid() || successor == predecessor
        || successor.model() != predecessor.model())
        return false;
    m_links.insert(successor, Link { successor, predecessor, type });
    return true;
}

void RyGanttLinkModel::addLink(const QModelIndex &successor, const QModelIndex &predecessor,
                               const QString &type)
{
    if (!insert(successor, predecessor, type))
        return;
    m_rowIndexDirty = true;
    emit linksChanged();
}

void RyGanttLinkModel::setLinks(const QVector<Link> &links)
{
    m_links = QMultiHash<QModelIndex, Link>();
    m_links.reserve(links.size());
    for (const Link &link : links)
        insert(link.successor, link.predecessor, link.type);
    m_rowIndexDirty = true;
    emit linksChanged();
}

void RyGanttLinkModel::clear()
{
    m_links = QMultiHash<QModelIndex, Link>();
    m_rowIndexDirty = true;
    emit linksChanged();
}

int RyGanttLinkModel::count() const
{
    return m_links.size();
}

QList<RyGanttLinkModel::Link> RyGanttLinkModel::links() const
{
    return m_links.values();
}

void RyGanttLinkModel::drop()
{
    if (m_links.isEmpty())
        return;
    m_links.clear();
    m_rowIndexDirty = true;
    emit linksChanged();
}

// Sorting moves rows without removing them: the links are held by persistent indexes while
// the layout changes, and put back in their new places.
void RyGanttLinkModel::holdDuringLayout()
{
    m_linksDuringLayout.clear();
    m_typesDuringLayout.clear();
    for (const Link &link : qAsConst(m_links)) {
        m_linksDuringLayout.append({ link.successor, link.predecessor });
        m_typesDuringLayout.append(link.type);
    }
    m_links.clear();
    m_rowIndexDirty = true;
}

void RyGanttLinkModel::restoreAfterLayout()
{
    for (int i = 0; i < m_linksDuringLayout.size(); ++i) {
        const QModelIndex successor = m_linksDuringLayout.at(i).first;
        const QModelIndex predecessor = m_linksDuringLayout.at(i).second;
        if (successor.isValid() && predecessor.isValid())
            m_links.insert(successor, Link { successor, predecessor, m_typesDuringLayout.at(i) });
    }
    m_linksDuringLayout.clear();
    m_typesDuringLayout.clear();
    m_rowIndexDirty = true;
    emit linksChanged();
}

void RyGanttLinkModel::invalidateRowIndex()
{
    m_rowIndexDirty = true;
}

void RyGanttLinkModel::buildRowIndex(const RyGanttRowController &rows) const
{
    m_rowLinks.clear();
    m_blocks = QVector<QVector<int>>(rows.rowCount() / LinkBlockRows + 1);
    for (const Link &link : qAsConst(m_links)) {
        const int s = rows.rowOf(link.successor);
        const int p = rows.rowOf(link.predecessor);
        if (s < 0 || p < 0)
            continue; // a hidden end has no bar to attach to
        const int id = m_rowLinks.size();
        m_rowLinks.append({ s, p, &link });
        for (int block = std::min(s, p) / LinkBlockRows; block <= std::max(s, p) / LinkBlockRows;
             ++block)
            m_blocks[block].append(id);
    }
    m_rowIndexDirty = false;
}

QVector<RyGanttLinkModel::RowLink>
RyGanttLinkModel::linksInRows(int first, int last, const RyGanttRowController &rows) const
{
    if (m_rowIndexDirty)
        buildRowIndex(rows);
    QVector<int> ids;
    for (int block = first / LinkBlockRows;
         block <= last / LinkBlockRows && block < m_blocks.size(); ++block)
        ids += m_blocks.at(block);
    // A link crossing several blocks is listed in each.
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    QVector<RowLink> found;
    found.reserve(ids.size());
    for (int id : qAsConst(ids))
        found.append(m_rowLinks.at(id));
    return found;
}
