// A layout as a compact JSON document: the activity view's columns, sort, filters, grouping,
// outline, chart state and bar styles. Reads the document from the view and applies one to it;
// also turns imported P6 layouts into documents. Holds no state of its own.
#pragma once

#include "app/p6layoutimporter.h"

#include <QList>
#include <QString>
#include <QVariantMap>

class Activities;
class ViewCommands;

class LayoutDocument
{
public:
    LayoutDocument(Activities *activities, ViewCommands *commands);

    QString document() const;
    // False, with the view left as it was, when the document is not a JSON object.
    bool apply(const QString &document) const;

    // The template document with the P6 layout's columns, groups and sorts in place of its own.
    static QString fromP6Layout(const QString &templateDocument, const P6Layout &layout);
    // The layouts of views {"VIEW_ID", "VIEW_NAME", "VIEW_DATA"} that give one; Ok when any
    // does, else the status of the last view.
    static P6LayoutImporter::Status importViews(const QList<QVariantMap> &views,
                                                QList<P6Layout> *layouts);

private:
    Activities *m_activities;
    ViewCommands *m_commands;
};
