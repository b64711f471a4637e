// One comparison of a column condition ("is greater than 5"), linked to an alternative (OR) and
// to the next comparison that must also hold (AND). A node owns the nodes it links to, so the
// first node of a condition owns the whole condition.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class RyExpression
{
public:
    RyExpression(const QString &op, const QVariant &operand);
    ~RyExpression();

    RyExpression(const RyExpression &) = delete;
    RyExpression &operator=(const RyExpression &) = delete;

    // The stored operator ("=", "<", "contains", ...) and the value it compares with.
    QString op() const { return m_op; }
    QVariant operand() const { return m_operand; }

    RyExpression *orLink() const { return m_orLink.get(); }
    RyExpression *andLink() const { return m_andLink.get(); }
    void setOrLink(std::unique_ptr<RyExpression> node);
    void setAndLink(std::unique_ptr<RyExpression> node);

    // A deep copy of this node and everything it links to.
    std::unique_ptr<RyExpression> clone() const;

    // Null for an empty operator text or an invalid operand; display texts ("is before") become
    // their stored operator, any other text is stored unchanged.
    static std::unique_ptr<RyExpression> makeExpression(const QString &displayOperator,
                                                        const QVariant &operand);
    static bool acceptExpression(const QVariant &cell, const QVariant &operand, const QString &op);
    // The AND chain from `first`, each node satisfied by itself or one of its OR alternatives.
    static bool evaluate(const RyExpression *first, const QVariant &cell);

    // The cell as the comparisons of a column of `datatype` see it ("1,5" on a double column is
    // 1.5, a date-time on a date column is its date). Unreadable numbers and dates give no value.
    static QVariant convertCell(const QVariant &cell, const QString &datatype);

    // The operator texts offered for a column of `datatype`, in menu order.
    static QStringList operatorTexts(const QString &datatype);
    static QString storedOperator(const QString &displayText);
    static QString displayOperator(const QString &op, const QString &datatype);

    // Saved text form "op;value" or "op;value;AND|OR;op2;value2". Values are escaped so that a
    // ";" inside them survives: "\" is written "\\" and ";" is written "\;".
    QString toText() const;
    // Null when the text has fewer than two fields. A second comparison is read only from
    // exactly five fields with the link word "AND" or "OR"; operands come back as texts.
    static std::unique_ptr<RyExpression> fromText(const QString &text);

    static QString escapeField(const QString &field);
    // Splits at every ";" not escaped and unescapes "\;" and "\\"; a backslash before any other
    // character is kept, so texts written without escapes (C:\x) read back unchanged.
    static QStringList splitFields(const QString &text);

private:
    QString m_op;
    QVariant m_operand;
    std::unique_ptr<RyExpression> m_orLink;
    std::unique_ptr<RyExpression> m_andLink;
};
