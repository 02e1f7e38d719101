// The document's art as JSON, for session reports: the value of the report key "art".
#ifndef ZZ_HOST_DOCUMENT_ART_REPORT_H
#define ZZ_HOST_DOCUMENT_ART_REPORT_H

#include <nlohmann/json.hpp>

#include "host/document/Document.h"

namespace zz {

// The layer's art, bottom to top. Each object: {"type": "path" | "compound" | "group" | "symbol" |
// "envelope", "segments": [{"p": [x, y], "in": [x, y], "out": [x, y], "corner": bool}, ...] and "closed"
// (paths), "style": {"fillPaint", "fill": {"kind", "values"}, "strokePaint", "stroke": {...}, "strokeWidth"},
// "opacity", "blendMode", "tags": {name: value}, "children": [...] (containers), "warp" (envelopes with
// one)}. Numbers are the floats' shortest decimal forms.
nlohmann::json artReport(const Document& document);

// One art object in the same form.
nlohmann::json artObjectReport(const Art& art);

// The symbol definitions, oldest first, each in the same form.
nlohmann::json symbolReport(const Document& document);

} // namespace zz

#endif
