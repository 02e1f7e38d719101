// The document as a standalone SVG 1.1 file.
//
// The page is the view box; document y runs up, SVG y runs down, so every y is written as pageHeight - y.
// Each path becomes one <path> (cubic curves where a side's handles differ from its anchors, Z when closed),
// a compound path one <path> of all its subpaths, a group or an envelope a <g> of its children. Fill and
// stroke come from the path style in sRGB (unpainted: none), with stroke width, opacity, blend mode
// (mix-blend-mode) and the art's tags as data- attributes. An envelope is drawn unwarped; its warp is written
// as data- attributes. Symbol definitions go into <defs>.
#ifndef ZZ_HOST_DOCUMENT_SVG_EXPORT_H
#define ZZ_HOST_DOCUMENT_SVG_EXPORT_H

#include <ostream>
#include <string>

#include "host/document/Document.h"

namespace zz {

// Art that the picture would show wrongly is refused: a drawn path with a coordinate that is not finite, or
// a drawn stroke whose width is not finite. Answers why (naming the art), or "" when the document can be
// exported.
std::string svgRefusal(const Document& document);

// Writes the SVG into `out` as it walks the art. Refused art (see svgRefusal) writes nothing: false with the
// reason in *error; so does a failing stream.
bool writeSvg(const Document& document, std::ostream& out, std::string* error);

// The SVG as text ("" for a refused document).
std::string svgText(const Document& document);

// Writes the SVG atomically (into a temporary file as it goes, which is then renamed over `path`). False with
// a reason in *error on failure or refusal; nothing is left behind then.
bool writeSvg(const Document& document, const std::string& path, std::string* error);

// The colour as an sRGB "#rrggbb": gray (0 white, 1 black), three-colour, four-colour; values clamped to
// 0..1. Kinds without values give "none" (kNoneColor) or a neutral gray.
std::string svgColor(const AIColor& color);

} // namespace zz

#endif
