#include "filter/ryexpression.h"

#include <QtTest>

using ExprPtr = std::unique_ptr<RyExpression>;

class TestRyExpression : public QObject
{
    Q_OBJECT

private slots:
    void accept_data();
    void accept();
    void unknownOperatorWarnsAndRejects();

    void convertCell_data();
    void convertCell();

    void conditionOnConvertedCell_data();
    void conditionOnConvertedCell();

    void evaluateChains_data();
    void evaluateChains();
    void evaluateWithoutNode();

    void makeExpression_data();
    void makeExpression();

    void operatorTexts();
    void displayOperator_data();
    void displayOperator();

    void toText_data();
    void toText();

    void fromText_data();
    void fromText();

    void splitFields_data();
    void splitFields();
    void escapedValuesRoundTrip_data();
    void escapedValuesRoundTrip();
};

void TestRyExpression::accept_data()
{
    QTest::addColumn<QVariant>("cell");
    QTest::addColumn<QVariant>("operand");
    QTest::addColumn<QString>("op");
    QTest::addColumn<bool>("accepted");

    const QVariant abcd = QStringLiteral("ABCD");
    const QVariant abc = QStringLiteral("abc");
    QTest::newRow("contains ignores case") << abcd << abc << "contains" << true;
    QTest::newRow("contains a word")
        << QVariant("Pour concrete") << QVariant("pour") << "contains" << true;
    QTest::newRow("contains same case") << QVariant("xabcx") << abc << "contains" << true;
    QTest::newRow("does not contain ignores case") << abcd << abc << "does not contain" << false;
    QTest::newRow("does not contain absent text")
        << abcd << QVariant("x") << "does not contain" << true;
    QTest::newRow("begins with ignores case") << abcd << abc << "begins with" << true;
    QTest::newRow("does not begin with ignores case")
        << abcd << abc << "does not begin with" << false;
    QTest::newRow("ends with ignores case") << QVariant("xxABC") << abc << "ends with" << true;
    QTest::newRow("ends with other end") << abcd << abc << "ends with" << false;
    QTest::newRow("does not end with") << abcd << abc << "does not end with" << true;

    QTest::newRow("= saved text against integer") << QVariant(12) << QVariant("12") << "=" << true;
    QTest::newRow("!= saved text against integer")
        << QVariant(12) << QVariant("12") << "!=" << false;
    QTest::newRow("= texts are case-sensitive") << QVariant("Abc") << abc << "=" << false;
    QTest::newRow("> numbers not texts") << QVariant(12) << QVariant("5") << ">" << true;
    QTest::newRow("< numbers") << QVariant(-6.0) << QVariant(-5) << "<" << true;
    QTest::newRow("<= equal") << QVariant(5) << QVariant(5) << "<=" << true;
    QTest::newRow(">= below") << QVariant(4) << QVariant(5) << ">=" << false;
    QTest::newRow("> on texts") << QVariant("b") << QVariant("a") << ">" << true;

    const QVariant day = QDate(2021, 3, 5);
    QTest::newRow("= date and ISO text") << day << QVariant("2021-03-05") << "=" << true;
    QTest::newRow("> date and date") << day << QVariant(QDate(2021, 3, 4)) << ">" << true;
    QTest::newRow("> same date") << day << QVariant(QDate(2021, 3, 5)) << ">" << false;
    QTest::newRow(">= same date") << day << QVariant(QDate(2021, 3, 5)) << ">=" << true;

    QTest::newRow("no value equals empty text") << QVariant() << QVariant("") << "=" << true;
    QTest::newRow("no value is not below a number") << QVariant() << QVariant(5) << "<" << false;
    QTest::newRow("no value differs from a number") << QVariant() << QVariant(5) << "!=" << true;
    QTest::newRow("unreadable number operand") << QVariant(5) << QVariant("x") << ">" << false;
}

void TestRyExpression::accept()
{
    QFETCH(QVariant, cell);
    QFETCH(QVariant, operand);
    QFETCH(QString, op);
    QFETCH(bool, accepted);
    QCOMPARE(RyExpression::acceptExpression(cell, operand, op), accepted);
}

void TestRyExpression::unknownOperatorWarnsAndRejects()
{
    QTest::ignoreMessage(QtWarningMsg, "RyExpression::acceptExpression: unknown operator");
    QVERIFY(!RyExpression::acceptExpression(QVariant(1), QVariant(1), QStringLiteral("~")));
}

void TestRyExpression::convertCell_data()
{
    QTest::addColumn<QVariant>("cell");
    QTest::addColumn<QString>("datatype");
    QTest::addColumn<QVariant>("converted");

    QTest::newRow("double with comma") << QVariant("1,5") << "double" << QVariant(1.5);
    QTest::newRow("double number") << QVariant(2.25) << "double" << QVariant(2.25);
    QTest::newRow("double empty") << QVariant() << "double" << QVariant();
    QTest::newRow("double text") << QVariant("n/a") << "double" << QVariant();
    QTest::newRow("integer text") << QVariant("42") << "integer" << QVariant(qlonglong(42));
    QTest::newRow("integer none") << QVariant() << "integer" << QVariant();
    QTest::newRow("datetime drops time")
        << QVariant(QDateTime(QDate(2021, 3, 5), QTime(17, 30), Qt::UTC)) << "datetime"
        << QVariant(QDate(2021, 3, 5));
    QTest::newRow("datetime none") << QVariant() << "datetime" << QVariant();
    QTest::newRow("string unchanged") << QVariant("a;b") << "string" << QVariant("a;b");
    QTest::newRow("unknown type unchanged") << QVariant(7) << "" << QVariant(7);
}

void TestRyExpression::convertCell()
{
    QFETCH(QVariant, cell);
    QFETCH(QString, datatype);
    QFETCH(QVariant, converted);
    const QVariant result = RyExpression::convertCell(cell, datatype);
    QCOMPARE(result.isValid(), converted.isValid());
    if (converted.isValid()) {
        QCOMPARE(result.userType(), converted.userType());
        QCOMPARE(result, converted);
    }
}

void TestRyExpression::conditionOnConvertedCell_data()
{
    QTest::addColumn<QVariant>("cell");
    QTest::addColumn<QString>("datatype");
    QTest::addColumn<QString>("displayOperator");
    QTest::addColumn<QVariant>("operand");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("comma decimal greater than 1") << QVariant("1,5") << "double"
                                                  << "is greater than" << QVariant(1.0) << true;
    QTest::newRow("comma decimal not greater than 2")
        << QVariant("1,5") << "double"
        << "is greater than" << QVariant(2.0) << false;
    QTest::newRow("after same day, late time")
        << QVariant(QDateTime(QDate(2021, 3, 5), QTime(23, 59), Qt::UTC)) << "datetime"
        << "is after" << QVariant(QDate(2021, 3, 5)) << false;
    QTest::newRow("after same day, early time")
        << QVariant(QDateTime(QDate(2021, 3, 5), QTime(0, 1), Qt::UTC)) << "datetime"
        << "is after" << QVariant(QDate(2021, 3, 5)) << false;
    QTest::newRow("equals same day at noon")
        << QVariant(QDateTime(QDate(2021, 3, 5), QTime(12, 0), Qt::UTC)) << "datetime"
        << "equals" << QVariant(QDate(2021, 3, 5)) << true;
    QTest::newRow("after saved ISO text")
        << QVariant(QDateTime(QDate(2021, 3, 6), QTime(8, 0), Qt::UTC)) << "datetime"
        << "is after" << QVariant("2021-03-05") << true;
    QTest::newRow("integer against saved text") << QVariant("7") << "integer"
                                                << "is less than" << QVariant("10") << true;
}

void TestRyExpression::conditionOnConvertedCell()
{
    QFETCH(QVariant, cell);
    QFETCH(QString, datatype);
    QFETCH(QString, displayOperator);
    QFETCH(QVariant, operand);
    QFETCH(bool, accepted);
    const ExprPtr node = RyExpression::makeExpression(displayOperator, operand);
    QVERIFY(node);
    QCOMPARE(RyExpression::evaluate(node.get(), RyExpression::convertCell(cell, datatype)),
             accepted);
}

void TestRyExpression::evaluateChains_data()
{
    QTest::addColumn<bool>("isAnd");
    QTest::addColumn<QString>("firstOp");
    QTest::addColumn<int>("firstValue");
    QTest::addColumn<QString>("secondOp");
    QTest::addColumn<int>("secondValue");
    QTest::addColumn<int>("cell");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("> 5 OR < -5 on 7") << false << ">" << 5 << "<" << -5 << 7 << true;
    QTest::newRow("> 5 OR < -5 on -6") << false << ">" << 5 << "<" << -5 << -6 << true;
    QTest::newRow("> 5 OR < -5 on 0") << false << ">" << 5 << "<" << -5 << 0 << false;
    QTest::newRow("> 0 AND < 10 on 5") << true << ">" << 0 << "<" << 10 << 5 << true;
    QTest::newRow("> 0 AND < 10 on 12") << true << ">" << 0 << "<" << 10 << 12 << false;
    QTest::newRow("> 0 AND < 10 on -1") << true << ">" << 0 << "<" << 10 << -1 << false;
}

void TestRyExpression::evaluateChains()
{
    QFETCH(bool, isAnd);
    QFETCH(QString, firstOp);
    QFETCH(int, firstValue);
    QFETCH(QString, secondOp);
    QFETCH(int, secondValue);
    QFETCH(int, cell);
    QFETCH(bool, accepted);

    auto first = std::make_unique<RyExpression>(firstOp, firstValue);
    auto second = std::make_unique<RyExpression>(secondOp, secondValue);
    if (isAnd)
        first->setAndLink(std::move(second));
    else
        first->setOrLink(std::move(second));
    QCOMPARE(RyExpression::evaluate(first.get(), QVariant(qlonglong(cell))), accepted);
}

void TestRyExpression::evaluateWithoutNode()
{
    QVERIFY(!RyExpression::evaluate(nullptr, QVariant(1)));

    // A longer chain: (x > 0 OR x = -3) AND x < 10 AND x != 5.
    auto first = std::make_unique<RyExpression>(">", 0);
    first->setOrLink(std::make_unique<RyExpression>("=", -3));
    auto second = std::make_unique<RyExpression>("<", 10);
    second->setAndLink(std::make_unique<RyExpression>("!=", 5));
    first->setAndLink(std::move(second));
    QVERIFY(RyExpression::evaluate(first.get(), 3));
    QVERIFY(RyExpression::evaluate(first.get(), -3));
    QVERIFY(!RyExpression::evaluate(first.get(), 5));
    QVERIFY(!RyExpression::evaluate(first.get(), -1));
    QVERIFY(!RyExpression::evaluate(first.get(), 11));
}

void TestRyExpression::makeExpression_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("operand");
    QTest::addColumn<bool>("made");
    QTest::addColumn<QString>("stored");

    QTest::newRow("empty text") << "" << QVariant(1) << false << "";
    QTest::newRow("invalid operand") << "equals" << QVariant() << false << "";
    QTest::newRow("equals") << "equals" << QVariant(1) << true << "=";
    QTest::newRow("does not equal") << "does not equal" << QVariant(1) << true << "!=";
    QTest::newRow("is after") << "is after" << QVariant(QDate(2020, 1, 1)) << true << ">";
    QTest::newRow("is greater than") << "is greater than" << QVariant(1) << true << ">";
    QTest::newRow("is after or equal to") << "is after or equal to" << QVariant(1) << true << ">=";
    QTest::newRow("is greater than or equal to")
        << "is greater than or equal to" << QVariant(1) << true << ">=";
    QTest::newRow("is before") << "is before" << QVariant(1) << true << "<";
    QTest::newRow("is less than") << "is less than" << QVariant(1) << true << "<";
    QTest::newRow("is before or equal to")
        << "is before or equal to" << QVariant(1) << true << "<=";
    QTest::newRow("is less than or equal to")
        << "is less than or equal to" << QVariant(1) << true << "<=";
    QTest::newRow("contains kept") << "contains" << QVariant("a") << true << "contains";
    QTest::newRow("empty text operand is a value") << "equals" << QVariant("") << true << "=";
    QTest::newRow("other text stored unchanged") << "matches" << QVariant("a") << true << "matches";
}

void TestRyExpression::makeExpression()
{
    QFETCH(QString, text);
    QFETCH(QVariant, operand);
    QFETCH(bool, made);
    QFETCH(QString, stored);
    const ExprPtr node = RyExpression::makeExpression(text, operand);
    QCOMPARE(bool(node), made);
    if (node) {
        QCOMPARE(node->op(), stored);
        QCOMPARE(node->operand(), operand);
        QVERIFY(!node->andLink());
        QVERIFY(!node->orLink());
    }
}

void TestRyExpression::operatorTexts()
{
    QCOMPARE(RyExpression::operatorTexts("datetime"),
             QStringList({ "equals", "does not equal", "is after", "is after or equal to",
                           "is before", "is before or equal to" }));
    const QStringList numbers({ "equals", "does not equal", "is greater than",
                                "is greater than or equal to", "is less than",
                                "is less than or equal to" });
    QCOMPARE(RyExpression::operatorTexts("integer"), numbers);
    QCOMPARE(RyExpression::operatorTexts("double"), numbers);
    QCOMPARE(RyExpression::operatorTexts("string"),
             QStringList({ "equals", "does not equal", "begins with", "does not begin with",
                           "ends with", "does not end with", "contains", "does not contain" }));
}

void TestRyExpression::displayOperator_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("datatype");
    QTest::addColumn<QString>("text");

    QTest::newRow("= dates") << "="
                             << "datetime"
                             << "equals";
    QTest::newRow("!= numbers") << "!="
                                << "integer"
                                << "does not equal";
    QTest::newRow("> dates") << ">"
                             << "datetime"
                             << "is after";
    QTest::newRow(">= dates") << ">="
                              << "datetime"
                              << "is after or equal to";
    QTest::newRow("< dates") << "<"
                             << "datetime"
                             << "is before";
    QTest::newRow("<= dates") << "<="
                              << "datetime"
                              << "is before or equal to";
    QTest::newRow("> numbers") << ">"
                               << "double"
                               << "is greater than";
    QTest::newRow(">= text column") << ">="
                                    << "string"
                                    << "is greater than or equal to";
    QTest::newRow("< numbers") << "<"
                               << "integer"
                               << "is less than";
    QTest::newRow("<= numbers") << "<="
                                << "integer"
                                << "is less than or equal to";
    QTest::newRow("other unchanged") << "begins with"
                                     << "string"
                                     << "begins with";
}

void TestRyExpression::displayOperator()
{
    QFETCH(QString, op);
    QFETCH(QString, datatype);
    QFETCH(QString, text);
    QCOMPARE(RyExpression::displayOperator(op, datatype), text);
}

void TestRyExpression::toText_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("text");

    QTest::newRow("one comparison") << ""
                                    << ">;5";
    QTest::newRow("OR") << "OR"
                        << ">;5;OR;<;-5";
    QTest::newRow("AND") << "AND"
                         << ">;5;AND;<;-5";
    QTest::newRow("both links write AND") << "both"
                                          << ">;5;AND;<;-5";
}

void TestRyExpression::toText()
{
    QFETCH(QString, link);
    QFETCH(QString, text);
    auto first = std::make_unique<RyExpression>(">", 5);
    if (link == "OR" || link == "both")
        first->setOrLink(std::make_unique<RyExpression>(link == "both" ? "=" : "<", -5));
    if (link == "AND" || link == "both")
        first->setAndLink(std::make_unique<RyExpression>("<", -5));
    QCOMPARE(first->toText(), text);
}

void TestRyExpression::fromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("operand");
    QTest::addColumn<QString>("link"); // "", "AND" or "OR"
    QTest::addColumn<QString>("secondOp");
    QTest::addColumn<QString>("secondOperand");

    QTest::newRow("two fields") << ">;5" << true << ">"
                                << "5"
                                << ""
                                << ""
                                << "";
    QTest::newRow("five fields OR") << ">;5;OR;<;-5" << true << ">"
                                    << "5"
                                    << "OR"
                                    << "<"
                                    << "-5";
    QTest::newRow("five fields AND") << ">;0;AND;<;10" << true << ">"
                                     << "0"
                                     << "AND"
                                     << "<"
                                     << "10";
    QTest::newRow("unknown link word") << ">;0;XOR;<;10" << true << ">"
                                       << "0"
                                       << ""
                                       << ""
                                       << "";
    QTest::newRow("lower-case link word") << ">;0;and;<;10" << true << ">"
                                          << "0"
                                          << ""
                                          << ""
                                          << "";
    QTest::newRow("three fields keep the first") << "=;a;b" << true << "="
                                                 << "a"
                                                 << ""
                                                 << ""
                                                 << "";
    QTest::newRow("four fields keep the first") << "=;a;OR;=" << true << "="
                                                << "a"
                                                << ""
                                                << ""
                                                << "";
    QTest::newRow("six fields keep the first") << "=;a;OR;=;b;c" << true << "="
                                               << "a"
                                               << ""
                                               << ""
                                               << "";
    QTest::newRow("empty operand") << "=;" << true << "="
                                   << ""
                                   << ""
                                   << ""
                                   << "";
    QTest::newRow("one field") << "=" << false << ""
                               << ""
                               << ""
                               << ""
                               << "";
    QTest::newRow("empty text") << "" << false << ""
                                << ""
                                << ""
                                << ""
                                << "";
    QTest::newRow("escaped semicolon") << "contains;a\\;b;OR;=;c" << true << "contains"
                                       << "a;b"
                                       << "OR"
                                       << "="
                                       << "c";
    QTest::newRow("unescaped path") << "begins with;C:\\x" << true << "begins with"
                                    << "C:\\x"
                                    << ""
                                    << ""
                                    << "";
}

void TestRyExpression::fromText()
{
    QFETCH(QString, text);
    QFETCH(bool, read);
    QFETCH(QString, op);
    QFETCH(QString, operand);
    QFETCH(QString, link);
    QFETCH(QString, secondOp);
    QFETCH(QString, secondOperand);

    const ExprPtr first = RyExpression::fromText(text);
    QCOMPARE(bool(first), read);
    if (!first)
        return;
    QCOMPARE(first->op(), op);
    QCOMPARE(first->operand().userType(), int(QMetaType::QString));
    QCOMPARE(first->operand().toString(), operand);
    const RyExpression *second = link == "AND" ? first->andLink() : first->orLink();
    QCOMPARE(bool(first->andLink()), link == "AND");
    QCOMPARE(bool(first->orLink()), link == "OR");
    if (second) {
        QCOMPARE(second->op(), secondOp);
        QCOMPARE(second->operand().toString(), secondOperand);
        QVERIFY(!second->andLink() && !second->orLink());
    }
}

void TestRyExpression::splitFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("plain") << "a;b" << QStringList({ "a", "b" });
    QTest::newRow("empty parts kept") << ";a;;" << QStringList({ "", "a", "", "" });
    QTest::newRow("escaped semicolon") << "a\\;b;c" << QStringList({ "a;b", "c" });
    QTest::newRow("escaped backslash") << "a\\\\;b" << QStringList({ "a\\", "b" });
    QTest::newRow("escaped backslash then escaped semicolon")
        << "a\\\\\\;b" << QStringList({ "a\\;b" });
    QTest::newRow("backslash before other kept")
        << "C:\\x;D:\\y" << QStringList({ "C:\\x", "D:\\y" });
    QTest::newRow("trailing backslash kept") << "a;b\\" << QStringList({ "a", "b\\" });
}

void TestRyExpression::splitFields()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QCOMPARE(RyExpression::splitFields(text), fields);
}

void TestRyExpression::escapedValuesRoundTrip_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("text");

    QTest::newRow("semicolons") << "a;b"
                                << ";"
                                << "=;a\\;b;OR;=;\\;";
    QTest::newRow("backslashes") << "C:\\x"
                                 << "\\"
                                 << "=;C:\\\\x;OR;=;\\\\";
    QTest::newRow("backslash before semicolon") << "x\\;y"
                                                << ""
                                                << "=;x\\\\\\;y;OR;=;";
}

void TestRyExpression::escapedValuesRoundTrip()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, text);

    auto node = std::make_unique<RyExpression>("=", first);
    node->setOrLink(std::make_unique<RyExpression>("=", second));
    QCOMPARE(node->toText(), text);
    const ExprPtr back = RyExpression::fromText(node->toText());
    QVERIFY(back && back->orLink());
    QCOMPARE(back->operand().toString(), first);
    QCOMPARE(back->orLink()->operand().toString(), second);
}

QTEST_APPLESS_MAIN(TestRyExpression)
#include "tst_ryexpression.moc"
