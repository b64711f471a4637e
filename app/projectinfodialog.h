// File > Project Information: the project's own properties, its file and the size of what was
// read, as read-only selectable text. Reads the loader's project and tables when built.
#pragma once

#include <QDialog>
#include <QPair>
#include <QString>
#include <QVector>

class MPPLoader;

class ProjectInfoDialog : public QDialog
{
    Q_OBJECT

public:
    ProjectInfoDialog(const MPPLoader &loader, QWidget *parent = nullptr);

    // The label and text of each line shown, in order; a text is empty where the file gives
    // no value.
    static QVector<QPair<QString, QString>> lines(const MPPLoader &loader);
};
