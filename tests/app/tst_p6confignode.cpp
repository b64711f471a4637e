// The view data grammar of P6 layout files: every state of the parser, the edge cases of the
// format, malformed and truncated texts, and the nesting limit.
#include "app/p6confignode.h"

#include <QtTest>

namespace {

// "id:name{key=value,...}(children)", attributes in key order: compact enough for data rows.
QString dump(const P6ConfigNode &node)
{
    QStringList keys = node.attributes.keys();
    keys.sort();
    QStringList pairs;
    for (const QString &key : keys)
        pairs << key + QLatin1Char('=') + node.attributes.value(key);
    QStringList children;
    for (const P6ConfigNode::Pointer &child : node.children)
        children << dump(*child);
    return QStringLiteral("%1:%2{%3}(%4)")
        .arg(node.id)
        .arg(node.name, pairs.join(QLatin1Char(',')), children.join(QLatin1Char(',')));
}

QString nested(int depth)
{
    return QStringLiteral("(0||N()(").repeated(depth) + QStringLiteral("))").repeated(depth);
}

} // namespace

class TestP6ConfigNode : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parentLinks();
    void nestingLimit_data();
    void nestingLimit();
    void find();
};

void TestP6ConfigNode::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tree"); // empty: the parse fails

    QTest::newRow("bare node") << QStringLiteral("(0||TaskView()())")
                               << QStringLiteral("0:TaskView{}()");
    QTest::newRow("empty name, empty key and value")
        << QStringLiteral("(0||(|)())") << QStringLiteral("0:{=}()");
    QTest::newRow("attributes") << QStringLiteral("(7||A(k|v|k2|v2)())")
                                << QStringLiteral("7:A{k=v,k2=v2}()");
    QTest::newRow("empty value") << QStringLiteral("(1||A(k||k2|v2)())")
                                 << QStringLiteral("1:A{k=,k2=v2}()");
    QTest::newRow("key without value is dropped")
        << QStringLiteral("(0||A(k)())") << QStringLiteral("0:A{}()");
    QTest::newRow("children and grandchildren")
        << QStringLiteral("(0||A()((1||B(x|1)((3||D()())))(2||C()())))")
        << QStringLiteral("0:A{}(1:B{x=1}(3:D{}()),2:C{}())");
    QTest::newRow("plain text around and between nodes")
        << QStringLiteral("VIEW_DATA= (0||A()(\n  (1||B()())\n  (2||C()())\n))\n")
        << QStringLiteral("0:A{}(1:B{}(),2:C{}())");
    QTest::newRow("id that is no number reads as 0")
        << QStringLiteral("(x||A()())") << QStringLiteral("0:A{}()");
    QTest::newRow("text between the bars is ignored")
        << QStringLiteral("(5|skip|A()())") << QStringLiteral("5:A{}()");
    QTest::newRow("spaces kept in names and values")
        << QStringLiteral("(0||My view(a b| c )())") << QStringLiteral("0:My view{a b= c }()");

    QTest::newRow("empty text") << QStringLiteral("") << QStringLiteral("");
    QTest::newRow("only plain text") << QStringLiteral("no layout here") << QStringLiteral("");
    QTest::newRow("state 0: bar first") << QStringLiteral("|0||A()())") << QStringLiteral("");
    QTest::newRow("state 0: close first") << QStringLiteral(")(0||A()())") << QStringLiteral("");
    QTest::newRow("state 1: open after open")
        << QStringLiteral("((0||A()())") << QStringLiteral("");
    QTest::newRow("state 6: one bar only") << QStringLiteral("(0|A()())") << QStringLiteral("");
    QTest::newRow("state 7: bar in the name")
        << QStringLiteral("(0||A|()())") << QStringLiteral("");
    QTest::newRow("state 8: open in attributes")
        << QStringLiteral("(0||A(()())") << QStringLiteral("");
    QTest::newRow("state 10: open after key")
        << QStringLiteral("(0||A(k|()())") << QStringLiteral("");
    QTest::newRow("state 11: bar before close")
        << QStringLiteral("(0||A(k|v|)())") << QStringLiteral("");
    QTest::newRow("state 11: open after value")
        << QStringLiteral("(0||A(k|v()())") << QStringLiteral("");
    QTest::newRow("state 9: no children list") << QStringLiteral("(0||A())") << QStringLiteral("");
    QTest::newRow("state 9: bar after attributes")
        << QStringLiteral("(0||A()|())") << QStringLiteral("");
    QTest::newRow("state 4: bar among children")
        << QStringLiteral("(0||A()(|))") << QStringLiteral("");
    QTest::newRow("state 5: open after children")
        << QStringLiteral("(0||A()()(") << QStringLiteral("");
    QTest::newRow("state 5: bar after children")
        << QStringLiteral("(0||A()()|)") << QStringLiteral("");
    QTest::newRow("closed once too often") << QStringLiteral("(0||A()()))") << QStringLiteral("");
    QTest::newRow("second top node")
        << QStringLiteral("(0||A()())(1||B()())") << QStringLiteral("");
    QTest::newRow("truncated in attributes") << QStringLiteral("(0||A(k|v") << QStringLiteral("");
    QTest::newRow("truncated in children")
        << QStringLiteral("(0||A()((1||B()())") << QStringLiteral("");
    QTest::newRow("truncated before the last close")
        << QStringLiteral("(0||A()()") << QStringLiteral("");
}

void TestP6ConfigNode::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, tree);
    const P6ConfigNode::Pointer top = parseP6ViewData(text);
    QVERIFY(top);
    if (tree.isEmpty())
        QVERIFY(top->isEmpty());
    else
        QCOMPARE(dump(*top), tree);
}

void TestP6ConfigNode::parentLinks()
{
    const P6ConfigNode::Pointer top = parseP6ViewData("(0||A()((1||B()((2||C()())))))");
    const P6ConfigNode::Pointer c = top->find({ "B", "C" });
    QVERIFY(c);
    QCOMPARE(c->parent.toStrongRef()->name, QStringLiteral("B"));
    QCOMPARE(c->parent.toStrongRef()->parent.toStrongRef(), top);
    QVERIFY(top->parent.isNull());
}

void TestP6ConfigNode::nestingLimit_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("at the limit") << P6ConfigNode::MaxDepth << true;
    QTest::newRow("one deeper") << P6ConfigNode::MaxDepth + 1 << false;
    QTest::newRow("far deeper") << 100000 << false;
}

void TestP6ConfigNode::nestingLimit()
{
    QFETCH(int, depth);
    QFETCH(bool, accepted);
    const P6ConfigNode::Pointer top = parseP6ViewData(nested(depth));
    QCOMPARE(!top->isEmpty(), accepted);
}

void TestP6ConfigNode::find()
{
    const P6ConfigNode::Pointer top
        = parseP6ViewData("(0||L()((1||TaskView()((2||Columns()((3||task_code()())))))))");
    QCOMPARE(top->find({ "TaskView", "Columns" })->children.size(), 1);
    QVERIFY(!top->find({ "TaskView", "Missing" }));
    QVERIFY(!top->find({}));
}

QTEST_APPLESS_MAIN(TestP6ConfigNode)
#include "tst_p6confignode.moc"
