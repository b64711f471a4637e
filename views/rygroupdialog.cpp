#include "views/rygroupdialog.h"

#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "models/rystyletext.h"
#include "views/rygroupdialogdelegate.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

RyGroupDialog::RyGroupDialog(QWidget *parent)
    : QDialog(parent)
{
    createForm();
    m_delegate = new RyGroupDialogDelegate(this, this);
    m_table->setItemDelegate(m_delegate);
    setLevelStyles({});
    resize(500, 300);
}

void RyGroupDialog::createForm()
{
    setObjectName(QStringLiteral("RyGroupSortDialog"));
    resize(406, 328);
    setWindowTitle(QStringLiteral("Group"));
    m_gridLayout = new QGridLayout(this);
    m_gridLayout->setObjectName(QStringLiteral("gridLayout"));
    m_table = new QTableWidget(MaxRules, 3, this);
    m_table->setObjectName(QStringLiteral("table"));
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                             | QAbstractItemView::EditKeyPressed);
    m_table->setHorizontalHeaderLabels(
        { QStringLiteral("Group By"), QStringLiteral("Rule"), QStringLiteral("Format") });
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(GroupByColumn, 150);
    m_table->setColumnWidth(RuleColumn, 100);
    for (int row = 0; row < MaxRules; ++row) {
        for (int column = 0; column < 3; ++column)
            m_table->setItem(row, column, new QTableWidgetItem);
    }
    m_table->resizeRowsToContents();
    m_gridLayout->addWidget(m_table, 0, 0);
    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    m_buttonBox->setOrientation(Qt::Horizontal);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_gridLayout->addWidget(m_buttonBox, 1, 0);
}

void RyGroupDialog::setModel(QAbstractItemModel *model)
{
    if (model)
        m_model = model;
}

void RyGroupDialog::setLevelStyles(const QList<RyLevelStyle> &styles)
{
    m_levelStyles = styles;
    for (int row = 0; row < MaxRules; ++row) {
        const RyLevelStyle style
            = row < styles.size() ? styles.at(row) : RyLevelStyle::defaultStyle();
        setFormat(row, style.font, style.textColor, style.background);
    }
}

void RyGroupDialog::setFormat(int row, const QFont &font, const QColor &textColor,
                              const QBrush &background)
{
    QTableWidgetItem *format = m_table->item(row, FormatColumn);
    format->setData(Qt::FontRole, font);
    format->setData(Qt::ForegroundRole, textColor.isValid() ? textColor : QColor(Qt::black));
    format->setData(Qt::BackgroundRole,
                    background.style() == Qt::NoBrush ? QVariant() : QVariant(background));
    format->setText(font.family());
}

void RyGroupDialog::setStructured(int column)
{
    m_structured.insert(column);
}

void RyGroupDialog::setColumnHidden(int column, bool hide)
{
    if (hide && !m_hidden.contains(column))
        m_hidden.append(column);
    else if (!hide)
        m_hidden.removeAll(column);
}

void RyGroupDialog::setGroups(const QStringList &rules)
{
    for (int row = 0; row < MaxRules; ++row) {
        m_table->item(row, GroupByColumn)->setText(QString());
        m_table->item(row, RuleColumn)->setText(QString());
    }
    int row = 0;
    for (const QString &rule : rules) {
        if (row >= MaxRules)
            break;
        const QStringList fields = rule.split(QLatin1Char(';'));
        if (m_model && columnOf(fields.value(0)) < 0)
            continue;
        m_table->item(row, GroupByColumn)->setText(fields.value(0));
        m_table->item(row, RuleColumn)->setText(fields.value(1));
        if (fields.size() > 2) {
            const QBrush text = RyStyleText::colorFromText(fields.value(3));
            setFormat(row, RyStyleText::fontFromText(fields.value(2)),
                      text.style() == Qt::NoBrush ? QColor() : text.color(),
                      RyStyleText::colorFromText(fields.value(4)));
        }
        ++row;
    }
}

QStringList RyGroupDialog::groups() const
{
    QStringList rules;
    for (int row = 0; row < MaxRules; ++row) {
        const QString column = m_table->item(row, GroupByColumn)->text();
        if (column.isEmpty())
            continue;
        const QTableWidgetItem *format = m_table->item(row, FormatColumn);
        const QBrush background = format->data(Qt::BackgroundRole).value<QBrush>();
        // No background stays no background: a written colour would paint the row black.
        const QString backgroundText = background.style() == Qt::NoBrush
            ? QString()
            : RyStyleText::colorToText(background.color());
        rules.append(QStringList {
            column, m_table->item(row, RuleColumn)->text(),
            RyStyleText::fontToText(format->data(Qt::FontRole).value<QFont>()),
            RyStyleText::colorToText(format->data(Qt::ForegroundRole).value<QColor>()), backgroundText }
                         .join(QLatin1Char(';')));
    }
    return rules;
}

int RyGroupDialog::columnOf(const QString &name) const
{
    return name.isEmpty() ? -1 : RyModelLookup::findColumn(m_model, name);
}

QStringList RyGroupDialog::columnNames() const
{
    QStringList names;
    if (!m_model)
        return names;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (!m_hidden.contains(column))
            names.append(m_model->headerData(column, Qt::Horizontal).toString());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool RyGroupDialog::isDateColumn(int column) const
{
    const QVariantMap description
        = m_model->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
    if (description.value(QStringLiteral("datatype")).toString() == QLatin1String("datetime"))
        return true;
    if (m_model->rowCount() == 0)
        return false;
    const QVariant value = m_model->index(0, column).data();
    if (value.type() == QVariant::Date || value.type() == QVariant::DateTime)
        return true;
    return value.canConvert<QDate>() && value.toDate().isValid();
}

bool RyGroupDialog::isStructured(const QString &columnName) const
{
    return m_structured.contains(columnOf(columnName));
}

QStringList RyGroupDialog::ruleOptions(const QString &columnName) const
{
    const int column = columnOf(columnName);
    if (column < 0)
        return {};
    if (isDateColumn(column)) {
        return { QStringLiteral("No Rule"), QStringLiteral("Year"), QStringLiteral("Quarter"),
                 QStringLiteral("Month"),   QStringLiteral("Week"), QStringLiteral("Day") };
    }
    if (m_structured.contains(column))
        return RyGroupDialogDelegate::structureRules();
    return {};
}
