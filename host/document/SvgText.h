// The SVG's text for one path: its path data, its paint and its compositing, written the same way for the SVG
// export (SvgExport.h) and for the workbench page's art records, so that both show the same art alike.
//
// Numbers are the shortest fixed-point text that reads back as the same float (no exponent; -0 and values
// that are not finite as 0). Coordinates are the SVG's: x to the right, y down from the page's top edge, so
// every y is written as pageHeight - y.
#ifndef ZZ_HOST_DOCUMENT_SVG_TEXT_H
#define ZZ_HOST_DOCUMENT_SVG_TEXT_H

#include <string>
#include <vector>

#include "host/document/Art.h"

namespace zz {

// Appends `value` as SVG number text (see above).
void appendSvgNumber(std::string& out, AIReal value);
std::string svgNumber(AIReal value);

// Appends the drawing commands of paths to a path data text: "M x y", then " L x y" for a straight side and
// " C x1 y1 x2 y2 x y" for a side whose handles differ from its anchors, " Z" when closed (the closing side
// drawn first unless it is straight); subpaths of one path are apart by a space.
class SvgPathData {
  public:
    SvgPathData(std::string& out, AIReal pageHeight) : out_(out), height_(pageHeight) {}

    // Appends one subpath (nothing when it has no segments); `afterSide()` is called after each side, so that
    // a writer can pass long paths on as it goes.
    template <typename AfterSide>
    void subpath(const std::vector<AIPathSegment>& segments, bool closed, AfterSide afterSide) {
        if (segments.empty()) return;
        if (following_) out_ += ' ';
        following_ = true;
        out_ += "M ";
        point(segments.front().p);
        for (size_t i = 1; i < segments.size(); ++i) {
            side(segments[i - 1], segments[i]);
            afterSide();
        }
        if (closed) {
            if (segments.size() > 1 && !straight(segments.back(), segments.front()))
                side(segments.back(), segments.front());
            out_ += " Z";
        }
    }
    void subpath(const std::vector<AIPathSegment>& segments, bool closed) {
        subpath(segments, closed, [] {});
    }

  private:
    static bool straight(const AIPathSegment& from, const AIPathSegment& to);
    void point(const AIRealPoint& p);
    void side(const AIPathSegment& from, const AIPathSegment& to);

    std::string& out_;
    AIReal height_;
    bool following_ = false;
};

// A path's paint as SVG attribute values; an empty value is an attribute not written.
struct SvgPaint {
    std::string fill;   // "none" or "#rrggbb"
    std::string rule;   // fill-rule of a painted fill: "evenodd" or "nonzero"
    std::string stroke; // "none" or "#rrggbb"
    std::string width;  // stroke-width of a painted stroke, never below 0
    std::string cap;    // stroke-linecap other than butt: "round" or "square"
    std::string join;   // stroke-linejoin other than miter: "round" or "bevel"
};
SvgPaint svgPaint(const AIPathStyle& style);

// The opacity as SVG text, "" when the art is fully opaque; the blend mode's CSS mix-blend-mode name, null
// for normal (or a mode that has no name).
std::string svgOpacity(const ArtData& data);
const char* svgBlendMode(const ArtData& data);

// The colour as the document holds it: "gray G", "rgb R G B", "cmyk C M Y K" with each value unchanged
// (shortest text that reads back as the same float; non-finite ones as nan, inf, -inf), or "pattern",
// "spot", "gradient", "none".
std::string svgDeviceColor(const AIColor& color);

// The colour as an sRGB "#rrggbb": gray (0 white, 1 black), three-colour, four-colour; values clamped to
// 0..1. Kinds without values give "none" (kNoneColor) or a neutral gray.
std::string svgColor(const AIColor& color);

} // namespace zz

#endif
