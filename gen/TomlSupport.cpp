#include "TomlSupport.h"

#include <algorithm>

#include "ModelError.h"

SourcePos PosOf(const toml::source_region& region) {
  return SourcePos{static_cast<int>(region.begin.line), static_cast<int>(region.begin.column)};
}

std::vector<std::pair<const toml::key*, const toml::node*>> InFileOrder(const toml::table& table) {
  std::vector<std::pair<const toml::key*, const toml::node*>> entries;
  for (auto&& [key, node] : table) entries.emplace_back(&key, &node);
  std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    SourcePos pa = PosOf(*a.first), pb = PosOf(*b.first);
    return pa.line != pb.line ? pa.line < pb.line : pa.column < pb.column;
  });
  return entries;
}

void CheckKeys(const toml::table& table, const std::vector<std::string>& allowed,
               const std::string& what) {
  for (const auto& [key, node] : InFileOrder(table)) {
    (void)node;
    if (std::find(allowed.begin(), allowed.end(), std::string(key->str())) != allowed.end())
      continue;
    std::string list;
    for (const std::string& a : allowed) list += (list.empty() ? "" : ", ") + a;
    throw ModelError(PosOf(*key), "unknown key '" + std::string(key->str()) + "' in " + what +
                                      " (known keys: " + list + ")");
  }
}

const toml::table& AsTable(const toml::node& node, const std::string& what) {
  const toml::table* table = node.as_table();
  if (table == nullptr) throw ModelError(PosOf(node), what + " must be a table");
  return *table;
}
