// The document as a standalone SVG 1.1 file.
//
// The page is the view box; document y runs up, SVG y runs down, so every y is written as pageHeight - y.
// Each path becomes one <path> (cubic curves where a side's handles differ from its anchors, Z when closed),
// a compound path one <path> of all its subpaths painted with its first subpath's style, a group or an
// envelope a <g> of its children.
//
// Path data and paint as SvgText.h writes them. Paint: fill and stroke in sRGB (svgColor; unpainted: none), a
// painted fill's rule (fill-rule evenodd or nonzero), stroke width, cap and join. The colour as the document
// holds it goes along as data-fill-device / data-stroke-device (svgDeviceColor), for instance "cmyk 0.1 0.2
// 0.3 0.4". Then opacity, the blend mode (style="mix-blend-mode:..."), the named graphic style last applied
// (data-graphic-style, its index; the art is painted with the style it gave) and the art's tags as data-
// attributes.
//
// An envelope's <g> carries data-envelope="1" and its warp as data-warp-style, -bend, -horizontal, -vertical
// and -rotate; the paths inside are drawn as the envelope maps them (WarpGeometry.h), as straight lines when
// warped, each with its own paint. Symbol definitions go into <defs> as <symbol id="symbol-N"
// overflow="visible">, N being the definition's art id.
#ifndef ZZ_HOST_DOCUMENT_SVG_EXPORT_H
#define ZZ_HOST_DOCUMENT_SVG_EXPORT_H

#include <optional>
#include <ostream>
#include <string>

#include "host/document/Document.h"
#include "host/document/SvgText.h" // the path data, paint and colours it writes

namespace zz {

// Art that the picture would show wrongly is refused: a drawn path with a coordinate that is not finite, or
// a drawn stroke whose width is not finite. Answers why (naming the art), or "" when the document can be
// exported.
std::string svgRefusal(const Document& document);

// Writes the SVG into `out` as it walks the art. Refused art (see svgRefusal) writes nothing: false with the
// reason in *error; so does a failing stream.
bool writeSvg(const Document& document, std::ostream& out, std::string* error);

// A rectangle of the SVG's user space, in points: x to the right and y down from the page's top left corner.
struct SvgArea {
    AIReal x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
};

// The part of the SVG's user space the art of the layer is drawn on, paint included: every drawn outline as
// writeSvg draws it (an envelope's contents mapped) grown by half its stroke width, or by the reach of a
// miter join or a square cap where it has them; then by `pad` all round, and out to whole points. Nothing
// when the layer draws nothing.
std::optional<SvgArea> svgArtArea(const Document& document, AIReal pad);

// As writeSvg above, with `area` for the view box and the picture's size instead of the page.
bool writeSvg(const Document& document, std::ostream& out, const SvgArea& area, std::string* error);

// The SVG as text ("" for a refused document).
std::string svgText(const Document& document);

// Writes the SVG atomically (into a temporary file as it goes, which is then renamed over `path`). False with
// a reason in *error on failure or refusal; nothing is left behind then.
bool writeSvg(const Document& document, const std::string& path, std::string* error);

} // namespace zz

#endif
