// What a browser tab needs to bring its picture of the document up to date: the changes since the revision it
// holds, as art records it can draw at once. Bytes grow with the change, not with the document.
//
//   {"revision": R, "everything": bool, "page": [w, h] (the artboard's size),
//    "removed": [id, ...],
//    "placed":  [{"id", "parent", "below", "art"?}, ...],
//    "changed": [art, ...]}
//
// Coordinates are the artboard's as the SVG export has them: x to the right, y down from the artboard's top
// edge (the document's y runs up; y' = pageHeight - y). "everything": the tab drops all it holds first (a new
// document, or a revision the document no longer covers). "placed" lists art that is new (with its "art"
// record) or moved, each to go into its container ("parent", 0 for the layer) directly above its sibling
// "below" (0: at the bottom), in an order where that sibling is always in place already. An art record is a
// path {"id", "t": "path", "d", "fill", "stroke", "sw", ...}, its path data and paint as the SVG export
// writes them (SvgText.h; "sw" and "op" as numbers whose shortest text is the export's), or a container
// {"id", "t": "g", "children": [...]}; a changed container comes without its children, which keep their own
// records. A compound path is one path of all its subpaths, and a change to one of them re-sends it whole.
// Art of symbol definitions is not drawn on the artboard and not sent.
#ifndef ZZ_APPS_WORKBENCH_DELTA_JSON_H
#define ZZ_APPS_WORKBENCH_DELTA_JSON_H

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "host/document/Document.h"

namespace zz {

nlohmann::json deltaJson(const Document& document, uint64_t since);
// The same as JSON text, deltaJson(...).dump(); the whole document, which a new page gets (megabytes of it),
// is written without building it as one tree first.
std::string deltaText(const Document& document, uint64_t since);
// `message`'s text with "delta": `delta` (JSON text) as its last key.
std::string withDelta(const nlohmann::json& message, const std::string& delta);

// One art object as the page draws it (a container with its children when `deep`).
nlohmann::json artJson(const Art& art, AIReal pageHeight, bool deep);

} // namespace zz

#endif
