// The suites the reference host offers to a plug-in, in the order a plug-in usually acquires them. Each
// suite's function table lives in its own file, host/suites/<Name>Suite.cpp, and registers itself through the
// function this list declares.
#ifndef ZZ_HOST_SUITES_HOST_SUITES_H
#define ZZ_HOST_SUITES_HOST_SUITES_H

#include "host/suites/SuiteRegistry.h"

#define ZZ_HOST_SUITES(X)                                                                                    \
    X(SPBlocks)                                                                                              \
    X(SPAccess)                                                                                              \
    X(AIPlugin)                                                                                              \
    X(AIMdMemory)                                                                                            \
    X(AIRealMath)                                                                                            \
    X(AIArt)                                                                                                 \
    X(AIUser)                                                                                                \
    X(AIPath)                                                                                                \
    X(AIPathStyle)                                                                                           \
    X(AIUndo)                                                                                                \
    X(AIRandom)                                                                                              \
    X(AIBlendStyle)                                                                                          \
    X(AIEnvelope)                                                                                            \
    X(AIDocument)                                                                                            \
    X(AISwatchList)                                                                                          \
    X(AITransformArt)                                                                                        \
    X(AIArtStyle)                                                                                            \
    X(AISymbol)                                                                                              \
    X(AITag)                                                                                                 \
    X(AITool)                                                                                                \
    X(ADMBasic)                                                                                              \
    X(ADMDialog)                                                                                             \
    X(ADMItem)                                                                                               \
    X(ADMIcon)                                                                                               \
    X(ADMTracker)                                                                                            \
    X(ADMList)                                                                                               \
    X(ADMEntry)                                                                                              \
    X(ADMDrawer)                                                                                             \
    X(ADMNotifier)

namespace zz {

#define ZZ_DECLARE_REGISTER(name) void register##name##Suite(SuiteRegistry& registry);
ZZ_HOST_SUITES(ZZ_DECLARE_REGISTER)
#undef ZZ_DECLARE_REGISTER

// Registers every suite of the list (the basic suite is passed in messages and registered by the host
// itself).
inline void registerAllSuites(SuiteRegistry& registry) {
#define ZZ_REGISTER(name) register##name##Suite(registry);
    ZZ_HOST_SUITES(ZZ_REGISTER)
#undef ZZ_REGISTER
}

} // namespace zz

#endif
