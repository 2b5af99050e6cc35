#include "FilterExpression.h"

#include "ClientDataSet.h"
#include "Conversions.h"
#include "Decimal.h"
#include "Exceptions.h"

#include <algorithm>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

enum class Kind { Null, Bool, Number, Text, Date };

constexpr std::int64_t kMsPerDay = 86400000;

// A number keeps exactness while it can: integer and decimal fields compare
// as exact decimals, floating point fields as doubles.
struct Number
{
    bool exact = true;
    Decimal dec;
    double dbl = 0;

    double toDouble() const { return exact ? dec.toDouble() : dbl; }
};

struct Value
{
    Kind kind = Kind::Null;
    bool b = false;
    Number num;
    QString text;
    std::int64_t date = 0; // milliseconds since Julian day 0

    bool isNull() const { return kind == Kind::Null; }
};

int compareNumbers(const Number &a, const Number &b)
{
    if (a.exact && b.exact)
        return a.dec < b.dec ? -1 : (b.dec < a.dec ? 1 : 0);
    const double x = a.toDouble();
    const double y = b.toDouble();
    return x < y ? -1 : (y < x ? 1 : 0);
}

std::optional<Number> numberFromText(const QString &text)
{
    if (auto d = Decimal::parseC(text))
        return Number{true, *d, 0};
    if (auto d = Decimal::parse(text))
        return Number{true, *d, 0};
    if (auto f = Conv::parseFloat(text))
        return Number{false, Decimal(), *f};
    return std::nullopt;
}

enum class Op { Eq, Ne, Lt, Le, Gt, Ge };

bool applyOp(Op op, int c)
{
    switch (op) {
    case Op::Eq:
        return c == 0;
    case Op::Ne:
        return c != 0;
    case Op::Lt:
        return c < 0;
    case Op::Le:
        return c <= 0;
    case Op::Gt:
        return c > 0;
    case Op::Ge:
        return c >= 0;
    }
    return false;
}

} // namespace

struct FilterExpression::Node
{
    explicit Node(Kind k)
        : kind(k)
    {
    }
    virtual ~Node() = default;
    virtual Value eval(int row) const = 0;
    Kind kind;     // the kind of value the node yields
    int depth = 1; // of the tree below: evaluation recurses that deep
};

namespace {

using Node = FilterExpression::Node;
using NodePtr = std::unique_ptr<Node>;

struct LiteralNode : Node
{
    explicit LiteralNode(Value v)
        : Node(v.kind)
        , value(std::move(v))
    {
    }
    Value eval(int) const override { return value; }
    Value value;
};

struct FieldNode : Node
{
    FieldNode(const RecordStore &s, int f, FieldType t, Kind k)
        : Node(k)
        , store(s)
        , field(f)
        , type(t)
    {
    }
    Value eval(int row) const override
    {
        Value v;
        if (store.isNull(field, row))
            return v;
        v.kind = kind;
        switch (type) {
        case FieldType::String:
        case FieldType::Memo:
            v.text = store.textAt(field, row);
            break;
        case FieldType::Integer:
        case FieldType::LargeInt: {
            const std::int64_t i = store.intAt(field, row);
            if (i > -900000000000000LL && i < 900000000000000LL)
                v.num = Number{true, Decimal::fromUnits(i * Decimal::kUnitsPerOne), 0};
            else
                v.num = Number{false, Decimal(), static_cast<double>(i)};
            break;
        }
        case FieldType::Decimal:
            v.num = Number{true, Decimal::fromUnits(store.intAt(field, row)), 0};
            break;
        case FieldType::Float:
            v.num = Number{false, Decimal(), store.floatAt(field, row)};
            break;
        case FieldType::Date:
            v.date = store.intAt(field, row) * kMsPerDay;
            break;
        case FieldType::DateTime:
            v.date = store.intAt(field, row);
            break;
        case FieldType::Boolean:
            v.b = store.intAt(field, row) != 0;
            break;
        case FieldType::Blob:
            break;
        }
        return v;
    }
    const RecordStore &store;
    int field;
    FieldType type;
};

struct ConcatNode : Node
{
    ConcatNode(NodePtr l, NodePtr r)
        : Node(Kind::Text)
        , left(std::move(l))
        , right(std::move(r))
    {
        depth = 1 + std::max(left->depth, right->depth);
    }
    Value eval(int row) const override
    {
        Value a = left->eval(row);
        if (a.isNull())
            return a;
        Value b = right->eval(row);
        if (b.isNull())
            return b;
        a.text += b.text;
        return a;
    }
    NodePtr left, right;
};

struct ArithNode : Node
{
    ArithNode(NodePtr l, NodePtr r, bool subtract)
        : Node(Kind::Number)
        , left(std::move(l))
        , right(std::move(r))
        , minus(subtract)
    {
        depth = 1 + std::max(left->depth, right->depth);
    }
    Value eval(int row) const override
    {
        Value a = left->eval(row);
        if (a.isNull())
            return a;
        const Value b = right->eval(row);
        if (b.isNull())
            return b;
        if (a.num.exact && b.num.exact) {
            try {
                a.num.dec = minus ? a.num.dec - b.num.dec : a.num.dec + b.num.dec;
                return a;
            } catch (const EConvertError &) {
                // out of the exact range: go on in floating point
            }
        }
        const double x = a.num.toDouble();
        const double y = b.num.toDouble();
        a.num = Number{false, Decimal(), minus ? x - y : x + y};
        return a;
    }
    NodePtr left, right;
    bool minus;
};

struct NegateNode : Node
{
    explicit NegateNode(NodePtr c)
        : Node(Kind::Number)
        , child(std::move(c))
    {
        depth = 1 + child->depth;
    }
    Value eval(int row) const override
    {
        Value v = child->eval(row);
        if (!v.isNull()) {
            if (v.num.exact)
                v.num.dec = -v.num.dec;
            else
                v.num.dbl = -v.num.dbl;
        }
        return v;
    }
    NodePtr child;
};

enum class CompareMode { Text, Number, Date, Bool, TextAsNumber };

struct CompareNode : Node
{
    CompareNode(Op o, CompareMode m, NodePtr l, NodePtr r, bool swapped)
        : Node(Kind::Bool)
        , op(o)
        , mode(m)
        , left(std::move(l))
        , right(std::move(r))
        , textOnRight(swapped)
    {
        depth = 1 + std::max(left->depth, right->depth);
        // A text field against a text, the commonest filter, is compared in
        // place, without copying either into a value.
        const auto *fieldNode = dynamic_cast<const FieldNode *>(left.get());
        const auto *literalNode = dynamic_cast<const LiteralNode *>(right.get());
        if (mode == CompareMode::Text && fieldNode && literalNode && !literalNode->value.isNull()
            && (fieldNode->type == FieldType::String || fieldNode->type == FieldType::Memo)) {
            textField = fieldNode;
            literalText = &literalNode->value.text;
        }
    }
    Value eval(int row) const override
    {
        Value out;
        out.kind = Kind::Bool;
        if (textField) {
            if (!textField->store.isNull(textField->field, row))
                out.b = applyOp(op, textField->store.textAt(textField->field, row).compare(*literalText));
            return out;
        }
        const Value a = left->eval(row);
        if (a.isNull())
            return out;
        const Value b = right->eval(row);
        if (b.isNull())
            return out;
        int c = 0;
        switch (mode) {
        case CompareMode::Text:
            c = a.text.compare(b.text);
            break;
        case CompareMode::Number:
            c = compareNumbers(a.num, b.num);
            break;
        case CompareMode::Date:
            c = a.date < b.date ? -1 : (b.date < a.date ? 1 : 0);
            break;
        case CompareMode::Bool:
            c = a.b == b.b ? 0 : 1;
            break;
        case CompareMode::TextAsNumber: {
            // A text field against a number: a text that is no number never matches.
            const auto n = numberFromText(textOnRight ? b.text : a.text);
            if (!n)
                return out;
            c = textOnRight ? compareNumbers(a.num, *n) : compareNumbers(*n, b.num);
            break;
        }
        }
        out.b = applyOp(op, c);
        return out;
    }
    Op op;
    CompareMode mode;
    NodePtr left, right;
    bool textOnRight;
    const FieldNode *textField = nullptr; // with literalText, when both sides are texts
    const QString *literalText = nullptr;
};

struct LogicNode : Node
{
    LogicNode(NodePtr l, NodePtr r, bool isAnd)
        : Node(Kind::Bool)
        , left(std::move(l))
        , right(std::move(r))
        , conjunction(isAnd)
    {
        depth = 1 + std::max(left->depth, right->depth);
    }
    Value eval(int row) const override
    {
        Value out;
        out.kind = Kind::Bool;
        const bool a = left->eval(row).b;
        if (conjunction ? !a : a) {
            out.b = a;
            return out;
        }
        out.b = right->eval(row).b;
        return out;
    }
    NodePtr left, right;
    bool conjunction;
};

struct NotNode : Node
{
    explicit NotNode(NodePtr c)
        : Node(Kind::Bool)
        , child(std::move(c))
    {
        depth = 1 + child->depth;
    }
    Value eval(int row) const override
    {
        Value out;
        out.kind = Kind::Bool;
        out.b = !child->eval(row).b;
        return out;
    }
    NodePtr child;
};

struct IsNullNode : Node
{
    IsNullNode(NodePtr c, bool negate)
        : Node(Kind::Bool)
        , child(std::move(c))
        , negated(negate)
    {
        depth = 1 + child->depth;
    }
    Value eval(int row) const override
    {
        Value out;
        out.kind = Kind::Bool;
        out.b = child->eval(row).isNull() != negated;
        return out;
    }
    NodePtr child;
    bool negated;
};

// --- Parser ----------------------------------------------------------------------

enum class Tok { End, Ident, String, Number, Op, LParen, RParen, And, Or, Not, Is, Null, True, False };

struct Token
{
    Tok type = Tok::End;
    QString text;
    qsizetype pos = 0; // 1-based
};

// Deeper texts are refused: no program filter comes near, and parsing or
// evaluating them would exhaust the stack.
constexpr int kMaxNesting = 100; // parentheses and chains of not and minus
constexpr int kMaxDepth = 1000;  // operators in a row

class Parser
{
public:
    Parser(const ClientDataSet &ds, const RecordStore &store, const QString &text)
        : m_ds(ds)
        , m_store(store)
        , m_text(text)
    {
        tokenize();
    }

    NodePtr parse()
    {
        NodePtr root = parseOr();
        if (peek().type != Tok::End)
            fail(u"testo inatteso «%1»"_s.arg(peek().text), peek().pos);
        if (root->kind != Kind::Bool)
            fail(u"il filtro deve essere una condizione"_s, 1);
        return root;
    }

private:
    [[noreturn]] void fail(const QString &what, qsizetype pos) const
    {
        throw EDatabaseError(u"Filtro non valido «%1»: %2 (posizione %3)"_s.arg(m_text, what).arg(pos));
    }

    void tokenize()
    {
        const qsizetype n = m_text.size();
        qsizetype i = 0;
        while (i < n) {
            const QChar c = m_text[i];
            if (c.isSpace()) {
                ++i;
                continue;
            }
            Token t;
            t.pos = i + 1;
            if (c == u'\'') {
                QString s;
                ++i;
                bool closed = false;
                while (i < n) {
                    if (m_text[i] == u'\'') {
                        if (i + 1 < n && m_text[i + 1] == u'\'') {
                            s += u'\'';
                            i += 2;
                            continue;
                        }
                        closed = true;
                        ++i;
                        break;
                    }
                    s += m_text[i++];
                }
                if (!closed)
                    fail(u"testo tra apici non chiuso"_s, t.pos);
                t.type = Tok::String;
                t.text = s;
            } else if (c.isDigit() || (c == u'.' && i + 1 < n && m_text[i + 1].isDigit())) {
                const qsizetype start = i;
                while (i < n && (m_text[i].isDigit() || m_text[i] == u'.'))
                    ++i;
                t.type = Tok::Number;
                t.text = m_text.mid(start, i - start);
            } else if (c.isLetter() || c == u'_') {
                const qsizetype start = i;
                while (i < n && (m_text[i].isLetterOrNumber() || m_text[i] == u'_'))
                    ++i;
                t.text = m_text.mid(start, i - start);
                const QString k = t.text.toLower();
                t.type = k == u"and" ? Tok::And
                         : k == u"or" ? Tok::Or
                         : k == u"not" ? Tok::Not
                         : k == u"is" ? Tok::Is
                         : k == u"null" ? Tok::Null
                         : k == u"true" ? Tok::True
                         : k == u"false" ? Tok::False
                                         : Tok::Ident;
            } else if (c == u'[') {
                const qsizetype end = m_text.indexOf(u']', i);
                if (end < 0)
                    fail(u"nome di campo tra parentesi quadre non chiuso"_s, t.pos);
                t.type = Tok::Ident;
                t.text = m_text.mid(i + 1, end - i - 1);
                i = end + 1;
            } else if (c == u'(' || c == u')') {
                t.type = c == u'(' ? Tok::LParen : Tok::RParen;
                t.text = c;
                ++i;
            } else {
                static const QString two[] = {u"<>"_s, u"<="_s, u">="_s, u"!="_s};
                static const QString one = u"=<>+-"_s;
                bool matched = false;
                for (const QString &op : two) {
                    if (m_text.mid(i, 2) == op) {
                        t.type = Tok::Op;
                        t.text = op == u"!=" ? u"<>"_s : op;
                        i += 2;
                        matched = true;
                        break;
                    }
                }
                if (!matched && one.contains(c)) {
                    t.type = Tok::Op;
                    t.text = c;
                    ++i;
                    matched = true;
                }
                if (!matched)
                    fail(u"carattere non ammesso «%1»"_s.arg(c), t.pos);
            }
            m_tokens.push_back(t);
        }
        Token end;
        end.pos = n + 1;
        m_tokens.push_back(end);
    }

    // Counts the parser's own recursion (parentheses, chains of not and minus).
    struct Nesting
    {
        Nesting(Parser &p, qsizetype pos)
            : parser(p)
        {
            if (++parser.m_nesting > kMaxNesting)
                parser.fail(u"espressione troppo annidata"_s, pos);
        }
        ~Nesting() { --parser.m_nesting; }
        Parser &parser;
    };

    NodePtr limited(NodePtr node, qsizetype pos) const
    {
        if (node->depth > kMaxDepth)
            fail(u"espressione troppo lunga"_s, pos);
        return node;
    }

    const Token &peek() const { return m_tokens[m_at]; }
    Token take() { return m_tokens[m_at++]; }
    bool isOp(const char16_t *op) const { return peek().type == Tok::Op && peek().text == QStringView(op); }

    NodePtr expectBool(NodePtr node, qsizetype pos) const
    {
        if (node->kind != Kind::Bool)
            fail(u"è attesa una condizione"_s, pos);
        return node;
    }

    NodePtr parseOr()
    {
        const qsizetype pos = peek().pos;
        NodePtr left = parseAnd();
        while (peek().type == Tok::Or) {
            const qsizetype opPos = take().pos;
            NodePtr right = parseAnd();
            left = limited(std::make_unique<LogicNode>(expectBool(std::move(left), pos), expectBool(std::move(right), opPos + 3), false), opPos);
        }
        return left;
    }

    NodePtr parseAnd()
    {
        const qsizetype pos = peek().pos;
        NodePtr left = parseNot();
        while (peek().type == Tok::And) {
            const qsizetype opPos = take().pos;
            NodePtr right = parseNot();
            left = limited(std::make_unique<LogicNode>(expectBool(std::move(left), pos), expectBool(std::move(right), opPos + 4), true), opPos);
        }
        return left;
    }

    NodePtr parseNot()
    {
        if (peek().type == Tok::Not) {
            const qsizetype pos = take().pos;
            const Nesting nesting(*this, pos);
            return std::make_unique<NotNode>(expectBool(parseNot(), pos));
        }
        return parsePredicate();
    }

    NodePtr parsePredicate()
    {
        NodePtr left = parseAdditive();
        if (peek().type == Tok::Is) {
            take();
            bool negate = false;
            if (peek().type == Tok::Not) {
                take();
                negate = true;
            }
            if (peek().type != Tok::Null)
                fail(u"dopo «is» è atteso «null»"_s, peek().pos);
            take();
            return std::make_unique<IsNullNode>(std::move(left), negate);
        }
        if (peek().type == Tok::Op && !isOp(u"+") && !isOp(u"-")) {
            const Token opTok = take();
            const Op op = opTok.text == u"=" ? Op::Eq
                          : opTok.text == u"<>" ? Op::Ne
                          : opTok.text == u"<" ? Op::Lt
                          : opTok.text == u"<=" ? Op::Le
                          : opTok.text == u">" ? Op::Gt
                                               : Op::Ge;
            NodePtr right = parseAdditive();
            return makeCompare(op, std::move(left), std::move(right), opTok.pos);
        }
        return left;
    }

    NodePtr makeCompare(Op op, NodePtr left, NodePtr right, qsizetype pos)
    {
        if (left->kind == Kind::Null || right->kind == Kind::Null) {
            Value f;
            f.kind = Kind::Bool;
            return std::make_unique<LiteralNode>(f);
        }
        coerceLiteral(left, right->kind, pos);
        coerceLiteral(right, left->kind, pos);
        const Kind a = left->kind;
        const Kind b = right->kind;
        CompareMode mode = CompareMode::Text;
        bool textOnRight = false;
        if (a == b) {
            if (a == Kind::Bool && op != Op::Eq && op != Op::Ne)
                fail(u"i valori logici si confrontano solo con = e <>"_s, pos);
            mode = a == Kind::Text ? CompareMode::Text
                   : a == Kind::Number ? CompareMode::Number
                   : a == Kind::Date ? CompareMode::Date
                                     : CompareMode::Bool;
        } else if ((a == Kind::Text && b == Kind::Number) || (a == Kind::Number && b == Kind::Text)) {
            mode = CompareMode::TextAsNumber;
            textOnRight = b == Kind::Text;
        } else {
            fail(u"valori di tipo diverso non confrontabili"_s, pos);
        }
        return std::make_unique<CompareNode>(op, mode, std::move(left), std::move(right), textOnRight);
    }

    // A text literal compared with a date or a number is read as one.
    void coerceLiteral(NodePtr &node, Kind target, qsizetype pos) const
    {
        auto *lit = dynamic_cast<LiteralNode *>(node.get());
        if (!lit || lit->kind != Kind::Text || (target != Kind::Date && target != Kind::Number))
            return;
        Value v;
        if (target == Kind::Date) {
            const auto dt = Conv::parseDateTime(lit->value.text);
            if (!dt)
                fail(u"«%1» non è una data valida"_s.arg(lit->value.text), pos);
            v.kind = Kind::Date;
            v.date = RecordStore::dateTimeToInt(*dt);
        } else {
            const auto n = numberFromText(lit->value.text);
            if (!n)
                fail(u"«%1» non è un numero valido"_s.arg(lit->value.text), pos);
            v.kind = Kind::Number;
            v.num = *n;
        }
        node = std::make_unique<LiteralNode>(v);
    }

    NodePtr parseAdditive()
    {
        NodePtr left = parseUnary();
        while (isOp(u"+") || isOp(u"-")) {
            const Token opTok = take();
            NodePtr right = parseUnary();
            const bool minus = opTok.text == u"-";
            const Kind a = left->kind;
            const Kind b = right->kind;
            if (a == Kind::Null || b == Kind::Null) {
                left = std::make_unique<LiteralNode>(Value());
            } else if (!minus && a == Kind::Text && b == Kind::Text) {
                left = limited(std::make_unique<ConcatNode>(std::move(left), std::move(right)), opTok.pos);
            } else if (a == Kind::Number && b == Kind::Number) {
                left = limited(std::make_unique<ArithNode>(std::move(left), std::move(right), minus), opTok.pos);
            } else {
                fail(minus ? u"la sottrazione vale solo tra numeri"_s : u"«+» unisce due testi o somma due numeri"_s, opTok.pos);
            }
        }
        return left;
    }

    NodePtr parseUnary()
    {
        if (isOp(u"-")) {
            const qsizetype pos = take().pos;
            const Nesting nesting(*this, pos);
            NodePtr child = parseUnary();
            if (child->kind != Kind::Number)
                fail(u"il segno meno vale solo per i numeri"_s, pos);
            return std::make_unique<NegateNode>(std::move(child));
        }
        return parsePrimary();
    }

    NodePtr parsePrimary()
    {
        const Token t = take();
        Value v;
        switch (t.type) {
        case Tok::String:
            v.kind = Kind::Text;
            v.text = t.text;
            return std::make_unique<LiteralNode>(v);
        case Tok::Number: {
            const auto d = Decimal::parseC(t.text);
            if (!d)
                fail(u"numero non valido «%1»"_s.arg(t.text), t.pos);
            v.kind = Kind::Number;
            v.num = Number{true, *d, 0};
            return std::make_unique<LiteralNode>(v);
        }
        case Tok::True:
        case Tok::False:
            v.kind = Kind::Bool;
            v.b = t.type == Tok::True;
            return std::make_unique<LiteralNode>(v);
        case Tok::Null:
            return std::make_unique<LiteralNode>(v);
        case Tok::Ident:
            return fieldNode(t);
        case Tok::LParen: {
            const Nesting nesting(*this, t.pos);
            NodePtr inner = parseOr();
            if (peek().type != Tok::RParen)
                fail(u"manca la parentesi di chiusura"_s, peek().pos);
            take();
            return inner;
        }
        case Tok::End:
            fail(u"il filtro finisce prima del previsto"_s, t.pos);
        default:
            fail(u"testo inatteso «%1»"_s.arg(t.text), t.pos);
        }
    }

    NodePtr fieldNode(const Token &t) const
    {
        const Field *f = m_ds.findField(t.text);
        if (!f)
            fail(u"campo «%1» inesistente nel dataset %2"_s.arg(t.text, m_ds.name()), t.pos);
        Kind k = Kind::Text;
        switch (f->dataType()) {
        case FieldType::String:
        case FieldType::Memo:
            k = Kind::Text;
            break;
        case FieldType::Integer:
        case FieldType::LargeInt:
        case FieldType::Float:
        case FieldType::Decimal:
            k = Kind::Number;
            break;
        case FieldType::Date:
        case FieldType::DateTime:
            k = Kind::Date;
            break;
        case FieldType::Boolean:
            k = Kind::Bool;
            break;
        case FieldType::Blob:
            fail(u"il campo «%1» contiene dati binari e non può comparire in un filtro"_s.arg(t.text), t.pos);
        }
        return std::make_unique<FieldNode>(m_store, f->index(), f->dataType(), k);
    }

    const ClientDataSet &m_ds;
    const RecordStore &m_store;
    QString m_text;
    std::vector<Token> m_tokens;
    std::size_t m_at = 0;
    int m_nesting = 0;
};

} // namespace

FilterExpression::FilterExpression(const ClientDataSet &dataSet, const QString &text)
{
    Parser parser(dataSet, dataSet.m_store, text);
    m_root = parser.parse();
}

FilterExpression::~FilterExpression() = default;

bool FilterExpression::matches(int row) const
{
    return m_root->eval(row).b;
}
