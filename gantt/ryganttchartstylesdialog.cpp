#include "gantt/ryganttchartstylesdialog.h"

#include "gantt/rybarshapecombo.h"
#include "gantt/rybarshapewidget.h"
#include "gantt/rycolorcombo.h"
#include "gantt/ryendpointcombo.h"
#include "gantt/ryendpointwidget.h"
#include "gantt/ryganttchartstylesdialogdelegate.h"
#include "gantt/ryganttchartstylesdialogmodel.h"
#include "gantt/rytimescale.h"
#include "models/ryconstants.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using Position = RyGanttViewBarStyle::TextPosition;

struct PositionEntry
{
    int position;
    const char *placeholder;
};

// In the order the Text tab lists them.
const PositionEntry Positions[] = {
    { Position::Left, "[Left]" },     { Position::Right, "[Right]" },
    { Position::Inside, "[Inside]" }, { Position::Top, "[Top]" },
    { Position::Bottom, "[Bottom]" },
};

QGroupBox *pointBox(const QString &title, RyColorCombo *color, QWidget *shape, QWidget *parent,
                    const QString &colorLabel)
{
    auto *box = new QGroupBox(title, parent);
    auto *form = new QFormLayout(box);
    form->addRow(colorLabel, color);
    form->addRow(QStringLiteral("Shape:"), shape);
    return box;
}

} // namespace

RyGanttChartStylesDialog::RyGanttChartStylesDialog(const QStringList &dateColumnNames,
                                                   QWidget *parent)
    : QDialog(parent)
    , m_model(new RyGanttChartStylesDialogModel(this))
    , m_delegate(new RyGanttChartStylesDialogDelegate(dateColumnNames, this))
{
    setWindowTitle(QStringLiteral("Bar Styles"));
    auto *layout = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabWidget"));
    tabs->addTab(createBarsTab(), QStringLiteral("Bars"));
    tabs->addTab(createTextTab(), QStringLiteral("Text"));
    tabs->addTab(createLayoutTab(), QStringLiteral("Layout"));
    layout->addWidget(tabs);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &RyGanttChartStylesDialog::rowChanged);
    connect(m_startColor, &RyColorCombo::colorChanged, this,
            &RyGanttChartStylesDialog::startPointChanged);
    connect(m_startShape, &RyEndPointCombo::endpointChanged, this,
            &RyGanttChartStylesDialog::startPointChanged);
    connect(m_barColor, &RyColorCombo::colorChanged, this, &RyGanttChartStylesDialog::bodyChanged);
    connect(m_barShape, &RyBarShapeCombo::shapeChanged, this,
            &RyGanttChartStylesDialog::bodyChanged);
    connect(m_endColor, &RyColorCombo::colorChanged, this,
            &RyGanttChartStylesDialog::endPointChanged);
    connect(m_endShape, &RyEndPointCombo::endpointChanged, this,
            &RyGanttChartStylesDialog::endPointChanged);
    for (QComboBox *combo : qAsConst(m_positionCombos))
        connect(combo, &QComboBox::currentTextChanged, this,
                &RyGanttChartStylesDialog::textChanged);
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            &RyGanttChartStylesDialog::onDataChanged);
    resize(760, 460);
}

QWidget *RyGanttChartStylesDialog::createBarsTab()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_table = new QTableView(page);
    m_table->setObjectName(QStringLiteral("stylesTable"));
    m_table->setModel(m_model);
    m_table->setItemDelegate(m_delegate);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setColumnWidth(RyGanttChartStylesDialogModel::ShowColumn, 44);
    m_table->setColumnWidth(RyGanttChartStylesDialogModel::NameColumn, 130);
    m_table->setColumnWidth(RyGanttChartStylesDialogModel::StartColumn, 110);
    m_table->setColumnWidth(RyGanttChartStylesDialogModel::FinishColumn, 110);
    layout->addWidget(m_table);

    m_startColor = new RyColorCombo(page);
    m_startShape = new RyEndPointCombo(page);
    m_barColor = new RyColorCombo(page);
    m_barShape = new RyBarShapeCombo(page);
    m_endColor = new RyColorCombo(page);
    m_endShape = new RyEndPointCombo(page);
    auto *editors = new QHBoxLayout;
    editors->addWidget(pointBox(QStringLiteral("Start Point"), m_startColor, m_startShape, page,
                                QStringLiteral("Color")));
    editors->addWidget(
        pointBox(QStringLiteral("Bar"), m_barColor, m_barShape, page, QStringLiteral("Color:")));
    editors->addWidget(pointBox(QStringLiteral("End Point"), m_endColor, m_endShape, page,
                                QStringLiteral("Color")));
    layout->addLayout(editors);
    return page;
}

QWidget *RyGanttChartStylesDialog::createTextTab()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    for (const PositionEntry &entry : Positions) {
        auto *combo = new QComboBox(page);
        combo->addItem(QString::fromLatin1(entry.placeholder));
        m_positionCombos.insert(entry.position, combo);
        form->addRow(combo);
    }
    return page;
}

QWidget *RyGanttChartStylesDialog::createLayoutTab()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_showLinks = new QCheckBox(QStringLiteral("Show Links"), page);
    m_showVerticalLines = new QCheckBox(QStringLiteral("Show Vertical Lines"), page);
    m_alternatingRows = new QCheckBox(QStringLiteral("Show Alternating Row Colors"), page);
    for (QCheckBox *box : { m_showLinks, m_showVerticalLines, m_alternatingRows })
        layout->addWidget(box);
    auto *formats = new QGroupBox(QStringLiteral("Date formats"), page);
    auto *form = new QFormLayout(formats);
    for (const RyTimeScale::TierFormats &tier : RyTimeScale::labelFormats()) {
        auto *combo = new QComboBox(formats);
        for (const RyTimeScale::LabelFormat &format : tier.formats)
            combo->addItem(QString::fromLatin1(format.sample));
        m_formatCombos.insert(tier.unit, combo);
        form->addRow(QString::fromLatin1(tier.name), combo);
    }
    layout->addWidget(formats);
    layout->addStretch();
    return page;
}

void RyGanttChartStylesDialog::setStyles(const QList<RyGanttViewBarStyle> &styles)
{
    m_model->setStyles(styles);
    if (m_model->rowCount() > 0)
        m_table->setCurrentIndex(m_model->index(0, RyGanttChartStylesDialogModel::NameColumn));
    rowChanged();
}

QList<RyGanttViewBarStyle> RyGanttChartStylesDialog::styles() const
{
    return m_model->styles();
}

void RyGanttChartStylesDialog::setColumnNames(const QStringList &names)
{
    for (QComboBox *combo : qAsConst(m_positionCombos)) {
        const QSignalBlocker blocker(combo);
        const QString placeholder = combo->itemText(0);
        combo->clear();
        combo->addItem(placeholder);
        combo->addItems(names);
    }
    rowChanged();
}

void RyGanttChartStylesDialog::setDateFormats(const QMap<int, int> &formats)
{
    for (auto it = m_formatCombos.cbegin(); it != m_formatCombos.cend(); ++it) {
        // A format the header does not know shows as the nearest one it does.
        const int format = formats.value(it.key(), 0);
        it.value()->setCurrentIndex(qBound(0, format, it.value()->count() - 1));
    }
}

QMap<int, int> RyGanttChartStylesDialog::dateFormats() const
{
    QMap<int, int> formats;
    for (auto it = m_formatCombos.cbegin(); it != m_formatCombos.cend(); ++it)
        formats.insert(it.key(), it.value()->currentIndex());
    return formats;
}

void RyGanttChartStylesDialog::setShowLinks(bool show)
{
    m_showLinks->setChecked(show);
}

bool RyGanttChartStylesDialog::showLinks() const
{
    return m_showLinks->isChecked();
}

void RyGanttChartStylesDialog::setShowVerticalLines(bool show)
{
    m_showVerticalLines->setChecked(show);
}

bool RyGanttChartStylesDialog::showVerticalLines() const
{
    return m_showVerticalLines->isChecked();
}

void RyGanttChartStylesDialog::setAlternatingRowColors(bool on)
{
    m_alternatingRows->setChecked(on);
}

bool RyGanttChartStylesDialog::alternatingRowColors() const
{
    return m_alternatingRows->isChecked();
}

QComboBox *RyGanttChartStylesDialog::positionCombo(int position) const
{
    return m_positionCombos.value(position);
}

QComboBox *RyGanttChartStylesDialog::dateFormatCombo(int unit) const
{
    return m_formatCombos.value(unit);
}

int RyGanttChartStylesDialog::currentRow() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void RyGanttChartStylesDialog::storeStyle(const RyGanttViewBarStyle &style)
{
    const int row = currentRow();
    if (row >= 0)
        m_model->setStyle(row, style);
}

void RyGanttChartStylesDialog::rowChanged()
{
    const int row = currentRow();
    if (row < 0)
        return;
    m_loaded = m_model->style(row);
    m_loadedStartShape = RyEndPointWidget::indexOf(m_loaded.startPointShape);
    m_loadedBody = RyBarShapeWidget::indexOf(m_loaded.bodyShapeHeight, m_loaded.bodyShapeOffset);
    m_loadedEndShape = RyEndPointWidget::indexOf(m_loaded.endPointShape);

    m_startColor->setColor(m_loaded.startPointColor);
    m_startShape->setColor(m_loaded.startPointColor);
    m_startShape->setCurrentIndex(m_loadedStartShape);
    m_barColor->setColor(m_loaded.bodyColor);
    m_barShape->setColor(m_loaded.bodyColor);
    m_barShape->setCurrentIndex(m_loadedBody);
    m_endColor->setColor(m_loaded.endPointColor);
    m_endShape->setColor(m_loaded.endPointColor);
    m_endShape->setCurrentIndex(m_loadedEndShape);

    for (auto it = m_positionCombos.cbegin(); it != m_positionCombos.cend(); ++it) {
        const QSignalBlocker blocker(it.value());
        const QString column = m_loaded.displayColumns.value(it.key());
        // A column the list lacks leaves the placeholder shown; the label itself is kept.
        const int index = column.isEmpty() ? 0 : it.value()->findText(column, Qt::MatchExactly);
        it.value()->setCurrentIndex(qMax(0, index));
    }
}

void RyGanttChartStylesDialog::startPointChanged()
{
    RyGanttViewBarStyle style = m_model->style(currentRow());
    style.startPointColor = m_startColor->color();
    style.startPointShape = m_startShape->currentIndex() == m_loadedStartShape
        ? m_loaded.startPointShape
        : m_startShape->currentShapeName();
    m_startShape->setColor(style.startPointColor);
    storeStyle(style);
}

void RyGanttChartStylesDialog::bodyChanged()
{
    RyGanttViewBarStyle style = m_model->style(currentRow());
    style.bodyColor = m_barColor->color();
    if (m_barShape->currentIndex() == m_loadedBody) {
        style.bodyShapeHeight = m_loaded.bodyShapeHeight;
        style.bodyShapeOffset = m_loaded.bodyShapeOffset;
    } else if (m_barShape->bodyHeight() <= 0) {
        // The offset also places the end markers: taking the body away leaves them in place.
        style.bodyShapeHeight = 0;
        style.bodyShapeOffset = m_loaded.bodyShapeOffset;
    } else {
        style.bodyShapeHeight = m_barShape->bodyHeight();
        style.bodyShapeOffset = m_barShape->bodyOffset();
    }
    m_barShape->setColor(style.bodyColor);
    storeStyle(style);
}

void RyGanttChartStylesDialog::endPointChanged()
{
    RyGanttViewBarStyle style = m_model->style(currentRow());
    style.endPointColor = m_endColor->color();
    style.endPointShape = m_endShape->currentIndex() == m_loadedEndShape
        ? m_loaded.endPointShape
        : m_endShape->currentShapeName();
    m_endShape->setColor(style.endPointColor);
    storeStyle(style);
}

void RyGanttChartStylesDialog::textChanged()
{
    if (currentRow() < 0)
        return;
    RyGanttViewBarStyle style = m_model->style(currentRow());
    // Only the combo the user changed speaks: the others may stand on their placeholder for a
    // label whose column they do not list.
    const QObject *changed = sender();
    for (auto it = m_positionCombos.cbegin(); it != m_positionCombos.cend(); ++it) {
        if (changed && changed != it.value())
            continue;
        const QString text = it.value()->currentText();
        if (text.startsWith(QLatin1Char('[')))
            style.displayColumns.remove(it.key());
        else
            style.displayColumns.insert(it.key(), text);
    }
    storeStyle(style);
}

void RyGanttChartStylesDialog::onDataChanged(const QModelIndex &topLeft,
                                             const QModelIndex &bottomRight)
{
    if (topLeft.column() > RyGanttChartStylesDialogModel::ShowColumn)
        return;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        RyGanttViewBarStyle style = m_model->style(row);
        if (style.visible == m_model->isShown(row))
            continue;
        style.visible = m_model->isShown(row);
        m_model->setStyle(row, style);
    }
}
