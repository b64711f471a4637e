// The "Schedule Check" window: the fourteen checks of the open project, one row each, with
// export of the table to CSV and printing it through the print preview. Choosing a row asks
// for that check's activities (checkChosen). A non-modal tool window of the main window; it
// owns its model and widgets.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeView;
class RyScheduleCheck;
class RyScheduleCheckModel;

class ScheduleCheckWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ScheduleCheckWindow(QWidget *parent = nullptr);

    void setCheck(const RyScheduleCheck &check);
    QTreeView *table() const { return m_table; }
    RyScheduleCheckModel *model() const { return m_model; }
    QPushButton *exportButton() const { return m_export; }
    QPushButton *printButton() const { return m_print; }

    // Writes the table as the activity export does; false, with the reason, when it cannot.
    bool exportTo(const QString &path, QString *error) const;

signals:
    // A row was chosen: the check with that number.
    void checkChosen(int number);

private:
    void chooseExportFile();
    void print();
    void fitRows();

    RyScheduleCheckModel *m_model;
    QTreeView *m_table;
    QLabel *m_summary;
    QPushButton *m_export;
    QPushButton *m_print;
};
