#include "app/p6confignode.h"

P6ConfigNode::Pointer P6ConfigNode::child(const QString &childName) const
{
    for (const Pointer &node : children) {
        if (node->name == childName)
            return node;
    }
    return Pointer();
}

P6ConfigNode::Pointer P6ConfigNode::find(const QStringList &path) const
{
    Pointer node;
    const P6ConfigNode *at = this;
    for (const QString &step : path) {
        node = at->child(step);
        if (!node)
            return Pointer();
        at = node.data();
    }
    return node;
}

namespace {

enum State {
    Start = 0,
    AfterOpen = 1,
    AfterChild = 2,
    ChildrenOpened = 4,
    NodeEnding = 5,
    AfterId = 6,
    Name = 7,
    AttributesOpened = 8,
    AttributesClosed = 9,
    AfterKey = 10,
    AfterValue = 11,
    Done = 12, // the first node is closed; only plain text may follow
};

// The grammar's state machine. Text between two delimiters is cut out only where a state keeps
// it, so the work stays linear in the length of the text.
class ViewDataParser
{
public:
    explicit ViewDataParser(const QString &text)
        : m_text(text)
    {
    }

    P6ConfigNode::Pointer run()
    {
        for (int i = 0; i < m_text.size(); ++i) {
            const QChar c = m_text.at(i);
            if (c != QLatin1Char('(') && c != QLatin1Char('|') && c != QLatin1Char(')'))
                continue;
            if (!step(c.toLatin1(), i))
                return P6ConfigNode::Pointer::create();
            m_start = i + 1;
        }
        return m_state == Done ? m_top : P6ConfigNode::Pointer::create();
    }

private:
    QString token(int end) const { return m_text.mid(m_start, end - m_start); }

    bool openNode()
    {
        if (m_depth >= P6ConfigNode::MaxDepth)
            return false;
        auto node = P6ConfigNode::Pointer::create();
        if (m_parent) {
            node->parent = m_parent;
            m_parent->children.append(node);
        } else {
            m_top = node;
        }
        m_current = node;
        ++m_depth;
        m_state = AfterOpen;
        return true;
    }

    bool step(char delimiter, int at)
    {
        switch (m_state) {
        case Start:
            return delimiter == '(' && openNode();
        case AfterOpen:
            if (delimiter != '|')
                return false;
            // Like the files' own readers, an id that is no number reads as 0.
            m_current->id = token(at).trimmed().toLongLong();
            m_state = AfterId;
            return true;
        case AfterId:
            m_state = Name;
            return delimiter == '|';
        case Name:
            if (delimiter != '(')
                return false;
            m_current->name = token(at);
            m_state = AttributesOpened;
            return true;
        case AttributesOpened:
        case AfterValue:
            if (delimiter == ')' && m_state == AttributesOpened) {
                m_state = AttributesClosed;
                return true;
            }
            if (delimiter != '|')
                return false;
            m_key = token(at);
            m_state = AfterKey;
            return true;
        case AfterKey:
            if (delimiter == '(')
                return false;
            m_current->attributes.insert(m_key, token(at));
            m_state = delimiter == '|' ? AfterValue : AttributesClosed;
            return true;
        case AttributesClosed:
            if (delimiter != '(')
                return false;
            m_parent = m_current;
            m_state = ChildrenOpened;
            return true;
        case ChildrenOpened:
        case AfterChild:
            if (delimiter == '(')
                return openNode();
            if (delimiter != ')')
                return false;
            m_current = m_parent;
            m_parent = m_current->parent.toStrongRef();
            m_state = NodeEnding;
            return true;
        case NodeEnding:
            if (delimiter != ')')
                return false;
            --m_depth;
            m_state = m_depth == 0 ? Done : AfterChild;
            return true;
        default:
            return false;
        }
    }

    const QString &m_text;
    int m_state = Start;
    int m_start = 0;
    int m_depth = 0;
    QString m_key;
    P6ConfigNode::Pointer m_top;
    P6ConfigNode::Pointer m_current;
    P6ConfigNode::Pointer m_parent;
};

} // namespace

P6ConfigNode::Pointer parseP6ViewData(const QString &text)
{
    return ViewDataParser(text).run();
}
