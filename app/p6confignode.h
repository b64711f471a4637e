// The tree of a Primavera P6 view definition, as held in a layout file (.plf). Nodes are shared
// between their parent and whoever walks the tree; a node's parent link does not own.
#pragma once

#include <QHash>
#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QWeakPointer>

class P6ConfigNode
{
public:
    using Pointer = QSharedPointer<P6ConfigNode>;

    // Deeper trees are refused: no real view nests that far, and the limit keeps damaged or
    // hostile files from exhausting the stack of whoever walks the tree.
    static constexpr int MaxDepth = 256;

    QWeakPointer<P6ConfigNode> parent;
    QList<Pointer> children;
    QString name;
    qint64 id = 0;
    QHash<QString, QString> attributes;

    bool isEmpty() const { return name.isEmpty() && children.isEmpty() && attributes.isEmpty(); }
    // First child with this name; null when there is none.
    Pointer child(const QString &childName) const;
    // Follows child names from this node; null when a step is missing.
    Pointer find(const QStringList &path) const;
};

// Parses view data text: each node is "(id||name(key|value|...)(children))". Returns the first
// node of the text; an empty node when the text is malformed, truncated, has anything but plain
// text after its first node, or nests deeper than P6ConfigNode::MaxDepth.
P6ConfigNode::Pointer parseP6ViewData(const QString &text);
