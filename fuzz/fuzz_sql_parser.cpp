// Fuzzes the SQL front end: the lexer, the parser and the planner. The input is a statement's
// text. The planner needs table definitions; it gets them without an archive: every table named
// in the statement exists, and has a column for every name the statement mentions, typed by the
// name (names beginning with "id" are Long, as Tarvik's keys are; the others take a type from a
// hash of the name), so the quoted queries plan through their joins and the fuzzer reaches the
// binder's type checks. Only ArchiveError may come out.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_error.h"
#include "archive/sql/lexer.h"
#include "archive/sql/parser.h"
#include "archive/sql/plan.h"

using namespace tarvik::archive;
using jet::Column;
using jet::TableDef;

namespace {

constexpr FieldType kTypes[] = {FieldType::Text,   FieldType::Long,     FieldType::Integer,
                                 FieldType::Double, FieldType::Currency, FieldType::DateTime,
                                 FieldType::Boolean, FieldType::Byte,    FieldType::Memo,
                                 FieldType::Single};

FieldType type_of(std::string_view name) {
  if (name.size() >= 2 && std::tolower(static_cast<unsigned char>(name[0])) == 'i' &&
      std::tolower(static_cast<unsigned char>(name[1])) == 'd')
    return FieldType::Long;
  std::uint32_t hash = 2166136261u;
  for (char ch : name) hash = (hash ^ std::uint8_t(std::tolower(static_cast<unsigned char>(ch)))) * 16777619u;
  return kTypes[hash % std::size(kTypes)];
}

// One column per distinct name (without regard to case) among the statement's words.
std::vector<Column> columns_named_in(const std::vector<sql::Token>& tokens) {
  std::vector<Column> columns;
  for (const sql::Token& token : tokens) {
    if (token.kind != sql::TokenKind::Word && token.kind != sql::TokenKind::QuotedName) continue;
    bool seen = false;
    for (const Column& c : columns) seen = seen || sql::same_name(c.name, token.text);
    if (seen) continue;
    Column c;
    c.name = token.text;
    c.type = type_of(token.text);
    c.number = static_cast<std::uint16_t>(columns.size());
    c.length = c.type == FieldType::Text ? 100 : 8;
    columns.push_back(c);
  }
  return columns;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view statement(reinterpret_cast<const char*>(data), size);
  std::vector<sql::Token> tokens;
  try {
    tokens = sql::tokenize(statement);
  } catch (const ArchiveError&) {
    return 0;
  }
  sql::SelectStatement parsed;
  try {
    parsed = sql::parse(statement);
  } catch (const ArchiveError&) {
    return 0;
  }
  const std::vector<Column> columns = columns_named_in(tokens);
  const sql::TableLookup lookup = [&](std::string_view name) {
    TableDef table;
    table.name = std::string(name);
    table.columns = columns;
    return table;
  };
  try {
    sql::Plan plan = sql::make_plan(parsed, lookup);
    (void)plan;
  } catch (const ArchiveError&) {
  }
  return 0;
}
