#include "archive/sql/parser.h"

#include <array>

#include "archive/archive_error.h"
#include "archive/sql/lexer.h"

namespace tarvik::archive::sql {

namespace {

// Words that can only be names when bracketed.
constexpr std::array<std::string_view, 37> kReserved = {
    "SELECT", "FROM",   "WHERE",  "GROUP",       "BY",     "HAVING", "ORDER", "ASC",
    "DESC",   "AND",    "OR",     "NOT",         "IS",     "NULL",   "INNER", "LEFT",
    "RIGHT",  "OUTER",  "JOIN",   "ON",          "AS",     "DISTINCT", "ALL", "DISTINCTROW",
    "TOP",    "UNION",  "IN",     "LIKE",        "BETWEEN", "FULL",  "CROSS", "INTO",
    "EXISTS", "PARAMETERS", "TRANSFORM", "PIVOT", "WITH"};

bool is_reserved(const Token& t) {
  if (t.kind != TokenKind::Word) return false;
  for (std::string_view w : kReserved) {
    if (same_name(t.text, w)) return true;
  }
  return false;
}

class Parser {
 public:
  explicit Parser(std::string_view source) : source_(source), tokens_(tokenize(source)) {}

  SelectStatement statement() {
    if (!peek().is_keyword("SELECT")) {
      if (peek().is_keyword("TRANSFORM") || peek().is_keyword("PARAMETERS")) {
        throw errors::unsupported_sql(upper(peek().text));
      }
      throw errors::invalid_sql_statement();
    }
    advance();
    SelectStatement st;
    if (peek().is_keyword("DISTINCT")) {
      st.distinct = true;
      advance();
    } else if (peek().is_keyword("ALL")) {
      advance();
    } else if (peek().is_keyword("DISTINCTROW") || peek().is_keyword("TOP")) {
      throw errors::unsupported_sql(upper(peek().text));
    }
    select_list(st);
    if (!peek().is_keyword("FROM")) {
      if (peek().is_keyword("INTO")) throw errors::unsupported_sql("SELECT INTO");
      throw errors::select_syntax(near());
    }
    advance();
    st.from = from_item();
    if (peek().is_symbol(",")) throw errors::unsupported_sql("FROM con tabelle separate da virgola");
    if (peek().is_keyword("WHERE")) {
      advance();
      st.where = expression();
    }
    if (peek().is_keyword("GROUP")) {
      advance();
      expect_keyword("BY");
      do {
        st.group_by.push_back(expression());
      } while (accept_symbol(","));
    }
    if (peek().is_keyword("HAVING")) {
      advance();
      st.having = expression();
    }
    if (peek().is_keyword("ORDER")) {
      advance();
      expect_keyword("BY");
      do {
        OrderItem item;
        item.expr = expression();
        if (peek().is_keyword("DESC")) {
          item.descending = true;
          advance();
        } else if (peek().is_keyword("ASC")) {
          advance();
        }
        st.order_by.push_back(std::move(item));
      } while (accept_symbol(","));
    }
    if (peek().is_keyword("UNION")) throw errors::unsupported_sql("UNION");
    accept_symbol(";");
    if (peek().kind != TokenKind::End) throw errors::select_syntax(near());
    return st;
  }

 private:
  const Token& peek(std::size_t ahead = 0) const {
    const std::size_t i = pos_ + ahead;
    return i < tokens_.size() ? tokens_[i] : tokens_.back();
  }
  const Token& advance() {
    const Token& t = tokens_[pos_];
    last_end_ = t.end;
    if (pos_ + 1 < tokens_.size()) ++pos_;
    return t;
  }
  bool accept_symbol(std::string_view s) {
    if (!peek().is_symbol(s)) return false;
    advance();
    return true;
  }
  void expect_keyword(std::string_view k) {
    if (!peek().is_keyword(k)) throw errors::select_syntax(near());
    advance();
  }
  std::string near() const {
    const Token& t = peek();
    if (t.kind == TokenKind::End) return "fine dell'istruzione";
    return std::string(source_.substr(t.offset, 20));
  }
  static std::string upper(std::string s) {
    for (char& c : s) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
  }
  bool is_name(const Token& t) const {
    return t.kind == TokenKind::QuotedName || (t.kind == TokenKind::Word && !is_reserved(t));
  }
  // End of the last consumed token, for slicing an expression's source text.
  std::size_t consumed_end() const { return last_end_; }

  void select_list(SelectStatement& st) {
    do {
      SelectItem item;
      if (peek().is_symbol("*")) {
        advance();
        item.all_columns = true;
      } else if (is_name(peek()) && (peek(1).is_symbol(".") || peek(1).is_symbol("!")) &&
                 peek(2).is_symbol("*")) {
        item.all_columns = true;
        item.qualifier = advance().text;
        advance();
        advance();
      } else {
        if (peek().kind == TokenKind::End || peek().is_keyword("FROM")) {
          throw errors::select_syntax(near());
        }
        item.expr = expression();
        if (peek().is_keyword("AS")) {
          advance();
          if (!is_name(peek())) throw errors::select_syntax(near());
          item.alias = advance().text;
        }
      }
      st.items.push_back(std::move(item));
    } while (accept_symbol(","));
  }

  TableRefPtr from_item() {
    TableRefPtr left = from_primary();
    while (true) {
      JoinKind kind;
      if (peek().is_keyword("INNER")) {
        kind = JoinKind::Inner;
        advance();
      } else if (peek().is_keyword("LEFT")) {
        kind = JoinKind::Left;
        advance();
        if (peek().is_keyword("OUTER")) advance();
      } else if (peek().is_keyword("RIGHT") || peek().is_keyword("FULL") ||
                 peek().is_keyword("CROSS")) {
        throw errors::unsupported_sql(upper(peek().text) + " JOIN");
      } else if (peek().is_keyword("JOIN")) {
        throw errors::from_syntax(near());
      } else {
        return left;
      }
      if (!peek().is_keyword("JOIN")) throw errors::from_syntax(near());
      advance();
      auto join = std::make_unique<TableRef>();
      join->is_join = true;
      join->join = kind;
      join->left = std::move(left);
      join->right = from_primary();
      if (!peek().is_keyword("ON")) throw errors::from_syntax(near());
      advance();
      join->on = expression();
      left = std::move(join);
    }
  }

  TableRefPtr from_primary() {
    if (accept_symbol("(")) {
      if (peek().is_keyword("SELECT")) throw errors::unsupported_sql("sottoquery");
      TableRefPtr inner = from_item();
      if (!accept_symbol(")")) throw errors::from_syntax(near());
      return inner;
    }
    if (!is_name(peek())) throw errors::from_syntax(near());
    auto ref = std::make_unique<TableRef>();
    ref->table = advance().text;
    if (peek().is_keyword("AS")) {
      advance();
      if (!is_name(peek())) throw errors::from_syntax(near());
      ref->alias = advance().text;
    } else if (is_name(peek())) {
      ref->alias = advance().text;
    }
    return ref;
  }

  ExprPtr expression() {
    expression_start_ = peek().offset;
    return or_expr();
  }

  static ExprPtr make(ExprKind kind) {
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    return e;
  }
  void finish(Expr& e, std::size_t start) {
    const std::size_t end = consumed_end();
    e.text = std::string(source_.substr(start, end > start ? end - start : 0));
  }

  ExprPtr binary(ExprKind kind, ExprPtr l, ExprPtr r, std::size_t start) {
    ExprPtr e = make(kind);
    e->args.push_back(std::move(l));
    e->args.push_back(std::move(r));
    finish(*e, start);
    return e;
  }

  ExprPtr or_expr() {
    const std::size_t start = peek().offset;
    ExprPtr e = and_expr();
    while (peek().is_keyword("OR")) {
      advance();
      e = binary(ExprKind::Or, std::move(e), and_expr(), start);
    }
    return e;
  }

  ExprPtr and_expr() {
    const std::size_t start = peek().offset;
    ExprPtr e = not_expr();
    while (peek().is_keyword("AND")) {
      advance();
      e = binary(ExprKind::And, std::move(e), not_expr(), start);
    }
    return e;
  }

  ExprPtr not_expr() {
    const std::size_t start = peek().offset;
    if (peek().is_keyword("NOT")) {
      advance();
      ExprPtr e = make(ExprKind::Not);
      e->args.push_back(not_expr());
      finish(*e, start);
      return e;
    }
    return comparison();
  }

  ExprPtr comparison() {
    const std::size_t start = peek().offset;
    ExprPtr left = operand();
    static constexpr std::array<std::pair<std::string_view, CompareOp>, 6> kOps = {{
        {"=", CompareOp::Equal},
        {"<>", CompareOp::NotEqual},
        {"<", CompareOp::Less},
        {"<=", CompareOp::LessEqual},
        {">", CompareOp::Greater},
        {">=", CompareOp::GreaterEqual},
    }};
    for (const auto& [symbol, op] : kOps) {
      if (peek().is_symbol(symbol)) {
        advance();
        ExprPtr e = binary(ExprKind::Compare, std::move(left), operand(), start);
        e->op = op;
        refuse_unsupported_operator();
        return e;
      }
    }
    if (peek().is_keyword("IS")) {
      advance();
      ExprPtr e = make(ExprKind::IsNull);
      if (peek().is_keyword("NOT")) {
        e->negated = true;
        advance();
      }
      if (!peek().is_keyword("NULL")) throw errors::expression_syntax(expression_text());
      advance();
      e->args.push_back(std::move(left));
      finish(*e, start);
      return e;
    }
    refuse_unsupported_operator();
    return left;
  }

  void refuse_unsupported_operator() {
    const Token& t = peek();
    if (t.is_keyword("LIKE") || t.is_keyword("IN") || t.is_keyword("BETWEEN")) {
      throw errors::unsupported_sql(upper(t.text));
    }
    if (t.is_symbol("+") || t.is_symbol("-") || t.is_symbol("*") || t.is_symbol("/") ||
        t.is_symbol("&")) {
      throw errors::unsupported_sql("l'operatore " + t.text);
    }
    if (t.is_symbol("=") || t.is_symbol("<>") || t.is_symbol("<") || t.is_symbol("<=") ||
        t.is_symbol(">") || t.is_symbol(">=")) {
      throw errors::expression_syntax(expression_text());
    }
  }

  std::string expression_text() const {
    const std::size_t end = peek().kind == TokenKind::End ? source_.size() : peek().end;
    return std::string(source_.substr(expression_start_, end - expression_start_));
  }

  ExprPtr operand() {
    const std::size_t start = peek().offset;
    const Token& t = peek();
    if (t.is_symbol("-")) {
      advance();
      ExprPtr e = make(ExprKind::Negate);
      e->args.push_back(operand());
      finish(*e, start);
      return e;
    }
    if (t.is_symbol("+")) {
      advance();
      return operand();
    }
    if (t.kind == TokenKind::Number || t.kind == TokenKind::String) {
      ExprPtr e = make(t.kind == TokenKind::Number ? ExprKind::Number : ExprKind::String);
      e->literal = advance().text;
      finish(*e, start);
      return e;
    }
    if (t.is_keyword("NULL")) {
      advance();
      ExprPtr e = make(ExprKind::Null);
      finish(*e, start);
      return e;
    }
    if (t.is_symbol("(")) {
      advance();
      if (peek().is_keyword("SELECT")) throw errors::unsupported_sql("sottoquery");
      ExprPtr e = or_expr();
      if (!accept_symbol(")")) throw errors::expression_syntax(expression_text());
      return e;
    }
    if (t.kind == TokenKind::Word && !is_reserved(t) && peek(1).is_symbol("(")) {
      ExprPtr e = make(ExprKind::Function);
      e->name = advance().text;
      advance();  // (
      if (peek().is_symbol("*")) {
        advance();
        e->star = true;
      } else if (!peek().is_symbol(")")) {
        do {
          e->args.push_back(or_expr());
        } while (accept_symbol(","));
      }
      if (!accept_symbol(")")) throw errors::expression_syntax(expression_text());
      finish(*e, start);
      return e;
    }
    if (is_name(t)) {
      ExprPtr e = make(ExprKind::Column);
      e->name = advance().text;
      if (peek().is_symbol(".") || peek().is_symbol("!")) {
        advance();
        if (!is_name(peek())) throw errors::expression_syntax(expression_text());
        e->qualifier = std::move(e->name);
        e->name = advance().text;
      }
      finish(*e, start);
      return e;
    }
    throw errors::expression_syntax(expression_text());
  }

  std::string_view source_;
  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  std::size_t expression_start_ = 0;
  std::size_t last_end_ = 0;
};

}  // namespace

SelectStatement parse(std::string_view statement) { return Parser(statement).statement(); }

}  // namespace tarvik::archive::sql
