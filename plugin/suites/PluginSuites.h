// The host suites the plug-in holds while the outermost PluginMain call runs: one module-wide pointer per
// suite, null while it is not held, and the nesting counter that lets only the outermost call acquire and
// release them.
#ifndef ZZ_PLUGIN_SUITES_PLUGIN_SUITES_H
#define ZZ_PLUGIN_SUITES_PLUGIN_SUITES_H

#include <cstdint>

#include "ADMBasic.h"
#include "ADMDialog.h"
#include "ADMDrawer.h"
#include "ADMEntry.h"
#include "ADMIcon.h"
#include "ADMItem.h"
#include "ADMList.h"
#include "ADMNotifier.h"
#include "ADMTracker.h"
#include "AIArt.h"
#include "AIArtStyle.h"
#include "AIBlendStyle.h"
#include "AIDocument.h"
#include "AIEnvelope.h"
#include "AIMdMemory.h"
#include "AIPath.h"
#include "AIPathStyle.h"
#include "AIPlugin.h"
#include "AIRandom.h"
#include "AIRealMath.h"
#include "AISwatchList.h"
#include "AISymbol.h"
#include "AITag.h"
#include "AITool.h"
#include "AITransformArt.h"
#include "AIUndo.h"
#include "AIUser.h"
#include "SPAccess.h"
#include "SPBasic.h"
#include "SPBlocks.h"

// X(pointer, suite type, suite name, suite version), in acquisition order. Releasing runs in the same order.
#define ZZ_SUITE_LIST(X)                                                                                     \
    X(sSPBlocks, SPBlocksSuite, kSPBlocksSuite, kSPBlocksSuiteVersion)                                       \
    X(sSPAccess, SPAccessSuite, kSPAccessSuite, kSPAccessSuiteVersion)                                       \
    X(sAIPlugin, AIPluginSuite, kAIPluginSuite, kAIPluginSuiteVersion)                                       \
    X(sAIMdMemory, AIMdMemorySuite, kAIMdMemorySuite, kAIMdMemorySuiteVersion)                               \
    X(sAIRealMath, AIRealMathSuite, kAIRealMathSuite, kAIRealMathSuiteVersion)                               \
    X(sAIArt, AIArtSuite, kAIArtSuite, kAIArtSuiteVersion)                                                   \
    X(sAIUser, AIUserSuite, kAIUserSuite, kAIUserSuiteVersion)                                               \
    X(sAIPath, AIPathSuite, kAIPathSuite, kAIPathSuiteVersion)                                               \
    X(sAIPathStyle, AIPathStyleSuite, kAIPathStyleSuite, kAIPathStyleSuiteVersion)                           \
    X(sAIUndo, AIUndoSuite, kAIUndoSuite, kAIUndoSuiteVersion)                                               \
    X(sAIRandom, AIRandomSuite, kAIRandomSuite, kAIRandomSuiteVersion)                                       \
    X(sAIBlendStyle, AIBlendStyleSuite, kAIBlendStyleSuite, kAIBlendStyleSuiteVersion)                       \
    X(sAIEnvelope, AIEnvelopeSuite, kAIEnvelopeSuite, kAIEnvelopeSuiteVersion)                               \
    X(sAIDocument, AIDocumentSuite, kAIDocumentSuite, kAIDocumentSuiteVersion)                               \
    X(sAISwatchList, AISwatchListSuite, kAISwatchListSuite, kAISwatchListSuiteVersion)                       \
    X(sAITransformArt, AITransformArtSuite, kAITransformArtSuite, kAITransformArtSuiteVersion)               \
    X(sAIArtStyle, AIArtStyleSuite, kAIArtStyleSuite, kAIArtStyleSuiteVersion)                               \
    X(sAISymbol, AISymbolSuite, kAISymbolSuite, kAISymbolSuiteVersion)                                       \
    X(sAITag, AITagSuite, kAITagSuite, kAITagSuiteVersion)                                                   \
    X(sAITool, AIToolSuite, kAIToolSuite, kAIToolSuiteVersion)                                               \
    X(sADMBasic, ADMBasicSuite, kADMBasicSuite, kADMBasicSuiteVersion)                                       \
    X(sADMDialog, ADMDialogSuite, kADMDialogSuite, kADMDialogSuiteVersion)                                   \
    X(sADMItem, ADMItemSuite, kADMItemSuite, kADMItemSuiteVersion)                                           \
    X(sADMIcon, ADMIconSuite, kADMIconSuite, kADMIconSuiteVersion)                                           \
    X(sADMTracker, ADMTrackerSuite, kADMTrackerSuite, kADMTrackerSuiteVersion)                               \
    X(sADMList, ADMListSuite, kADMListSuite, kADMListSuiteVersion)                                           \
    X(sADMEntry, ADMEntrySuite, kADMEntrySuite, kADMEntrySuiteVersion)                                       \
    X(sADMDrawer, ADMDrawerSuite, kADMDrawerSuite, kADMDrawerSuiteVersion)                                   \
    X(sADMNotifier, ADMNotifierSuite, kADMNotifierSuite, kADMNotifierSuiteVersion)

#define ZZ_SUITE_DECLARE(pointer, type, name, version) extern const type* pointer;
ZZ_SUITE_LIST(ZZ_SUITE_DECLARE)
#undef ZZ_SUITE_DECLARE

// How many PluginMain calls currently share the held suites; 0 when none are held.
extern int16_t sSuiteNestingCount;

// The outermost call acquires every suite of the list in order; nested calls only count, and answer the
// outermost call's result. A failure once the ADM Basic suite is held is announced in an alert and returned,
// with the suites acquired so far still held (releaseSuites gives them back). A failure before that cannot be
// announced: the suites acquired so far are given back at once (all of them, even when the host refuses one),
// the counter stays 0 and the acquisition error is returned.
SPErr acquireSuites(const SPBasicSuite* basic);

// The outermost call releases every held suite in order, also those after a release the host refuses, and
// nulls every pointer; it answers the first refusal (0 when there is none). Nested calls answer 0. Every call
// counts down by one. Nothing happens when no call holds suites.
SPErr releaseSuites(const SPBasicSuite* basic);

#endif
