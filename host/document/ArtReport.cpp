#include "host/document/ArtReport.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "host/base/Utf8.h"

namespace zz {

namespace {

// The double whose shortest decimal form is the float's, so that 0.1f reports as 0.1.
double tidy(AIReal value) {
    if (!std::isfinite(value)) return 0.0;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer) - 1, value);
    if (result.ec != std::errc()) return value;
    *result.ptr = '\0';
    return std::strtod(buffer, nullptr);
}

nlohmann::json point(const AIRealPoint& p) {
    return nlohmann::json::array({tidy(p.h), tidy(p.v)});
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

nlohmann::json color(const AIColor& c) {
    nlohmann::json values = nlohmann::json::array();
    for (int i = 0; i < valueCount(c.kind); ++i)
        values.push_back(tidy(c.value[i]));
    return {{"kind", c.kind}, {"values", values}};
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
                       {"strokeWidth", tidy(data.style.stroke.width)}};
    object["opacity"] = tidy(data.opacity);
    object["blendMode"] = data.blendMode;
    object["tags"] = nlohmann::json::object();
    // Tags are the plug-in's bytes; the report is UTF-8 and must stay serialisable whatever they hold.
    for (const auto& [name, value] : data.tags)
        object["tags"][validUtf8(name)] = validUtf8(value);
    if (art.isContainer()) {
        nlohmann::json children = nlohmann::json::array();
        for (const Art* child = art.firstChild(); child != nullptr; child = child->nextSibling())
            children.push_back(artObjectReport(*child));
        object["children"] = std::move(children);
    }
    if (data.warp) {
        object["warp"] = {{"style", data.warp->style},
                          {"bend", tidy(data.warp->bend)},
                          {"horizontal", tidy(data.warp->horizontal)},
                          {"vertical", tidy(data.warp->vertical)},
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

} // namespace zz
