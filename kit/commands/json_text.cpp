#include "kit/commands/json_text.h"

#include "kit/commands/printable.h"

#include <string>

namespace vilora::kit {
namespace {

using json = nlohmann::ordered_json;

bool is_flat(const json& j) {
    if (!j.is_array()) return !j.is_object();
    for (const json& e : j)
        if (!is_flat(e) || e.is_array()) return false;
    return true;
}

std::string scalar(const json& j) {
    // Names come from files and may hold control bytes.
    if (j.is_string()) return printable(j.get<std::string>());
    if (j.is_null()) return "(none)";
    if (j.is_array()) {
        std::string s = "[";
        for (size_t i = 0; i < j.size(); ++i) s += (i ? ", " : "") + scalar(j[i]);
        return s + "]";
    }
    return j.dump();
}

void write(std::ostream& out, const json& j, int indent);

void write_entry(std::ostream& out, const std::string& label, const json& value, int indent) {
    std::string pad(static_cast<size_t>(indent), ' ');
    if (is_flat(value)) {
        out << pad << label << ": " << scalar(value) << '\n';
        return;
    }
    out << pad << label << ":\n";
    write(out, value, indent + 2);
}

void write(std::ostream& out, const json& j, int indent) {
    if (j.is_object()) {
        for (const auto& [key, value] : j.items()) write_entry(out, key, value, indent);
        return;
    }
    size_t i = 0;
    for (const json& e : j) write_entry(out, "[" + std::to_string(i++) + "]", e, indent);
}

} // namespace

void write_json_as_text(std::ostream& out, const json& doc) {
    write(out, doc, 0);
}

} // namespace vilora::kit
