// The document's fixtures: colour model, page, swatch list and named graphic styles, built from the facts a
// session script gives.
#ifndef ZZ_HOST_DOCUMENT_DOCUMENT_FIXTURES_H
#define ZZ_HOST_DOCUMENT_DOCUMENT_FIXTURES_H

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ZZTypes.h"

namespace zz {

// A named graphic style: a path style and an opacity.
struct NamedStyle {
    std::string name;
    AIPathStyle style;
    AIReal opacity = 1.0f;
};

// The facts a session script can give about the document.
struct DocumentFacts {
    DocumentFacts() = default;
    // The facts every document has; the paint and the named styles one by one keep their defaults.
    DocumentFacts(int16_t colorModel, AIReal pageWidth, AIReal pageHeight, std::vector<AIColor> swatches,
                  int32_t namedStyles, bool hasPressure)
        : colorModel(colorModel), pageWidth(pageWidth), pageHeight(pageHeight), swatches(std::move(swatches)),
          namedStyles(namedStyles), hasPressure(hasPressure) {}

    int16_t colorModel = kDocRGBColor;
    AIReal pageWidth = 612.0f;
    AIReal pageHeight = 792.0f;
    std::vector<AIColor> swatches; // the whole list, the first two entries being the special ones
    int32_t namedStyles = 0;
    bool hasPressure = false; // informational; the tool suite answers SystemHasPressure
    // The paint new art takes; none: the colour model's default paint (see startingPaint).
    std::optional<AIPathStyle> paint;
    // The named styles one by one, index 0 first; none: `namedStyles` made-up ones (see makeNamedStyles).
    std::optional<std::vector<NamedStyle>> namedStyleList;
};

// The colour of red, green and blue (each 0 to 1) in a colour model: gray (1 black, from the colours' weights
// in luma), four-colour (black as much as the lightest channel leaves), three-colour.
AIColor colorInModel(int16_t colorModel, AIReal red, AIReal green, AIReal blue);

// A plausible swatch list of `count` entries: entry 0 is "none", entry 1 "registration", the others ordinary
// colours of the colour model (three-colour for RGB, four-colour for CMYK, gray for gray). count <= 0 gives
// none.
std::vector<AIColor> makeSwatchList(int count, int16_t colorModel = kDocRGBColor);

// The document's starting paint for new art in a colour model: fill white, stroke black, width 1.
AIPathStyle defaultPaint(int16_t colorModel);

// The paint new art takes in a new document with these facts: the one they give, else the default paint.
AIPathStyle startingPaint(const DocumentFacts& facts);

// `count` named styles in the colour model: "[Default]" (the default paint), then "Style 1", "Style 2", ...
// of varied colours, widths and opacities.
std::vector<NamedStyle> makeNamedStyles(int32_t count, int16_t colorModel);

class DocumentFixtures {
  public:
    explicit DocumentFixtures(DocumentFacts facts = {});

    const DocumentFacts& facts() const { return facts_; }
    int32_t namedStyleCount() const { return static_cast<int32_t>(namedStyles_.size()); }
    // The named style at `index`, or null outside the list.
    const NamedStyle* namedStyle(int32_t index) const;

  private:
    DocumentFacts facts_;
    std::vector<NamedStyle> namedStyles_;
};

} // namespace zz

#endif
