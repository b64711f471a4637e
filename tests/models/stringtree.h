// Trees written as short strings, as qtbase's proxy tests write them: "[1[1.1 1.2]2]" is the
// rows 1 and 2, the first with the children 1.1 and 1.2. A name may carry a value after "="
// ("a=5").
#pragma once

#include <QAbstractItemModel>
#include <QStandardItemModel>
#include <QString>
#include <QVector>

namespace StringTree {

struct Node
{
    QString name;
    QString parent; // empty for a top-level row
    QString value; // the text after "=", empty without one
};

// The rows of a tree string in pre-order, each with its parent's name.
inline QVector<Node> parse(const QString &text)
{
    QVector<Node> nodes;
    QStringList parents; // the open levels' parent names
    QString lastName;
    QString token;
    const auto flush = [&]() {
        if (token.isEmpty())
            return;
        const int equals = token.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? token : token.left(equals);
        const QString value = equals < 0 ? QString() : token.mid(equals + 1);
        nodes.append({ name, parents.isEmpty() ? QString() : parents.last(), value });
        lastName = name;
        token.clear();
    };
    int depth = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('[')) {
            flush();
            if (depth++ > 0)
                parents.append(lastName);
        } else if (c == QLatin1Char(']')) {
            flush();
            if (--depth > 0)
                parents.removeLast();
        } else if (c == QLatin1Char(' ')) {
            flush();
        } else {
            token += c;
        }
    }
    return nodes;
}

// The tree string of `model` below `parent`, names read from `column` of each row; rows with a
// value in `valueColumn` (when given) show it after "=".
inline QString write(const QAbstractItemModel *model, int column = 0, int valueColumn = -1,
                     const QModelIndex &parent = QModelIndex())
{
    QStringList parts;
    const int rows = model->rowCount(parent);
    for (int r = 0; r < rows; ++r) {
        const QModelIndex item = model->index(r, 0, parent);
        QString part = model->index(r, column, parent).data().toString();
        if (valueColumn >= 0) {
            const QVariant value = model->index(r, valueColumn, parent).data();
            if (!value.isNull())
                part += QLatin1Char('=') + value.toString();
        }
        if (model->rowCount(item) > 0)
            part += write(model, column, valueColumn, item);
        parts << part;
    }
    QString text(QLatin1Char('['));
    for (int i = 0; i < parts.size(); ++i) {
        // A space between two names; none after a closing bracket, as the strings are written.
        if (i > 0 && !parts.at(i - 1).endsWith(QLatin1Char(']')))
            text += QLatin1Char(' ');
        text += parts.at(i);
    }
    return text + QLatin1Char(']');
}

// The tree as a QStandardItemModel of (name, value) rows with their children; values as numbers.
inline void buildTree(QStandardItemModel *model, const QString &text)
{
    model->clear();
    model->setColumnCount(2);
    QHash<QString, QStandardItem *> byName;
    for (const Node &node : parse(text)) {
        auto *name = new QStandardItem(node.name);
        auto *value = new QStandardItem;
        if (!node.value.isEmpty())
            value->setData(node.value.toInt(), Qt::DisplayRole);
        QStandardItem *parent
            = node.parent.isEmpty() ? model->invisibleRootItem() : byName.value(node.parent);
        parent->appendRow({ name, value });
        byName.insert(node.name, name);
    }
}

// The tree as a flat QStandardItemModel of (id, parent id) rows in pre-order, the form the
// parent-item proxy turns back into a tree.
inline void buildFlat(QStandardItemModel *model, const QString &text)
{
    model->clear();
    model->setColumnCount(2);
    model->setHorizontalHeaderLabels({ "id", "parent" });
    for (const Node &node : parse(text)) {
        auto *parent = new QStandardItem;
        if (!node.parent.isEmpty())
            parent->setData(node.parent, Qt::DisplayRole);
        model->appendRow({ new QStandardItem(node.name), parent });
    }
}

} // namespace StringTree
