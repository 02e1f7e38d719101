#include "host/document/DocumentFixtures.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zz {

namespace {

struct Rgb {
    float r, g, b;
};

// Ordinary swatch and style colours, as red, green and blue.
constexpr Rgb kPalette[] = {
    {1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f},    {0.9f, 0.1f, 0.1f}, {0.1f, 0.6f, 0.2f},
    {0.1f, 0.3f, 0.9f}, {1.0f, 0.8f, 0.0f},    {0.6f, 0.2f, 0.7f}, {0.0f, 0.7f, 0.8f},
    {1.0f, 0.5f, 0.1f}, {0.75f, 0.75f, 0.75f}, {0.8f, 0.4f, 0.6f}, {0.3f, 0.2f, 0.1f},
    {0.6f, 0.8f, 0.3f}, {0.2f, 0.2f, 0.5f},    {0.9f, 0.9f, 0.6f}, {0.7f, 0.1f, 0.3f},
};
constexpr int kPaletteSize = static_cast<int>(sizeof(kPalette) / sizeof(kPalette[0]));

} // namespace

AIColor colorInModel(int16_t colorModel, AIReal red, AIReal green, AIReal blue) {
    const Rgb rgb{red, green, blue};
    AIColor color{};
    switch (colorModel) {
    case kDocGrayColor:
        color.kind = kGrayColor;
        color.value[0] = 1.0f - (0.299f * rgb.r + 0.587f * rgb.g + 0.114f * rgb.b);
        break;
    case kDocCMYKColor: {
        color.kind = kFourColor;
        const float k = 1.0f - std::max({rgb.r, rgb.g, rgb.b});
        const float rest = 1.0f - k;
        color.value[0] = rest > 0.0f ? (rest - rgb.r) / rest : 0.0f;
        color.value[1] = rest > 0.0f ? (rest - rgb.g) / rest : 0.0f;
        color.value[2] = rest > 0.0f ? (rest - rgb.b) / rest : 0.0f;
        color.value[3] = k;
        for (AIReal& value : color.value)
            value = std::clamp(value, 0.0f, 1.0f); // rounding may leave -1e-7
        break;
    }
    default:
        color.kind = kThreeColor;
        color.value[0] = rgb.r;
        color.value[1] = rgb.g;
        color.value[2] = rgb.b;
        break;
    }
    return color;
}

namespace {

AIColor colorIn(int16_t colorModel, Rgb rgb) {
    return colorInModel(colorModel, rgb.r, rgb.g, rgb.b);
}

} // namespace

std::vector<AIColor> makeSwatchList(int count, int16_t colorModel) {
    std::vector<AIColor> list;
    if (count <= 0) return list;
    list.reserve(static_cast<size_t>(count));
    AIColor none{};
    none.kind = kNoneColor;
    list.push_back(none);
    if (count >= 2) {
        AIColor registration{};
        registration.kind = kFourColor;
        std::fill(std::begin(registration.value), std::end(registration.value), 1.0f);
        list.push_back(registration);
    }
    // Later rounds of the palette move towards mid gray, so that no two swatches of a long list are alike:
    // round k keeps 0.8f^k of each colour's distance from it (a product of doubles, so that no target's pow
    // rounds it differently).
    double keep = 1.0;
    for (int i = 2; i < count; ++i) {
        if (i > 2 && (i - 2) % kPaletteSize == 0) keep *= 0.8f;
        Rgb rgb = kPalette[(i - 2) % kPaletteSize];
        const float toGray = 1.0f - static_cast<float>(keep);
        rgb = {rgb.r + (0.5f - rgb.r) * toGray, rgb.g + (0.5f - rgb.g) * toGray,
               rgb.b + (0.5f - rgb.b) * toGray};
        list.push_back(colorIn(colorModel, rgb));
    }
    return list;
}

AIPathStyle defaultPaint(int16_t colorModel) {
    AIPathStyle style{};
    style.fillPaint = 1;
    style.fill.color = colorIn(colorModel, {1.0f, 1.0f, 1.0f});
    style.strokePaint = 1;
    style.stroke.color = colorIn(colorModel, {0.0f, 0.0f, 0.0f});
    style.stroke.width = 1.0f;
    style.stroke.cap = 0;
    style.stroke.join = 0;
    style.stroke.miterLimit = 4.0f;
    style.evenodd = 0;
    return style;
}

AIPathStyle startingPaint(const DocumentFacts& facts) {
    return facts.paint ? *facts.paint : defaultPaint(facts.colorModel);
}

std::vector<NamedStyle> makeNamedStyles(int32_t count, int16_t colorModel) {
    const AIPathStyle paint = defaultPaint(colorModel);
    std::vector<NamedStyle> styles;
    for (int32_t i = 0; i < count; ++i) {
        NamedStyle named;
        if (i == 0) {
            named.name = "[Default]";
            named.style = paint;
        } else {
            named.name = "Style " + std::to_string(i);
            named.style = paint;
            named.style.fill.color = colorIn(colorModel, kPalette[(i + 1) % kPaletteSize]);
            named.style.stroke.color = colorIn(colorModel, kPalette[(i + 5) % kPaletteSize]);
            named.style.stroke.width = static_cast<AIReal>(1 + i % 4);
            named.opacity = i % 3 == 0 ? 0.75f : 1.0f;
        }
        styles.push_back(std::move(named));
    }
    return styles;
}

DocumentFixtures::DocumentFixtures(DocumentFacts facts)
    : facts_(std::move(facts)),
      namedStyles_(facts_.namedStyleList ? *facts_.namedStyleList
                                         : makeNamedStyles(facts_.namedStyles, facts_.colorModel)) {
    facts_.namedStyles = namedStyleCount();
}

const NamedStyle* DocumentFixtures::namedStyle(int32_t index) const {
    if (index < 0 || index >= namedStyleCount()) return nullptr;
    return &namedStyles_[static_cast<size_t>(index)];
}

} // namespace zz
