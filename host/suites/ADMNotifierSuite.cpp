// ADMNotifierSuite: the notification an item's notify procedure receives.
#include "ADMNotifier.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

AIBoolean SPAPI isNotifierType(ADMNotifierRef notifier, const char* notifierType) {
    HostServices* host = HostServices::current();
    if (host == nullptr || notifierType == nullptr) return 0;
    const AdmNotification* notification = host->dialogs().notification(notifier);
    return notification != nullptr && notification->type == notifierType ? 1 : 0;
}

const ADMNotifierSuite kSuite = {
    ZZ_OP(ADMNotifierSuite, kADMNotifierSuite, IsNotifierType, isNotifierType),
};

} // namespace

void registerADMNotifierSuite(SuiteRegistry& registry) {
    registry.add(kADMNotifierSuite, kADMNotifierSuiteVersion, &kSuite);
}

} // namespace zz
