// "Bar Styles": edits copies of the Gantt chart's bar styles (Bars tab), the labels around the
// bars (Text tab), the chart switches and the timeline's label formats (Layout tab). Nothing
// reaches the chart until its owner reads the results after OK.
#pragma once

#include "gantt/ryganttviewbarstyle.h"

#include <QDialog>
#include <QMap>

class QCheckBox;
class QComboBox;
class QModelIndex;
class QTabWidget;
class QTableView;
class RyBarShapeCombo;
class RyColorCombo;
class RyEndPointCombo;
class RyGanttChartStylesDialogDelegate;
class RyGanttChartStylesDialogModel;

class RyGanttChartStylesDialog : public QDialog
{
    Q_OBJECT
public:
    // `dateColumnNames`: the activity columns of type date, offered for Start and Finish date.
    explicit RyGanttChartStylesDialog(const QStringList &dateColumnNames,
                                      QWidget *parent = nullptr);

    void setStyles(const QList<RyGanttViewBarStyle> &styles);
    QList<RyGanttViewBarStyle> styles() const;
    // The activity column names offered for the five label positions.
    void setColumnNames(const QStringList &names);
    // Time unit (Ry::Year ... Ry::Day) -> label format index of the timeline header.
    void setDateFormats(const QMap<int, int> &formats);
    QMap<int, int> dateFormats() const;

    void setShowLinks(bool show);
    bool showLinks() const;
    void setShowVerticalLines(bool show);
    bool showVerticalLines() const;
    void setAlternatingRowColors(bool on);
    bool alternatingRowColors() const;

    RyGanttChartStylesDialogModel *model() const { return m_model; }
    QTableView *table() const { return m_table; }
    RyColorCombo *startColorCombo() const { return m_startColor; }
    RyEndPointCombo *startShapeCombo() const { return m_startShape; }
    RyColorCombo *barColorCombo() const { return m_barColor; }
    RyBarShapeCombo *barShapeCombo() const { return m_barShape; }
    RyColorCombo *endColorCombo() const { return m_endColor; }
    RyEndPointCombo *endShapeCombo() const { return m_endShape; }
    // The label combo of a position (RyGanttViewBarStyle::TextPosition); null for others.
    QComboBox *positionCombo(int position) const;
    // The format combo of a time unit; null for others.
    QComboBox *dateFormatCombo(int unit) const;

public slots:
    void rowChanged();
    void startPointChanged();
    void bodyChanged();
    void endPointChanged();
    void textChanged();
    void onDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);

private:
    QWidget *createBarsTab();
    QWidget *createTextTab();
    QWidget *createLayoutTab();
    int currentRow() const;
    void storeStyle(const RyGanttViewBarStyle &style);

    RyGanttChartStylesDialogModel *m_model = nullptr;
    RyGanttChartStylesDialogDelegate *m_delegate = nullptr;
    QTableView *m_table = nullptr;
    RyColorCombo *m_startColor = nullptr;
    RyEndPointCombo *m_startShape = nullptr;
    RyColorCombo *m_barColor = nullptr;
    RyBarShapeCombo *m_barShape = nullptr;
    RyColorCombo *m_endColor = nullptr;
    RyEndPointCombo *m_endShape = nullptr;
    QMap<int, QComboBox *> m_positionCombos;
    QMap<int, QComboBox *> m_formatCombos;
    QCheckBox *m_showLinks = nullptr;
    QCheckBox *m_showVerticalLines = nullptr;
    QCheckBox *m_alternatingRows = nullptr;

    // The record as loaded into the editors, and what the editors showed for it. An editor
    // that still shows its loaded choice hands back the record's own value, so that shapes
    // and geometries the pickers cannot show survive edits of the other fields.
    RyGanttViewBarStyle m_loaded;
    int m_loadedStartShape = 0;
    int m_loadedBody = 0;
    int m_loadedEndShape = 0;
};
