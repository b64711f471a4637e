#include "app/csvexport.h"

#include "models/rymodellookup.h"
#include "models/ryvaluetext.h"
#include "views/ryheaderstate.h"

#include <QDir>
#include <QHeaderView>
#include <QSaveFile>
#include <QStack>
#include <QTextStream>
#include <QTreeView>

#include <algorithm>

namespace {

const QChar Separator = QLatin1Char(';');

// Logical indexes of the shown columns, in visual order.
QVector<int> shownColumns(const QHeaderView *header)
{
    QVector<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            columns.append(logical);
    }
    return columns;
}

struct RowWriter
{
    const QAbstractItemModel *model;
    QVector<int> columns;
    int treeColumn;
    int groupColumn;

    // Group rows show their group label in the tree column, indented like the table.
    QString line(const QModelIndex &index, int depth) const
    {
        QStringList fields;
        fields.reserve(columns.size());
        for (int column : columns) {
            // The cell's own column description decides its text ("45%", two decimals).
            const QModelIndex cell = index.sibling(index.row(), column);
            if (column != treeColumn) {
                fields.append(CsvExport::field(RyValueText::displayText(cell)));
                continue;
            }
            QString text = RyValueText::displayText(cell);
            if (groupColumn >= 0) {
                const QVariant group = index.sibling(index.row(), groupColumn).data();
                if (!group.isNull())
                    text = RyValueText::displayText(group);
            }
            fields.append(CsvExport::field(QString(depth, QLatin1Char(' ')) + text));
        }
        return fields.join(Separator) + QLatin1Char('\n');
    }

    // Depth first, with a stack instead of recursion: outlines can be deep.
    void write(QTextStream &out, const QModelIndex &parent) const
    {
        const int baseDepth = RyModelLookup::indexDepth(parent) + (parent.isValid() ? 1 : 0);
        QStack<QPair<QModelIndex, int>> stack;
        stack.push({ parent, 0 });
        while (!stack.isEmpty()) {
            auto &top = stack.top();
            if (top.second >= model->rowCount(top.first)) {
                stack.pop();
                continue;
            }
            const QModelIndex index = model->index(top.second++, 0, top.first);
            out << line(index, baseDepth + stack.size() - 1);
            if (model->hasChildren(index))
                stack.push({ index, 0 });
        }
    }
};

RowWriter rowWriter(const QTreeView *treeView)
{
    const QAbstractItemModel *model = treeView->model();
    const QHeaderView *header = treeView->header();
    // -1 puts the tree into the first shown position.
    const int treeColumn
        = treeView->treePosition() >= 0 ? treeView->treePosition() : header->logicalIndex(0);
    return { model, shownColumns(header), treeColumn,
             RyModelLookup::findColumn(model, QStringLiteral("Group")) };
}

} // namespace

QString CsvExport::field(const QString &text)
{
    static const QString special = QStringLiteral(";\"\r\n");
    const bool quoted
        = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return special.contains(c); });
    if (!quoted)
        return text;
    QString inner = text;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString CsvExport::headerText(const QTreeView *treeView)
{
    QStringList fields;
    for (const QString &text : RyHeaderState::visibleHeaderTexts(treeView->header()))
        fields.append(field(text));
    return fields.join(Separator);
}

QString CsvExport::rowsText(const QTreeView *treeView, const QModelIndex &parent)
{
    QString text;
    if (!treeView->model())
        return text;
    QTextStream out(&text);
    rowWriter(treeView).write(out, parent);
    out.flush();
    return text;
}

bool CsvExport::exportTree(const QTreeView *treeView, const QString &path, QString *error)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1 cannot be written: %2").arg(shownPath, file.errorString());
        return false;
    }
    QTextStream out(&file);
    // The same bytes whatever the system's encoding; no byte-order mark.
    out.setCodec("UTF-8");
    out.setGenerateByteOrderMark(false);
    out << headerText(treeView) << QLatin1Char('\n');
    if (treeView->model())
        rowWriter(treeView).write(out, QModelIndex());
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1 cannot be written: %2").arg(shownPath, file.errorString());
        return false;
    }
    return true;
}
