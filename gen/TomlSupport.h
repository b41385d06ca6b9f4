#ifndef TAVRIN_GEN_TOMLSUPPORT_H
#define TAVRIN_GEN_TOMLSUPPORT_H

#include <toml++/toml.h>

#include <string>
#include <utility>
#include <vector>

#include "Model.h"

// Helpers over toml++ shared by the readers.

SourcePos PosOf(const toml::source_region& region);
inline SourcePos PosOf(const toml::node& node) { return PosOf(node.source()); }
inline SourcePos PosOf(const toml::key& key) { return PosOf(key.source()); }

// The entries of a table in the order they are written in the file (toml++ keeps them
// sorted by name, but the order of places, activities and variables is the model's).
std::vector<std::pair<const toml::key*, const toml::node*>> InFileOrder(const toml::table& table);

// Throws ModelError at the first key of the table that is not among the allowed ones.
void CheckKeys(const toml::table& table, const std::vector<std::string>& allowed,
               const std::string& what);

// The table under a node, or a ModelError saying what was expected.
const toml::table& AsTable(const toml::node& node, const std::string& what);

#endif
