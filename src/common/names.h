// Names of tables, columns, indexes, keywords and settings match without regard to ASCII letter
// case, as Jet matches them; other characters (accented letters included) match only as they are.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

constexpr char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

// The form under which a name is kept in a map: equal for names that match.
inline std::string name_key(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = ascii_lower(c);
  return key;
}

}  // namespace tarvik
