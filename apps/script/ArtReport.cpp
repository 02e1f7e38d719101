#include "apps/script/ArtReport.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <string>

#include "host/base/Utf8.h"
#include "apps/script/JsonText.h"
#include "apps/script/SettingsJson.h"

namespace zz {

namespace {

using Json = nlohmann::ordered_json;

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

// Writes the report's text as dump(2) would: objects with their keys sorted, as the tree form keeps them,
// every value as the library writes it.
class ReportWriter {
  public:
    explicit ReportWriter(std::ostream& out) : out_(out) {}

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

    void value(const Json& json) { writeJson(out_, json, 0); }

    // Opens an object's key: `first` false puts the comma after the previous member.
    void key(const char* name, unsigned indent, bool first = false) {
        if (!first) out_ << ",\n";
        spaces(indent);
        out_ << '"' << name << "\": ";
    }

    void real(AIReal x) { value(floatToJson(x)); }

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
        value(Json(c.kind));
        key("values", indent + 2);
        const int count = colourValueCount(c.kind);
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
            value(Json(name));
            out_ << ": ";
            value(Json(text));
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
        value(Json(w.style));
        key("vertical", indent + 2);
        real(w.vertical);
        out_ << '\n';
        spaces(indent);
        out_ << '}';
    }

  public:
    void object(const Art& art, unsigned indent) {
        const ArtData& data = art.data();
        const unsigned inner = indent + 2;
        out_ << "{\n";
        key("blendMode", inner, true);
        value(Json(data.blendMode));
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
        value(Json(typeName(data.type)));
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

  private:
    std::ostream& out_;
};

} // namespace

// The tree forms read the text the writer writes, so that the report has one writer.
template <typename Write> nlohmann::json parsed(Write write) {
    std::ostringstream text;
    write(text);
    return nlohmann::json::parse(text.str());
}

nlohmann::json artObjectReport(const Art& art) {
    return parsed([&art](std::ostream& out) { ReportWriter(out).object(art, 0); });
}

nlohmann::json artReport(const Document& document) {
    return parsed([&document](std::ostream& out) { ReportWriter(out).list(document.layer(), 0); });
}

nlohmann::json symbolReport(const Document& document) {
    return parsed([&document](std::ostream& out) { ReportWriter(out).list(document.symbols(), 0); });
}

void writeArtReport(std::ostream& out, const Document& document, unsigned currentIndent) {
    ReportWriter(out).list(document.layer(), currentIndent);
}

void writeSymbolReport(std::ostream& out, const Document& document, unsigned currentIndent) {
    ReportWriter(out).list(document.symbols(), currentIndent);
}

} // namespace zz
