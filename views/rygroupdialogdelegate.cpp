#include "views/rygroupdialogdelegate.h"

#include "gantt/rystylecombo.h"
#include "views/rygroupdialog.h"

#include <QBrush>
#include <QComboBox>

RyGroupDialogDelegate::RyGroupDialogDelegate(const RyGroupDialog *dialog, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_dialog(dialog)
{
}

QStringList RyGroupDialogDelegate::structureRules()
{
    QStringList rules { QStringLiteral("All") };
    for (int level = 1; level <= 10; ++level)
        rules.append(QStringLiteral("To level %1").arg(level));
    return rules;
}

QWidget *RyGroupDialogDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                             const QModelIndex &index) const
{
    switch (index.column()) {
    case RyGroupDialog::GroupByColumn: {
        auto *combo = new QComboBox(parent);
        combo->addItem(QString());
        combo->addItems(m_dialog->columnNames());
        return combo;
    }
    case RyGroupDialog::RuleColumn: {
        const QString column
            = index.sibling(index.row(), RyGroupDialog::GroupByColumn).data().toString();
        const QStringList options = m_dialog->ruleOptions(column);
        if (options.isEmpty())
            return nullptr;
        auto *combo = new QComboBox(parent);
        combo->addItems(options);
        return combo;
    }
    case RyGroupDialog::FormatColumn: {
        auto *combo = new RyStyleCombo(parent);
        connect(combo, &RyStyleCombo::accepted, this, &RyGroupDialogDelegate::closeAndCommitEditor);
        return combo;
    }
    default:
        return nullptr;
    }
}

void RyGroupDialogDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setCurrentIndex(qMax(0, combo->findText(index.data(Qt::EditRole).toString())));
    } else if (auto *style = qobject_cast<RyStyleCombo *>(editor)) {
        style->setStyleFont(index.data(Qt::FontRole).value<QFont>());
        style->setTextColor(index.data(Qt::ForegroundRole).value<QColor>());
        const QBrush background = index.data(Qt::BackgroundRole).value<QBrush>();
        style->setBackgroundColor(background.style() == Qt::NoBrush ? QColor()
                                                                    : background.color());
    }
}

void RyGroupDialogDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                         const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        const QString text = combo->currentText();
        const bool changed = index.data(Qt::EditRole).toString() != text;
        model->setData(index, text, Qt::EditRole);
        if (index.column() == RyGroupDialog::GroupByColumn && changed) {
            const QModelIndex rule = index.sibling(index.row(), RyGroupDialog::RuleColumn);
            model->setData(rule, m_dialog->isStructured(text) ? QStringLiteral("All") : QString(),
                           Qt::EditRole);
        }
    } else if (auto *style = qobject_cast<RyStyleCombo *>(editor)) {
        // "No Color" takes the background away; otherwise a coloured level could not go back.
        const QColor background = style->backgroundColor();
        model->setData(index, background.isValid() ? QVariant(QBrush(background)) : QVariant(),
                       Qt::BackgroundRole);
        model->setData(index, style->styleFont(), Qt::FontRole);
        const QColor text = style->textColor();
        model->setData(index, text.isValid() ? text : QColor(Qt::black), Qt::ForegroundRole);
        model->setData(index, style->styleFont().family(), Qt::DisplayRole);
    }
}

void RyGroupDialogDelegate::closeAndCommitEditor()
{
    auto *editor = qobject_cast<QWidget *>(sender());
    if (!editor)
        return;
    emit commitData(editor);
    emit closeEditor(editor);
}
