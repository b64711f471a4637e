// Help > Open Sample Schedule: the small building project compiled into the program, for a
// first look without a schedule at hand. The reader opens files by path, so the sample is
// copied to the cache folder first (where it also stays valid in the recent files); the
// window title then says it is the sample. A child of the window it opens the sample in.
#pragma once

#include <QObject>
#include <QString>

class MainWindow;
class QAction;

class SampleSchedule : public QObject
{
    Q_OBJECT
public:
    // `action` opens the sample in `window`.
    SampleSchedule(QAction *action, MainWindow *window);

    static const QString ResourcePath;
    static const QString WindowTitle;

    // The sample as a file, written again when missing or out of date; empty on failure.
    static QString extract();

public slots:
    void open();

private:
    MainWindow *m_window;
};
