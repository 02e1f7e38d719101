#include "PluginFakeSuites.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <string>

namespace pluginfakes {

FakeHostState fake;

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void logArtCall(const std::string& entry) {
    fake.log.push_back(entry);
}

// Counts a call of `operation` and answers the status a test chose for it, 0 for most calls.
SPErr injected(const std::string& operation) {
    const int call = ++fake.operationCalls[operation];
    auto failure = fake.failures.find(operation);
    if (failure != fake.failures.end() && failure->second.call == call) return failure->second.status;
    return kSPNoError;
}

// ---- AI suites of a generation ----
AIReal SPAPI floatRnd() {
    ++fake.randomDraws;
    logArtCall("rnd");
    if (fake.randomValues.empty()) return 0.0f;
    float value = fake.randomValues.front();
    fake.randomValues.pop_front();
    return value;
}
void SPAPI setRndSeed(int32_t) {}
const AIRandomSuite kRandom = {floatRnd, setRndSeed};

void SPAPI getPoint(ADMTrackerRef, AIRealPoint*) {}
AIBoolean SPAPI isMouseDown(ADMTrackerRef) {
    return 1;
}
uint32_t SPAPI getModifiers(ADMTrackerRef) {
    ++fake.modifierReads;
    return fake.modifiers;
}
const ADMTrackerSuite kTracker = {getPoint, isMouseDown, getModifiers};

SPErr SPAPI undoChanges() {
    ++fake.undoCalls;
    return kSPNoError;
}
const AIUndoSuite kUndo = {undoChanges};

SPErr SPAPI getColorModel(int16_t* model) {
    *model = fake.colorModel;
    return kSPNoError;
}
SPErr SPAPI getSetup(AIDocumentSetup* setup) {
    setup->width = fake.pageWidth;
    setup->height = fake.pageHeight;
    return fake.setupStatus;
}
const AIDocumentSuite kDocument = {getColorModel, getSetup};

int32_t SPAPI countSwatches(AISwatchListRef) {
    return fake.swatchCount;
}
// A swatch's handle is its index plus 1.
AISwatchRef SPAPI nthSwatch(AISwatchListRef, int32_t index) {
    logArtCall("swatch " + std::to_string(index));
    if (index < 0 || static_cast<size_t>(index) >= fake.swatches.size()) return nullptr;
    return reinterpret_cast<AISwatchRef>(static_cast<uintptr_t>(index) + 1);
}
SPErr SPAPI swatchColor(AISwatchRef swatch, AIColor* color) {
    logArtCall("swatch color");
    if (SPErr status = injected("swatch color")) return status;
    if (swatch == nullptr) return kSPBadHandleError;
    *color = fake.swatches.at(reinterpret_cast<uintptr_t>(swatch) - 1);
    return kSPNoError;
}
const AISwatchListSuite kSwatchList = {countSwatches, nthSwatch, swatchColor};

SPErr SPAPI countNamedStyles(int32_t* count) {
    *count = fake.namedStyleCount;
    return fake.namedStyleStatus;
}
// A named style's handle is its index plus 1.
SPErr SPAPI nthNamedStyle(int32_t index, AIArtStyleHandle* style) {
    logArtCall("named style " + std::to_string(index));
    if (SPErr status = injected("named style")) return status;
    if (index < 0 || index >= fake.namedStyleCount) return kSPBadParameterError;
    *style = reinterpret_cast<AIArtStyleHandle>(static_cast<uintptr_t>(index) + 1);
    return kSPNoError;
}
SPErr SPAPI setArtStyle(AIArtHandle art, AIArtStyleHandle style) {
    const int32_t index = static_cast<int32_t>(reinterpret_cast<uintptr_t>(style)) - 1;
    logArtCall("apply style " + std::to_string(artIndex(art) + 1) + " " + std::to_string(index));
    if (SPErr status = injected("apply style")) return status;
    pathOf(art).namedStyle = index;
    return kSPNoError;
}
AIReal SPAPI styleScaleFactor(AIArtHandle art) {
    logArtCall("scale get " + std::to_string(artIndex(art) + 1));
    return pathOf(art).styleScaleFactor;
}
SPErr SPAPI setStyleScaleFactor(AIArtHandle art, AIReal factor) {
    logArtCall("scale set " + std::to_string(artIndex(art) + 1) + " " + number(factor));
    if (SPErr status = injected("scale set")) return status;
    pathOf(art).styleScaleFactor = factor;
    return kSPNoError;
}
const AIArtStyleSuite kArtStyle = {countNamedStyles, nthNamedStyle, setArtStyle, styleScaleFactor,
                                   setStyleScaleFactor};

AIReal SPAPI degreeToRadian(AIReal degrees) {
    return degrees * 3.14159265f / 180.0f;
}
AIReal SPAPI pointAngle(const AIRealPoint* a, const AIRealPoint* b) {
    return std::atan2(b->v - a->v, b->h - a->h);
}
// The matrix operations as the host documents them: each concatenation applies after what *m does already.
void SPAPI matrixIdentity(AIRealMatrix* m) {
    *m = {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
}
void SPAPI matrixSetTranslate(AIRealMatrix* m, AIReal tx, AIReal ty) {
    logArtCall("matrix set " + number(tx) + " " + number(ty));
    *m = {1.0f, 0.0f, 0.0f, 1.0f, tx, ty};
}
void SPAPI matrixConcatTranslate(AIRealMatrix* m, AIReal tx, AIReal ty) {
    logArtCall("matrix translate " + number(tx) + " " + number(ty));
    m->tx += tx;
    m->ty += ty;
}
void SPAPI matrixConcatRotate(AIRealMatrix* m, AIReal angle) {
    const AIRealMatrix r = {std::cos(angle), std::sin(angle), -std::sin(angle), std::cos(angle), 0.0f, 0.0f};
    logArtCall("matrix rotate " + number(rotationDegrees(r)));
    const AIRealMatrix before = *m;
    m->a = r.a * before.a + r.c * before.b;
    m->b = r.b * before.a + r.d * before.b;
    m->c = r.a * before.c + r.c * before.d;
    m->d = r.b * before.c + r.d * before.d;
    m->tx = r.a * before.tx + r.c * before.ty;
    m->ty = r.b * before.tx + r.d * before.ty;
}
void SPAPI matrixConcatScale(AIRealMatrix* m, AIReal sh, AIReal sv) {
    logArtCall("matrix scale " + number(sh) + " " + number(sv));
    m->a *= sh;
    m->c *= sh;
    m->tx *= sh;
    m->b *= sv;
    m->d *= sv;
    m->ty *= sv;
}
const AIRealMathSuite kRealMath = {
    degreeToRadian,        pointAngle,         matrixIdentity,   matrixSetTranslate,
    matrixConcatTranslate, matrixConcatRotate, matrixConcatScale};

SPErr SPAPI systemHasPressure(AIBoolean* hasPressure) {
    *hasPressure = fake.hasPressure;
    return fake.pressureStatus;
}
SPErr SPAPI addTool(SPPluginRef, const char* name, const AIAddToolData* data, int32_t options,
                    AIToolHandle* tool) {
    ++fake.addToolCalls;
    fake.addedToolName = name;
    fake.addedTool = *data;
    fake.addedToolOptions = options;
    fake.toolHandleAddress = tool;
    if (fake.addToolStatus == kSPNoError) *tool = reinterpret_cast<AIToolHandle>(0x7001);
    return fake.addToolStatus;
}
const AIToolSuite kTool = {addTool, systemHasPressure};

size_t pathIndex(AIArtHandle art) {
    return artIndex(art);
}
std::string handleText(AIArtHandle art) {
    return std::to_string(artIndex(art) + 1);
}

SPErr SPAPI newArt(int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* art) {
    if (type != kPathArt || prep != nullptr) return kSPBadParameterError;
    if (static_cast<int>(fake.paths.size()) == fake.newArtFailAt) return kNoDocumentErr;
    FakePath path;
    path.paintOrder = paintOrder;
    path.style = fake.currentStyle;
    fake.paths.push_back(path);
    *art = reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(fake.paths.size()));
    return kSPNoError;
}

// Copies path `index` with its children to the end of the list; answers the copy's index.
size_t copyArt(size_t index, long parent) {
    FakePath copy = fake.paths.at(index);
    copy.parent = parent;
    copy.copyOf = static_cast<long>(index);
    copy.children.clear();
    fake.paths.push_back(copy);
    const size_t copyIndex = fake.paths.size() - 1;
    for (size_t child : std::vector<size_t>(fake.paths[index].children)) {
        const size_t childCopy = copyArt(child, static_cast<long>(copyIndex));
        fake.paths[copyIndex].children.push_back(childCopy);
    }
    return copyIndex;
}
SPErr SPAPI duplicateArt(AIArtHandle art, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt) {
    logArtCall("duplicate " + handleText(art) + " order " + std::to_string(paintOrder));
    if (SPErr status = injected("duplicate")) return status;
    const size_t copy = copyArt(artIndex(art), -1);
    fake.paths[copy].paintOrder = paintOrder;
    fake.paths[copy].reference = prep == nullptr ? -1 : static_cast<long>(artIndex(prep));
    *newArt = artHandle(copy);
    return kSPNoError;
}

void addBounds(size_t index, AIRealRect& bounds, bool& empty) {
    for (const AIPathSegment& segment : fake.paths[index].segments)
        for (const AIRealPoint& point : {segment.p, segment.in, segment.out}) {
            if (empty || point.h < bounds.left) bounds.left = point.h;
            if (empty || point.h > bounds.right) bounds.right = point.h;
            if (empty || point.v > bounds.top) bounds.top = point.v;
            if (empty || point.v < bounds.bottom) bounds.bottom = point.v;
            empty = false;
        }
    for (size_t child : fake.paths[index].children)
        addBounds(child, bounds, empty);
}
SPErr SPAPI artBounds(AIArtHandle art, AIRealRect* bounds) {
    logArtCall("bounds " + handleText(art));
    if (SPErr status = injected("bounds")) return status;
    AIRealRect rect = {0.0f, 0.0f, 0.0f, 0.0f};
    bool empty = true;
    addBounds(artIndex(art), rect, empty);
    *bounds = rect;
    return kSPNoError;
}
SPErr SPAPI artType(AIArtHandle art, int16_t* type) {
    logArtCall("type " + handleText(art));
    if (SPErr status = injected("type")) return status;
    *type = pathOf(art).type;
    return kSPNoError;
}
SPErr SPAPI firstChild(AIArtHandle art, AIArtHandle* child) {
    logArtCall("child " + handleText(art));
    if (SPErr status = injected("child")) return status;
    const FakePath& path = pathOf(art);
    *child = path.children.empty() ? nullptr : artHandle(path.children.front());
    return kSPNoError;
}
SPErr SPAPI nextSibling(AIArtHandle art, AIArtHandle* sibling) {
    logArtCall("sibling " + handleText(art));
    if (SPErr status = injected("sibling")) return status;
    *sibling = nullptr;
    const long parent = pathOf(art).parent;
    if (parent < 0) return kSPNoError;
    const std::vector<size_t>& children = fake.paths[static_cast<size_t>(parent)].children;
    for (size_t i = 0; i + 1 < children.size(); ++i)
        if (children[i] == artIndex(art)) *sibling = artHandle(children[i + 1]);
    return kSPNoError;
}
const AIArtSuite kArt = {newArt, nullptr, duplicateArt, artBounds, artType, firstChild, nextSibling};

SPErr SPAPI segmentCount(AIArtHandle art, int16_t* count) {
    logArtCall("segments " + handleText(art));
    if (SPErr status = injected("segments")) return status;
    *count = static_cast<int16_t>(pathOf(art).segments.size());
    return kSPNoError;
}
SPErr SPAPI getPathSegments(AIArtHandle art, int16_t segNumber, int16_t count, AIPathSegment* segments) {
    logArtCall("segment get " + handleText(art) + " " + std::to_string(segNumber));
    if (SPErr status = injected("segment get")) return status;
    const FakePath& path = pathOf(art);
    if (segNumber < 0 || count < 0 || static_cast<size_t>(segNumber + count) > path.segments.size())
        return kSPBadParameterError;
    for (int16_t i = 0; i < count; ++i)
        segments[i] = path.segments[static_cast<size_t>(segNumber + i)];
    return kSPNoError;
}
SPErr SPAPI setPathSegments(AIArtHandle art, int16_t segNumber, int16_t count,
                            const AIPathSegment* segments) {
    logArtCall("segment set " + handleText(art) + " " + std::to_string(segNumber));
    if (SPErr status = injected("segment set")) return status;
    if (fake.segmentWrites++ == fake.segmentFailAt) return kTooManySegmentsErr;
    FakePath& path = fake.paths.at(pathIndex(art));
    if (count != 1 || segNumber < 0 || static_cast<size_t>(segNumber) > path.segments.size())
        return kSPBadParameterError;
    if (static_cast<size_t>(segNumber) == path.segments.size())
        path.segments.push_back(*segments);
    else
        path.segments[segNumber] = *segments;
    return kSPNoError;
}
SPErr SPAPI setPathClosed(AIArtHandle art, AIBoolean closed) {
    fake.paths.at(pathIndex(art)).closed = closed != 0;
    return kSPNoError;
}
const AIPathSuite kPath = {segmentCount, getPathSegments, setPathSegments, nullptr, setPathClosed};

SPErr SPAPI getPathStyle(AIArtHandle art, AIPathStyle* style) {
    logArtCall("style get " + handleText(art));
    if (SPErr status = injected("style get")) return status;
    *style = pathOf(art).style;
    return kSPNoError;
}
SPErr SPAPI setPathStyle(AIArtHandle art, const AIPathStyle* style) {
    logArtCall("style set " + handleText(art));
    if (SPErr status = injected("style set")) return status;
    pathOf(art).style = *style;
    return kSPNoError;
}
const AIPathStyleSuite kPathStyle = {getPathStyle, setPathStyle};

AIReal SPAPI getOpacity(AIArtHandle art) {
    return pathOf(art).opacity;
}
SPErr SPAPI setOpacity(AIArtHandle art, AIReal opacity) {
    logArtCall("opacity " + handleText(art) + " " + number(opacity));
    if (SPErr status = injected("opacity")) return status;
    pathOf(art).opacity = opacity;
    return kSPNoError;
}
int32_t SPAPI getBlendingMode(AIArtHandle art) {
    return pathOf(art).blendMode;
}
SPErr SPAPI setBlendingMode(AIArtHandle art, int32_t mode) {
    logArtCall("blend " + handleText(art) + " " + std::to_string(mode));
    if (SPErr status = injected("blend")) return status;
    if (mode < kNormalBlendingMode || mode > kLastBlendingMode) return kSPBadParameterError;
    pathOf(art).blendMode = mode;
    return kSPNoError;
}
const AIBlendStyleSuite kBlendStyle = {getOpacity, setOpacity, getBlendingMode, setBlendingMode};

void transformPath(size_t index, const AIRealMatrix& m, AIReal lineScale) {
    FakePath& path = fake.paths[index];
    for (AIPathSegment& segment : path.segments)
        for (AIRealPoint* point : {&segment.p, &segment.in, &segment.out}) {
            const AIRealPoint q = *point;
            point->h = m.a * q.h + m.c * q.v + m.tx;
            point->v = m.b * q.h + m.d * q.v + m.ty;
        }
    path.style.stroke.width *= lineScale;
    for (size_t child : std::vector<size_t>(path.children))
        transformPath(child, m, lineScale);
}
SPErr SPAPI transformArt(AIArtHandle art, const AIRealMatrix* matrix, AIReal lineScale, int32_t flags) {
    logArtCall("transform " + handleText(art) + " flags " + std::to_string(flags));
    if (SPErr status = injected("transform")) return status;
    fake.transforms.push_back({artIndex(art), *matrix, lineScale, flags});
    if ((flags & kTransformObjects) != 0) transformPath(artIndex(art), *matrix, lineScale);
    return kSPNoError;
}
const AITransformArtSuite kTransformArt = {transformArt};

SPErr SPAPI newSymbol(AIPatternHandle* symbol, AIArtHandle art, AIBoolean unlisted) {
    logArtCall("symbol " + handleText(art));
    if (SPErr status = injected("symbol")) return status;
    fake.symbols.push_back(artIndex(art));
    fake.symbolFlags.push_back(unlisted);
    *symbol = reinterpret_cast<AIPatternHandle>(static_cast<uintptr_t>(fake.symbols.size()));
    return kSPNoError;
}
const AISymbolSuite kSymbol = {newSymbol};

SPErr SPAPI makeEnvelope(AIArtHandle* art, int32_t count, AIArtHandle shape, const AIEnvelopeOptions* options,
                         AIArtHandle* envelope) {
    logArtCall("envelope " + handleText(art[0]) + " shape " + handleText(shape));
    if (SPErr status = injected("envelope")) return status;
    FakeEnvelope made;
    for (int32_t i = 0; i < count; ++i)
        made.art.push_back(artIndex(art[i]));
    made.shape = artIndex(shape);
    made.options = *options;
    FakePath holder;
    holder.type = kEnvelopeArt;
    fake.paths.push_back(holder);
    made.handle = fake.paths.size() - 1;
    fake.envelopes.push_back(made);
    *envelope = artHandle(made.handle);
    return kSPNoError;
}
SPErr SPAPI resetWithWarp(AIArtHandle envelope, int32_t style, AIReal bend, AIReal horizontal,
                          AIReal vertical, AIBoolean rotate) {
    logArtCall("warp " + handleText(envelope) + " " + std::to_string(style) + " " + number(bend) + " " +
               number(horizontal) + " " + number(vertical) + " " + std::to_string(rotate));
    if (SPErr status = injected("warp")) return status;
    for (FakeEnvelope& made : fake.envelopes) {
        if (made.handle != artIndex(envelope)) continue;
        made.warped = true;
        made.warpStyle = style;
        made.bend = bend;
        made.horizontal = horizontal;
        made.vertical = vertical;
        made.rotate = rotate;
        return kSPNoError;
    }
    return kBadArtTypeErr;
}
const AIEnvelopeSuite kEnvelope = {makeEnvelope, resetWithWarp};

SPErr SPAPI setTag(AIArtHandle art, const char* name, const char* type, const void* value) {
    logArtCall("tag " + handleText(art) + " " + name);
    if (SPErr status = injected("tag")) return status;
    if (std::strcmp(type, kTagStringType) != 0 || value == nullptr) return kSPBadParameterError;
    pathOf(art).tags[name] = static_cast<const char*>(value);
    return kSPNoError;
}
SPErr SPAPI getTag(AIArtHandle art, const char* name, char* value, int32_t maxLength) {
    const auto& tags = pathOf(art).tags;
    auto found = tags.find(name);
    if (found == tags.end()) return kResourceNotFoundErr;
    std::snprintf(value, static_cast<size_t>(maxLength), "%s", found->second.c_str());
    return kSPNoError;
}
const AITagSuite kTag = {setTag, getTag};

// ---- shell suites ----
SPErr SPAPI getIndexString(SPPluginRef, int32_t list, int32_t index, char* text, int32_t maxLength) {
    if (fake.errorListMissing || list != 16050 || index == fake.errorListFailAt) return kResourceNotFoundErr;
    auto entry = fake.errorList.find(index);
    std::string value = entry == fake.errorList.end() ? std::string() : entry->second;
    std::snprintf(text, static_cast<size_t>(maxLength), "%s", value.c_str());
    return kSPNoError;
}
void SPAPI messageAlert(const char* message) {
    fake.alerts.push_back(message);
}
const ADMBasicSuite kADMBasic = {getIndexString, messageAlert};

void* gUserData = nullptr;
int32_t SPAPI modal(SPPluginRef, const char* name, int32_t dialogID, int32_t, ADMDialogInitProc init,
                    ADMUserData userData, int32_t) {
    fake.modalNames.push_back(name);
    fake.modalIDs.push_back(dialogID);
    gUserData = userData;
    // Every opening builds its dialog anew.
    fake.items.clear();
    fake.createdItems.clear();
    fake.endedWith = 0;
    if (init != nullptr && init(reinterpret_cast<ADMDialogRef>(0x5000)) != kSPNoError)
        return kADMCancelItemID;
    return fake.modalResult;
}
ADMUserData SPAPI getUserData(ADMDialogRef) {
    return gUserData;
}

void logCall(const std::string& call, int32_t item) {
    fake.admCalls.push_back(call + " " + std::to_string(item));
}
void logCall(const std::string& call, int32_t item, double value) {
    char number[32];
    std::snprintf(number, sizeof number, "%g", value);
    fake.admCalls.push_back(call + " " + std::to_string(item) + " " + number);
}

ADMItemRef itemRef(int32_t id) {
    return reinterpret_cast<ADMItemRef>(static_cast<uintptr_t>(id));
}
int32_t itemID(ADMItemRef item) {
    return static_cast<int32_t>(reinterpret_cast<uintptr_t>(item));
}
FakeItem& itemOf(ADMItemRef item) {
    FakeItem& it = fake.items[itemID(item)];
    it.id = itemID(item);
    return it;
}

ADMItemRef SPAPI getItem(ADMDialogRef, int32_t id) {
    return itemRef(id);
}
ADMItemRef SPAPI createItem(ADMDialogRef, int32_t id, const char* type, const ADMRect* bounds,
                            ADMItemInitProc, ADMUserData, int32_t) {
    FakeItem& item = itemOf(itemRef(id));
    if (item.created) return nullptr;
    item.created = true;
    item.type = type;
    item.rect = *bounds;
    fake.createdItems.push_back(id);
    logCall("CreateItem", id);
    return itemRef(id);
}
void SPAPI sizeDialog(ADMDialogRef, int32_t width, int32_t height) {
    fake.dialogWidth = width;
    fake.dialogHeight = height;
}
ADMDialogSuite makeDialogSuite() {
    ADMDialogSuite suite = {};
    suite.Modal = modal;
    suite.GetUserData = getUserData;
    suite.GetItem = getItem;
    suite.CreateItem = createItem;
    suite.Size = sizeDialog;
    return suite;
}
const ADMDialogSuite kADMDialog = makeDialogSuite();

// A notification handle; the fakes never look into it.
ADMNotifierRef const kNotifier = reinterpret_cast<ADMNotifierRef>(0x6000);

void SPAPI setNotifyProc(ADMItemRef item, ADMItemNotifyProc proc) {
    fake.notifyProcs[itemID(item)] = proc;
    itemOf(item).notifier = proc;
    logCall("SetNotifyProc", itemID(item));
}
void SPAPI defaultNotify(ADMItemRef item, ADMNotifierRef) {
    ++fake.defaultNotifies;
    logCall("DefaultNotify", itemID(item));
    const int32_t id = itemID(item);
    if ((id == kADMDefaultItemID || id == kADMCancelItemID) && fake.endedWith == 0) fake.endedWith = id;
}
void SPAPI sendNotify(ADMItemRef item, const char* type) {
    logCall("SendNotify", itemID(item));
    if (type == nullptr || std::strcmp(type, kADMUserChangedNotifier) != 0) return;
    ADMItemNotifyProc proc = itemOf(item).notifier;
    if (proc != nullptr)
        proc(item, kNotifier);
    else
        defaultNotify(item, kNotifier);
}
ADMDialogRef SPAPI getDialog(ADMItemRef) {
    return fakeDialog();
}
int32_t SPAPI getItemID(ADMItemRef item) {
    return itemID(item);
}
ADMListRef SPAPI getList(ADMItemRef item) {
    const std::string& type = itemOf(item).type;
    if (type != kADMPopupListType && type != kADMListBoxType) return nullptr;
    return reinterpret_cast<ADMListRef>(item);
}
void SPAPI setItemStyle(ADMItemRef item, int32_t style) {
    itemOf(item).style = style;
    logCall("SetItemStyle", itemID(item), style);
}
void SPAPI show(ADMItemRef item, AIBoolean visible) {
    itemOf(item).visible = visible != 0;
    logCall("Show", itemID(item), visible != 0);
}
AIBoolean SPAPI isVisible(ADMItemRef item) {
    return itemOf(item).visible;
}
void SPAPI enable(ADMItemRef item, AIBoolean enabled) {
    itemOf(item).enabled = enabled != 0;
    logCall("Enable", itemID(item), enabled != 0);
}
AIBoolean SPAPI isEnabled(ADMItemRef item) {
    return itemOf(item).enabled;
}
void SPAPI activate(ADMItemRef item, AIBoolean active) {
    if (active)
        for (auto& [id, other] : fake.items)
            other.active = false;
    itemOf(item).active = active != 0;
    logCall("Activate", itemID(item), active != 0);
}
void SPAPI selectAll(ADMItemRef item) {
    itemOf(item).textSelected = true;
    logCall("SelectAll", itemID(item));
}
void SPAPI setFont(ADMItemRef item, int32_t font) {
    itemOf(item).font = font;
    logCall("SetFont", itemID(item), font);
}
void SPAPI setText(ADMItemRef item, const char* text) {
    fake.itemTexts[itemID(item)] = text;
    itemOf(item).text = text;
    logCall("SetText", itemID(item));
}
void SPAPI setUnits(ADMItemRef item, int32_t units) {
    itemOf(item).units = units;
    logCall("SetUnits", itemID(item), units);
}
void SPAPI setPrecision(ADMItemRef item, int32_t places) {
    itemOf(item).precision = places;
    logCall("SetPrecision", itemID(item), places);
}
double clamped(const FakeItem& item, double value) {
    if (item.hasMin && value < item.min) value = item.min;
    if (item.hasMax && value > item.max) value = item.max;
    return value;
}
void setValue(ADMItemRef item, double value, const char* call) {
    FakeItem& it = itemOf(item);
    it.value = clamped(it, value);
    logCall(call, itemID(item), value);
}
void SPAPI setIntValue(ADMItemRef item, int32_t value) {
    setValue(item, value, "SetIntValue");
}
int32_t SPAPI getIntValue(ADMItemRef item) {
    return static_cast<int32_t>(std::lround(itemOf(item).value));
}
void SPAPI setFloatValue(ADMItemRef item, AIReal value) {
    if (!std::isnan(value)) setValue(item, value, "SetFloatValue");
}
AIReal SPAPI getFloatValue(ADMItemRef item) {
    return static_cast<AIReal>(itemOf(item).value);
}
void SPAPI setBooleanValue(ADMItemRef item, AIBoolean value) {
    setValue(item, value != 0 ? 1.0 : 0.0, "SetBooleanValue");
}
AIBoolean SPAPI getBooleanValue(ADMItemRef item) {
    return itemOf(item).value != 0.0;
}
void setBound(ADMItemRef item, double bound, bool upper, const char* call) {
    FakeItem& it = itemOf(item);
    (upper ? it.hasMax : it.hasMin) = true;
    (upper ? it.max : it.min) = bound;
    it.value = clamped(it, it.value);
    logCall(call, itemID(item), bound);
}
void SPAPI setMinIntValue(ADMItemRef item, int32_t value) {
    setBound(item, value, false, "SetMinIntValue");
}
void SPAPI setMaxIntValue(ADMItemRef item, int32_t value) {
    setBound(item, value, true, "SetMaxIntValue");
}
void SPAPI setMinFloatValue(ADMItemRef item, AIReal value) {
    setBound(item, value, false, "SetMinFloatValue");
}
void SPAPI setMaxFloatValue(ADMItemRef item, AIReal value) {
    setBound(item, value, true, "SetMaxFloatValue");
}
ADMItemSuite makeItemSuite() {
    ADMItemSuite suite = {};
    suite.SetNotifyProc = setNotifyProc;
    suite.DefaultNotify = defaultNotify;
    suite.SendNotify = sendNotify;
    suite.GetDialog = getDialog;
    suite.GetID = getItemID;
    suite.GetList = getList;
    suite.SetItemStyle = setItemStyle;
    suite.Show = show;
    suite.IsVisible = isVisible;
    suite.Enable = enable;
    suite.IsEnabled = isEnabled;
    suite.Activate = activate;
    suite.SelectAll = selectAll;
    suite.SetFont = setFont;
    suite.SetText = setText;
    suite.SetUnits = setUnits;
    suite.SetPrecision = setPrecision;
    suite.SetIntValue = setIntValue;
    suite.GetIntValue = getIntValue;
    suite.SetFloatValue = setFloatValue;
    suite.GetFloatValue = getFloatValue;
    suite.SetBooleanValue = setBooleanValue;
    suite.GetBooleanValue = getBooleanValue;
    suite.SetMinIntValue = setMinIntValue;
    suite.SetMaxIntValue = setMaxIntValue;
    suite.SetMinFloatValue = setMinFloatValue;
    suite.SetMaxFloatValue = setMaxFloatValue;
    return suite;
}
const ADMItemSuite kADMItem = makeItemSuite();

// A list's handle is its item's; an entry's handle is its address.
FakeItem& listItem(ADMListRef list) {
    return itemOf(reinterpret_cast<ADMItemRef>(list));
}
FakeEntry* entryOf(ADMEntryRef entry) {
    return reinterpret_cast<FakeEntry*>(entry);
}
ADMEntryRef entryRef(FakeEntry& entry) {
    return reinterpret_cast<ADMEntryRef>(&entry);
}
void SPAPI setEntryHeight(ADMListRef list, int32_t height) {
    listItem(list).entryHeight = height;
    logCall("SetEntryHeight", listItem(list).id, height);
}
ADMEntryRef SPAPI insertEntry(ADMListRef list, int32_t index) {
    FakeItem& item = listItem(list);
    logCall("InsertEntry", item.id, index);
    if (index < 0 || index > static_cast<int32_t>(item.entries.size())) return nullptr;
    auto place = item.entries.insert(std::next(item.entries.begin(), index), FakeEntry());
    place->item = item.id;
    return entryRef(*place);
}
ADMEntryRef SPAPI indexEntry(ADMListRef list, int32_t index) {
    FakeItem& item = listItem(list);
    if (index < 0 || index >= static_cast<int32_t>(item.entries.size())) return nullptr;
    return entryRef(*std::next(item.entries.begin(), index));
}
ADMEntryRef SPAPI getActiveEntry(ADMListRef list) {
    for (FakeEntry& entry : listItem(list).entries)
        if (entry.selected) return entryRef(entry);
    return nullptr;
}
int32_t SPAPI numberOfEntries(ADMListRef list) {
    return static_cast<int32_t>(listItem(list).entries.size());
}
const ADMListSuite kADMList = {setEntryHeight, insertEntry, indexEntry, getActiveEntry, numberOfEntries};

void SPAPI setEntryText(ADMEntryRef entry, const char* text) {
    entryOf(entry)->text = text;
}
void SPAPI setEntryID(ADMEntryRef entry, int32_t id) {
    entryOf(entry)->id = id;
}
int32_t SPAPI getEntryID(ADMEntryRef entry) {
    return entryOf(entry)->id;
}
int32_t SPAPI getEntryIndex(ADMEntryRef entry) {
    int32_t index = 0;
    for (FakeEntry& other : fake.items[entryOf(entry)->item].entries) {
        if (&other == entryOf(entry)) return index;
        ++index;
    }
    return -1;
}
void SPAPI selectEntry(ADMEntryRef entry, AIBoolean select) {
    FakeEntry& chosen = *entryOf(entry);
    if (select)
        for (FakeEntry& other : fake.items[chosen.item].entries)
            other.selected = false;
    chosen.selected = select != 0;
    logCall("Select", chosen.item, getEntryIndex(entry));
}
void SPAPI setPictureID(ADMEntryRef entry, int32_t pictureID, const char*) {
    entryOf(entry)->picture = pictureID;
}
const ADMEntrySuite kADMEntry = {setEntryText,  setEntryID,  getEntryID,
                                 getEntryIndex, selectEntry, setPictureID};

SPErr SPAPI numberToText(AIReal value, int16_t decimals, unsigned char* text) {
    char buffer[64];
    int length = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
    text[0] = static_cast<unsigned char>(length);
    std::memcpy(text + 1, buffer, static_cast<size_t>(length));
    return kSPNoError;
}
SPErr SPAPI textToNumber(const unsigned char* text, AIReal* value) {
    std::string s(reinterpret_cast<const char*>(text + 1), text[0]);
    char* end = nullptr;
    double number = std::strtod(s.c_str(), &end);
    if (s.empty() || *end != '\0') return kSPBadParameterError;
    *value = static_cast<AIReal>(number);
    return kSPNoError;
}
const AIUserSuite kAIUser = {numberToText, textToNumber};

SPErr SPAPI allocateBlock(size_t size, const char* name, void** block) {
    fake.blockName = name;
    fake.blockSize = size;
    if (fake.allocateStatus != kSPNoError) {
        *block = nullptr;
        return fake.allocateStatus;
    }
    // Host memory is not cleared: give the block a recognisable pattern.
    *block = std::malloc(size);
    std::memset(*block, kBlockFillByte, size);
    fake.liveBlocks.push_back(*block);
    return kSPNoError;
}
SPErr SPAPI freeBlock(void* block) {
    if (fake.freeStatus != kSPNoError) return fake.freeStatus;
    for (size_t i = 0; i < fake.liveBlocks.size(); ++i) {
        if (fake.liveBlocks[i] != block) continue;
        std::free(block);
        fake.liveBlocks.erase(fake.liveBlocks.begin() + static_cast<long>(i));
        return kSPNoError;
    }
    return kSPBadHandleError;
}
const SPBlocksSuite kBlocks = {allocateBlock, freeBlock};

SPErr SPAPI getPluginOptions(SPPluginRef, int32_t* options) {
    *options = fake.pluginOptions;
    return kSPNoError;
}
SPErr SPAPI setPluginOptions(SPPluginRef, int32_t options) {
    fake.pluginOptions = options;
    return kSPNoError;
}
const AIPluginSuite kPlugin = {getPluginOptions, setPluginOptions};

ADMIconRef SPAPI iconFromResource(SPPluginRef, int32_t iconID, int32_t index) {
    return iconID == 16050 && index == 1 ? reinterpret_cast<ADMIconRef>(0x1C0) : nullptr;
}
int32_t SPAPI iconType(ADMIconRef icon) {
    return icon == nullptr ? kUnknownIcon : fake.iconType;
}
const ADMIconSuite kIcon = {iconFromResource, iconType};

// Suites no plug-in unit test calls: a table of null functions, so that a call shows up as a crash.
const void* const kUncalledSuite[64] = {};

const void* tableFor(const std::string& name) {
    static const std::map<std::string, const void*> tables = {{kSPBlocksSuite, &kBlocks},
                                                              {kAIPluginSuite, &kPlugin},
                                                              {kAIRealMathSuite, &kRealMath},
                                                              {kAIArtSuite, &kArt},
                                                              {kAIUserSuite, &kAIUser},
                                                              {kAIPathSuite, &kPath},
                                                              {kAIUndoSuite, &kUndo},
                                                              {kAIRandomSuite, &kRandom},
                                                              {kAIDocumentSuite, &kDocument},
                                                              {kAISwatchListSuite, &kSwatchList},
                                                              {kAIArtStyleSuite, &kArtStyle},
                                                              {kAIToolSuite, &kTool},
                                                              {kADMBasicSuite, &kADMBasic},
                                                              {kADMDialogSuite, &kADMDialog},
                                                              {kADMItemSuite, &kADMItem},
                                                              {kADMIconSuite, &kIcon},
                                                              {kADMTrackerSuite, &kTracker},
                                                              {kADMListSuite, &kADMList},
                                                              {kADMEntrySuite, &kADMEntry},
                                                              {kAIPathStyleSuite, &kPathStyle},
                                                              {kAIBlendStyleSuite, &kBlendStyle},
                                                              {kAITransformArtSuite, &kTransformArt},
                                                              {kAISymbolSuite, &kSymbol},
                                                              {kAIEnvelopeSuite, &kEnvelope},
                                                              {kAITagSuite, &kTag}};
    auto found = tables.find(name);
    return found == tables.end() ? static_cast<const void*>(kUncalledSuite) : found->second;
}

SPErr SPAPI acquireSuite(const char* name, int32_t, const void** suite) {
    fake.calls.push_back(std::string("acquire ") + name);
    if (fake.failAcquireOf == name && fake.acquireFailAfter-- <= 0) {
        *suite = nullptr;
        return fake.acquireError;
    }
    *suite = tableFor(name);
    ++fake.held[name];
    return kSPNoError;
}
SPErr SPAPI releaseSuite(const char* name, int32_t) {
    fake.calls.push_back(std::string("release ") + name);
    if (fake.failReleaseOf == name) return fake.releaseError;
    if (fake.held[name] == 0) return kSPSuiteNotFoundError;
    --fake.held[name];
    return kSPNoError;
}
SPBoolean SPAPI isEqual(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

} // namespace

const SPBasicSuite fakeBasicSuite = {acquireSuite, releaseSuite, isEqual};

void resetFakeHost() {
    for (void* block : fake.liveBlocks)
        std::free(block);
    fake = FakeHostState();
#define ZZ_FAKE_NULL(pointer, type, name, version) pointer = nullptr;
    ZZ_SUITE_LIST(ZZ_FAKE_NULL)
#undef ZZ_FAKE_NULL
    sSuiteNestingCount = 0;
}

void installGenerationSuites() {
    sAIRandom = &kRandom;
    sADMTracker = &kTracker;
    sAIUndo = &kUndo;
    sAIDocument = &kDocument;
    sAISwatchList = &kSwatchList;
    sAIArtStyle = &kArtStyle;
    sAIRealMath = &kRealMath;
    sAITool = &kTool;
    sAIArt = &kArt;
    sAIPath = &kPath;
    sAIPathStyle = &kPathStyle;
    sAIBlendStyle = &kBlendStyle;
    sAITransformArt = &kTransformArt;
    sAISymbol = &kSymbol;
    sAIEnvelope = &kEnvelope;
    sAITag = &kTag;
}

void installDialogSuites() {
    sADMDialog = &kADMDialog;
    sADMItem = &kADMItem;
    sADMList = &kADMList;
    sADMEntry = &kADMEntry;
    sAISwatchList = &kSwatchList;
}

ADMDialogRef fakeDialog() {
    return reinterpret_cast<ADMDialogRef>(0x5000);
}

void userSets(int32_t item, double value) {
    FakeItem& it = itemOf(itemRef(item));
    it.value = clamped(it, value);
    sendNotify(itemRef(item), kADMUserChangedNotifier);
}

void userChooses(int32_t item, int32_t position) {
    ADMEntryRef entry = indexEntry(reinterpret_cast<ADMListRef>(itemRef(item)), position);
    if (entry != nullptr) selectEntry(entry, true);
    sendNotify(itemRef(item), kADMUserChangedNotifier);
}

void userClicks(int32_t item) {
    sendNotify(itemRef(item), kADMUserChangedNotifier);
}

int32_t activeEntryOf(int32_t item) {
    for (const FakeEntry& entry : fake.items[item].entries)
        if (entry.selected) return entry.id;
    return -1;
}

SPMessageData fakeMessageData() {
    SPMessageData data;
    data.SPCheck = kSPValidSPMessageData;
    data.self = reinterpret_cast<SPPluginRef>(0x5E1F);
    data.globals = nullptr;
    data.basic = &fakeBasicSuite;
    return data;
}

bool untouchedField(const void* field) {
    const unsigned char* bytes = static_cast<const unsigned char*>(field);
    for (int i = 0; i < 4; ++i)
        if (bytes[i] != kBlockFillByte) return false;
    return true;
}

std::vector<AIRealPoint> anchorsOf(size_t index) {
    std::vector<AIRealPoint> anchors;
    for (const AIPathSegment& segment : fake.paths.at(index).segments)
        anchors.push_back(segment.p);
    return anchors;
}

AIPathStyle defaultPathStyle() {
    AIPathStyle style = {};
    style.fillPaint = 1;
    style.fill.color = {kThreeColor, {0.2f, 0.4f, 0.6f, 0.0f}};
    style.strokePaint = 1;
    style.stroke.color = {kThreeColor, {0.1f, 0.1f, 0.1f, 0.0f}};
    style.stroke.width = 1.0f;
    style.stroke.miterLimit = 4.0f;
    return style;
}

std::vector<AIColor> defaultSwatches() {
    std::vector<AIColor> swatches = {{kNoneColor, {}}, {kFourColor, {1.0f, 1.0f, 1.0f, 1.0f}}};
    for (int i = 2; i < 7; ++i) {
        const float v = static_cast<float>(i) * 0.1f;
        swatches.push_back({kThreeColor, {v, v, v, 0.0f}});
    }
    return swatches;
}

AIArtHandle artHandle(size_t index) {
    return reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(index) + 1);
}

size_t artIndex(AIArtHandle art) {
    return reinterpret_cast<uintptr_t>(art) - 1;
}

FakePath& pathOf(AIArtHandle art) {
    return fake.paths.at(artIndex(art));
}

AIArtHandle addPath(const std::vector<AIRealPoint>& anchors) {
    FakePath path;
    path.paintOrder = kPlaceAboveAll;
    path.style = fake.currentStyle;
    for (const AIRealPoint& anchor : anchors)
        path.segments.push_back({anchor, anchor, anchor, 1});
    fake.paths.push_back(path);
    return artHandle(fake.paths.size() - 1);
}

AIArtHandle addCompoundPath(const std::vector<std::vector<AIRealPoint>>& children) {
    FakePath compound;
    compound.paintOrder = kPlaceAboveAll;
    compound.type = kCompoundPathArt;
    compound.style = fake.currentStyle;
    fake.paths.push_back(compound);
    const size_t index = fake.paths.size() - 1;
    for (const auto& anchors : children) {
        const size_t child = artIndex(addPath(anchors));
        fake.paths[child].parent = static_cast<long>(index);
        fake.paths[index].children.push_back(child);
    }
    return artHandle(index);
}

void failCall(const std::string& operation, int call, SPErr status) {
    fake.failures[operation] = {call, status};
}

namespace {
bool isOperation(const std::string& entry, const std::string& operation) {
    return entry == operation || entry.rfind(operation + " ", 0) == 0;
}
std::vector<std::string> countDraws(const std::vector<std::string>& entries) {
    std::vector<std::string> counted;
    for (size_t i = 0; i < entries.size();) {
        size_t run = 0;
        while (i + run < entries.size() && entries[i + run] == "rnd")
            ++run;
        if (run == 0) {
            counted.push_back(entries[i++]);
            continue;
        }
        counted.push_back(run == 1 ? "rnd" : "rnd x" + std::to_string(run));
        i += run;
    }
    return counted;
}
} // namespace

std::vector<std::string> logOf(const std::vector<std::string>& operations, bool countRuns) {
    std::vector<std::string> entries;
    for (const std::string& entry : fake.log)
        for (const std::string& operation : operations)
            if (isOperation(entry, operation)) {
                entries.push_back(entry);
                break;
            }
    return countRuns ? countDraws(entries) : entries;
}

std::vector<std::string> countedLog() {
    return countDraws(fake.log);
}

double rotationDegrees(const AIRealMatrix& m) {
    const double degrees =
        std::atan2(static_cast<double>(m.b), static_cast<double>(m.a)) * 180.0 / std::numbers::pi;
    const double rounded = std::round(degrees * 1000.0) / 1000.0 + 0.0;
    return rounded == -180.0 ? 180.0 : rounded;
}

} // namespace pluginfakes
