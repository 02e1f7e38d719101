#include "host/dialogs/DialogModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "host/base/NumberText.h"

namespace zz {

AdmEntry* AdmList::active() const {
    for (const auto& entry : entries)
        if (entry->selected) return entry.get();
    return nullptr;
}

int32_t AdmList::indexOf(const AdmEntry* entry) const {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].get() == entry) return static_cast<int32_t>(i);
    return -1;
}

double ItemValue::clamp(double value) const {
    if (min_ && value < *min_) value = *min_;
    if (max_ && value > *max_) value = *max_;
    return value;
}

void ItemValue::set(double value) {
    if (std::isnan(value)) return;
    value_ = clamp(value);
}

void ItemValue::setMin(double bound) {
    if (std::isnan(bound)) return;
    min_ = bound;
    value_ = clamp(value_);
}

void ItemValue::setMax(double bound) {
    if (std::isnan(bound)) return;
    max_ = bound;
    value_ = clamp(value_);
}

bool isKnownItemType(const std::string& type) {
    static const char* const kTypes[] = {
        kADMSpinEditType, kADMTextStaticType,     kADMTextCheckBoxType,      kADMPopupListType,
        kADMListBoxType,  kADMTextPushButtonType, kADMPicturePushButtonType, kADMFrameType};
    return std::any_of(std::begin(kTypes), std::end(kTypes),
                       [&](const char* known) { return type == known; });
}

bool AdmItem::isNumeric() const {
    return type == kADMSpinEditType;
}

bool AdmItem::isButton() const {
    return type == kADMTextPushButtonType || type == kADMPicturePushButtonType;
}

bool AdmItem::isCheckBox() const {
    return type == kADMTextCheckBoxType;
}

double AdmItem::heldValue() const {
    const double number = value.get();
    // Whole numbers and booleans are what they are; a real value is what its text reads back as.
    if (valueKind == ValueKind::Integer || valueKind == ValueKind::Boolean || precision < 0) return number;
    const auto fixed = formatNumber(static_cast<AIReal>(number), precision);
    const auto read = fixed ? parseNumber(*fixed) : std::nullopt;
    if (!read) return number;
    double rounded = *read;
    if (value.min() && rounded < *value.min()) rounded = *value.min();
    if (value.max() && rounded > *value.max()) rounded = *value.max();
    return rounded;
}

std::string AdmItem::shownText() const {
    if (!isNumeric()) return text;
    const double number = heldValue();
    if (precision >= 0)
        if (auto fixed = formatNumber(static_cast<AIReal>(number), precision)) return *fixed;
    if (valueKind == ValueKind::Integer && std::fabs(number) < 1e15) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<int64_t>(number));
        return std::string(buffer, result.ptr);
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(number));
    return std::string(buffer, result.ptr);
}

void AdmItem::enterValue(double number) {
    if (valueKind == ValueKind::Integer && std::isfinite(number)) number = std::nearbyint(number);
    value.set(number);
}

AdmItem* AdmDialog::item(int32_t id) const {
    for (const auto& item : items)
        if (item->id == id) return item.get();
    return nullptr;
}

AdmDialog& DialogModel::open(std::string name, int32_t resource, int32_t style, ADMUserData userData) {
    auto dialog = std::make_unique<AdmDialog>();
    dialog->name = std::move(name);
    dialog->resource = resource;
    dialog->style = style;
    dialog->userData = userData;
    dialogs_.insert(dialog.get());
    open_.push_back(std::move(dialog));
    return *open_.back();
}

void DialogModel::forget(AdmItem& item) {
    items_.erase(&item);
    if (item.list) {
        lists_.erase(item.list.get());
        for (const auto& entry : item.list->entries)
            entries_.erase(entry.get());
    }
}

void DialogModel::close(AdmDialog& dialog) {
    const auto found =
        std::find_if(open_.begin(), open_.end(), [&](const auto& d) { return d.get() == &dialog; });
    if (found == open_.end()) return;
    for (const auto& item : dialog.items)
        forget(*item);
    dialogs_.erase(&dialog);
    open_.erase(found);
}

AdmItem* DialogModel::createItem(AdmDialog& dialog, int32_t id, const std::string& type, const ADMRect& rect,
                                 bool sharedId) {
    if (!isKnownItemType(type) || (!sharedId && dialog.item(id) != nullptr)) return nullptr;
    auto item = std::make_unique<AdmItem>();
    item->dialog = &dialog;
    item->id = id;
    item->type = type;
    item->rect = rect;
    if (type == kADMPopupListType || type == kADMListBoxType) {
        item->list = std::make_unique<AdmList>();
        item->list->item = item.get();
        lists_.insert(item->list.get());
    }
    items_.insert(item.get());
    dialog.items.push_back(std::move(item));
    return dialog.items.back().get();
}

AdmEntry* DialogModel::insertEntry(AdmList& list, int32_t index) {
    if (index < 0 || index > static_cast<int32_t>(list.entries.size())) return nullptr;
    auto entry = std::make_unique<AdmEntry>();
    entry->list = &list;
    AdmEntry* raw = entry.get();
    entries_.insert(raw);
    list.entries.insert(list.entries.begin() + index, std::move(entry));
    return raw;
}

void DialogModel::select(AdmEntry& entry, bool selected) {
    if (selected)
        for (const auto& other : entry.list->entries)
            other->selected = false;
    entry.selected = selected;
}

void DialogModel::defaultNotify(AdmItem& item) {
    if (item.isButton() && (item.id == kADMDefaultItemID || item.id == kADMCancelItemID) &&
        !item.dialog->endedWith)
        item.dialog->endedWith = item.id;
}

void DialogModel::notify(AdmItem& item, const std::string& type) {
    if (item.notifyProc == nullptr) {
        defaultNotify(item);
        return;
    }
    AdmNotification notification{&item, type};
    notifications_.push_back(&notification);
    item.notifyProc(toRef(&item), toRef(&notification));
    notifications_.pop_back();
}

AdmDialog* DialogModel::dialog(ADMDialogRef ref) const {
    const auto* raw = reinterpret_cast<const AdmDialog*>(ref);
    return dialogs_.count(raw) ? const_cast<AdmDialog*>(raw) : nullptr;
}

AdmItem* DialogModel::item(ADMItemRef ref) const {
    const auto* raw = reinterpret_cast<const AdmItem*>(ref);
    return items_.count(raw) ? const_cast<AdmItem*>(raw) : nullptr;
}

AdmList* DialogModel::list(ADMListRef ref) const {
    const auto* raw = reinterpret_cast<const AdmList*>(ref);
    return lists_.count(raw) ? const_cast<AdmList*>(raw) : nullptr;
}

AdmEntry* DialogModel::entry(ADMEntryRef ref) const {
    const auto* raw = reinterpret_cast<const AdmEntry*>(ref);
    return entries_.count(raw) ? const_cast<AdmEntry*>(raw) : nullptr;
}

AdmNotification* DialogModel::notification(ADMNotifierRef ref) const {
    const auto* raw = reinterpret_cast<const AdmNotification*>(ref);
    for (AdmNotification* live : notifications_)
        if (live == raw) return live;
    return nullptr;
}

} // namespace zz
