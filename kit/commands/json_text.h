// Plain-text rendering of a JSON document, for tools that print the same data
// as text or, with --json, as JSON.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>

namespace vilora::kit {

// One "key: value" per line, nested objects indented by two spaces; arrays of
// scalars on one line, arrays of objects or arrays one entry per line.
void write_json_as_text(std::ostream& out, const nlohmann::ordered_json& doc);

} // namespace vilora::kit
