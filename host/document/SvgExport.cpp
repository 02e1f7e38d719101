#include "host/document/SvgExport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>
#include <string_view>

#include "host/base/Utf8.h"
#include "host/base/AtomicFile.h"

namespace zz {

namespace {

// The shortest fixed-point text that reads back as the same float.
std::string number(AIReal value) {
    if (!std::isfinite(value)) return "0";
    if (value == 0.0f) return "0"; // also -0
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed);
    if (result.ec != std::errc()) return "0";
    return std::string(buffer, result.ptr);
}

// An attribute value: valid UTF-8 (the file says it is), markup characters as entities, and the blanks that
// XML would fold into spaces as character references so that they read back as they were.
std::string escape(const std::string& raw) {
    const std::string text = validUtf8(raw);
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            // Other control characters are not allowed in XML 1.0 at all, not even as references.
            out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return out;
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

constexpr const char* kBlendModes[] = {
    "normal", "multiply", "screen",     "overlay",   "soft-light", "hard-light", "color-dodge", "color-burn",
    "darken", "lighten",  "difference", "exclusion", "hue",        "saturation", "color",       "luminosity"};

class SvgWriter {
  public:
    explicit SvgWriter(const Document& document)
        : document_(document), height_(document.facts().pageHeight) {}

    std::string run() {
        const DocumentFacts& facts = document_.facts();
        out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
        out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                number(facts.pageWidth) + "\" height=\"" + number(facts.pageHeight) + "\" viewBox=\"0 0 " +
                number(facts.pageWidth) + " " + number(facts.pageHeight) + "\">\n";
        if (document_.symbols().firstChild() != nullptr) {
            out_ += "<defs>\n";
            for (const Art* symbol = document_.symbols().firstChild(); symbol != nullptr;
                 symbol = symbol->nextSibling()) {
                out_ += "<g id=\"symbol-" + std::to_string(symbol->id()) + "\">\n";
                art(*symbol);
                out_ += "</g>\n";
            }
            out_ += "</defs>\n";
        }
        out_ += "<g id=\"layer\">\n";
        for (const Art* each = document_.layer().firstChild(); each != nullptr; each = each->nextSibling())
            art(*each);
        out_ += "</g>\n</svg>\n";
        return std::move(out_);
    }

  private:
    // Appends ` name="value"` (the value already escaped).
    void attribute(std::string_view name, std::string_view value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        out_ += value;
        out_ += '"';
    }

    void point(const AIRealPoint& p) {
        out_ += number(p.h);
        out_ += ' ';
        out_ += number(height_ - p.v);
    }

    static bool straight(const AIPathSegment& from, const AIPathSegment& to) {
        return from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v;
    }

    void side(const AIPathSegment& from, const AIPathSegment& to) {
        if (straight(from, to)) {
            out_ += " L ";
            point(to.p);
        } else {
            out_ += " C ";
            point(from.out);
            out_ += ' ';
            point(to.in);
            out_ += ' ';
            point(to.p);
        }
    }

    void subpath(const std::vector<AIPathSegment>& segments, bool closed) {
        if (segments.empty()) return;
        if (out_.back() != '"') out_ += ' ';
        out_ += "M ";
        point(segments.front().p);
        for (size_t i = 1; i < segments.size(); ++i)
            side(segments[i - 1], segments[i]);
        if (closed) {
            if (segments.size() > 1 && !straight(segments.back(), segments.front()))
                side(segments.back(), segments.front());
            out_ += " Z";
        }
    }

    void paint(const AIPathStyle& style) {
        const bool fill = style.fillPaint != 0 && style.fill.color.kind != kNoneColor;
        const bool stroke = style.strokePaint != 0 && style.stroke.color.kind != kNoneColor;
        attribute("fill", fill ? svgColor(style.fill.color) : "none");
        if (fill && style.evenodd != 0) attribute("fill-rule", "evenodd");
        attribute("stroke", stroke ? svgColor(style.stroke.color) : "none");
        if (stroke) {
            attribute("stroke-width", number(std::max(0.0f, style.stroke.width)));
            static constexpr const char* kCaps[] = {"butt", "round", "square"};
            static constexpr const char* kJoins[] = {"miter", "round", "bevel"};
            if (style.stroke.cap > 0 && style.stroke.cap < 3)
                attribute("stroke-linecap", kCaps[style.stroke.cap]);
            if (style.stroke.join > 0 && style.stroke.join < 3)
                attribute("stroke-linejoin", kJoins[style.stroke.join]);
        }
    }

    void common(const ArtData& data, const std::map<std::string, std::string>& tags) {
        if (data.opacity != 1.0f) attribute("opacity", number(std::clamp(data.opacity, 0.0f, 1.0f)));
        if (data.blendMode > kNormalBlendingMode && data.blendMode <= kLastBlendingMode) {
            out_ += " style=\"mix-blend-mode:";
            out_ += kBlendModes[data.blendMode];
            out_ += '"';
        }
        // Tag names that differ only in what an attribute name cannot hold ("a b", "a-b", "A") would give one
        // attribute twice, which no XML reader accepts: later ones get a number.
        std::set<std::string> used;
        for (const auto& [name, value] : tags) {
            const std::string base = dataAttributeName(name);
            std::string unique = base;
            for (int n = 2; !used.insert(unique).second; ++n)
                unique = base + "-" + std::to_string(n);
            attribute(unique, escape(value));
        }
    }

    void art(const Art& node) {
        const ArtData& data = node.data();
        switch (data.type) {
        case kPathArt:
            if (data.segments.empty()) return; // nothing to draw
            out_ += "<path d=\"";
            subpath(data.segments, data.closed);
            out_ += "\"";
            paint(data.style);
            common(data, data.tags);
            out_ += "/>\n";
            return;
        case kCompoundPathArt: {
            // One path of all subpaths, so that holes stay holes; the children's tags go with it.
            std::map<std::string, std::string> tags;
            const AIPathStyle* style = nullptr;
            bool drawable = false;
            for (const Art* child = node.firstChild(); child != nullptr; child = child->nextSibling())
                drawable = drawable || (child->type() == kPathArt && !child->data().segments.empty());
            if (!drawable) return;
            out_ += "<path d=\"";
            for (const Art* child = node.firstChild(); child != nullptr; child = child->nextSibling()) {
                if (child->type() != kPathArt) continue;
                if (style == nullptr) style = &child->data().style;
                subpath(child->data().segments, child->data().closed);
                tags.insert(child->data().tags.begin(), child->data().tags.end());
            }
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
            for (const Art* child = node.firstChild(); child != nullptr; child = child->nextSibling())
                art(*child);
            out_ += "</g>\n";
            return;
        }
        }
    }

    const Document& document_;
    AIReal height_;
    std::string out_;
};

} // namespace

std::string svgColor(const AIColor& color) {
    float r = 0.5f, g = 0.5f, b = 0.5f;
    auto unit = [](AIReal value) { return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f; };
    switch (color.kind) {
    case kGrayColor:
        r = g = b = 1.0f - unit(color.value[0]);
        break;
    case kThreeColor:
        r = unit(color.value[0]);
        g = unit(color.value[1]);
        b = unit(color.value[2]);
        break;
    case kFourColor: {
        const float k = 1.0f - unit(color.value[3]);
        r = (1.0f - unit(color.value[0])) * k;
        g = (1.0f - unit(color.value[1])) * k;
        b = (1.0f - unit(color.value[2])) * k;
        break;
    }
    case kNoneColor:
        return "none";
    default:
        break; // pattern, spot, gradient: no values to show; a neutral gray stands in
    }
    char text[8];
    std::snprintf(text, sizeof(text), "#%02x%02x%02x", static_cast<unsigned>(std::lround(r * 255.0f)),
                  static_cast<unsigned>(std::lround(g * 255.0f)),
                  static_cast<unsigned>(std::lround(b * 255.0f)));
    return text;
}

std::string svgText(const Document& document) {
    return SvgWriter(document).run();
}

bool writeSvg(const Document& document, const std::string& path, std::string* error) {
    return writeFileAtomically(path, svgText(document), error);
}

} // namespace zz
