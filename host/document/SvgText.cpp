#include "host/document/SvgText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace zz {

namespace {

const char* nonFiniteName(AIReal value) {
    return std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf";
}

// A device value as it is held: finite ones as numbers, the others by name.
void appendDeviceNumber(std::string& out, AIReal value) {
    if (std::isfinite(value))
        appendSvgNumber(out, value);
    else
        out += nonFiniteName(value);
}

constexpr const char* kBlendModes[] = {
    "normal", "multiply", "screen",     "overlay",   "soft-light", "hard-light", "color-dodge", "color-burn",
    "darken", "lighten",  "difference", "exclusion", "hue",        "saturation", "color",       "luminosity"};
static_assert(std::size(kBlendModes) == kLastBlendingMode + 1, "a name for every blend mode");

} // namespace

void appendSvgNumber(std::string& out, AIReal value) {
    if (!std::isfinite(value) || value == 0.0f) { // also -0
        out += '0';
        return;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed);
    if (result.ec != std::errc()) {
        out += '0';
        return;
    }
    out.append(buffer, result.ptr);
}

std::string svgNumber(AIReal value) {
    std::string text;
    appendSvgNumber(text, value);
    return text;
}

bool SvgPathData::straight(const AIPathSegment& from, const AIPathSegment& to) {
    return from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v;
}

void SvgPathData::point(const AIRealPoint& p) {
    appendSvgNumber(out_, p.h);
    out_ += ' ';
    appendSvgNumber(out_, height_ - p.v);
}

void SvgPathData::side(const AIPathSegment& from, const AIPathSegment& to) {
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

SvgPaint svgPaint(const AIPathStyle& style) {
    SvgPaint paint;
    const bool fill = style.fillPaint != 0 && style.fill.color.kind != kNoneColor;
    const bool stroke = style.strokePaint != 0 && style.stroke.color.kind != kNoneColor;
    paint.fill = fill ? svgColor(style.fill.color) : "none";
    if (fill) paint.rule = style.evenodd != 0 ? "evenodd" : "nonzero";
    paint.stroke = stroke ? svgColor(style.stroke.color) : "none";
    if (stroke) {
        paint.width = svgNumber(std::max(0.0f, style.stroke.width));
        static constexpr const char* kCaps[] = {"butt", "round", "square"};
        static constexpr const char* kJoins[] = {"miter", "round", "bevel"};
        if (style.stroke.cap > 0 && style.stroke.cap < 3) paint.cap = kCaps[style.stroke.cap];
        if (style.stroke.join > 0 && style.stroke.join < 3) paint.join = kJoins[style.stroke.join];
    }
    return paint;
}

std::string svgOpacity(const ArtData& data) {
    if (data.opacity == 1.0f) return "";
    return svgNumber(std::clamp(data.opacity, 0.0f, 1.0f));
}

const char* svgBlendMode(const ArtData& data) {
    if (data.blendMode > kNormalBlendingMode && data.blendMode <= kLastBlendingMode)
        return kBlendModes[data.blendMode];
    return nullptr;
}

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

std::string svgDeviceColor(const AIColor& color) {
    std::string text;
    auto values = [&](const char* name) {
        text = name;
        for (int i = 0; i < colourValueCount(color.kind); ++i) {
            text += ' ';
            appendDeviceNumber(text, color.value[i]);
        }
    };
    switch (color.kind) {
    case kGrayColor:
        values("gray");
        break;
    case kFourColor:
        values("cmyk");
        break;
    case kThreeColor:
        values("rgb");
        break;
    case kPattern:
        text = "pattern";
        break;
    case kCustomColor:
        text = "spot";
        break;
    case kGradient:
        text = "gradient";
        break;
    case kNoneColor:
        text = "none";
        break;
    default:
        text = "kind " + std::to_string(color.kind);
        break;
    }
    return text;
}

} // namespace zz
