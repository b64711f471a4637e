// The find bar of the activity view: a text field that finds activities by Activity ID or
// Activity Name and makes the match current in both table and chart, expanding collapsed
// branches on the way. A tool bar so that the main window can place it under its own. The
// activity view is not owned.
#pragma once

#include <QPointer>
#include <QToolBar>

class Activities;
class QLabel;
class QLineEdit;
class RyActivityFinder;

class RyFindBar : public QToolBar
{
    Q_OBJECT
public:
    static const QString NoMatchText;

    explicit RyFindBar(Activities *activities, QWidget *parent = nullptr);

    QLineEdit *lineEdit() const { return m_edit; }
    QLabel *statusLabel() const { return m_status; }
    RyActivityFinder *finder() const { return m_finder; }

public slots:
    // Shows the bar with the text selected and focused.
    void activate();
    void findNext();
    void findPrevious();
    void close();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onTextEdited(const QString &text);
    void prepareFinder();
    void reveal(const QModelIndex &index);
    void showResult(const QModelIndex &found);
    QModelIndex currentRow() const;
    bool isActivityRow(const QModelIndex &index) const;

    QPointer<Activities> m_activities;
    RyActivityFinder *m_finder = nullptr;
    QLineEdit *m_edit = nullptr;
    QLabel *m_status = nullptr;
};
