// Reading JSON text so that a fault names its place: "events[3] (\"drag\"): \"to\"[0]: ..." rather than a
// byte offset alone; and writing a value that stands inside a larger text written piece by piece.
#ifndef ZZ_APPS_SCRIPT_JSON_TEXT_H
#define ZZ_APPS_SCRIPT_JSON_TEXT_H

#include <optional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

namespace zz {

// Parses `text`. On a syntax error or a number too large for a double, returns null and says in *problem what
// is wrong and where: the path of keys and list indexes to the value being read (an event of the "events"
// list is named with its "do" when that came before the fault), what is wrong there in a reader's words (never
// the parser's own, which name its exceptions and quote raw bytes), then the line and column.
std::optional<nlohmann::json> parseJsonNamingPlace(const std::string& text, std::string* problem);

// Writes `value` as dump(2) writes it inside a document where it stands `indent` spaces in: its inner lines
// indented by `indent` more; texts that are not UTF-8 repaired.
void writeJson(std::ostream& out, const nlohmann::ordered_json& value, unsigned indent);

} // namespace zz

#endif
