// Small in-test stand-ins for the host suites the plug-in calls, recording what it asks for. Plug-in unit
// tests install them into the module-wide suite pointers directly, or hand them out through a fake basic
// suite.
#ifndef ZZ_TESTS_PLUGIN_FAKE_SUITES_H
#define ZZ_TESTS_PLUGIN_FAKE_SUITES_H

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "SPMessages.h"
#include "settings/ToolSettings.h"
#include "shell/Suites.h"

namespace pluginfakes {

// The byte every fresh globals block is filled with.
constexpr unsigned char kBlockFillByte = 0xA5;
// An int or float field of a fresh block that nothing has written.
bool untouchedField(const void* field);

struct FakePath {
    int16_t paintOrder = 0;
    std::vector<AIPathSegment> segments;
    bool closed = false;
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
// A message header with the fake basic suite.
SPMessageData fakeMessageData();
// The segments' anchors of path `index`, as (h, v) pairs.
std::vector<AIRealPoint> anchorsOf(size_t index);

} // namespace pluginfakes

#endif
