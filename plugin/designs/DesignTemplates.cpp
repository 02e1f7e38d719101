// The 67 design templates. Each design is a polyline in the unit square: y runs along the element from 0 to
// 1, x across it. Points are stored as (x, y) pairs of 32-bit floats; the loader appends the end marker.
#include "plugin/designs/DesignTemplates.h"

#include "plugin/settings/ToolSettings.h"

namespace {

constexpr float kDesign0[] = {0.0f, 0.0f, 1.0f, 0.5f, 0.0f, 1.0f};
constexpr float kDesign1[] = {0.0f, 0.0f, 0.0f, 0.1f, 0.5f, 0.1f, 0.5f, 0.2f, 0.0f, 0.2f, 0.0f, 0.3f,
                              1.0f, 0.3f, 1.0f, 0.4f, 0.5f, 0.4f, 0.5f, 0.6f, 1.0f, 0.6f, 1.0f, 0.7f,
                              0.0f, 0.7f, 0.0f, 0.8f, 0.5f, 0.8f, 0.5f, 0.9f, 0.0f, 0.9f, 0.0f, 1.0f};
constexpr float kDesign2[] = {0.0f, 0.0f, 1.0f, 0.1f, 1.0f, 0.9f, 0.0f, 1.0f};
constexpr float kDesign3[] = {0.0f, 0.0f, 0.0f, 0.1f,  1.0f, 0.15f, 0.0f, 0.2f,
                              0.0f, 0.8f, 1.0f, 0.85f, 0.0f, 0.9f,  0.0f, 1.0f};
constexpr float kDesign4[] = {0.0f, 0.0f, 0.0f, 0.1f, 1.0f, 0.1f, 1.0f, 0.3f, 0.0f, 0.3f,
                              0.0f, 0.5f, 1.0f, 0.5f, 1.0f, 0.7f, 0.0f, 0.7f, 0.0f, 1.0f};
constexpr float kDesign5[] = {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.5f, 0.0f, 0.5f, 0.0f, 1.0f};
constexpr float kDesign6[] = {0.5f, 0.0f, 0.5f, 0.1f, 0.1f, 0.1f, 0.1f, 0.4f, 0.2f, 0.4f,
                              0.2f, 0.2f, 0.5f, 0.2f, 0.5f, 0.8f, 0.2f, 0.8f, 0.2f, 0.6f,
                              0.1f, 0.6f, 0.1f, 0.9f, 0.5f, 0.9f, 0.5f, 1.0f};
constexpr float kDesign7[] = {0.5f, 0.0f,  0.5f, 0.1f,  0.1f, 0.1f,  0.1f, 0.4f,  0.2f, 0.4f, 0.2f,
                              0.2f, 0.5f,  0.2f, 0.5f,  0.3f, 0.3f,  0.3f, 0.3f,  0.4f, 0.5f, 0.4f,
                              0.5f, 0.45f, 0.4f, 0.45f, 0.4f, 0.55f, 0.5f, 0.55f, 0.5f, 0.6f, 0.3f,
                              0.6f, 0.3f,  0.7f, 0.5f,  0.7f, 0.5f,  0.8f, 0.2f,  0.8f, 0.2f, 0.6f,
                              0.1f, 0.6f,  0.1f, 0.9f,  0.5f, 0.9f,  0.5f, 1.0f};
constexpr float kDesign8[] = {0.0f,  0.0f,  0.25f, 0.25f, 1.0f,  0.25f, 1.0f, 0.35f,
                              0.25f, 0.35f, 0.0f,  0.6f,  0.25f, 0.8f,  0.0f, 1.0f};
constexpr float kDesign9[] = {0.0f, 0.0f, 0.0f, 0.4f, 0.5f, 0.4f, 0.5f, 0.2f, 0.9f, 0.2f,
                              0.9f, 0.8f, 0.5f, 0.8f, 0.5f, 0.6f, 0.0f, 0.6f, 0.0f, 1.0f};
constexpr float kDesign10[] = {0.0f, 0.0f, 0.0f, 0.4f,  0.35f, 0.4f, 0.7f, 0.2f, 0.55f,
                               0.5f, 0.7f, 0.8f, 0.35f, 0.6f,  0.0f, 0.6f, 0.0f, 1.0f};
constexpr float kDesign11[] = {0.0f, 0.0f, 0.0f, 0.2f, 0.15f, 0.25f, 0.0f,  0.3f,  0.0f, 0.4f, 1.0f, 0.4f,
                               1.0f, 0.6f, 0.0f, 0.6f, 0.0f,  0.7f,  0.15f, 0.75f, 0.0f, 0.8f, 0.0f, 1.0f};
constexpr float kDesign12[] = {0.0f,  0.0f, 0.0f,  0.25f, 0.2f,  0.25f, 0.2f, 0.0f,  0.4f,  0.0f, 0.4f,
                               0.25f, 0.6f, 0.25f, 0.6f,  0.0f,  0.8f,  0.0f, 0.8f,  0.25f, 1.0f, 0.25f,
                               1.0f,  1.0f, 0.8f,  1.0f,  0.8f,  0.75f, 0.6f, 0.75f, 0.6f,  1.0f, 0.4f,
                               1.0f,  0.4f, 0.75f, 0.2f,  0.75f, 0.2f,  1.0f, 0.0f,  1.0f};
constexpr float kDesign13[] = {0.0f, 0.0f, 0.25f, 0.25f, 0.5f, 0.0f, 0.75f, 0.25f, 1.0f, 0.0f,
                               1.0f, 1.0f, 0.75f, 0.75f, 0.5f, 1.0f, 0.25f, 0.75f, 0.0f, 1.0f};
constexpr float kDesign14[] = {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.3f, 0.7f, 0.3f, 0.7f,
                               0.6f, 0.4f, 0.6f, 0.4f, 0.9f, 0.0f, 0.9f, 0.0f, 1.0f};
constexpr float kDesign15[] = {0.0f,  0.0f, 0.05f, 0.05f, 0.0f, 0.1f, 0.2f, 0.15f, 0.0f, 0.2f, 0.4f,
                               0.25f, 0.0f, 0.3f,  0.0f,  0.7f, 1.0f, 0.8f, 0.0f,  0.9f, 0.0f, 1.0f};
constexpr float kDesign16[] = {0.5f,  0.0f, 0.5f,  0.05f, 0.55f, 0.05f, 0.55f, 0.1f, 0.5f,
                               0.1f,  0.5f, 0.15f, 1.0f,  0.5f,  0.5f,  0.85f, 0.5f, 0.9f,
                               0.55f, 0.9f, 0.55f, 0.95f, 0.5f,  0.95f, 0.5f,  1.0f};
constexpr float kDesign17[] = {0.5f,  0.0f,  0.45f, 0.05f, 0.55f, 0.05f, 0.55f, 0.25f, 0.45f, 0.25f, 0.45f,
                               0.35f, 0.5f,  0.45f, 0.65f, 0.45f, 0.65f, 0.55f, 0.5f,  0.55f, 0.45f, 0.65f,
                               0.45f, 0.75f, 0.55f, 0.75f, 0.55f, 0.95f, 0.45f, 0.95f, 0.5f,  1.0f};
constexpr float kDesign18[] = {0.5f, 0.0f, 0.5f,  0.2f,  0.7f, 0.25f, 0.5f,  0.3f, 0.75f, 0.35f, 0.5f,
                               0.4f, 0.8f, 0.45f, 0.5f,  0.5f, 0.8f,  0.55f, 0.5f, 0.6f,  0.75f, 0.65f,
                               0.5f, 0.7f, 0.7f,  0.75f, 0.5f, 0.8f,  0.5f,  0.8f, 0.5f,  1.0f};
constexpr float kDesign19[] = {0.5f,  0.0f,  0.5f,  0.1f,  0.6f,  0.1f,  0.65f, 0.15f, 0.7f,  0.1f,  0.7f,
                               0.25f, 0.65f, 0.2f,  0.6f,  0.25f, 0.5f,  0.25f, 0.5f,  0.35f, 0.6f,  0.35f,
                               0.65f, 0.4f,  0.7f,  0.35f, 0.7f,  0.65f, 0.65f, 0.6f,  0.6f,  0.65f, 0.5f,
                               0.65f, 0.5f,  0.75f, 0.6f,  0.75f, 0.65f, 0.8f,  0.7f,  0.75f, 0.7f,  0.9f,
                               0.65f, 0.85f, 0.6f,  0.9f,  0.5f,  0.9f,  0.5f,  1.0f};
constexpr float kDesign20[] = {0.5f, 0.0f, 0.5f, 0.1f, 0.0f, 0.2f, 0.5f, 0.3f, 0.5f, 0.4f, 0.8f,
                               0.5f, 0.5f, 0.6f, 0.5f, 0.7f, 0.0f, 0.8f, 0.5f, 0.9f, 0.5f, 1.0f};
constexpr float kDesign21[] = {0.5f, 0.0f, 0.55f, 0.05f, 0.5f, 0.1f,  0.7f,  0.3f, 0.5f,
                               0.5f, 0.9f, 0.7f,  0.5f,  0.9f, 0.55f, 0.95f, 0.5f, 1.0f};
constexpr float kDesign22[] = {0.5f, 0.0f, 0.5f,  0.1f, 0.3f,  0.1f, 0.3f, 0.4f, 0.5f, 0.4f,
                               0.5f, 0.6f, 0.15f, 0.6f, 0.15f, 0.9f, 0.5f, 0.9f, 0.5f, 1.0f};
constexpr float kDesign23[] = {0.5f, 0.0f,  0.5f,  0.25f, 0.4f,  0.3f,  0.5f,  0.35f, 0.4f,
                               0.4f, 0.5f,  0.45f, 0.2f,  0.55f, 0.5f,  0.55f, 0.4f,  0.6f,
                               0.5f, 0.65f, 0.4f,  0.7f,  0.5f,  0.75f, 0.5f,  1.0f};
constexpr float kDesign24[] = {0.5f,  0.0f,  0.6f,  0.1f,  0.65f, 0.1f,  0.65f, 0.15f, 0.6f,
                               0.15f, 0.4f,  0.35f, 0.35f, 0.35f, 0.35f, 0.4f,  0.6f,  0.6f,
                               0.65f, 0.6f,  0.65f, 0.65f, 0.6f,  0.65f, 0.4f,  0.85f, 0.35f,
                               0.85f, 0.35f, 0.9f,  0.4f,  0.9f,  0.5f,  1.0f};
constexpr float kDesign25[] = {0.5f,  0.0f,  0.5f,  0.1f,  0.45f, 0.1f,  0.45f, 0.15f, 0.5f,  0.15f,
                               0.5f,  0.25f, 0.55f, 0.25f, 0.55f, 0.3f,  0.5f,  0.3f,  0.5f,  0.4f,
                               0.6f,  0.5f,  0.5f,  0.6f,  0.5f,  0.65f, 0.45f, 0.65f, 0.45f, 0.7f,
                               0.5f,  0.7f,  0.5f,  0.75f, 0.65f, 0.75f, 0.75f, 0.85f, 0.7f,  0.9f,
                               0.65f, 0.9f,  0.65f, 0.95f, 0.5f,  0.95f, 0.5f,  1.0f};
constexpr float kDesign26[] = {0.5f,  0.0f, 0.5f,  0.15f, 0.55f, 0.15f, 0.55f, 0.1f,  0.45f, 0.1f,
                               0.45f, 0.3f, 0.5f,  0.3f,  0.5f,  0.25f, 0.4f,  0.25f, 0.4f,  0.5f,
                               0.45f, 0.5f, 0.45f, 0.45f, 0.35f, 0.45f, 0.35f, 0.75f, 0.4f,  0.75f,
                               0.4f,  0.8f, 0.45f, 0.8f,  0.45f, 0.85f, 0.5f,  0.85f, 0.5f,  1.0f};
constexpr float kDesign27[] = {0.5f, 0.0f, 0.55f, 0.05f, 0.45f, 0.15f, 0.4f,  0.05f,
                               0.3f, 0.2f, 0.45f, 0.35f, 0.25f, 0.55f, 0.45f, 0.75f,
                               0.5f, 0.7f, 0.55f, 0.75f, 0.4f,  0.9f,  0.5f,  1.0f};
constexpr float kDesign28[] = {0.7f,  0.0f,  0.7f,  0.05f, 0.4f, 0.05f, 0.4f,  0.15f, 0.7f,
                               0.15f, 0.7f,  0.25f, 0.3f,  0.5f, 0.7f,  0.75f, 0.7f,  0.85f,
                               0.4f,  0.85f, 0.4f,  0.95f, 0.7f, 0.95f, 0.7f,  1.0f};
constexpr float kDesign29[] = {0.5f,  0.0f, 0.55f, 0.05f, 0.55f, 0.1f,  0.45f, 0.1f,
                               0.45f, 0.2f, 0.55f, 0.2f,  0.55f, 0.8f,  0.45f, 0.8f,
                               0.45f, 0.9f, 0.55f, 0.9f,  0.55f, 0.95f, 0.5f,  1.0f};
constexpr float kDesign30[] = {0.5f, 0.0f, 1.0f, 0.5f, 0.5f, 0.25f, 0.5f, 0.75f, 1.0f, 0.5f, 0.5f, 1.0f};
constexpr float kDesign31[] = {0.5f, 0.0f,  0.5f,  0.05f, 0.55f, 0.05f, 0.55f, 0.1f,  0.5f, 0.1f,
                               0.5f, 0.15f, 0.8f,  0.3f,  0.85f, 0.3f,  0.85f, 0.35f, 0.9f, 0.35f,
                               0.9f, 0.4f,  0.95f, 0.4f,  0.95f, 0.45f, 1.0f,  0.5f,  0.5f, 0.85f,
                               0.5f, 0.9f,  0.55f, 0.9f,  0.55f, 0.95f, 0.5f,  0.95f, 0.5f, 1.0f};
constexpr float kDesign32[] = {0.25f, 0.0f,  1.0f, 0.3f, 0.4f, 0.3f, 0.4f,  0.35f, 0.5f,
                               0.35f, 0.5f,  0.4f, 0.1f, 0.5f, 0.5f, 0.6f,  0.5f,  0.65f,
                               0.4f,  0.65f, 0.4f, 0.7f, 1.0f, 0.7f, 0.25f, 1.0f};
constexpr float kDesign33[] = {0.25f, 0.0f,  0.75f, 0.05f, 0.5f,  0.05f, 0.5f,  0.1f,  0.55f, 0.1f,  0.55f,
                               0.15f, 0.5f,  0.15f, 0.5f,  0.25f, 0.4f,  0.35f, 0.4f,  0.45f, 0.6f,  0.45f,
                               0.6f,  0.55f, 0.4f,  0.55f, 0.4f,  0.65f, 0.5f,  0.75f, 0.5f,  0.85f, 0.55f,
                               0.85f, 0.55f, 0.9f,  0.5f,  0.9f,  0.5f,  0.95f, 0.75f, 0.95f, 0.25f, 1.0f};
constexpr float kDesign34[] = {0.7f,  0.0f,  0.7f, 0.35f, 0.85f, 0.35f, 0.85f, 0.5f, 0.8f,
                               0.55f, 0.85f, 0.6f, 0.85f, 0.75f, 0.7f,  0.75f, 0.7f, 1.0f};
constexpr float kDesign35[] = {0.25f, 0.0f, 0.15f, 0.1f, 0.85f, 0.9f, 0.1f, 0.9f, 0.25f, 1.0f};
constexpr float kDesign36[] = {0.5f, 0.0f, 0.5f, 0.1f, 0.4f, 0.1f, 0.5f, 0.2f, 0.5f, 0.3f, 0.6f, 0.3f,
                               0.6f, 0.4f, 0.5f, 0.4f, 0.5f, 0.5f, 0.4f, 0.5f, 0.4f, 0.6f, 0.5f, 0.6f,
                               0.6f, 0.7f, 0.7f, 0.7f, 0.7f, 0.8f, 0.6f, 0.8f, 0.5f, 0.9f, 0.5f, 1.0f};
constexpr float kDesign37[] = {
    0.5f,  0.0f,  0.5f,  0.1f,  0.45f, 0.05f, 0.4f,  0.1f,  0.45f, 0.15f, 0.4f,  0.2f,  0.35f, 0.15f,
    0.3f,  0.2f,  0.35f, 0.25f, 0.3f,  0.3f,  0.25f, 0.25f, 0.2f,  0.3f,  0.25f, 0.35f, 0.2f,  0.4f,
    0.15f, 0.35f, 0.1f,  0.4f,  0.25f, 0.55f, 0.3f,  0.5f,  0.35f, 0.55f, 0.4f,  0.5f,  0.35f, 0.45f,
    0.4f,  0.4f,  0.45f, 0.45f, 0.5f,  0.4f,  0.45f, 0.35f, 0.5f,  0.3f,  0.55f, 0.35f, 0.55f, 0.55f,
    0.5f,  0.6f,  0.55f, 0.65f, 0.5f,  0.7f,  0.55f, 0.75f, 0.5f,  0.8f,  0.55f, 0.85f, 0.5f,  1.0f};
constexpr float kDesign38[] = {0.5f, 0.0f, 0.5f, 0.05f, 0.1f, 0.1f, 0.9f, 0.9f, 0.5f, 0.95f, 0.5f, 1.0f};
constexpr float kDesign39[] = {0.5f,  0.0f,  0.5f,  0.05f, 0.55f, 0.1f,  0.5f,  0.15f, 0.55f, 0.2f,
                               0.5f,  0.25f, 0.5f,  0.3f,  0.7f,  0.3f,  0.7f,  0.35f, 0.75f, 0.4f,
                               0.7f,  0.45f, 0.75f, 0.5f,  0.7f,  0.55f, 0.75f, 0.6f,  0.7f,  0.65f,
                               0.7f,  0.7f,  0.5f,  0.7f,  0.5f,  0.75f, 0.55f, 0.8f,  0.5f,  0.85f,
                               0.55f, 0.9f,  0.5f,  0.95f, 0.5f,  1.0f};
constexpr float kDesign40[] = {0.5f, 0.0f, 0.7f, 0.35f, 0.5f, 0.35f, 0.5f, 0.7f, 0.5f, 0.7f, 0.5f, 1.0f};
constexpr float kDesign41[] = {0.5f, 0.0f, 0.5f, 0.2f, 0.6f, 0.2f, 0.6f, 0.1f, 0.7f, 0.1f, 0.7f, 0.2f, 0.8f,
                               0.2f, 0.8f, 0.3f, 0.7f, 0.3f, 0.7f, 0.4f, 0.6f, 0.4f, 0.6f, 0.3f, 0.5f, 0.3f,
                               0.5f, 0.7f, 0.6f, 0.7f, 0.6f, 0.6f, 0.7f, 0.6f, 0.7f, 0.7f, 0.8f, 0.7f, 0.8f,
                               0.8f, 0.7f, 0.8f, 0.7f, 0.9f, 0.6f, 0.9f, 0.6f, 0.8f, 0.5f, 0.8f, 0.5f, 1.0f};
constexpr float kDesign42[] = {0.5f,  0.0f,  0.5f,  0.15f, 0.45f, 0.25f, 0.55f, 0.25f, 0.55f, 0.35f, 0.45f,
                               0.45f, 0.55f, 0.55f, 0.45f, 0.65f, 0.45f, 0.75f, 0.5f,  0.85f, 0.5f,  1.0f};
constexpr float kDesign43[] = {0.5f, 0.0f, 0.3f, 0.1f, 0.3f, 0.4f, 0.25f, 0.4f, 0.25f,
                               0.6f, 0.3f, 0.6f, 0.3f, 0.9f, 0.5f, 0.9f,  0.5f, 1.0f};
constexpr float kDesign44[] = {0.5f,  0.0f,  0.5f,  0.1f,  0.45f, 0.1f,  0.45f, 0.05f, 0.4f, 0.05f,
                               0.4f,  0.25f, 0.6f,  0.25f, 0.4f,  0.75f, 0.6f,  0.75f, 0.6f, 0.95f,
                               0.55f, 0.95f, 0.55f, 0.9f,  0.5f,  0.9f,  0.5f,  1.0f};
constexpr float kDesign45[] = {0.5f,  0.0f,  0.55f, 0.05f, 0.55f, 0.15f, 0.45f, 0.15f,
                               0.45f, 0.25f, 0.55f, 0.35f, 0.45f, 0.65f, 0.55f, 0.75f,
                               0.55f, 0.85f, 0.45f, 0.95f, 0.55f, 0.95f, 0.5f,  1.0f};
constexpr float kDesign46[] = {0.5f,  0.0f, 0.5f, 0.25f, 0.45f, 0.3f, 0.65f, 0.35f, 0.3f, 0.4f,
                               0.75f, 0.5f, 0.3f, 0.6f,  0.65f, 0.7f, 0.5f,  0.75f, 0.5f, 1.0f};
constexpr float kDesign47[] = {0.5f, 0.0f, 1.0f, 0.1f, 0.5f, 0.2f, 1.0f, 0.3f, 0.5f, 0.4f, 1.0f,
                               0.5f, 0.5f, 0.6f, 1.0f, 0.7f, 0.5f, 0.8f, 1.0f, 0.9f, 0.5f, 1.0f};
constexpr float kDesign48[] = {0.5f, 0.0f, 1.0f, 0.2f, 1.0f, 0.3f, 0.5f,
                               0.5f, 1.0f, 0.7f, 1.0f, 0.8f, 0.5f, 1.0f};
constexpr float kDesign49[] = {0.5f,  0.0f,  1.0f,  0.3f,  1.0f,  0.4f, 0.5f, 0.1f, 0.5f,
                               0.2f,  0.75f, 0.35f, 0.75f, 0.45f, 0.5f, 0.3f, 0.5f, 0.4f,
                               0.25f, 0.55f, 0.25f, 0.65f, 0.5f,  0.5f, 0.5f, 1.0f};
constexpr float kDesign50[] = {0.5f,  0.0f, 0.5f,  0.1f, 0.7f,  0.1f, 0.7f,  0.7f,  0.6f,  0.7f,
                               0.6f,  0.6f, 0.65f, 0.6f, 0.65f, 0.2f, 0.55f, 0.2f,  0.55f, 0.3f,
                               0.6f,  0.3f, 0.6f,  0.4f, 0.55f, 0.4f, 0.6f,  0.45f, 0.6f,  0.5f,
                               0.55f, 0.5f, 0.55f, 0.6f, 0.5f,  0.6f, 0.5f,  1.0f};
constexpr float kDesign51[] = {0.5f, 0.0f, 0.5f, 0.5f, 0.4f, 0.5f, 0.4f, 0.4f, 0.6f, 0.4f, 0.6f,
                               0.6f, 0.3f, 0.6f, 0.3f, 0.3f, 0.7f, 0.3f, 0.7f, 0.7f, 0.2f, 0.7f,
                               0.2f, 0.2f, 0.8f, 0.2f, 0.8f, 0.8f, 0.5f, 0.8f, 0.5f, 1.0f};
constexpr float kDesign52[] = {0.0f, 0.0f,  1.0f,  0.05f, 1.0f, 0.2f,  0.9f,  0.25f, 1.0f,
                               0.3f, 1.0f,  0.45f, 0.75f, 0.5f, 1.0f,  0.55f, 1.0f,  0.7f,
                               0.9f, 0.75f, 1.0f,  0.8f,  1.0f, 0.95f, 0.0f,  1.0f};
constexpr float kDesign53[] = {0.5f,  0.0f,  0.55f, 0.05f, 0.5f,  0.05f, 0.55f, 0.1f, 0.5f, 0.1f,  0.5f,
                               0.2f,  0.45f, 0.25f, 0.5f,  0.25f, 0.45f, 0.3f,  0.5f, 0.3f, 0.5f,  0.4f,
                               0.55f, 0.45f, 0.5f,  0.45f, 0.55f, 0.5f,  0.5f,  0.5f, 0.5f, 0.6f,  0.45f,
                               0.65f, 0.5f,  0.65f, 0.45f, 0.7f,  0.5f,  0.7f,  0.5f, 0.8f, 0.55f, 0.85f,
                               0.5f,  0.85f, 0.55f, 0.9f,  0.5f,  0.9f,  0.5f,  1.0f};
constexpr float kDesign54[] = {0.5f, 0.0f,  0.55f, 0.25f, 0.5f,  0.25f, 0.6f, 0.5f, 0.5f,
                               0.5f, 0.65f, 0.75f, 0.5f,  0.75f, 0.7f,  1.0f, 0.5f, 1.0f};
constexpr float kDesign55[] = {0.1f,  0.0f,  0.1f,  0.1f,  0.9f,  0.1f,  0.9f,  0.2f,  0.85f, 0.2f,  0.8f,
                               0.25f, 0.75f, 0.2f,  0.25f, 0.2f,  0.2f,  0.25f, 0.15f, 0.2f,  0.1f,  0.2f,
                               0.1f,  0.35f, 0.9f,  0.35f, 0.9f,  0.45f, 0.85f, 0.45f, 0.8f,  0.5f,  0.75f,
                               0.45f, 0.25f, 0.45f, 0.2f,  0.5f,  0.15f, 0.45f, 0.1f,  0.45f, 0.1f,  0.65f,
                               0.9f,  0.65f, 0.9f,  0.75f, 0.85f, 0.75f, 0.8f,  0.8f,  0.75f, 0.75f, 0.25f,
                               0.75f, 0.2f,  0.8f,  0.15f, 0.75f, 0.1f,  0.75f, 0.1f,  1.0f};
constexpr float kDesign56[] = {0.5f, 0.0f,  0.5f,  0.05f, 0.55f, 0.1f,  0.5f, 0.15f, 0.6f, 0.2f,
                               0.5f, 0.25f, 0.65f, 0.3f,  0.5f,  0.35f, 0.7f, 0.4f,  0.5f, 0.45f,
                               0.5f, 0.65f, 0.6f,  0.7f,  0.5f,  0.75f, 0.5f, 1.0f};
constexpr float kDesign57[] = {
    0.5f,  0.0f,  0.5f,  0.05f, 0.55f, 0.05f, 0.55f, 0.1f,  0.6f,  0.1f,  0.6f,  0.15f, 0.55f, 0.15f,
    0.55f, 0.2f,  0.5f,  0.2f,  0.5f,  0.25f, 0.45f, 0.25f, 0.45f, 0.3f,  0.4f,  0.3f,  0.4f,  0.35f,
    0.45f, 0.35f, 0.45f, 0.4f,  0.5f,  0.4f,  0.5f,  0.6f,  0.55f, 0.6f,  0.55f, 0.65f, 0.6f,  0.65f,
    0.6f,  0.7f,  0.55f, 0.7f,  0.55f, 0.75f, 0.5f,  0.75f, 0.5f,  0.8f,  0.45f, 0.8f,  0.45f, 0.85f,
    0.4f,  0.85f, 0.4f,  0.9f,  0.45f, 0.9f,  0.45f, 0.95f, 0.5f,  0.95f, 0.5f,  1.0f};
constexpr float kDesign58[] = {0.5f, 0.0f,  0.5f, 0.1f,  0.8f, 0.15f, 0.5f, 0.2f,  0.8f, 0.25f, 0.5f, 0.3f,
                               0.8f, 0.35f, 0.5f, 0.4f,  0.8f, 0.45f, 0.5f, 0.5f,  0.5f, 0.6f,  0.2f, 0.65f,
                               0.5f, 0.7f,  0.2f, 0.75f, 0.5f, 0.8f,  0.2f, 0.85f, 0.5f, 0.9f,  0.5f, 1.0f};
constexpr float kDesign59[] = {0.5f,  0.0f,  0.5f,  0.05f, 0.75f, 0.1f,  0.5f,  0.15f, 0.75f, 0.2f,
                               0.5f,  0.25f, 0.75f, 0.3f,  0.5f,  0.35f, 0.75f, 0.4f,  0.5f,  0.45f,
                               0.5f,  0.55f, 0.25f, 0.6f,  0.5f,  0.65f, 0.25f, 0.7f,  0.5f,  0.75f,
                               0.25f, 0.8f,  0.5f,  0.85f, 0.25f, 0.9f,  0.5f,  0.95f, 0.5f,  1.0f};
constexpr float kDesign60[] = {0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 1.0f};
constexpr float kDesign61[] = {1.0f, 0.0f, 1.0f, 0.5f, 1.0f, 1.0f};
constexpr float kDesign62[] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr float kDesign63[] = {0.0f, 0.0f, 1.0f, 1.0f};
constexpr float kDesign64[] = {1.0f, 0.0f, 0.0f, 1.0f};
constexpr float kDesign65[] = {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f};
constexpr float kDesign66[] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f};

#define ZZ_DESIGN(index, name)                                                                               \
    { name, static_cast<int>(sizeof kDesign##index / sizeof(float) / 2), kDesign##index }

constexpr DesignTemplate kDesigns[kDesignCount] = {
    ZZ_DESIGN(0, "Arrow (01)"),      ZZ_DESIGN(1, "Skyrise(02)"),   ZZ_DESIGN(2, "Flat Top(03)"),
    ZZ_DESIGN(3, "DoubleSpike(04)"), ZZ_DESIGN(4, "Towers(05)"),    ZZ_DESIGN(5, "Step(06)"),
    ZZ_DESIGN(6, "Alien(07)"),       ZZ_DESIGN(7, "PowerPack(08)"), ZZ_DESIGN(8, "Stickingout(09)"),
    ZZ_DESIGN(9, "WaterTower(10)"),  ZZ_DESIGN(10, "Glass(11)"),    ZZ_DESIGN(11, "Break(12)"),
    ZZ_DESIGN(12, "Track(13)"),      ZZ_DESIGN(13, "Wobble(14)"),   ZZ_DESIGN(14, "Staircase(15)"),
    ZZ_DESIGN(15, "Sting(16)"),      ZZ_DESIGN(16, "Mountain(17)"), ZZ_DESIGN(17, "MiddleTower(18)"),
    ZZ_DESIGN(18, "Intense(19)"),    ZZ_DESIGN(19, "Columns(20)"),  ZZ_DESIGN(20, "Dip(21)"),
    ZZ_DESIGN(21, "Increasing(22)"), ZZ_DESIGN(22, "BigSmall(23)"), ZZ_DESIGN(23, "Temple(24)"),
    ZZ_DESIGN(24, "N(25)"),          ZZ_DESIGN(25, "Bottom(26)"),   ZZ_DESIGN(26, "StoneSteps(27)"),
    ZZ_DESIGN(27, "Crags(28)"),      ZZ_DESIGN(28, "M(29)"),        ZZ_DESIGN(29, "Valley(30)"),
    ZZ_DESIGN(30, "Impact(31)"),     ZZ_DESIGN(31, "Hinged(32)"),   ZZ_DESIGN(32, "Clamps(33)"),
    ZZ_DESIGN(33, "StarWars(34)"),   ZZ_DESIGN(34, "Castle(35)"),   ZZ_DESIGN(35, "Nose(36)"),
    ZZ_DESIGN(36, "Chimney(37)"),    ZZ_DESIGN(37, "Crackle(38)"),  ZZ_DESIGN(38, "Seahorse(39)"),
    ZZ_DESIGN(39, "Topping(40)"),    ZZ_DESIGN(40, "Upper(41)"),    ZZ_DESIGN(41, "Crosses(42)"),
    ZZ_DESIGN(42, "Beak(43)"),       ZZ_DESIGN(43, "Tardis(44)"),   ZZ_DESIGN(44, "Z(45)"),
    ZZ_DESIGN(45, "Oscillate(46)"),  ZZ_DESIGN(46, "Pulse(47)"),    ZZ_DESIGN(47, "Rapid(48)"),
    ZZ_DESIGN(48, "Two(49)"),        ZZ_DESIGN(49, "Signpost(50)"), ZZ_DESIGN(50, "Finger(51)"),
    ZZ_DESIGN(51, "Contour(52)"),    ZZ_DESIGN(52, "Cake(53)"),     ZZ_DESIGN(53, "Fork(54)"),
    ZZ_DESIGN(54, "Uprising(55)"),   ZZ_DESIGN(55, "Ladder(56)"),   ZZ_DESIGN(56, "Topping(57)"),
    ZZ_DESIGN(57, "Rough(58)"),      ZZ_DESIGN(58, "Beats(59)"),    ZZ_DESIGN(59, "Backbeat(60)"),
    ZZ_DESIGN(60, "Blank1"),         ZZ_DESIGN(61, "Blank2"),       ZZ_DESIGN(62, "Blank3"),
    ZZ_DESIGN(63, "Line1"),          ZZ_DESIGN(64, "Line2"),        ZZ_DESIGN(65, "Line3"),
    ZZ_DESIGN(66, "Line4"),
};

#undef ZZ_DESIGN

} // namespace

const DesignTemplate* designTemplateAt(int32_t designIndex) {
    if (designIndex < 0 || designIndex >= kDesignCount) return nullptr;
    return &kDesigns[designIndex];
}

void loadDesignTemplate(int32_t designIndex) {
    const DesignTemplate* design = designTemplateAt(designIndex);
    if (design == nullptr || globalsBlock == nullptr) return;
    float* slot = globalsBlock->designTemplate;
    for (int i = 0; i < design->pointCount * 2; ++i)
        *slot++ = design->points[i];
    *slot = kDesignEndMarker;
}
