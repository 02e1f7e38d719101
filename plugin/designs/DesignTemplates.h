// The design template table and its loader.
#ifndef ZZ_PLUGIN_DESIGNS_DESIGN_TEMPLATES_H
#define ZZ_PLUGIN_DESIGNS_DESIGN_TEMPLATES_H

#include <cstdint>

constexpr int32_t kDesignCount = 67;
// Designs 60 to 62 are blank, 63 to 66 plain lines; the design lists show bitmap 100 + index for 0 to 62.
constexpr int32_t kFirstLineDesign = 63;

struct DesignTemplate {
    const char* name;    // as the design lists show it after "  Zigzag - "
    int pointCount;      // number of (x, y) pairs
    const float* points; // pointCount pairs, no end marker
};

// The design with this index, or null outside 0..66.
const DesignTemplate* designTemplateAt(int32_t designIndex);

// Copies design `designIndex` and the end marker into the settings' design template area, from slot 0 up to
// and including the marker; later slots keep their values. Any index outside 0..66 writes nothing.
void loadDesignTemplate(int32_t designIndex);

#endif
