#include "filter/ryexpression.h"

#include "filter/filterlogging.h"
#include "models/ryvaluetext.h"

#include <QDate>
#include <QDateTime>
#include <QDebug>

#include <optional>

namespace {

struct OperatorText
{
    const char *op;
    const char *text;
};

// Every display text and the operator it is stored as.
const OperatorText operatorTable[] = {
    { "=", "equals" },
    { "!=", "does not equal" },
    { ">", "is after" },
    { ">", "is greater than" },
    { ">=", "is after or equal to" },
    { ">=", "is greater than or equal to" },
    { "<", "is before" },
    { "<", "is less than" },
    { "<=", "is before or equal to" },
    { "<=", "is less than or equal to" },
    { "contains", "contains" },
    { "does not contain", "does not contain" },
    { "begins with", "begins with" },
    { "does not begin with", "does not begin with" },
    { "ends with", "ends with" },
    { "does not end with", "does not end with" },
};

bool isNumber(const QVariant &value)
{
    switch (static_cast<QMetaType::Type>(value.userType())) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

template<typename T> int sign(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The order of a cell against an operand, with the operand read as the cell's type the way
// QVariant converts it. No order when either side has no value of that type.
std::optional<int> compareCell(const QVariant &cell, const QVariant &operand)
{
    if (!cell.isValid() || cell.isNull() || !operand.isValid())
        return std::nullopt;
    if (isNumber(cell)) {
        if (isNumber(operand))
            return sign(cell.toDouble(), operand.toDouble());
        bool ok = false;
        const double value = operand.toString().trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
        return sign(cell.toDouble(), value);
    }
    if (cell.userType() == QMetaType::QDate) {
        const QDate date = RyValueText::dateOf(operand);
        if (!date.isValid())
            return std::nullopt;
        return sign(cell.toDate(), date);
    }
    if (cell.userType() == QMetaType::QDateTime) {
        QDateTime dateTime = operand.toDateTime();
        if (!dateTime.isValid())
            dateTime = QDateTime(RyValueText::dateOf(operand), QTime(0, 0));
        if (!dateTime.isValid())
            return std::nullopt;
        return sign(cell.toDateTime(), dateTime);
    }
    const int order = QString::compare(cell.toString(), operand.toString(), Qt::CaseSensitive);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool equals(const QVariant &cell, const QVariant &operand)
{
    // An empty cell equals an empty operand text, which is what "equals" with an empty value
    // box means to a user.
    if (!cell.isValid() || cell.isNull())
        return operand.toString().isEmpty();
    const std::optional<int> order = compareCell(cell, operand);
    return order && *order == 0;
}

bool ordered(const QVariant &cell, const QVariant &operand, bool (*test)(int))
{
    const std::optional<int> order = compareCell(cell, operand);
    return order && test(*order);
}

} // namespace

RyExpression::RyExpression(const QString &op, const QVariant &operand)
    : m_op(op)
    , m_operand(operand)
{
}

RyExpression::~RyExpression() = default;

void RyExpression::setOrLink(std::unique_ptr<RyExpression> node)
{
    m_orLink = std::move(node);
}

void RyExpression::setAndLink(std::unique_ptr<RyExpression> node)
{
    m_andLink = std::move(node);
}

std::unique_ptr<RyExpression> RyExpression::clone() const
{
    auto copy = std::make_unique<RyExpression>(m_op, m_operand);
    if (m_orLink)
        copy->setOrLink(m_orLink->clone());
    if (m_andLink)
        copy->setAndLink(m_andLink->clone());
    return copy;
}

std::unique_ptr<RyExpression> RyExpression::makeExpression(const QString &displayOperator,
                                                           const QVariant &operand)
{
    if (displayOperator.isEmpty() || !operand.isValid())
        return nullptr;
    return std::make_unique<RyExpression>(storedOperator(displayOperator), operand);
}

bool RyExpression::acceptExpression(const QVariant &cell, const QVariant &operand,
                                    const QString &op)
{
    if (op == QLatin1String("="))
        return equals(cell, operand);
    if (op == QLatin1String("!="))
        return !equals(cell, operand);
    if (op == QLatin1String("<"))
        return ordered(cell, operand, [](int s) { return s < 0; });
    if (op == QLatin1String(">"))
        return ordered(cell, operand, [](int s) { return s > 0; });
    if (op == QLatin1String("<="))
        return ordered(cell, operand, [](int s) { return s <= 0; });
    if (op == QLatin1String(">="))
        return ordered(cell, operand, [](int s) { return s >= 0; });

    const QString text = cell.toString();
    const QString value = operand.toString();
    if (op == QLatin1String("contains"))
        return text.contains(value, Qt::CaseInsensitive);
    if (op == QLatin1String("does not contain"))
        return !text.contains(value, Qt::CaseInsensitive);
    if (op == QLatin1String("begins with"))
        return text.startsWith(value, Qt::CaseInsensitive);
    if (op == QLatin1String("does not begin with"))
        return !text.startsWith(value, Qt::CaseInsensitive);
    if (op == QLatin1String("ends with"))
        return text.endsWith(value, Qt::CaseInsensitive);
    if (op == QLatin1String("does not end with"))
        return !text.endsWith(value, Qt::CaseInsensitive);

    qCWarning(lcFilter) << "RyExpression::acceptExpression: unknown operator";
    return false;
}

bool RyExpression::evaluate(const RyExpression *first, const QVariant &cell)
{
    if (!first)
        return false;
    for (const RyExpression *node = first; node; node = node->andLink()) {
        bool satisfied = false;
        for (const RyExpression *alt = node; alt && !satisfied; alt = alt->orLink())
            satisfied = acceptExpression(cell, alt->operand(), alt->op());
        if (!satisfied)
            return false;
    }
    return true;
}

QVariant RyExpression::convertCell(const QVariant &cell, const QString &datatype)
{
    if (datatype == QLatin1String("double")) {
        // Numbers need no detour through their text.
        if (isNumber(cell))
            return cell.toDouble();
        bool ok = false;
        const double value = RyValueText::decimalFromText(cell.toString(), &ok);
        return ok ? QVariant(value) : QVariant();
    }
    if (datatype == QLatin1String("integer")) {
        bool ok = false;
        const qlonglong value = cell.toLongLong(&ok);
        if (ok)
            return value;
        // A whole number shown with decimals ("3.0") still counts.
        const double number = cell.toDouble(&ok);
        return ok ? QVariant(static_cast<qlonglong>(number)) : QVariant();
    }
    if (datatype == QLatin1String("datetime")) {
        const QDate date = RyValueText::dateOf(cell);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    return cell;
}

QStringList RyExpression::operatorTexts(const QString &datatype)
{
    if (datatype == QLatin1String("datetime"))
        return { "equals",    "does not equal",       "is after", "is after or equal to",
                 "is before", "is before or equal to" };
    if (datatype == QLatin1String("integer") || datatype == QLatin1String("double"))
        return { "equals",          "does not equal",
                 "is greater than", "is greater than or equal to",
                 "is less than",    "is less than or equal to" };
    return { "equals",    "does not equal",    "begins with", "does not begin with",
             "ends with", "does not end with", "contains",    "does not contain" };
}

QString RyExpression::storedOperator(const QString &displayText)
{
    for (const OperatorText &entry : operatorTable) {
        if (displayText == QLatin1String(entry.text))
            return QString::fromLatin1(entry.op);
    }
    return displayText;
}

QString RyExpression::displayOperator(const QString &op, const QString &datatype)
{
    const bool dates = datatype == QLatin1String("datetime");
    if (op == QLatin1String("="))
        return QStringLiteral("equals");
    if (op == QLatin1String("!="))
        return QStringLiteral("does not equal");
    if (op == QLatin1String(">"))
        return dates ? QStringLiteral("is after") : QStringLiteral("is greater than");
    if (op == QLatin1String(">="))
        return dates ? QStringLiteral("is after or equal to")
                     : QStringLiteral("is greater than or equal to");
    if (op == QLatin1String("<"))
        return dates ? QStringLiteral("is before") : QStringLiteral("is less than");
    if (op == QLatin1String("<="))
        return dates ? QStringLiteral("is before or equal to")
                     : QStringLiteral("is less than or equal to");
    return op;
}

QString RyExpression::toText() const
{
    QString text
        = QStringLiteral("%1;%2").arg(escapeField(m_op), escapeField(m_operand.toString()));
    const RyExpression *second = m_andLink ? m_andLink.get() : m_orLink.get();
    if (second) {
        const QString link = m_andLink ? QStringLiteral("AND") : QStringLiteral("OR");
        const QString comparison = QStringLiteral("%1;%2").arg(
            escapeField(second->op()), escapeField(second->operand().toString()));
        text += QStringLiteral(";%1;%2").arg(link, comparison);
    }
    return text;
}

std::unique_ptr<RyExpression> RyExpression::fromText(const QString &text)
{
    const QStringList parts = splitFields(text);
    if (parts.size() < 2)
        return nullptr;
    auto first = std::make_unique<RyExpression>(parts.at(0), parts.at(1));
    if (parts.size() == 5) {
        auto second = std::make_unique<RyExpression>(parts.at(3), parts.at(4));
        if (parts.at(2) == QLatin1String("AND"))
            first->setAndLink(std::move(second));
        else if (parts.at(2) == QLatin1String("OR"))
            first->setOrLink(std::move(second));
    }
    return first;
}

QString RyExpression::escapeField(const QString &field)
{
    QString escaped;
    escaped.reserve(field.size());
    for (const QChar c : field) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(';'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

QStringList RyExpression::splitFields(const QString &text)
{
    QStringList fields;
    QString field;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (c == QLatin1Char('\\') && (next == QLatin1Char(';') || next == QLatin1Char('\\'))) {
            field += next;
            ++i;
        } else if (c == QLatin1Char(';')) {
            fields += field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields += field;
    return fields;
}
