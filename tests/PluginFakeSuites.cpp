#include "PluginFakeSuites.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pluginfakes {

FakeHostState fake;

namespace {

// ---- AI suites of a generation ----
AIReal SPAPI floatRnd() {
    ++fake.randomDraws;
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
AISwatchRef SPAPI nthSwatch(AISwatchListRef, int32_t) {
    return nullptr;
}
SPErr SPAPI swatchColor(AISwatchRef, AIColor*) {
    return kSPBadHandleError;
}
const AISwatchListSuite kSwatchList = {countSwatches, nthSwatch, swatchColor};

SPErr SPAPI countNamedStyles(int32_t* count) {
    *count = fake.namedStyleCount;
    return fake.namedStyleStatus;
}
const AIArtStyleSuite kArtStyle = {countNamedStyles, nullptr, nullptr, nullptr, nullptr};

AIReal SPAPI degreeToRadian(AIReal degrees) {
    return degrees * 3.14159265f / 180.0f;
}
AIReal SPAPI pointAngle(const AIRealPoint* a, const AIRealPoint* b) {
    return std::atan2(b->v - a->v, b->h - a->h);
}
const AIRealMathSuite kRealMath = {degreeToRadian, pointAngle, nullptr, nullptr, nullptr, nullptr, nullptr};

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
    return reinterpret_cast<uintptr_t>(art) - 1;
}

SPErr SPAPI newArt(int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* art) {
    if (type != kPathArt || prep != nullptr) return kSPBadParameterError;
    if (static_cast<int>(fake.paths.size()) == fake.newArtFailAt) return kNoDocumentErr;
    FakePath path;
    path.paintOrder = paintOrder;
    fake.paths.push_back(path);
    *art = reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(fake.paths.size()));
    return kSPNoError;
}
const AIArtSuite kArt = {newArt, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

SPErr SPAPI setPathSegments(AIArtHandle art, int16_t segNumber, int16_t count,
                            const AIPathSegment* segments) {
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
const AIPathSuite kPath = {nullptr, nullptr, setPathSegments, nullptr, setPathClosed};

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
    static const std::map<std::string, const void*> tables = {
        {kSPBlocksSuite, &kBlocks},     {kAIPluginSuite, &kPlugin},
        {kAIRealMathSuite, &kRealMath}, {kAIArtSuite, &kArt},
        {kAIUserSuite, &kAIUser},       {kAIPathSuite, &kPath},
        {kAIUndoSuite, &kUndo},         {kAIRandomSuite, &kRandom},
        {kAIDocumentSuite, &kDocument}, {kAISwatchListSuite, &kSwatchList},
        {kAIArtStyleSuite, &kArtStyle}, {kAIToolSuite, &kTool},
        {kADMBasicSuite, &kADMBasic},   {kADMDialogSuite, &kADMDialog},
        {kADMItemSuite, &kADMItem},     {kADMIconSuite, &kIcon},
        {kADMTrackerSuite, &kTracker},  {kADMListSuite, &kADMList},
        {kADMEntrySuite, &kADMEntry}};
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

} // namespace pluginfakes
