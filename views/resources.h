// The second page of the main window: a filterable, sortable table of all resource assignments.
// The resource model is the loader's and not owned; the filtering proxy and the sort/filter
// widget are owned and replaced with each model.
#pragma once

#include <QPointer>
#include <QWidget>

class QAbstractItemModel;
class QHBoxLayout;
class QTableView;
class RyDetailDelegate;
class RyFilterDialogProxyModel;
class RySortFilterHeader;
class RySortFilterWidget;

class Resources : public QWidget
{
    Q_OBJECT
public:
    explicit Resources(QWidget *parent = nullptr);
    ~Resources() override;

    // A null model does nothing.
    void setModel(QAbstractItemModel *resourceModel);
    // Sizes every column to its header text and cell texts, up to `maximum` pixels. While the
    // page is hidden the measure waits for it to be shown: it reads up to a thousand rows of
    // every column, and the same rows (the first ones) are measured then.
    void fitColumns(int maximum);

    QTableView *tableView() const { return m_tableView; }
    RySortFilterHeader *sortFilterHeader() const { return m_header; }
    RyFilterDialogProxyModel *filterProxy() const { return m_proxy; }
    QAbstractItemModel *sourceModel() const { return m_resourceModel; }
    RySortFilterWidget *sortFilterWidget() const { return m_sortFilterWidget; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fitColumnsNow(int maximum);

    QHBoxLayout *m_horizontalLayout = nullptr;
    QTableView *m_tableView = nullptr;
    RySortFilterHeader *m_header = nullptr;
    RyFilterDialogProxyModel *m_proxy = nullptr;
    RySortFilterWidget *m_sortFilterWidget = nullptr;
    QPointer<QAbstractItemModel> m_resourceModel;
    RyDetailDelegate *m_valueDelegate = nullptr;
    int m_pendingFit = 0; // the maximum of a fit that waits for the page to be shown, or 0
};
