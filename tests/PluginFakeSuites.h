// Small in-test stand-ins for the host suites the plug-in calls, recording what it asks for. Plug-in unit
// tests install them into the module-wide suite pointers directly, or hand them out through a fake basic
// suite.
#ifndef ZZ_TESTS_PLUGIN_FAKE_SUITES_H
#define ZZ_TESTS_PLUGIN_FAKE_SUITES_H

#include <deque>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "SPMessages.h"
#include "plugin/settings/ToolSettings.h"
#include "plugin/suites/PluginSuites.h"

namespace pluginfakes {

// Fill and stroke painted in three-colour, stroke width 1: what new art gets unless a test says otherwise.
AIPathStyle defaultPathStyle();
// Seven swatches: the list's first two entries, which are not ordinary colours, then five three-colour ones.
std::vector<AIColor> defaultSwatches();

// The byte every fresh globals block is filled with.
constexpr unsigned char kBlockFillByte = 0xA5;
// An int or float field of a fresh block that nothing has written.
bool untouchedField(const void* field);

// One art object of the fake document: a path, a compound path holding paths, or an envelope. Handles are
// the index in FakeHostState::paths plus 1.
struct FakePath {
    int16_t paintOrder = 0;
    std::vector<AIPathSegment> segments;
    bool closed = false;
    int16_t type = kPathArt;
    AIPathStyle style = {};
    AIReal opacity = 1.0f;
    int32_t blendMode = 0;
    int32_t namedStyle = -1; // the named style applied last; -1 for none
    AIReal styleScaleFactor = 1.0f;
    std::map<std::string, std::string> tags;
    std::vector<size_t> children; // of a compound path, bottom-most first
    long parent = -1;             // the compound path holding this one
    long copyOf = -1;             // the art this one was duplicated from
    long reference = -1;          // the reference art it was duplicated with
};

// One transform of art: the matrix as the plug-in built it.
struct FakeTransform {
    size_t art = 0;
    AIRealMatrix matrix = {};
    AIReal lineScale = 0.0f;
    int32_t flags = 0;
};

struct FakeEnvelope {
    size_t handle = 0; // the envelope art
    std::vector<size_t> art;
    size_t shape = 0;
    AIEnvelopeOptions options = {};
    bool warped = false;
    int32_t warpStyle = 0;
    AIReal bend = 0.0f, horizontal = 0.0f, vertical = 0.0f;
    AIBoolean rotate = 0;
};

// A host call that fails: the `call`-th call (from 1) of an operation answers `status`.
struct FakeFailure {
    int call = 0;
    SPErr status = kSPNoError;
};

// One entry of a fake popup or list box.
struct FakeEntry {
    int32_t item = 0; // the id of the item whose list holds it
    int32_t id = 0;
    std::string text;
    int32_t picture = 0;
    bool selected = false;
};

// One item of the fake dialog model, as the ADM Dialog, Item, List and Entry fakes leave it. Values are held
// as a spin edit holds them: clamped into the range once a bound is set.
struct FakeItem {
    int32_t id = 0;
    bool created = false; // made by CreateItem (template items of the error dialog are not)
    std::string type;
    ADMRect rect{};
    std::string text;
    double value = 0.0;
    bool hasMin = false, hasMax = false;
    double min = 0.0, max = 0.0;
    int32_t precision = -1, units = -1, font = -1, style = -1; // -1: never set
    bool visible = true, enabled = true, active = false, textSelected = false;
    ADMItemNotifyProc notifier = nullptr;
    int32_t entryHeight = 0;
    std::list<FakeEntry> entries;
};

struct FakeHostState {
    // basic suite
    std::vector<std::string> calls; // "acquire NAME", "release NAME"
    std::string failAcquireOf;      // this suite's acquisition fails with acquireError
    SPErr acquireError = kSPSuiteNotFoundError;
    int acquireFailAfter = 0;  // successful acquisitions of failAcquireOf before it fails
    std::string failReleaseOf; // every release of this suite fails with releaseError and keeps it held
    SPErr releaseError = kSPBadParameterError;
    std::map<std::string, int> held;
    // random
    std::deque<float> randomValues; // drawn in order; 0 once empty
    int randomDraws = 0;
    // tracker, undo
    uint32_t modifiers = 0;
    int modifierReads = 0;
    int undoCalls = 0;
    // document facts
    int16_t colorModel = kDocRGBColor;
    int32_t swatchCount = 7;
    int32_t namedStyleCount = 3;
    SPErr namedStyleStatus = kSPNoError;
    AIReal pageWidth = 612.0f, pageHeight = 792.0f;
    SPErr setupStatus = kSPNoError;
    AIBoolean hasPressure = 0;
    SPErr pressureStatus = kSPNoError;
    // art and paths
    std::vector<FakePath> paths;
    int newArtFailAt = -1; // index of the NewArt call that fails
    int segmentFailAt = -1;
    int segmentWrites = 0;
    AIPathStyle currentStyle = defaultPathStyle(); // what new art is painted with
    // swatches 0 .. size - 1 of the document's list; CountSwatches answers swatchCount, which may differ
    std::vector<AIColor> swatches = defaultSwatches();
    std::vector<FakeTransform> transforms;
    std::vector<size_t> symbols; // the art each new symbol was made from
    std::vector<AIBoolean> symbolFlags;
    std::vector<FakeEnvelope> envelopes;
    // Every call of the art, path, path style, blend, art style, swatch, real math, transform, symbol,
    // envelope and tag fakes, and every random draw, in order: "bounds 1", "transform 3 flags 15",
    // "duplicate 1 order 6", "style get 2", "style set 2", "opacity 2 0.5", "blend 2 7", "named style 1",
    // "apply style 2 1", "scale get 2", "scale set 2 0.5", "symbol 1", "envelope 1 shape 4",
    // "warp 5 9 -0.25 0.5 -0.75 1", "tag 4 multi-tool", "type 4", "child 4", "sibling 5", "swatch 3",
    // "swatch color", "segments 1", "segment get 1 0", "segment set 2 0", "matrix set 1 2",
    // "matrix translate 1 2", "matrix rotate 90", "matrix scale 2 1", "rnd".
    std::vector<std::string> log;
    std::map<std::string, FakeFailure> failures; // by the operation's first words in the log: "bounds"
    std::map<std::string, int> operationCalls;
    // ADM basic: list 16050 entries by 1-based index; alerts
    std::map<int32_t, std::string> errorList;
    bool errorListMissing = false;
    int32_t errorListFailAt = 0; // reading this index of list 16050 fails; 0 for none
    std::vector<std::string> alerts;
    // dialogs
    std::vector<std::string> modalNames;
    std::vector<int32_t> modalIDs;
    int32_t modalResult = kADMDefaultItemID;
    std::map<int32_t, std::string> itemTexts;
    std::map<int32_t, ADMItemNotifyProc> notifyProcs;
    int defaultNotifies = 0;
    // the dialog model behind ADM Dialog, Item, List and Entry
    std::map<int32_t, FakeItem> items;
    std::vector<int32_t> createdItems; // ids in the order CreateItem made them
    std::vector<std::string>
        admCalls; // "CreateItem 4", "SetMinIntValue 4 1", "Show 240 0", "Select 3 0", ...
    int32_t dialogWidth = 0, dialogHeight = 0;
    int32_t endedWith = 0; // the button whose default handling ended the dialog; 0 while open
    // start-up
    int32_t pluginOptions = 0x10;
    int32_t iconType = kWinIcon;
    SPErr addToolStatus = kSPNoError;
    int addToolCalls = 0;
    std::string addedToolName;
    AIAddToolData addedTool = {};
    int32_t addedToolOptions = 0;
    AIToolHandle* toolHandleAddress = nullptr;
    SPErr allocateStatus = kSPNoError;
    SPErr freeStatus = kSPNoError; // FreeBlock fails with this (the block stays allocated) unless it is 0
    std::vector<void*> liveBlocks;
    std::string blockName;
    size_t blockSize = 0;
};

extern FakeHostState fake;
extern const SPBasicSuite fakeBasicSuite;

// Clears the recorded state and nulls every module-wide suite pointer and the nesting counter.
void resetFakeHost();
// Points every module-wide suite pointer the driver and the weave decision use at the fakes.
void installGenerationSuites();
// Points the module-wide suite pointers the options dialog uses at the fakes.
void installDialogSuites();
// The handle the fake dialog suite gives out for the dialog the options dialog is built in.
ADMDialogRef fakeDialog();
// What a user does in the dialog: types a value into a spin edit or ticks a check box, chooses the entry at a
// position of a list, clicks a button; each followed by the notification the host sends.
void userSets(int32_t item, double value);
void userChooses(int32_t item, int32_t position);
void userClicks(int32_t item);
// The id of the active entry of an item's list, -1 for none.
int32_t activeEntryOf(int32_t item);
// A message header with the fake basic suite.
SPMessageData fakeMessageData();
// The segments' anchors of path `index`, as (h, v) pairs.
std::vector<AIRealPoint> anchorsOf(size_t index);

// Art handles and the fake art behind them.
AIArtHandle artHandle(size_t index);
size_t artIndex(AIArtHandle art);
FakePath& pathOf(AIArtHandle art);
// Adds a path through `anchors` (handles on the anchors) painted with currentStyle; a compound path holding
// one such path per list.
AIArtHandle addPath(const std::vector<AIRealPoint>& anchors);
AIArtHandle addCompoundPath(const std::vector<std::vector<AIRealPoint>>& children);

// The `call`-th call (from 1) of `operation` ("bounds", "transform", "duplicate", "style get", "style set",
// "opacity", "blend", "named style", "apply style", "scale set", "symbol", "envelope", "warp", "tag", "type",
// "child", "sibling", "segments", "segment get", "segment set", "swatch color") fails with `status`.
void failCall(const std::string& operation, int call, SPErr status);
// The log entries of the given operations (matched by their first words), in order; runs of "rnd" are
// written "rnd xN" when `countDraws` is set.
std::vector<std::string> logOf(const std::vector<std::string>& operations, bool countDraws = true);
// The log with runs of draws counted.
std::vector<std::string> countedLog();
// The angle of a transform's matrix in degrees, rounded to 1/1000, from -180 (excluded) to 180.
double rotationDegrees(const AIRealMatrix& m);

} // namespace pluginfakes

#endif
