#include "apps/script/DialogView.h"

#include <algorithm>
#include <cmath>

#include "ADMDialog.h"
#include "ADMItem.h"

namespace zz {

namespace {

using nlohmann::json;

const char* kindOf(const AdmItem& item) {
    if (item.type == kADMTextStaticType) return "label";
    if (item.type == kADMSpinEditType) return "spin";
    if (item.type == kADMTextCheckBoxType) return "check";
    if (item.type == kADMPopupListType) return "popup";
    if (item.type == kADMListBoxType) return "list";
    if (item.type == kADMTextPushButtonType || item.type == kADMPicturePushButtonType) return "button";
    if (item.type == kADMFrameType) return "frame";
    return "other";
}

json number(double value) {
    return std::isfinite(value) ? json(value) : json(nullptr);
}

json itemJson(const AdmItem& item) {
    json out = {{"id", item.id},
                {"kind", kindOf(item)},
                {"rect", {item.rect.left, item.rect.top, item.rect.right, item.rect.bottom}},
                {"visible", item.visible},
                {"enabled", item.enabled},
                {"bold", item.font == kADMDialogFontBold},
                {"focus", item.active}};
    if (item.isList()) {
        const AdmEntry* active = item.list->active();
        out["active"] = active != nullptr ? json(active->id) : json(nullptr);
        out["text"] = active != nullptr ? active->text : "";
        json entries = json::array();
        for (const auto& entry : item.list->entries)
            entries.push_back({{"id", entry->id}, {"text", entry->text}, {"picture", entry->pictureID}});
        out["entries"] = std::move(entries);
        return out;
    }
    out["text"] = item.shownText();
    if (item.isCheckBox()) {
        out["value"] = item.heldValue() != 0.0;
    } else if (item.isNumeric()) {
        out["value"] = number(item.heldValue());
        if (item.value.min()) out["min"] = number(*item.value.min());
        if (item.value.max()) out["max"] = number(*item.value.max());
        out["whole"] = item.valueKind == ValueKind::Integer;
    }
    return out;
}

} // namespace

json dialogView(const AdmDialog& dialog) {
    int32_t right = 0, bottom = 0, left = 1 << 30, top = 1 << 30;
    json items = json::array();
    for (const auto& item : dialog.items) {
        items.push_back(itemJson(*item));
        if (!item->visible) continue;
        right = std::max(right, item->rect.right);
        bottom = std::max(bottom, item->rect.bottom);
        left = std::min(left, item->rect.left);
        top = std::min(top, item->rect.top);
    }
    if (right == 0 && bottom == 0) {
        right = dialog.width;
        bottom = dialog.height;
        left = top = 0;
    }
    return {{"name", dialog.name},
            {"resource", dialog.resource},
            {"width", right + std::clamp(left, 0, 20)},
            {"height", bottom + std::clamp(top, 0, 20)},
            {"items", std::move(items)}};
}

} // namespace zz
