// ADMItemSuite over the host's dialog model. A handle that names no live item is ignored: setters do nothing,
// getters answer 0, false or null.
#include "ADMItem.h"
#include "host/suites/HostServices.h"
#include "host/base/NumberText.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

#include <cmath>
#include <cstring>

namespace zz {

namespace {

AdmItem* live(ADMItemRef ref) {
    HostServices* host = HostServices::current();
    return host ? host->dialogs().item(ref) : nullptr;
}

void SPAPI setNotifyProc(ADMItemRef item, ADMItemNotifyProc proc) {
    if (AdmItem* it = live(item)) it->notifyProc = proc;
}

void SPAPI defaultNotify(ADMItemRef item, ADMNotifierRef) {
    if (AdmItem* it = live(item)) DialogModel::defaultNotify(*it);
}

void SPAPI sendNotify(ADMItemRef item, const char* notifierType) {
    if (AdmItem* it = live(item))
        HostServices::current()->dialogs().notify(*it, notifierType ? notifierType : kADMUserChangedNotifier);
}

ADMDialogRef SPAPI getDialog(ADMItemRef item) {
    AdmItem* it = live(item);
    return it ? toRef(it->dialog) : nullptr;
}

int32_t SPAPI getID(ADMItemRef item) {
    AdmItem* it = live(item);
    return it ? it->id : 0;
}

ADMListRef SPAPI getList(ADMItemRef item) {
    AdmItem* it = live(item);
    return it ? toRef(it->list.get()) : nullptr;
}

void SPAPI setItemStyle(ADMItemRef item, int32_t style) {
    if (AdmItem* it = live(item)) it->style = style;
}

void SPAPI show(ADMItemRef item, AIBoolean visible) {
    if (AdmItem* it = live(item)) it->visible = visible != 0;
}

AIBoolean SPAPI isVisible(ADMItemRef item) {
    AdmItem* it = live(item);
    return it && it->visible ? 1 : 0;
}

void SPAPI enable(ADMItemRef item, AIBoolean enabled) {
    if (AdmItem* it = live(item)) it->enabled = enabled != 0;
}

AIBoolean SPAPI isEnabled(ADMItemRef item) {
    AdmItem* it = live(item);
    return it && it->enabled ? 1 : 0;
}

void SPAPI activate(ADMItemRef item, AIBoolean active) {
    AdmItem* it = live(item);
    if (it == nullptr) return;
    // One item of a dialog has the focus at a time.
    if (active)
        for (const auto& other : it->dialog->items)
            other->active = false;
    it->active = active != 0;
}

void SPAPI selectAll(ADMItemRef item) {
    if (AdmItem* it = live(item)) it->textSelected = true;
}

void SPAPI setFont(ADMItemRef item, int32_t font) {
    if (AdmItem* it = live(item)) it->font = font;
}

void SPAPI setText(ADMItemRef item, const char* text) {
    AdmItem* it = live(item);
    if (it == nullptr) return;
    it->text = text ? text : "";
    // A numeric field takes a typed number as its value.
    if (it->isNumeric())
        if (auto number = parseNumber(it->text)) it->enterValue(*number);
}

void SPAPI getText(ADMItemRef item, char* text, int32_t maxLength) {
    AdmItem* it = live(item);
    if (text == nullptr || maxLength < 1) return;
    const std::string shown = it ? it->shownText() : std::string();
    const std::size_t length = std::min<std::size_t>(shown.size(), static_cast<std::size_t>(maxLength - 1));
    std::memcpy(text, shown.data(), length);
    text[length] = '\0';
}

void SPAPI setUnits(ADMItemRef item, int32_t units) {
    if (AdmItem* it = live(item)) it->units = units;
}

void SPAPI setPrecision(ADMItemRef item, int32_t places) {
    if (AdmItem* it = live(item)) it->precision = places < 0 ? 0 : (places > 10 ? 10 : places);
}

// Every value setter also records which kind of value the item holds, as the last setter said.
AdmItem* liveOfKind(ADMItemRef item, ValueKind kind) {
    AdmItem* it = live(item);
    if (it != nullptr) it->valueKind = it->isCheckBox() ? ValueKind::Boolean : kind;
    return it;
}

void SPAPI setIntValue(ADMItemRef item, int32_t value) {
    if (AdmItem* it = liveOfKind(item, ValueKind::Integer)) it->value.set(value);
}

int32_t SPAPI getIntValue(ADMItemRef item) {
    AdmItem* it = live(item);
    if (it == nullptr) return 0;
    // A real value reads as the nearest integer, within the 32-bit range.
    const double rounded = std::nearbyint(it->heldValue());
    if (rounded >= 2147483647.0) return INT32_MAX;
    if (rounded <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(rounded);
}

void SPAPI setFloatValue(ADMItemRef item, AIReal value) {
    if (std::isnan(value)) return;
    if (AdmItem* it = liveOfKind(item, ValueKind::Float)) it->value.set(value);
}

AIReal SPAPI getFloatValue(ADMItemRef item) {
    AdmItem* it = live(item);
    return it ? static_cast<AIReal>(it->heldValue()) : 0.0f;
}

void SPAPI setBooleanValue(ADMItemRef item, AIBoolean value) {
    if (AdmItem* it = liveOfKind(item, ValueKind::Boolean)) it->value.set(value ? 1.0 : 0.0);
}

AIBoolean SPAPI getBooleanValue(ADMItemRef item) {
    AdmItem* it = live(item);
    return it && it->heldValue() != 0.0 ? 1 : 0;
}

void SPAPI setMinIntValue(ADMItemRef item, int32_t value) {
    if (AdmItem* it = liveOfKind(item, ValueKind::Integer)) it->value.setMin(value);
}

void SPAPI setMaxIntValue(ADMItemRef item, int32_t value) {
    if (AdmItem* it = liveOfKind(item, ValueKind::Integer)) it->value.setMax(value);
}

void SPAPI setMinFloatValue(ADMItemRef item, AIReal value) {
    if (std::isnan(value)) return;
    if (AdmItem* it = liveOfKind(item, ValueKind::Float)) it->value.setMin(value);
}

void SPAPI setMaxFloatValue(ADMItemRef item, AIReal value) {
    if (std::isnan(value)) return;
    if (AdmItem* it = liveOfKind(item, ValueKind::Float)) it->value.setMax(value);
}

const ADMItemSuite kSuite = {
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetNotifyProc, setNotifyProc),
    ZZ_OP(ADMItemSuite, kADMItemSuite, DefaultNotify, defaultNotify),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SendNotify, sendNotify),
    ZZ_OP(ADMItemSuite, kADMItemSuite, GetDialog, getDialog),
    ZZ_OP(ADMItemSuite, kADMItemSuite, GetID, getID),
    ZZ_OP(ADMItemSuite, kADMItemSuite, GetList, getList),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetItemStyle, setItemStyle),
    ZZ_OP(ADMItemSuite, kADMItemSuite, Show, show),
    ZZ_OP(ADMItemSuite, kADMItemSuite, IsVisible, isVisible),
    ZZ_OP(ADMItemSuite, kADMItemSuite, Enable, enable),
    ZZ_OP(ADMItemSuite, kADMItemSuite, IsEnabled, isEnabled),
    ZZ_OP(ADMItemSuite, kADMItemSuite, Activate, activate),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SelectAll, selectAll),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetFont, setFont),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetText, setText),
    ZZ_OP(ADMItemSuite, kADMItemSuite, GetText, getText),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetUnits, setUnits),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetPrecision, setPrecision),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetIntValue, setIntValue),
    ZZ_OP(ADMItemSuite, kADMItemSuite, GetIntValue, getIntValue),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetFloatValue, setFloatValue),
    ZZ_OP(ADMItemSuite, kADMItemSuite, GetFloatValue, getFloatValue),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetBooleanValue, setBooleanValue),
    ZZ_OP(ADMItemSuite, kADMItemSuite, GetBooleanValue, getBooleanValue),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetMinIntValue, setMinIntValue),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetMaxIntValue, setMaxIntValue),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetMinFloatValue, setMinFloatValue),
    ZZ_OP(ADMItemSuite, kADMItemSuite, SetMaxFloatValue, setMaxFloatValue),
};

} // namespace

void registerADMItemSuite(SuiteRegistry& registry) {
    registry.add(kADMItemSuite, kADMItemSuiteVersion, &kSuite);
}

} // namespace zz
