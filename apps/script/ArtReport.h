// The document's art as JSON, for session reports: the value of the report key "art".
#ifndef ZZ_APPS_SCRIPT_ART_REPORT_H
#define ZZ_APPS_SCRIPT_ART_REPORT_H

#include <ostream>

#include <nlohmann/json.hpp>

#include "host/document/Document.h"

namespace zz {

// The layer's art, bottom to top. Each object: {"type": "path" | "compound" | "group" | "symbol" |
// "envelope", "segments": [{"p": [x, y], "in": [x, y], "out": [x, y], "corner": bool}, ...] and "closed"
// (paths), "style": {"fillPaint", "fill": {"kind", "values"}, "strokePaint", "stroke": {...}, "strokeWidth"},
// "opacity", "blendMode", "tags": {name: value}, "children": [...] (containers), "warp" (envelopes only:
// {"style", "bend", "horizontal", "vertical", "rotate"}, or null when the envelope has no warp)}. Numbers are
// the floats' shortest decimal forms; a number that is not finite is the string "nan", "inf" or "-inf".
nlohmann::json artReport(const Document& document);

// One art object in the same form.
nlohmann::json artObjectReport(const Art& art);

// The symbol definitions, oldest first, each in the same form.
nlohmann::json symbolReport(const Document& document);

// The same reports written as they are produced (the tree forms above are these texts read back), object by
// object, so that what they hold in memory stays small whatever the document holds. The text is byte for byte
// what ordered_json(artReport(document)).dump(2, ' ', false, error_handler_t::replace) writes for the value
// when it stands `currentIndent` spaces in (2 for the value of a key of a top-level object).
void writeArtReport(std::ostream& out, const Document& document, unsigned currentIndent);
void writeSymbolReport(std::ostream& out, const Document& document, unsigned currentIndent);

} // namespace zz

#endif
