#include "core/data/filter.h"

#include <QMetaType>

struct Filter::Node
{
    enum class Kind { Term, And, Or } kind = Kind::Term;
    // Term
    QString field;
    Op op = Op::Equal;
    QVariant value;
    // And / Or
    std::shared_ptr<const Node> left;
    std::shared_ptr<const Node> right;
};

Filter Filter::equals(const QString &field, const QVariant &value)
{
    return compare(field, Op::Equal, value);
}

Filter Filter::compare(const QString &field, Op op, const QVariant &value)
{
    auto node = std::make_shared<Node>();
    node->field = field;
    node->op = op;
    node->value = value;
    return Filter(std::move(node));
}

Filter Filter::combine(const Filter &left, const Filter &right, bool isAnd)
{
    if (left.isEmpty())
        return right;
    if (right.isEmpty())
        return left;
    auto node = std::make_shared<Node>();
    node->kind = isAnd ? Node::Kind::And : Node::Kind::Or;
    node->left = left.m_node;
    node->right = right.m_node;
    return Filter(std::move(node));
}

Filter Filter::operator&&(const Filter &other) const
{
    return combine(*this, other, true);
}

Filter Filter::operator||(const Filter &other) const
{
    return combine(*this, other, false);
}

static QString sqlOperator(Filter::Op op)
{
    switch (op) {
    case Filter::Op::Equal: return QStringLiteral("=");
    case Filter::Op::NotEqual: return QStringLiteral("<>");
    case Filter::Op::Less: return QStringLiteral("<");
    case Filter::Op::LessOrEqual: return QStringLiteral("<=");
    case Filter::Op::Greater: return QStringLiteral(">");
    case Filter::Op::GreaterOrEqual: return QStringLiteral(">=");
    }
    return QStringLiteral("=");
}

static QString quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

static bool isNumeric(const QVariant &value)
{
    switch (value.typeId()) {
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
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

// Orders two values the way the table engine does: numbers as numbers when the term's
// value is a number, booleans as booleans, everything else as exact text.
static int compareValues(const QVariant &rowValue, const QVariant &termValue)
{
    if (termValue.typeId() == QMetaType::Bool) {
        const bool a = rowValue.toBool();
        const bool b = termValue.toBool();
        return a == b ? 0 : (a ? 1 : -1);
    }
    if (isNumeric(termValue)) {
        bool ok = false;
        const double a = rowValue.toDouble(&ok);
        if (!ok)
            return rowValue.isNull() ? -1 : 1;
        const double b = termValue.toDouble();
        return a < b ? -1 : (a > b ? 1 : 0);
    }
    return QString::compare(rowValue.toString(), termValue.toString(), Qt::CaseSensitive);
}

static bool holds(Filter::Op op, int order)
{
    switch (op) {
    case Filter::Op::Equal: return order == 0;
    case Filter::Op::NotEqual: return order != 0;
    case Filter::Op::Less: return order < 0;
    case Filter::Op::LessOrEqual: return order <= 0;
    case Filter::Op::Greater: return order > 0;
    case Filter::Op::GreaterOrEqual: return order >= 0;
    }
    return false;
}

static QString nodeSql(const Filter::Node &node, QVariantList *bindings);

QString Filter::sqlWhere(QVariantList *bindings) const
{
    return m_node ? nodeSql(*m_node, bindings) : QString();
}

static QString nodeSql(const Filter::Node &node, QVariantList *bindings)
{
    if (node.kind == Filter::Node::Kind::Term) {
        const QString field = quotedIdentifier(node.field);
        if (node.value.isNull()) {
            // "= NULL" would never hold: a null value asks for an empty field
            if (node.op == Filter::Op::Equal)
                return field + QStringLiteral(" IS NULL");
            if (node.op == Filter::Op::NotEqual)
                return field + QStringLiteral(" IS NOT NULL");
            return QStringLiteral("0 = 1");
        }
        // Qt's SQL layer binds a null QString as NULL; a text term means text, even empty
        const bool isNullText
            = node.value.typeId() == QMetaType::QString && node.value.toString().isNull();
        bindings->append(isNullText ? QVariant(QStringLiteral("")) : node.value);
        return field + QLatin1Char(' ') + sqlOperator(node.op) + QStringLiteral(" ?");
    }
    const QString joiner
        = node.kind == Filter::Node::Kind::And ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
    // The operands of + may be evaluated in any order; the bindings must follow the text,
    // so the left side is built first, in its own statement.
    const QString left = nodeSql(*node.left, bindings);
    const QString right = nodeSql(*node.right, bindings);
    return QLatin1Char('(') + left + joiner + right + QLatin1Char(')');
}

// SQL's three-valued logic: a comparison with an empty field is unknown and passes nothing,
// except the IS NULL / IS NOT NULL tests that a null term value stands for.
static bool termMatches(const Filter::Node &node, const QVariant &rowValue)
{
    if (node.value.isNull()) {
        if (node.op == Filter::Op::Equal)
            return rowValue.isNull();
        if (node.op == Filter::Op::NotEqual)
            return !rowValue.isNull();
        return false;
    }
    if (rowValue.isNull())
        return false;
    return holds(node.op, compareValues(rowValue, node.value));
}

static bool nodeMatches(
    const Filter::Node &node, const std::function<QVariant(const QString &)> &fieldValue)
{
    switch (node.kind) {
    case Filter::Node::Kind::Term:
        return termMatches(node, fieldValue(node.field));
    case Filter::Node::Kind::And:
        return nodeMatches(*node.left, fieldValue) && nodeMatches(*node.right, fieldValue);
    case Filter::Node::Kind::Or:
        return nodeMatches(*node.left, fieldValue) || nodeMatches(*node.right, fieldValue);
    }
    return false;
}

bool Filter::matches(const std::function<QVariant(const QString &)> &fieldValue) const
{
    return !m_node || nodeMatches(*m_node, fieldValue);
}

bool Filter::isNumberEquality(QString *field, double *number) const
{
    if (!m_node || m_node->kind != Node::Kind::Term || m_node->op != Op::Equal
        || !isNumeric(m_node->value)) {
        return false;
    }
    *field = m_node->field;
    *number = m_node->value.toDouble();
    return true;
}

static void collectFields(const Filter::Node &node, QStringList *names)
{
    if (node.kind == Filter::Node::Kind::Term) {
        if (!names->contains(node.field))
            names->append(node.field);
        return;
    }
    collectFields(*node.left, names);
    collectFields(*node.right, names);
}

QStringList Filter::fieldNames() const
{
    QStringList names;
    if (m_node)
        collectFields(*m_node, &names);
    return names;
}

static QString nodeText(const Filter::Node &node, bool nested)
{
    if (node.kind == Filter::Node::Kind::Term) {
        if (node.value.isNull() && node.op == Filter::Op::Equal)
            return node.field + QStringLiteral(" IS NULL");
        if (node.value.isNull() && node.op == Filter::Op::NotEqual)
            return node.field + QStringLiteral(" IS NOT NULL");
        QString value;
        if (node.value.isNull())
            value = QStringLiteral("NULL");
        else if (node.value.typeId() == QMetaType::Bool)
            value = node.value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        else if (isNumeric(node.value))
            value = node.value.toString();
        else
            value = QLatin1Char('\'') + node.value.toString() + QLatin1Char('\'');
        return node.field + QLatin1Char(' ') + sqlOperator(node.op) + QLatin1Char(' ') + value;
    }
    const QString joiner
        = node.kind == Filter::Node::Kind::And ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
    const QString text = nodeText(*node.left, true) + joiner + nodeText(*node.right, true);
    return nested ? QLatin1Char('(') + text + QLatin1Char(')') : text;
}

QString Filter::toString() const
{
    return m_node ? nodeText(*m_node, false) : QString();
}
