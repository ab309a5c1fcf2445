// The parser reads every text the exporters send, and Jet SQL outside the subset is refused with
// the error that names it rather than read loosely.
#include "archive/sql/parser.h"

#include <gtest/gtest.h>

#include "archive/archive_error.h"
#include "sql/quoted_queries.h"

namespace tarvik::archive::sql {
namespace {

int error_number(const std::string& text) {
  try {
    parse(text);
  } catch (const ArchiveError& e) {
    return e.number();
  }
  return 0;
}

TEST(Parser, ReadsEveryQuotedQuery) {
  const auto queries = test::quoted_queries();
  ASSERT_EQ(queries.size(), 40u);
  for (const std::string& q : queries) {
    EXPECT_NO_THROW(parse(q)) << q;
  }
}

TEST(Parser, SelfJoinNestsTheParenthesisedJoinOnTheLeft) {
  const SelectStatement st = parse(
      "SELECT CliFor.idCliFor, CliFor.idAgente FROM (CliFor INNER JOIN Agenti ON CliFor.idAgente = "
      "Agenti.idCliFor) INNER JOIN CliFor AS CliFor_1 ON Agenti.idCliFor = CliFor_1.idCliFor");
  ASSERT_EQ(st.items.size(), 2u);
  EXPECT_EQ(st.items[1].expr->qualifier, "CliFor");
  EXPECT_EQ(st.items[1].expr->name, "idAgente");
  const TableRef& top = *st.from;
  ASSERT_TRUE(top.is_join);
  ASSERT_TRUE(top.left->is_join);
  EXPECT_EQ(top.left->left->table, "CliFor");
  EXPECT_EQ(top.left->right->table, "Agenti");
  EXPECT_EQ(top.right->table, "CliFor");
  EXPECT_EQ(top.right->alias, "CliFor_1");
  EXPECT_EQ(top.on->kind, ExprKind::Compare);
  EXPECT_EQ(top.on->args[1]->qualifier, "CliFor_1");
}

TEST(Parser, GroupByHavingWithCountInLowerCase) {
  const SelectStatement st = parse(
      "select CodiceArticolo, idCliFor, count(CodiceArticolo) from LinkMagazzinoFornitori group by "
      "CodiceArticolo, idCliFor having count(CodiceArticolo) > 1");
  ASSERT_EQ(st.items.size(), 3u);
  EXPECT_EQ(st.items[2].expr->kind, ExprKind::Function);
  EXPECT_EQ(st.items[2].expr->text, "count(CodiceArticolo)");
  EXPECT_EQ(st.group_by.size(), 2u);
  ASSERT_TRUE(st.having);
  EXPECT_EQ(st.having->op, CompareOp::Greater);
  EXPECT_EQ(st.having->args[0]->kind, ExprKind::Function);
}

TEST(Parser, LeftJoinWithIsNull) {
  const SelectStatement st = parse(
      "select TestataFattAcc.* from TestataFattAcc left join CliFor on TestataFattAcc.idDestinazione "
      "= CliFor.idCliFor where CliFor.idCliFor is null");
  EXPECT_TRUE(st.items[0].all_columns);
  EXPECT_EQ(st.items[0].qualifier, "TestataFattAcc");
  EXPECT_EQ(st.from->join, JoinKind::Left);
  ASSERT_TRUE(st.where);
  EXPECT_EQ(st.where->kind, ExprKind::IsNull);
  EXPECT_FALSE(st.where->negated);
}

TEST(Parser, NegativeLiteralAndLen) {
  SelectStatement st = parse("SELECT NoteInBolla FROM CliFor WHERE idCliFor = -1");
  EXPECT_EQ(st.where->args[1]->kind, ExprKind::Negate);
  EXPECT_EQ(st.where->args[1]->args[0]->literal, "1");
  st = parse("SELECT Codice, Barcode FROM Magazzino WHERE LEN(Barcode) > 0");
  EXPECT_EQ(st.where->args[0]->kind, ExprKind::Function);
  EXPECT_EQ(st.where->args[0]->name, "LEN");
}

TEST(Parser, OrderByKeysAndDirections) {
  const SelectStatement st =
      parse("SELECT * FROM StampaPersonalizzata ORDER BY TipoDocumento, TestataRighe DESC, NumeroOrdine ASC");
  ASSERT_EQ(st.order_by.size(), 3u);
  EXPECT_FALSE(st.order_by[0].descending);
  EXPECT_TRUE(st.order_by[1].descending);
  EXPECT_FALSE(st.order_by[2].descending);
}

TEST(Parser, KeywordsInAnyCaseAndBracketedNames) {
  const SelectStatement st = parse(
      "sElEcT DiStInCt [Order].[Select], [Remise%] fRoM [Order] As [From] WhErE NoT [Select] Is NoT "
      "NuLl aNd (a = 'It''s' Or b <> \"x\") oRdEr By [Select] dEsC;");
  EXPECT_TRUE(st.distinct);
  EXPECT_EQ(st.items[0].expr->qualifier, "Order");
  EXPECT_EQ(st.items[0].expr->name, "Select");
  EXPECT_EQ(st.items[1].expr->name, "Remise%");
  EXPECT_EQ(st.from->table, "Order");
  EXPECT_EQ(st.from->alias, "From");
  ASSERT_EQ(st.where->kind, ExprKind::And);
  EXPECT_EQ(st.where->args[0]->kind, ExprKind::Not);
  EXPECT_TRUE(st.where->args[0]->args[0]->negated);
  EXPECT_EQ(st.where->args[1]->kind, ExprKind::Or);
  EXPECT_EQ(st.where->args[1]->args[0]->args[1]->literal, "It's");
  EXPECT_EQ(st.where->args[1]->args[1]->args[1]->literal, "x");
  EXPECT_TRUE(st.order_by[0].descending);
}

TEST(Parser, NotBindsLooserThanComparisonAndAndTighterThanOr) {
  const SelectStatement st = parse("SELECT a FROM T WHERE NOT a = 1 OR b = 2 AND c = 3");
  ASSERT_EQ(st.where->kind, ExprKind::Or);
  EXPECT_EQ(st.where->args[0]->kind, ExprKind::Not);
  EXPECT_EQ(st.where->args[0]->args[0]->kind, ExprKind::Compare);
  EXPECT_EQ(st.where->args[1]->kind, ExprKind::And);
}

TEST(Parser, JoinToAParenthesisedJoinOnTheRight) {
  const SelectStatement st = parse("SELECT * FROM A LEFT OUTER JOIN (B INNER JOIN C ON B.x = C.x) ON A.y = B.y");
  EXPECT_EQ(st.from->join, JoinKind::Left);
  EXPECT_FALSE(st.from->left->is_join);
  EXPECT_TRUE(st.from->right->is_join);
}

TEST(Parser, ImplicitTableAlias) {
  const SelectStatement st = parse("SELECT c.a FROM CliFor c");
  EXPECT_EQ(st.from->alias, "c");
}

TEST(Parser, RefusesWhatIsNotASelect) {
  EXPECT_EQ(error_number(""), 3129);
  EXPECT_EQ(error_number("DELETE * FROM CliFor"), 3129);
  EXPECT_EQ(error_number("SELEC * FROM CliFor"), 3129);
}

TEST(Parser, ReportsMalformedStatements) {
  EXPECT_EQ(error_number("SELECT FROM CliFor"), 3141);
  EXPECT_EQ(error_number("SELECT a, FROM CliFor"), 3141);
  EXPECT_EQ(error_number("SELECT a CliFor"), 3141);
  EXPECT_EQ(error_number("SELECT * FROM CliFor WHERE a = 'open"), 3141);
  EXPECT_EQ(error_number("SELECT * FROM [CliFor"), 3141);
  EXPECT_EQ(error_number("SELECT * FROM CliFor extra words"), 3141);
  EXPECT_EQ(error_number("SELECT * FROM CliFor ORDER TipoDocumento"), 3141);
  EXPECT_EQ(error_number("SELECT * FROM CliFor WHERE a = = 1"), 3075);
  EXPECT_EQ(error_number("SELECT * FROM CliFor WHERE a IS 1"), 3075);
  EXPECT_EQ(error_number("SELECT * FROM CliFor WHERE (a = 1"), 3075);
  EXPECT_EQ(error_number("SELECT * FROM CliFor WHERE a = 1 # 2"), 3141);
}

TEST(Parser, ReportsMalformedFromClauses) {
  EXPECT_EQ(error_number("SELECT * FROM"), 3131);
  EXPECT_EQ(error_number("SELECT * FROM A JOIN B ON A.x = B.x"), 3131);
  EXPECT_EQ(error_number("SELECT * FROM A INNER JOIN B"), 3131);
  EXPECT_EQ(error_number("SELECT * FROM (A INNER JOIN B ON A.x = B.x"), 3131);
  EXPECT_EQ(error_number("SELECT * FROM A INNER B ON A.x = B.x"), 3131);
}

TEST(Parser, RefusesJetSqlOutsideTheSubset) {
  for (const char* text : {
           "SELECT TOP 5 * FROM CliFor",
           "SELECT DISTINCTROW * FROM CliFor",
           "SELECT * FROM A RIGHT JOIN B ON A.x = B.x",
           "SELECT * FROM A, B",
           "SELECT * FROM A UNION SELECT * FROM B",
           "SELECT * FROM A WHERE x LIKE 'a*'",
           "SELECT * FROM A WHERE x IN (1, 2)",
           "SELECT * FROM A WHERE x BETWEEN 1 AND 2",
           "SELECT * FROM A WHERE x = (SELECT y FROM B)",
           "SELECT * FROM (SELECT * FROM B)",
           "SELECT a + 1 FROM A",
           "SELECT a FROM A WHERE a * 2 > 1",
           "SELECT a & b FROM A",
           "SELECT * INTO B FROM A",
           "TRANSFORM Count(x) SELECT a FROM A GROUP BY a PIVOT b",
       }) {
    EXPECT_EQ(error_number(text), 3251) << text;
  }
}

}  // namespace
}  // namespace tarvik::archive::sql
