// A value of a JSON description as the Value its column stores: numbers checked against the
// column's range, texts from UTF-8, dates and money from their text forms, ole values from
// lowercase hex, GUIDs from their braced form.
#pragma once

#include <nlohmann/json.hpp>

#include "archive/jet/table_def.h"
#include "archive/value.h"

namespace tarvik::archive_gen {

// The type named in a description ("long", "memo"...); none for an unknown name.
std::optional<archive::FieldType> column_type_named(std::string_view name);

// Throws std::runtime_error saying why the value does not fit the type (without the place,
// which the caller adds).
archive::Value value_from_json(archive::FieldType type, const nlohmann::json& value);

}  // namespace tarvik::archive_gen
