#include "views/resources.h"

#include "filter/ryfilterdialogproxymodel.h"
#include "filter/rysortfilterwidget.h"
#include "views/rydetaildelegate.h"
#include "views/rysortfilterheader.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableView>

#include <utility>

Resources::Resources(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Form"));
    resize(400, 300);
    m_horizontalLayout = new QHBoxLayout(this);
    m_horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    m_tableView = new QTableView(this);
    m_tableView->setObjectName(QStringLiteral("tableView"));
    m_horizontalLayout->addWidget(m_tableView);

    m_tableView->setShowGrid(false);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->verticalHeader()->hide();
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_header = new RySortFilterHeader(Qt::Horizontal, m_tableView);
    m_tableView->setHorizontalHeader(m_header);
    connect(m_header, &RySortFilterHeader::filterSettingsChanged, m_header->viewport(),
            QOverload<>::of(&QWidget::update));
    m_valueDelegate = new RyDetailDelegate(QPixmap(), -1, this);
}

Resources::~Resources()
{
    m_header->setSortFilterWidget(nullptr);
}

void Resources::fitColumns(int maximum)
{
    if (isVisible()) {
        m_pendingFit = 0;
        fitColumnsNow(maximum);
    } else {
        m_pendingFit = maximum;
    }
}

void Resources::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (const int maximum = std::exchange(m_pendingFit, 0))
        fitColumnsNow(maximum);
}

void Resources::fitColumnsNow(int maximum)
{
    for (int column = 0; column < m_header->count(); ++column) {
        if (m_header->isSectionHidden(column))
            continue;
        // Qt's own measure takes the header text into account besides the cells.
        m_tableView->resizeColumnToContents(column);
        if (m_header->sectionSize(column) > maximum)
            m_header->resizeSection(column, maximum);
    }
}

void Resources::setModel(QAbstractItemModel *resourceModel)
{
    if (!resourceModel)
        return;
    m_resourceModel = resourceModel;
    RyFilterDialogProxyModel *previousProxy = m_proxy;
    m_proxy = new RyFilterDialogProxyModel(this);
    m_proxy->setSourceModel(resourceModel);
    m_tableView->setModel(m_proxy);
    delete previousProxy;

    if (m_sortFilterWidget) {
        m_header->setSortFilterWidget(nullptr);
        delete m_sortFilterWidget;
    }
    m_sortFilterWidget = new RySortFilterWidget(m_header, m_proxy, resourceModel, this);
    m_sortFilterWidget->hide();
    m_sortFilterWidget->setValueDelegate(m_valueDelegate);
    connect(m_header, &RySortFilterHeader::popUp, m_sortFilterWidget,
            &RySortFilterWidget::onAutoFilterPopUp);
    m_header->setSortFilterWidget(m_sortFilterWidget);
}
