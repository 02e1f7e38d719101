#include "host/document/SvgExport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <string_view>

#include "host/base/XmlText.h"
#include "host/base/AtomicFile.h"
#include "host/document/WarpGeometry.h"

namespace zz {

namespace {

std::string number(AIReal value) {
    return svgNumber(value);
}

const char* nonFiniteName(AIReal value) {
    return std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf";
}

bool finitePoint(const AIRealPoint& p) {
    return std::isfinite(p.h) && std::isfinite(p.v);
}

// Why `path` (drawn with `style`, null: its own) would be drawn wrongly, or "".
std::string pathRefusal(const Art& path, const AIPathStyle* style) {
    const ArtData& data = path.data();
    if (data.segments.empty()) return ""; // not drawn
    for (const AIPathSegment& s : data.segments)
        for (const AIRealPoint* p : {&s.p, &s.in, &s.out})
            if (!finitePoint(*p))
                return "art " + std::to_string(path.id()) + " has a non-finite coordinate (" +
                       nonFiniteName(std::isfinite(p->h) ? p->v : p->h) +
                       "); the SVG would show a wrong picture";
    if (style == nullptr) style = &data.style;
    const bool stroke = style->strokePaint != 0 && style->stroke.color.kind != kNoneColor;
    if (stroke && !std::isfinite(style->stroke.width))
        return "art " + std::to_string(path.id()) + " has a non-finite stroke width (" +
               nonFiniteName(style->stroke.width) + "); the SVG would show a wrong picture";
    return "";
}

// Why the art or anything it holds would be drawn wrongly, or "".
std::string artRefusal(const Art& art) {
    switch (art.type()) {
    case kPathArt:
        return pathRefusal(art, nullptr);
    case kCompoundPathArt: {
        // One path of all subpaths, painted with the first subpath's style.
        const AIPathStyle* style = nullptr;
        for (const Art* child = art.firstChild(); child != nullptr; child = child->nextSibling()) {
            if (child->type() != kPathArt) continue;
            if (style == nullptr) style = &child->data().style;
            if (std::string why = pathRefusal(*child, style); !why.empty()) return why;
        }
        return "";
    }
    default:
        for (const Art* child = art.firstChild(); child != nullptr; child = child->nextSibling())
            if (std::string why = artRefusal(*child); !why.empty()) return why;
        return "";
    }
}

// "data-" plus the tag name in the characters an attribute name may hold, lower case.
std::string dataAttributeName(const std::string& tag) {
    std::string name = "data-";
    for (const char c : tag) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0)
            name += static_cast<char>(std::tolower(u));
        else if (c == '-' || c == '_' || c == '.')
            name += c;
        else
            name += '-';
    }
    return name;
}

// The data- attributes the writer gives art of its own accord.
constexpr const char* kOwnDataAttributes[] = {
    "data-fill-device", "data-stroke-device",   "data-graphic-style", "data-envelope",   "data-warp-style",
    "data-warp-bend",   "data-warp-horizontal", "data-warp-vertical", "data-warp-rotate"};

// Writes the picture into a stream as it walks the art, through a buffer of bounded size.
using WarpedPaths = std::map<const Art*, PathOutline>;

// Visits the children of a group or an envelope with `warped` naming how the paths inside are drawn: an
// envelope's as it maps them; an envelope inside another is already mapped by the outer one's outline.
template <typename Visit> void eachChild(const Art& node, const WarpedPaths*& warped, Visit visit) {
    WarpedPaths mapped;
    const WarpedPaths* outer = warped;
    if (node.type() == kEnvelopeArt && warped == nullptr) {
        for (WarpedPath& path : warpedOutline(node))
            mapped.emplace(path.source, std::move(path.outline));
        warped = &mapped;
    }
    for (const Art* child = node.firstChild(); child != nullptr; child = child->nextSibling())
        visit(*child);
    warped = outer;
}

class SvgWriter {
  public:
    // `area`: the part of the picture shown; null for the page.
    SvgWriter(const Document& document, std::ostream& sink, const SvgArea* area = nullptr)
        : document_(document), area_(area), height_(document.facts().pageHeight), sink_(sink) {
        out_.reserve(kFlushAt + 4096);
    }

    void run() {
        const DocumentFacts& facts = document_.facts();
        const SvgArea page{0.0f, 0.0f, facts.pageWidth, facts.pageHeight};
        const SvgArea& shown = area_ != nullptr ? *area_ : page;
        out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
        out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + number(shown.width) +
                "\" height=\"" + number(shown.height) + "\" viewBox=\"" + number(shown.x) + " " +
                number(shown.y) + " " + number(shown.width) + " " + number(shown.height) + "\">\n";
        if (document_.symbols().firstChild() != nullptr) {
            out_ += "<defs>\n";
            for (const Art* symbol = document_.symbols().firstChild(); symbol != nullptr;
                 symbol = symbol->nextSibling()) {
                // Drawn where it stands when used, not clipped to a view box of its own.
                out_ += "<symbol id=\"symbol-" + std::to_string(symbol->id()) + "\" overflow=\"visible\">\n";
                art(*symbol);
                out_ += "</symbol>\n";
            }
            out_ += "</defs>\n";
        }
        out_ += "<g id=\"layer\">\n";
        for (const Art* each = document_.layer().firstChild(); each != nullptr; each = each->nextSibling())
            art(*each);
        out_ += "</g>\n</svg>\n";
        flush();
    }

  private:
    static constexpr size_t kFlushAt = size_t{1} << 15;

    void flush() {
        if (out_.empty()) return;
        sink_.write(out_.data(), static_cast<std::streamsize>(out_.size()));
        out_.clear();
    }
    void maybeFlush() {
        if (out_.size() >= kFlushAt) flush();
    }

    // Appends ` name="value"` (the value already escaped).
    void attribute(std::string_view name, std::string_view value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        out_ += value;
        out_ += '"';
    }

    // Appends the path data of `subpaths`, the outlines of one path.
    template <typename Subpaths> void pathData(Subpaths subpaths) {
        SvgPathData data(out_, height_);
        subpaths([&](const Drawn& outline) {
            data.subpath(outline.segments, outline.closed, [this] { maybeFlush(); });
        });
    }

    void paint(const AIPathStyle& style) {
        const SvgPaint paint = svgPaint(style);
        for (const auto& [name, value] : {std::pair<const char*, const std::string&>{"fill", paint.fill},
                                          {"fill-rule", paint.rule},
                                          {"stroke", paint.stroke},
                                          {"stroke-width", paint.width},
                                          {"stroke-linecap", paint.cap},
                                          {"stroke-linejoin", paint.join}})
            if (!value.empty()) attribute(name, value);
        const bool fill = paint.fill != "none";
        const bool stroke = paint.stroke != "none";
        // The colours as the document holds them.
        if (fill) attribute("data-fill-device", svgDeviceColor(style.fill.color));
        if (stroke) attribute("data-stroke-device", svgDeviceColor(style.stroke.color));
    }

    void common(const ArtData& data, const std::map<std::string, std::string>& tags) {
        if (data.graphicStyle >= 0) attribute("data-graphic-style", std::to_string(data.graphicStyle));
        if (const std::string opacity = svgOpacity(data); !opacity.empty()) attribute("opacity", opacity);
        if (const char* blend = svgBlendMode(data)) {
            out_ += " style=\"mix-blend-mode:";
            out_ += blend;
            out_ += '"';
        }
        // Tag names that differ only in what an attribute name cannot hold ("a b", "a-b", "A") would give one
        // attribute twice, which no XML reader accepts: later ones get a number, and so does a tag named like
        // one of the writer's own data- attributes ("fill-device").
        std::set<std::string> used(std::begin(kOwnDataAttributes), std::end(kOwnDataAttributes));
        for (const auto& [name, value] : tags) {
            const std::string base = dataAttributeName(name);
            std::string unique = base;
            for (int n = 2; !used.insert(unique).second; ++n)
                unique = base + "-" + std::to_string(n);
            attribute(unique, xmlEscaped(value));
        }
    }

    // The outline of a path as it is drawn: its own, or inside an envelope as the envelope maps it.
    struct Drawn {
        const std::vector<AIPathSegment>& segments;
        bool closed;
    };
    Drawn drawn(const Art& path) const {
        if (warped_ != nullptr) {
            const auto found = warped_->find(&path);
            if (found != warped_->end()) return Drawn{found->second.segments, found->second.closed};
        }
        return Drawn{path.data().segments, path.data().closed};
    }

    void art(const Art& node) {
        maybeFlush();
        const ArtData& data = node.data();
        switch (data.type) {
        case kPathArt: {
            const Drawn outline = drawn(node);
            if (outline.segments.empty()) return; // nothing to draw
            out_ += "<path d=\"";
            pathData([&](auto write) { write(outline); });
            out_ += "\"";
            paint(data.style);
            common(data, data.tags);
            out_ += "/>\n";
            return;
        }
        case kCompoundPathArt: {
            // One path of all subpaths, so that holes stay holes; the children's tags go with it.
            std::map<std::string, std::string> tags;
            const AIPathStyle* style = nullptr;
            bool drawable = false;
            for (const Art* child = node.firstChild(); child != nullptr; child = child->nextSibling())
                drawable = drawable || (child->type() == kPathArt && !drawn(*child).segments.empty());
            if (!drawable) return;
            out_ += "<path d=\"";
            pathData([&](auto write) {
                for (const Art* child = node.firstChild(); child != nullptr; child = child->nextSibling()) {
                    if (child->type() != kPathArt) continue;
                    if (style == nullptr) style = &child->data().style;
                    write(drawn(*child));
                    tags.insert(child->data().tags.begin(), child->data().tags.end());
                }
            });
            for (const auto& [name, value] : data.tags)
                tags[name] = value;
            out_ += "\"";
            paint(style != nullptr ? *style : data.style);
            common(data, tags);
            out_ += "/>\n";
            return;
        }
        default: {
            out_ += "<g";
            if (data.type == kEnvelopeArt) {
                out_ += " data-envelope=\"1\"";
                if (data.warp) {
                    attribute("data-warp-style", std::to_string(data.warp->style));
                    attribute("data-warp-bend", number(data.warp->bend));
                    attribute("data-warp-horizontal", number(data.warp->horizontal));
                    attribute("data-warp-vertical", number(data.warp->vertical));
                    attribute("data-warp-rotate", data.warp->rotate ? "1" : "0");
                }
            }
            common(data, data.tags);
            out_ += ">\n";
            eachChild(node, warped_, [this](const Art& child) { art(child); });
            out_ += "</g>\n";
            return;
        }
        }
    }

    const Document& document_;
    const SvgArea* area_;
    const std::map<const Art*, PathOutline>* warped_ = nullptr; // inside an envelope: its paths as drawn
    AIReal height_;
    std::ostream& sink_;
    std::string out_;
};

// How far a path's paint can reach beyond its outline: half the stroke width, or more where a miter join or a
// square cap sticks out. The SVG carries no stroke-miterlimit, so a miter reaches at most SVG's default limit
// of 4 half widths from its corner before it is cut to a bevel; a square cap reaches its corners, half a
// width along and half across the end.
AIReal paintReach(const AIPathStyle& style) {
    const bool stroke = style.strokePaint != 0 && style.stroke.color.kind != kNoneColor;
    if (!stroke || !std::isfinite(style.stroke.width)) return 0.0f;
    const AIReal half = std::max(0.0f, style.stroke.width) / 2.0f;
    const bool miter = !(style.stroke.join > 0 && style.stroke.join < 3); // as the writer writes the join
    const bool square = style.stroke.cap == 2;
    return half * (miter ? 4.0f : square ? std::sqrt(2.0f) : 1.0f);
}

// Gathers the bounds, in the SVG's user space, of what the writer draws: each drawn outline (its anchors and
// handles, which hold its curves) grown by the reach of the paint it is drawn with.
class ArtArea {
  public:
    explicit ArtArea(const Document& document) : height_(document.facts().pageHeight) {}

    void art(const Art& node) {
        switch (node.type()) {
        case kPathArt:
            outline(node, node.data().style);
            return;
        case kCompoundPathArt: {
            // Drawn with its first subpath's style, as the writer paints it.
            const AIPathStyle* style = nullptr;
            for (const Art* child = node.firstChild(); child != nullptr; child = child->nextSibling())
                if (child->type() == kPathArt) {
                    if (style == nullptr) style = &child->data().style;
                    outline(*child, *style);
                }
            return;
        }
        default: {
            eachChild(node, warped_, [this](const Art& child) { art(child); });
            return;
        }
        }
    }

    std::optional<AIRealRect> bounds() const {
        if (!any_) return std::nullopt;
        return box_;
    }

  private:
    void outline(const Art& path, const AIPathStyle& style) {
        const std::vector<AIPathSegment>* segments = &path.data().segments;
        if (warped_ != nullptr)
            if (const auto found = warped_->find(&path); found != warped_->end())
                segments = &found->second.segments;
        const AIReal reach = paintReach(style);
        for (const AIPathSegment& segment : *segments)
            for (const AIRealPoint* p : {&segment.p, &segment.in, &segment.out})
                add(p->h, height_ - p->v, reach);
    }

    void add(AIReal x, AIReal y, AIReal reach) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;                  // refused art; never written
        const AIRealRect around{x - reach, y - reach, x + reach, y + reach}; // top is the smaller y here
        if (!any_) {
            box_ = around;
            any_ = true;
            return;
        }
        box_.left = std::min(box_.left, around.left);
        box_.top = std::min(box_.top, around.top);
        box_.right = std::max(box_.right, around.right);
        box_.bottom = std::max(box_.bottom, around.bottom);
    }

    AIReal height_;
    const std::map<const Art*, PathOutline>* warped_ = nullptr;
    bool any_ = false;
    AIRealRect box_{};
};

} // namespace

std::string svgRefusal(const Document& document) {
    for (const Art* root : {&document.symbols(), &document.layer()})
        for (const Art* each = root->firstChild(); each != nullptr; each = each->nextSibling())
            if (std::string why = artRefusal(*each); !why.empty()) return why;
    return "";
}

bool writeSvg(const Document& document, std::ostream& out, std::string* error) {
    if (std::string why = svgRefusal(document); !why.empty()) {
        if (error != nullptr) *error = std::move(why);
        return false;
    }
    SvgWriter(document, out).run();
    if (!out) {
        if (error != nullptr) *error = "the SVG could not be written";
        return false;
    }
    return true;
}

std::optional<SvgArea> svgArtArea(const Document& document, AIReal pad) {
    ArtArea area(document);
    for (const Art* each = document.layer().firstChild(); each != nullptr; each = each->nextSibling())
        area.art(*each);
    const std::optional<AIRealRect> box = area.bounds();
    if (!box) return std::nullopt;
    const AIReal grow = std::isfinite(pad) ? std::max(0.0f, pad) : 0.0f;
    const AIReal left = std::floor(box->left - grow), top = std::floor(box->top - grow);
    const AIReal right = std::ceil(box->right + grow), bottom = std::ceil(box->bottom + grow);
    if (!std::isfinite(right - left) || !std::isfinite(bottom - top)) return std::nullopt;
    // Never empty: a lone point without paint still gets a point square.
    return SvgArea{left, top, std::max(1.0f, right - left), std::max(1.0f, bottom - top)};
}

bool writeSvg(const Document& document, std::ostream& out, const SvgArea& area, std::string* error) {
    if (std::string why = svgRefusal(document); !why.empty()) {
        if (error != nullptr) *error = std::move(why);
        return false;
    }
    SvgWriter(document, out, &area).run();
    if (!out) {
        if (error != nullptr) *error = "the SVG could not be written";
        return false;
    }
    return true;
}

std::string svgText(const Document& document) {
    std::ostringstream out;
    if (!writeSvg(document, out, nullptr)) return "";
    return std::move(out).str();
}

bool writeSvg(const Document& document, const std::string& path, std::string* error) {
    // Refused before the temporary file is made, so that a refusal leaves nothing behind at all.
    if (std::string why = svgRefusal(document); !why.empty()) {
        if (error != nullptr) *error = std::move(why);
        return false;
    }
    return writeFileAtomically(
        path,
        [&document](std::ostream& out, std::string*) {
            SvgWriter(document, out).run();
            return true;
        },
        error);
}

} // namespace zz
