// ADMTrackerSuite: the state of the event the host is answering (only the current event; trackers are null).
#include "ADMTracker.h"
#include "host/core/Host.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

void SPAPI getPoint(ADMTrackerRef, AIRealPoint* point) {
    Host* host = Host::current();
    if (host == nullptr || point == nullptr) return;
    *point = host->event().point;
}

AIBoolean SPAPI isMouseDown(ADMTrackerRef) {
    Host* host = Host::current();
    return host != nullptr && host->event().mouseDown ? 1 : 0;
}

uint32_t SPAPI getModifiers(ADMTrackerRef) {
    Host* host = Host::current();
    return host != nullptr ? host->event().modifiers : 0;
}

const ADMTrackerSuite kSuite = {
    ZZ_OP(ADMTrackerSuite, kADMTrackerSuite, GetPoint, getPoint),
    ZZ_OP(ADMTrackerSuite, kADMTrackerSuite, IsMouseDown, isMouseDown),
    ZZ_OP(ADMTrackerSuite, kADMTrackerSuite, GetModifiers, getModifiers),
};

} // namespace

void registerADMTrackerSuite(SuiteRegistry& registry) {
    registry.add(kADMTrackerSuite, kADMTrackerSuiteVersion, &kSuite);
}

} // namespace zz
