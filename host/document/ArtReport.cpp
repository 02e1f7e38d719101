#include "host/document/ArtReport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

#include "host/base/Utf8.h"

namespace zz {

namespace {

using Json = nlohmann::ordered_json;

// The double whose shortest decimal form is the float's, so that 0.1f reports as 0.1; what is not finite
// reports as "nan", "inf" or "-inf".
template <typename J> J number(AIReal value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer) - 1, value);
    if (result.ec != std::errc()) return static_cast<double>(value);
    *result.ptr = '\0';
    return std::strtod(buffer, nullptr);
}

int valueCount(int16_t kind) {
    switch (kind) {
    case kGrayColor:
        return 1;
    case kThreeColor:
        return 3;
    case kFourColor:
        return 4;
    default:
        return 0;
    }
}

const char* typeName(int16_t type) {
    switch (type) {
    case kGroupArt:
        return "group";
    case kPathArt:
        return "path";
    case kCompoundPathArt:
        return "compound";
    case kSymbolArt:
        return "symbol";
    case kEnvelopeArt:
        return "envelope";
    default:
        return "unknown";
    }
}

// Tags are the plug-in's bytes; the report is UTF-8 and must stay serialisable whatever they hold. Names that
// become one name keep the value of the last.
std::map<std::string, std::string> validTags(const std::map<std::string, std::string>& tags) {
    std::map<std::string, std::string> valid;
    for (const auto& [name, value] : tags)
        valid[validUtf8(name)] = validUtf8(value);
    return valid;
}

nlohmann::json point(const AIRealPoint& p) {
    return nlohmann::json::array({number<nlohmann::json>(p.h), number<nlohmann::json>(p.v)});
}

nlohmann::json color(const AIColor& c) {
    nlohmann::json values = nlohmann::json::array();
    for (int i = 0; i < valueCount(c.kind); ++i)
        values.push_back(number<nlohmann::json>(c.value[i]));
    return {{"kind", c.kind}, {"values", values}};
}

// Writes the report's text as dump(2) would: objects with their keys in the order the tree form keeps them
// (sorted), every value through the library's own serializer.
class ReportWriter {
  public:
    explicit ReportWriter(std::ostream& out)
        : out_(out), serializer_(nlohmann::detail::output_adapter<char>(out), ' ',
                                 nlohmann::detail::error_handler_t::replace) {}

    void list(const Art& root, unsigned indent) {
        if (root.firstChild() == nullptr) {
            out_ << "[]";
            return;
        }
        out_ << "[\n";
        for (const Art* each = root.firstChild(); each != nullptr; each = each->nextSibling()) {
            spaces(indent + 2);
            object(*each, indent + 2);
            out_ << (each->nextSibling() != nullptr ? ",\n" : "\n");
        }
        spaces(indent);
        out_ << ']';
    }

  private:
    void spaces(unsigned count) {
        static const std::string blank(64, ' ');
        for (; count > blank.size(); count -= static_cast<unsigned>(blank.size()))
            out_ << blank;
        out_.write(blank.data(), count);
    }

    void value(const Json& json, unsigned indent) { serializer_.dump(json, true, false, 2, indent); }

    // Opens an object's key: `first` false puts the comma after the previous member.
    void key(const char* name, unsigned indent, bool first = false) {
        if (!first) out_ << ",\n";
        spaces(indent);
        out_ << '"' << name << "\": ";
    }

    void real(AIReal x) { value(number<Json>(x), 0); }

    void point(const AIRealPoint& p, unsigned indent) {
        out_ << "[\n";
        spaces(indent + 2);
        real(p.h);
        out_ << ",\n";
        spaces(indent + 2);
        real(p.v);
        out_ << '\n';
        spaces(indent);
        out_ << ']';
    }

    void color(const AIColor& c, unsigned indent) {
        out_ << "{\n";
        key("kind", indent + 2, true);
        value(Json(c.kind), 0);
        key("values", indent + 2);
        const int count = valueCount(c.kind);
        if (count == 0) {
            out_ << "[]";
        } else {
            out_ << "[\n";
            for (int i = 0; i < count; ++i) {
                spaces(indent + 4);
                real(c.value[i]);
                out_ << (i + 1 < count ? ",\n" : "\n");
            }
            spaces(indent + 2);
            out_ << ']';
        }
        out_ << '\n';
        spaces(indent);
        out_ << '}';
    }

    void segment(const AIPathSegment& s, unsigned indent) {
        out_ << "{\n";
        key("corner", indent + 2, true);
        out_ << (s.corner != 0 ? "true" : "false");
        key("in", indent + 2);
        point(s.in, indent + 2);
        key("out", indent + 2);
        point(s.out, indent + 2);
        key("p", indent + 2);
        point(s.p, indent + 2);
        out_ << '\n';
        spaces(indent);
        out_ << '}';
    }

    void style(const AIPathStyle& style, unsigned indent) {
        out_ << "{\n";
        key("fill", indent + 2, true);
        color(style.fill.color, indent + 2);
        key("fillPaint", indent + 2);
        out_ << (style.fillPaint != 0 ? "true" : "false");
        key("stroke", indent + 2);
        color(style.stroke.color, indent + 2);
        key("strokePaint", indent + 2);
        out_ << (style.strokePaint != 0 ? "true" : "false");
        key("strokeWidth", indent + 2);
        real(style.stroke.width);
        out_ << '\n';
        spaces(indent);
        out_ << '}';
    }

    void tags(const std::map<std::string, std::string>& raw, unsigned indent) {
        if (raw.empty()) {
            out_ << "{}";
            return;
        }
        const std::map<std::string, std::string> valid = validTags(raw);
        out_ << "{\n";
        size_t left = valid.size();
        for (const auto& [name, text] : valid) {
            spaces(indent + 2);
            value(Json(name), 0);
            out_ << ": ";
            value(Json(text), 0);
            out_ << (--left > 0 ? ",\n" : "\n");
        }
        spaces(indent);
        out_ << '}';
    }

    void warp(const Warp& w, unsigned indent) {
        out_ << "{\n";
        key("bend", indent + 2, true);
        real(w.bend);
        key("horizontal", indent + 2);
        real(w.horizontal);
        key("rotate", indent + 2);
        out_ << (w.rotate ? "true" : "false");
        key("style", indent + 2);
        value(Json(w.style), 0);
        key("vertical", indent + 2);
        real(w.vertical);
        out_ << '\n';
        spaces(indent);
        out_ << '}';
    }

    void object(const Art& art, unsigned indent) {
        const ArtData& data = art.data();
        const unsigned inner = indent + 2;
        out_ << "{\n";
        key("blendMode", inner, true);
        value(Json(data.blendMode), 0);
        if (art.isContainer()) {
            key("children", inner);
            list(art, inner);
        }
        if (data.type == kPathArt) {
            key("closed", inner);
            out_ << (data.closed ? "true" : "false");
        }
        key("opacity", inner);
        real(data.opacity);
        if (data.type == kPathArt) {
            key("segments", inner);
            if (data.segments.empty()) {
                out_ << "[]";
            } else {
                out_ << "[\n";
                for (size_t i = 0; i < data.segments.size(); ++i) {
                    spaces(inner + 2);
                    segment(data.segments[i], inner + 2);
                    out_ << (i + 1 < data.segments.size() ? ",\n" : "\n");
                }
                spaces(inner);
                out_ << ']';
            }
        }
        key("style", inner);
        style(data.style, inner);
        key("tags", inner);
        tags(data.tags, inner);
        key("type", inner);
        value(Json(typeName(data.type)), 0);
        if (data.type == kEnvelopeArt) {
            key("warp", inner);
            if (data.warp)
                warp(*data.warp, inner);
            else
                out_ << "null";
        }
        out_ << '\n';
        spaces(indent);
        out_ << '}';
    }

    std::ostream& out_;
    nlohmann::detail::serializer<Json> serializer_;
};

} // namespace

nlohmann::json artObjectReport(const Art& art) {
    const ArtData& data = art.data();
    nlohmann::json object;
    object["type"] = typeName(data.type);
    if (data.type == kPathArt) {
        nlohmann::json segments = nlohmann::json::array();
        for (const AIPathSegment& s : data.segments)
            segments.push_back(
                {{"p", point(s.p)}, {"in", point(s.in)}, {"out", point(s.out)}, {"corner", s.corner != 0}});
        object["segments"] = std::move(segments);
        object["closed"] = data.closed;
    }
    object["style"] = {{"fillPaint", data.style.fillPaint != 0},
                       {"fill", color(data.style.fill.color)},
                       {"strokePaint", data.style.strokePaint != 0},
                       {"stroke", color(data.style.stroke.color)},
                       {"strokeWidth", number<nlohmann::json>(data.style.stroke.width)}};
    object["opacity"] = number<nlohmann::json>(data.opacity);
    object["blendMode"] = data.blendMode;
    object["tags"] = nlohmann::json::object();
    for (const auto& [name, value] : validTags(data.tags))
        object["tags"][name] = value;
    if (art.isContainer()) {
        nlohmann::json children = nlohmann::json::array();
        for (const Art* child = art.firstChild(); child != nullptr; child = child->nextSibling())
            children.push_back(artObjectReport(*child));
        object["children"] = std::move(children);
    }
    // Every envelope says whether it has a warp: null when it has none.
    if (data.type == kEnvelopeArt) {
        object["warp"] = nullptr;
        if (data.warp)
            object["warp"] = {{"style", data.warp->style},
                              {"bend", number<nlohmann::json>(data.warp->bend)},
                              {"horizontal", number<nlohmann::json>(data.warp->horizontal)},
                              {"vertical", number<nlohmann::json>(data.warp->vertical)},
                              {"rotate", data.warp->rotate}};
    }
    return object;
}

nlohmann::json artReport(const Document& document) {
    nlohmann::json art = nlohmann::json::array();
    for (const Art* each = document.layer().firstChild(); each != nullptr; each = each->nextSibling())
        art.push_back(artObjectReport(*each));
    return art;
}

nlohmann::json symbolReport(const Document& document) {
    nlohmann::json symbols = nlohmann::json::array();
    for (const Art* each = document.symbols().firstChild(); each != nullptr; each = each->nextSibling())
        symbols.push_back(artObjectReport(*each));
    return symbols;
}

void writeArtReport(std::ostream& out, const Document& document, unsigned currentIndent) {
    ReportWriter(out).list(document.layer(), currentIndent);
}

void writeSymbolReport(std::ostream& out, const Document& document, unsigned currentIndent) {
    ReportWriter(out).list(document.symbols(), currentIndent);
}

} // namespace zz
