// ADMDialogSuite over the host's model.
#include "ADMDialog.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const ADMDialogSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(ADMDialogSuite, kADMDialogSuite, Modal),
    ZZ_NOT_IMPLEMENTED(ADMDialogSuite, kADMDialogSuite, GetUserData),
    ZZ_NOT_IMPLEMENTED(ADMDialogSuite, kADMDialogSuite, GetItem),
    ZZ_NOT_IMPLEMENTED(ADMDialogSuite, kADMDialogSuite, CreateItem),
    ZZ_NOT_IMPLEMENTED(ADMDialogSuite, kADMDialogSuite, Size),
    ZZ_NOT_IMPLEMENTED(ADMDialogSuite, kADMDialogSuite, EndModal),
};

} // namespace

void registerADMDialogSuite(SuiteRegistry& registry) { registry.add(kADMDialogSuite, kADMDialogSuiteVersion, &kSuite); }

} // namespace zz
