// ADMTrackerSuite: the state of the event the host is answering (only the current event; trackers are null).
#include "ADMTracker.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

void SPAPI getPoint(ADMTrackerRef, AIRealPoint* point) {
    HostServices* host = HostServices::current();
    if (host == nullptr || point == nullptr) return;
    *point = host->event().point;
}

AIBoolean SPAPI isMouseDown(ADMTrackerRef) {
    HostServices* host = HostServices::current();
    return host != nullptr && host->event().mouseDown ? 1 : 0;
}

uint32_t SPAPI getModifiers(ADMTrackerRef) {
    HostServices* host = HostServices::current();
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
