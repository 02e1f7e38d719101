#include "apps/workbench/DeltaJson.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <unordered_set>

#include "host/document/SvgExport.h"

namespace zz {

namespace {

using nlohmann::json;

// The shortest text that reads back as the same float; non-finite values are drawn as 0.
void appendNumber(std::string& out, AIReal value) {
    if (!std::isfinite(value) || value == 0.0f) {
        out += '0';
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

class PathText {
  public:
    explicit PathText(AIReal pageHeight) : height_(pageHeight) {}

    void subpath(const std::vector<AIPathSegment>& segments, bool closed) {
        if (segments.empty()) return;
        if (!text_.empty()) text_ += ' ';
        text_ += 'M';
        point(segments.front().p);
        for (size_t i = 1; i < segments.size(); ++i)
            side(segments[i - 1], segments[i]);
        if (closed) {
            if (segments.size() > 1 && !straight(segments.back(), segments.front()))
                side(segments.back(), segments.front());
            text_ += 'Z';
        }
    }
    std::string take() { return std::move(text_); }

  private:
    static bool straight(const AIPathSegment& from, const AIPathSegment& to) {
        return from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v;
    }
    void point(const AIRealPoint& p) {
        appendNumber(text_, p.h);
        text_ += ' ';
        appendNumber(text_, height_ - p.v);
    }
    void side(const AIPathSegment& from, const AIPathSegment& to) {
        if (straight(from, to)) {
            text_ += 'L';
            point(to.p);
        } else {
            text_ += 'C';
            point(from.out);
            text_ += ' ';
            point(to.in);
            text_ += ' ';
            point(to.p);
        }
    }

    AIReal height_;
    std::string text_;
};

void paint(json& out, const AIPathStyle& style) {
    const bool fill = style.fillPaint != 0 && style.fill.color.kind != kNoneColor;
    const bool stroke = style.strokePaint != 0 && style.stroke.color.kind != kNoneColor;
    out["fill"] = fill ? svgColor(style.fill.color) : "none";
    out["stroke"] = stroke ? svgColor(style.stroke.color) : "none";
    if (fill && style.evenodd != 0) out["rule"] = "evenodd";
    if (stroke) {
        const AIReal width = std::isfinite(style.stroke.width) ? std::max(0.0f, style.stroke.width) : 0.0f;
        out["sw"] = width;
        if (style.stroke.cap == 1) out["cap"] = "round";
        if (style.stroke.cap == 2) out["cap"] = "square";
        if (style.stroke.join == 1) out["join"] = "round";
        if (style.stroke.join == 2) out["join"] = "bevel";
    }
}

void common(json& out, const ArtData& data) {
    if (data.opacity != 1.0f && std::isfinite(data.opacity)) out["op"] = std::clamp(data.opacity, 0.0f, 1.0f);
    static constexpr const char* kBlendModes[] = {"normal",     "multiply",   "screen",      "overlay",
                                                  "soft-light", "hard-light", "color-dodge", "color-burn",
                                                  "darken",     "lighten",    "difference",  "exclusion",
                                                  "hue",        "saturation", "color",       "luminosity"};
    if (data.blendMode > kNormalBlendingMode && data.blendMode <= kLastBlendingMode)
        out["blend"] = kBlendModes[data.blendMode];
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
        PathText path(pageHeight);
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
        out["d"] = path.take();
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
        // Runs of siblings go bottom to top, each starting above art that is already in place.
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
