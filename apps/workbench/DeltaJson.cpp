#include "apps/workbench/DeltaJson.h"

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <set>
#include <unordered_set>

#include "host/document/SvgText.h"

namespace zz {

namespace {

using nlohmann::json;

// A number of the SVG's text as a JSON number that the page's script writes back as the same text.
double svgValue(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

// The paint of a path record: the SVG's values; the fill rule only where it is not SVG's nonzero default.
void paint(json& out, const AIPathStyle& style) {
    const SvgPaint paint = svgPaint(style);
    out["fill"] = paint.fill;
    out["stroke"] = paint.stroke;
    if (paint.rule == "evenodd") out["rule"] = paint.rule;
    if (!paint.width.empty()) out["sw"] = svgValue(paint.width);
    if (!paint.cap.empty()) out["cap"] = paint.cap;
    if (!paint.join.empty()) out["join"] = paint.join;
}

void common(json& out, const ArtData& data) {
    if (const std::string opacity = svgOpacity(data); !opacity.empty()) out["op"] = svgValue(opacity);
    if (const char* blend = svgBlendMode(data)) out["blend"] = blend;
}

// True when the art hangs, through its containers, from the layer (not from a symbol definition).
bool inLayer(const Document& document, const Art& art) {
    const Art* node = &art;
    while (node->parent() != nullptr)
        node = node->parent();
    return node == &document.layer();
}

ArtId containerId(const Document& document, const Art* parent) {
    return parent == nullptr || parent == &document.layer() ? 0 : parent->id();
}

ArtId belowId(const Art& art) {
    return art.previousSibling() != nullptr ? art.previousSibling()->id() : 0;
}

// The art the page draws for `art`: the compound path that holds it, or itself.
const Art* drawnArt(const Art* art) {
    if (art->parent() != nullptr && art->parent()->type() == kCompoundPathArt) return art->parent();
    return art;
}

} // namespace

json artJson(const Art& art, AIReal pageHeight, bool deep) {
    json out;
    out["id"] = art.id();
    const ArtData& data = art.data();
    if (art.type() == kPathArt || art.type() == kCompoundPathArt) {
        std::string text;
        SvgPathData path(text, pageHeight);
        const AIPathStyle* style = nullptr;
        if (art.type() == kPathArt) {
            path.subpath(data.segments, data.closed);
        } else {
            for (const Art* child = art.firstChild(); child != nullptr; child = child->nextSibling()) {
                if (child->type() != kPathArt) continue;
                if (style == nullptr) style = &child->data().style;
                path.subpath(child->data().segments, child->data().closed);
            }
        }
        out["t"] = "path";
        out["d"] = std::move(text);
        paint(out, style != nullptr ? *style : data.style);
    } else {
        out["t"] = "g";
        if (deep) {
            json children = json::array();
            for (const Art* child = art.firstChild(); child != nullptr; child = child->nextSibling())
                children.push_back(artJson(*child, pageHeight, true));
            out["children"] = std::move(children);
        }
    }
    common(out, data);
    return out;
}

namespace {

// The placing of top-level art `art` when the page gets the whole document.
json wholePlace(const Art& art, AIReal pageHeight) {
    return {
        {"id", art.id()}, {"parent", 0}, {"below", belowId(art)}, {"art", artJson(art, pageHeight, true)}};
}

// The placing records of the art in `toPlace`, with the whole art of what is in `added`. Runs of siblings go
// bottom to top, each starting above art that is already in place.
void placeRuns(const Document& document, const std::set<ArtId>& toPlace, const std::set<ArtId>& added,
               AIReal height, json& placed) {
    std::unordered_set<ArtId> done;
    for (const ArtId id : toPlace) {
        if (done.count(id)) continue;
        const Art* start = document.find(id);
        while (start->previousSibling() != nullptr && toPlace.count(start->previousSibling()->id()) &&
               !done.count(start->previousSibling()->id()))
            start = start->previousSibling();
        for (const Art* art = start; art != nullptr && toPlace.count(art->id()) && !done.count(art->id());
             art = art->nextSibling()) {
            done.insert(art->id());
            json record = {{"id", art->id()},
                           {"parent", containerId(document, art->parent())},
                           {"below", belowId(*art)}};
            if (added.count(art->id())) record["art"] = artJson(*art, height, true);
            placed.push_back(std::move(record));
        }
    }
}

json deltaFrom(const Document& document, const DocumentDelta& delta, bool everything) {
    const AIReal height = document.facts().pageHeight;
    json out;
    out["revision"] = document.revision();
    out["everything"] = everything;
    json placed = json::array();
    json changed = json::array();
    json removed = json::array();

    if (everything) {
        out["page"] = {document.facts().pageWidth, height};
        for (const Art* art = document.layer().firstChild(); art != nullptr; art = art->nextSibling())
            placed.push_back(wholePlace(*art, height));
    } else {
        for (const ArtId id : delta.removed)
            removed.push_back(id);

        // Art to put in place: new and moved art of the layer; a compound path's parts go with it.
        std::set<ArtId> added;
        std::set<ArtId> moving;
        std::set<ArtId> redraw;
        const auto sort = [&](ArtId id, std::set<ArtId>& into) {
            const Art* art = document.find(id);
            if (art == nullptr || !inLayer(document, *art)) return;
            const Art* drawn = drawnArt(art);
            if (drawn != art)
                redraw.insert(drawn->id());
            else
                into.insert(id);
        };
        for (const ArtId id : delta.added)
            sort(id, added);
        for (const ArtId id : delta.reordered)
            sort(id, moving);
        for (const ArtId id : delta.changed)
            sort(id, redraw);

        std::set<ArtId> toPlace = added;
        toPlace.insert(moving.begin(), moving.end());
        placeRuns(document, toPlace, added, height, placed);
        for (const ArtId id : redraw)
            if (!added.count(id))
                if (const Art* art = document.find(id)) changed.push_back(artJson(*art, height, false));
    }
    out["removed"] = std::move(removed);
    out["placed"] = std::move(placed);
    out["changed"] = std::move(changed);
    return out;
}

bool wholeDocument(const Document& document, const DocumentDelta& delta, uint64_t since) {
    return delta.everything || since > document.revision();
}

} // namespace

json deltaJson(const Document& document, uint64_t since) {
    const DocumentDelta delta = document.changesSince(since);
    return deltaFrom(document, delta, wholeDocument(document, delta, since));
}

std::string deltaText(const Document& document, uint64_t since) {
    const DocumentDelta delta = document.changesSince(since);
    if (!wholeDocument(document, delta, since)) return deltaFrom(document, delta, false).dump();
    // The whole document: each top-level object written as soon as it is made, in the keys' order that
    // deltaJson's text has, so that no tree of tens of thousands of objects is built and freed.
    const AIReal height = document.facts().pageHeight;
    std::string text = R"({"changed":[],"everything":true,"page":)";
    text += json{document.facts().pageWidth, height}.dump();
    text += R"(,"placed":[)";
    for (const Art* art = document.layer().firstChild(); art != nullptr; art = art->nextSibling()) {
        if (art != document.layer().firstChild()) text += ',';
        text += wholePlace(*art, height).dump();
    }
    text += R"(],"removed":[],"revision":)";
    text += std::to_string(document.revision());
    text += '}';
    return text;
}

std::string withDelta(const json& message, const std::string& delta) {
    std::string text = message.dump();
    if (text.size() < 2 || text.back() != '}') return text;
    text.pop_back();
    if (text.size() > 1) text += ',';
    text += R"("delta":)";
    text += delta;
    text += '}';
    return text;
}

} // namespace zz
