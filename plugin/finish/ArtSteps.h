// Small operations on generated art that the finishing pipeline and the reflection builder share: random
// draws, transforms about the art's centre, and the style steps whose host results are ignored.
#ifndef ZZ_PLUGIN_FINISH_ART_STEPS_H
#define ZZ_PLUGIN_FINISH_ART_STEPS_H

#include <cstdint>

#include "ZZTypes.h"

struct ToolSettings;

// Transform flags of every transform the finishing makes: the objects and their fill and stroke patterns and
// gradients.
constexpr int32_t kTransformEverything =
    kTransformObjects | kTransformFillGradients | kTransformFillPatterns | kTransformStrokePatterns;

// One number of the host's random sequence, 0 to 1.
float randomDraw();
// -1 when its own draw is above 0.5, else +1.
float randomSign();
// trunc(value) as a 32-bit integer; beyond the integer range the nearest end of it, NaN 0.
int32_t truncToInt32(float value);

// The centre of the art's current bounds, as left - (right - left) * -0.5 and bottom - (top - bottom) * -0.5.
SPErr artCenter(AIArtHandle art, AIRealPoint* center);
// Transforms the art by `matrix` with line scale 1.
SPErr transformArt(AIArtHandle art, const AIRealMatrix& matrix, int32_t flags);
// Rotates by `angle` radians, or scales by (sx, sy), about the centre of the art's bounds, fetched afresh.
SPErr rotateAboutCenter(AIArtHandle art, AIReal angle);
SPErr scaleAboutCenter(AIArtHandle art, AIReal sx, AIReal sy);
// Moves the art by (tx, ty).
SPErr translateArt(AIArtHandle art, AIReal tx, AIReal ty);

// The random graphic style: one of the document's `styleCount` named styles, never the first while another
// exists, applied to the art; with `scaleStyle`, the style's scale factor is then multiplied by
// `styleFactor`. A drawn number that names no style of the document applies nothing. Returns the status of
// fetching or applying the style.
SPErr applyRandomStyle(AIArtHandle art, int32_t styleCount, bool scaleStyle, AIReal styleFactor);

// Stroke width = widthFactor x 10 (pen pressure).
void setPressureWidth(AIArtHandle art, AIReal widthFactor);
// Stroke width = draw x width, never below 0.
void randomizeWidth(AIArtHandle art);
// Blending mode trunc(draw x 20), 16 to 19 giving the normal mode 0.
void randomizeBlendMode(AIArtHandle art);
// The first three values of a four- or three-colour, or the gray value, each moved by up to 0.1 either way,
// then clamped to 0..1. Other kinds are left alone; the style is written back whatever the kind.
void jitterFillColor(AIArtHandle art);
void jitterStrokeColor(AIArtHandle art);
// Stroke width moved by up to 3 points either way, never below 0.
void jitterWidth(AIArtHandle art);

// The paint steps after the colour modes: the pen pressure's stroke width and opacity (a factor of 1 leaves
// each alone), then what the settings ask of random width, opacity and blending mode and of jittered fill,
// stroke and width, in that order, since each random step takes its own draws.
void applyPressureAndRandomPaint(const ToolSettings& settings, AIArtHandle art, AIReal widthFactor,
                                 AIReal opacityFactor);

// Wraps the art in an envelope shaped by a copy of itself, then draws a warp (style, bend, horizontal and
// vertical distortion, orientation) and sets it when the style is one of the host's fifteen; styles 0, 16
// and 17 leave the envelope without a warp. Returns the first failing status.
SPErr warpRandomly(AIArtHandle art);

// The drop shadow of `art`: a copy below all art (placed by `reference`), its painted fill and stroke black
// in the document's colour model (0 gray, 1 RGB, 2 CMYK; other models keep the colours), moved 10 points
// right and 10 down. Returns the status of the copy or the move.
SPErr castShadow(AIArtHandle art, AIArtHandle reference, int16_t colorModel, AIArtHandle* shadow);

#endif
