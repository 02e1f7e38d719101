// The host's document: colour model, page, swatches, named styles and one layer of art in paint order.
#ifndef ZZ_HOST_DOCUMENT_DOCUMENT_H
#define ZZ_HOST_DOCUMENT_DOCUMENT_H

#include <vector>

#include "ZZTypes.h"

namespace zz {

// The facts a session script can give about the document.
struct DocumentFacts {
    int16_t colorModel = kDocRGBColor;
    AIReal pageWidth = 612.0f;
    AIReal pageHeight = 792.0f;
    std::vector<AIColor> swatches; // the whole list, the first two entries being the special ones
    int32_t namedStyles = 0;
};

class Document {
  public:
    explicit Document(DocumentFacts facts = {}) : facts_(std::move(facts)) {}
    const DocumentFacts& facts() const { return facts_; }

  private:
    DocumentFacts facts_;
};

} // namespace zz

#endif
