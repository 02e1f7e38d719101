// Pictures of everything the SVG export draws, made straight through the document (no module): colours of
// every kind, opacity and blend modes, fill rules, named graphic styles, symbols, an envelope fitted to
// another shape and each of the fifteen warps. scripts/check-renderings.sh hands them to two renderers.
//
//   svg_renderings OUT_DIR
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/document/Document.h"
#include "host/document/SvgExport.h"

namespace {

using zz::ArtId;
using zz::DocStatus;
using zz::Document;
using zz::DocumentFacts;

// Stops the program at the first refused operation: these pictures are made from known-good values only.
void must(DocStatus status, const char* what) {
    if (status == DocStatus::ok) return;
    std::fprintf(stderr, "svg_renderings: %s failed (%d)\n", what, static_cast<int>(status));
    std::exit(1);
}

AIPathSegment corner(AIReal h, AIReal v) {
    AIPathSegment segment{};
    segment.p = segment.in = segment.out = AIRealPoint{h, v};
    return segment;
}

// A segment with handles `dh` either side along the horizontal.
AIPathSegment smooth(AIReal h, AIReal v, AIReal dh, AIReal dv = 0.0f) {
    AIPathSegment segment{};
    segment.p = AIRealPoint{h, v};
    segment.in = AIRealPoint{h - dh, v - dv};
    segment.out = AIRealPoint{h + dh, v + dv};
    return segment;
}

AIColor gray(AIReal g) {
    return AIColor{kGrayColor, {g, 0, 0, 0}};
}
AIColor rgb(AIReal r, AIReal g, AIReal b) {
    return AIColor{kThreeColor, {r, g, b, 0}};
}
AIColor cmyk(AIReal c, AIReal m, AIReal y, AIReal k) {
    return AIColor{kFourColor, {c, m, y, k}};
}

AIPathStyle paint(std::optional<AIColor> fill, std::optional<AIColor> stroke, AIReal width = 2.0f) {
    AIPathStyle style = zz::defaultPaint(kDocRGBColor);
    style.fillPaint = fill.has_value();
    if (fill) style.fill.color = *fill;
    style.strokePaint = stroke.has_value();
    if (stroke) style.stroke.color = *stroke;
    style.stroke.width = width;
    style.stroke.join = 1; // round: both renderers draw round joins alike
    return style;
}

ArtId path(Document& document, const std::vector<AIPathSegment>& segments, bool closed,
           const AIPathStyle& style, int16_t order = kPlaceAboveAll, ArtId prep = 0) {
    ArtId id = 0;
    must(document.newArt(kPathArt, order, prep, &id), "new path");
    must(document.setSegments(id, 0, static_cast<int32_t>(segments.size()), segments.data()), "segments");
    must(document.setClosed(id, closed), "close");
    must(document.setPathStyle(id, style), "style");
    return id;
}

std::vector<AIPathSegment> rect(AIReal left, AIReal bottom, AIReal width, AIReal height) {
    return {corner(left, bottom), corner(left + width, bottom), corner(left + width, bottom + height),
            corner(left, bottom + height)};
}

// A zigzag of `teeth` teeth across the box.
std::vector<AIPathSegment> zigzag(AIReal left, AIReal bottom, AIReal width, AIReal height, int teeth) {
    std::vector<AIPathSegment> points;
    for (int i = 0; i <= 2 * teeth; ++i)
        points.push_back(corner(left + width * static_cast<AIReal>(i) / static_cast<AIReal>(2 * teeth),
                                i % 2 == 0 ? bottom : bottom + height));
    return points;
}

// A ring as a compound path of two closed curves.
ArtId ring(Document& document, AIReal cx, AIReal cy, AIReal outer, AIReal inner, const AIPathStyle& style) {
    ArtId compound = 0;
    must(document.newArt(kCompoundPathArt, kPlaceAboveAll, 0, &compound), "compound");
    for (AIReal r : {outer, inner}) {
        const AIReal k = r * 0.5523f; // handle length of a quarter circle
        // Counter-clockwise from the right: each out handle points the way the circle goes on.
        const std::vector<AIPathSegment> circle = {smooth(cx + r, cy, 0, k), smooth(cx, cy + r, -k),
                                                   smooth(cx - r, cy, 0, -k), smooth(cx, cy - r, k)};
        path(document, circle, true, style, kPlaceInsideOnTop, compound);
    }
    must(document.setPathStyle(compound, style), "compound style");
    return compound;
}

bool save(const Document& document, const std::filesystem::path& file) {
    std::string error;
    if (!zz::writeSvg(document, file.string(), &error)) {
        std::fprintf(stderr, "svg_renderings: %s: %s\n", file.string().c_str(), error.c_str());
        return false;
    }
    std::printf("%s\n", file.string().c_str());
    return true;
}

// ---- the pictures ----

void colours(Document& d) {
    // Gray 0 (white) to 1 (black) on a mid-blue ground so that white shows.
    path(d, rect(0, 0, 400, 300), true, paint(rgb(0.3f, 0.4f, 0.6f), std::nullopt));
    const AIReal grays[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f, -0.5f, 1.5f};
    for (int i = 0; i < 7; ++i)
        path(d, rect(10 + 55.0f * i, 230, 45, 55), true, paint(gray(grays[i]), gray(1.0f - grays[i])));
    const AIColor three[] = {rgb(1, 0, 0),          rgb(0, 1, 0),     rgb(0, 0, 1),         rgb(1, 1, 0),
                             rgb(0.2f, 0.6f, 0.9f), rgb(2, -1, 0.5f), rgb(0.5f, 0.5f, 0.5f)};
    for (int i = 0; i < 7; ++i)
        path(d, rect(10 + 55.0f * i, 160, 45, 55), true, paint(three[i], rgb(0, 0, 0)));
    const AIColor four[] = {cmyk(1, 0, 0, 0),
                            cmyk(0, 1, 0, 0),
                            cmyk(0, 0, 1, 0),
                            cmyk(0, 0, 0, 1),
                            cmyk(0.1f, 0.2f, 0.3f, 0.4f),
                            cmyk(0, 0.8f, 0.8f, 0.2f),
                            cmyk(1.5f, -0.5f, 0, 0)};
    for (int i = 0; i < 7; ++i)
        path(d, rect(10 + 55.0f * i, 90, 45, 55), true, paint(four[i], cmyk(0, 0, 0, 1)));
    // Strokes of each kind, butt, round and square caps.
    const AIColor strokes[] = {gray(0.8f), rgb(1, 0.5f, 0), cmyk(0.7f, 0, 0.3f, 0)};
    for (int i = 0; i < 3; ++i) {
        AIPathStyle style = paint(std::nullopt, strokes[i], 6.0f + 3.0f * i);
        style.stroke.cap = static_cast<int16_t>(i);
        path(d, zigzag(20 + 125.0f * i, 20, 100, 45, 3), false, style);
    }
}

// Four stripes of colour to blend over.
void blendGround(Document& d) {
    const AIColor ground[] = {rgb(0.9f, 0.1f, 0.1f), rgb(0.1f, 0.8f, 0.2f), rgb(0.1f, 0.2f, 0.9f),
                              gray(0.2f)};
    for (int i = 0; i < 4; ++i)
        path(d, rect(0, 75.0f * i, 400, 75), true, paint(ground[i], std::nullopt));
}

// Squares in blend modes `first` to `last` over the stripes, four to a row, overlapping the row above; odd
// modes at half opacity.
void blendSquares(Document& d, int first, int last) {
    blendGround(d);
    for (int mode = first; mode <= last; ++mode) {
        const AIReal x = 12 + 96.0f * static_cast<AIReal>(mode % 4);
        const AIReal y = 12 + 72.0f * static_cast<AIReal>(mode / 4);
        const ArtId square =
            path(d, rect(x, y, 80, 95), true, paint(rgb(0.9f, 0.8f, 0.3f), rgb(0.2f, 0.1f, 0.5f)));
        must(d.setBlendMode(square, mode), "blend mode");
        if (mode % 2 == 1) must(d.setOpacity(square, 0.5f), "opacity");
    }
}

// Every blend mode but luminosity, which the two renderers draw differently (see check-renderings.sh).
void opacityAndBlendModes(Document& d) {
    blendSquares(d, 0, 14);
}

void luminosity(Document& d) {
    blendSquares(d, 15, 15);
}

void fillRules(Document& d) {
    path(d, rect(0, 0, 400, 300), true, paint(gray(0.1f), std::nullopt));
    AIPathStyle evenodd = paint(rgb(0.9f, 0.3f, 0.1f), rgb(0, 0, 0));
    evenodd.evenodd = 1;
    ring(d, 100, 150, 80, 45, evenodd); // a ring with a hole
    AIPathStyle nonzero = paint(rgb(0.1f, 0.5f, 0.9f), rgb(0, 0, 0));
    ring(d, 300, 150, 80, 45, nonzero); // both circles turn the same way: filled through
}

void graphicStyles(Document& d) {
    for (int32_t index = 0; index < 6; ++index) {
        const ArtId art =
            path(d, zigzag(20 + 62.0f * index, 60, 50, 180, 3), false, paint(gray(0.5f), gray(1)));
        must(d.applyNamedStyle(art, index), "named style");
        if (index % 2 == 1) must(d.setStyleScale(art, 2.5f), "style scale");
    }
}

void symbols(Document& d) {
    const ArtId art = ring(d, 200, 150, 90, 40, [] {
        AIPathStyle style = paint(rgb(0.2f, 0.7f, 0.4f), rgb(0, 0.2f, 0));
        style.evenodd = 1;
        return style;
    }());
    ArtId symbol = 0;
    must(d.newSymbol(art, false, &symbol), "symbol"); // a definition only: the picture shows the art once
    path(d, zigzag(40, 20, 320, 40, 8), false, paint(std::nullopt, rgb(0.1f, 0.1f, 0.6f), 3));
}

// Content of an envelope: a filled curved blob, a ring and a zigzag over a grid of thin lines.
ArtId envelopeContent(Document& d, AIReal left, AIReal bottom) {
    ArtId group = 0;
    must(d.newArt(kGroupArt, kPlaceAboveAll, 0, &group), "group");
    auto inside = [&](const std::vector<AIPathSegment>& segments, bool closed, const AIPathStyle& style) {
        path(d, segments, closed, style, kPlaceInsideOnTop, group);
    };
    inside(rect(left, bottom, 240, 140), true, paint(rgb(0.95f, 0.95f, 0.85f), rgb(0.3f, 0.3f, 0.3f), 1.5f));
    for (int i = 1; i < 6; ++i) {
        const AIReal x = left + 40.0f * i;
        inside({corner(x, bottom), corner(x, bottom + 140)}, false, paint(std::nullopt, gray(0.5f), 1));
    }
    for (int i = 1; i < 4; ++i) {
        const AIReal y = bottom + 35.0f * i;
        inside({corner(left, y), corner(left + 240, y)}, false, paint(std::nullopt, gray(0.5f), 1));
    }
    inside({smooth(left + 30, bottom + 70, 0, 25), smooth(left + 70, bottom + 120, 25),
            smooth(left + 110, bottom + 70, 0, -25), smooth(left + 70, bottom + 20, -25)},
           true, paint(cmyk(0, 0.6f, 0.9f, 0), cmyk(0, 0, 0, 1), 2));
    inside(zigzag(left + 130, bottom + 25, 95, 90, 4), false, paint(std::nullopt, rgb(0.1f, 0.2f, 0.8f), 3));
    return group;
}

// A 2 x 2 sheet of one warp style: bend 0.5; bend -0.7 turned; bend 0.4 with both distortions; bend 1 at
// fidelity 100.
void warpSheet(Document& d, int32_t style) {
    struct Cell {
        AIReal left, bottom, bend, horizontal, vertical;
        bool rotate;
        int32_t fidelity;
    };
    const Cell cells[] = {{70, 360, 0.5f, 0, 0, false, 50},
                          {400, 360, -0.7f, 0, 0, true, 50},
                          {70, 90, 0.4f, 0.5f, -0.4f, false, 50},
                          {400, 90, 1.0f, 0, 0, false, 100}};
    for (const Cell& c : cells) {
        ArtId content = envelopeContent(d, c.left, c.bottom);
        ArtId shape = 0, envelope = 0;
        must(d.duplicateArt(content, kPlaceAboveAll, content, &shape), "envelope shape");
        must(d.makeEnvelope(&content, 1, shape, AIEnvelopeOptions{0, c.fidelity}, &envelope), "envelope");
        must(d.setWarp(envelope, zz::Warp{style, c.bend, c.horizontal, c.vertical, c.rotate}), "warp");
    }
}

void envelopeShape(Document& d) {
    // Without a warp the contents fill the box of the envelope's shape: a small drawing stretched wide.
    ArtId content = envelopeContent(d, 20, 20);
    const ArtId shape = path(d, rect(60, 230, 500, 120), true, paint(gray(0), gray(1)));
    ArtId envelope = 0;
    must(d.makeEnvelope(&content, 1, shape, AIEnvelopeOptions{0, 50}, &envelope), "envelope");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: svg_renderings OUT_DIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code error;
    std::filesystem::create_directories(out, error);
    if (error) {
        std::fprintf(stderr, "svg_renderings: cannot make %s: %s\n", out.string().c_str(),
                     error.message().c_str());
        return 1;
    }
    struct Picture {
        std::string name;
        DocumentFacts facts;
        std::function<void(Document&)> draw;
    };
    std::vector<Picture> pictures = {
        {"colours", DocumentFacts{kDocRGBColor, 400, 300, {}, 0, false}, colours},
        {"opacity-blend", DocumentFacts{kDocRGBColor, 400, 300, {}, 0, false}, opacityAndBlendModes},
        {"blend-luminosity", DocumentFacts{kDocRGBColor, 400, 300, {}, 0, false}, luminosity},
        {"fill-rules", DocumentFacts{kDocRGBColor, 400, 300, {}, 0, false}, fillRules},
        {"graphic-styles", DocumentFacts{kDocCMYKColor, 400, 300, {}, 6, false}, graphicStyles},
        {"symbols", DocumentFacts{kDocRGBColor, 400, 300, {}, 0, false}, symbols},
        {"envelope-shape", DocumentFacts{kDocRGBColor, 620, 400, {}, 0, false}, envelopeShape},
    };
    const char* names[] = {"arc",         "arc-lower",   "arc-upper", "arch",    "bulge",
                           "shell-lower", "shell-upper", "flag",      "wave",    "fish",
                           "rise",        "fisheye",     "inflate",   "squeeze", "twist"};
    for (int32_t style = kFirstWarpStyle; style <= kLastWarpStyle; ++style) {
        char name[64];
        std::snprintf(name, sizeof(name), "warp-%02d-%s", style, names[style - 1]);
        pictures.push_back(Picture{name, DocumentFacts{kDocRGBColor, 720, 620, {}, 0, false},
                                   [style](Document& d) { warpSheet(d, style); }});
    }
    for (const Picture& picture : pictures) {
        Document document(picture.facts);
        picture.draw(document);
        if (!save(document, out / (picture.name + ".svg"))) return 1;
    }
    return 0;
}
