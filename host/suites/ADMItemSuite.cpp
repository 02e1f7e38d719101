// ADMItemSuite over the host's model.
#include "ADMItem.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const ADMItemSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetNotifyProc),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, DefaultNotify),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SendNotify),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, GetDialog),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, GetID),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, GetList),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetItemStyle),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, Show),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, IsVisible),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, Enable),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, IsEnabled),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, Activate),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SelectAll),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetFont),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetText),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, GetText),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetUnits),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetPrecision),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetIntValue),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, GetIntValue),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetFloatValue),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, GetFloatValue),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetBooleanValue),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, GetBooleanValue),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetMinIntValue),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetMaxIntValue),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetMinFloatValue),
    ZZ_NOT_IMPLEMENTED(ADMItemSuite, kADMItemSuite, SetMaxFloatValue),
};

} // namespace

void registerADMItemSuite(SuiteRegistry& registry) { registry.add(kADMItemSuite, kADMItemSuiteVersion, &kSuite); }

} // namespace zz
