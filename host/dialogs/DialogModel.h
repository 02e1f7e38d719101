// The host's dialogs: an in-memory model of modal dialogs, their items and the lists of popups and list
// boxes. The ADM suites are thin adapters over it; handles the plug-in sees are addresses of these objects,
// and every handle is checked against the live objects before use, so a stale or foreign handle is refused,
// not followed.
#ifndef ZZ_HOST_DIALOGS_DIALOG_MODEL_H
#define ZZ_HOST_DIALOGS_DIALOG_MODEL_H

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "ADMDialog.h"
#include "ADMEntry.h"
#include "ADMItem.h"
#include "ADMList.h"
#include "ADMNotifier.h"

namespace zz {

struct AdmItem;
struct AdmList;
struct AdmDialog;

struct AdmEntry {
    AdmList* list = nullptr;
    int32_t id = 0;
    std::string text;
    int32_t pictureID = 0;
    std::string pictureName;
    bool selected = false;
};

struct AdmList {
    AdmItem* item = nullptr;
    int32_t entryHeight = 0;
    std::vector<std::unique_ptr<AdmEntry>> entries;

    AdmEntry* active() const;
    int32_t indexOf(const AdmEntry* entry) const;
};

// What a numeric item holds: a value and an optional range. Setting a value, or a bound, clamps the value
// into the range (the lower bound first, so an upper bound below the lower one wins). A NaN is refused.
class ItemValue {
  public:
    void set(double value);
    double get() const { return value_; }
    void setMin(double bound);
    void setMax(double bound);
    std::optional<double> min() const { return min_; }
    std::optional<double> max() const { return max_; }

  private:
    double clamp(double value) const;
    double value_ = 0.0;
    std::optional<double> min_;
    std::optional<double> max_;
};

// What kind of value an item holds, as the plug-in last set it: a field set with SetIntValue or an integer
// bound takes whole numbers, one set with SetFloatValue or a float bound real numbers, a check box a boolean.
enum class ValueKind { None, Integer, Float, Boolean };

struct AdmItem {
    AdmDialog* dialog = nullptr;
    int32_t id = 0;
    std::string type; // one of the ADM item type names
    ADMRect rect{};
    std::string text;
    ItemValue value;
    ValueKind valueKind = ValueKind::None;
    int32_t precision = -1; // decimal places of a numeric field; -1: not set
    int32_t units = 0;
    int32_t font = 0;
    int32_t style = 0;
    bool enabled = true;
    bool visible = true;
    bool active = false;
    bool textSelected = false;
    ADMItemNotifyProc notifyProc = nullptr;
    ADMUserData userData = nullptr;
    std::unique_ptr<AdmList> list; // popups and list boxes only

    bool isNumeric() const;
    bool isButton() const;
    bool isCheckBox() const;
    bool isList() const { return list != nullptr; }
    // The value as the field holds it, the way a spin edit does: a real value with a precision is the number
    // its text shows (rounded to that many decimals), kept within the range.
    double heldValue() const;
    // The text the item shows: a numeric field shows its held value with its precision.
    std::string shownText() const;
    // A number entered as text (typed by the user or given with SetText): a field of whole numbers takes the
    // nearest one, and the value is clamped into the range.
    void enterValue(double number);
};

struct AdmDialog {
    std::string name;
    int32_t resource = 0;
    int32_t style = 0;
    ADMUserData userData = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<std::unique_ptr<AdmItem>> items;
    std::optional<int32_t> endedWith; // set by EndModal or the default handling of OK / Cancel

    AdmItem* item(int32_t id) const;
};

// A notification in flight: the handle a notify procedure receives.
struct AdmNotification {
    AdmItem* item = nullptr;
    std::string type;
};

bool isKnownItemType(const std::string& type);

// All dialogs open now (a modal dialog may open another from a notifier) and their objects, by address.
class DialogModel {
  public:
    AdmDialog& open(std::string name, int32_t resource, int32_t style, ADMUserData userData);
    // Destroys the most recently opened dialog, which must be `dialog`.
    void close(AdmDialog& dialog);

    // Creates an item; null for an unknown type or, unless `sharedId`, an id already in use.
    AdmItem* createItem(AdmDialog& dialog, int32_t id, const std::string& type, const ADMRect& rect,
                        bool sharedId = false);
    AdmEntry* insertEntry(AdmList& list, int32_t index);
    // Makes `entry` the list's one active entry, or clears it.
    static void select(AdmEntry& entry, bool selected);

    // Sends a notification to `item`: its notify procedure runs, or the default handling without one.
    void notify(AdmItem& item, const std::string& type);
    // The default handling: OK and Cancel buttons end their dialog with their id.
    static void defaultNotify(AdmItem& item);

    // Handle checks: the object behind a handle if it is alive, else null.
    AdmDialog* dialog(ADMDialogRef ref) const;
    AdmItem* item(ADMItemRef ref) const;
    AdmList* list(ADMListRef ref) const;
    AdmEntry* entry(ADMEntryRef ref) const;
    AdmNotification* notification(ADMNotifierRef ref) const;

    bool empty() const { return open_.empty(); }

  private:
    void forget(AdmItem& item);

    std::vector<std::unique_ptr<AdmDialog>> open_;
    std::unordered_set<const void*> dialogs_, items_, lists_, entries_;
    std::vector<AdmNotification*> notifications_;
};

inline ADMDialogRef toRef(AdmDialog* dialog) {
    return reinterpret_cast<ADMDialogRef>(dialog);
}
inline ADMItemRef toRef(AdmItem* item) {
    return reinterpret_cast<ADMItemRef>(item);
}
inline ADMListRef toRef(AdmList* list) {
    return reinterpret_cast<ADMListRef>(list);
}
inline ADMEntryRef toRef(AdmEntry* entry) {
    return reinterpret_cast<ADMEntryRef>(entry);
}
inline ADMNotifierRef toRef(AdmNotification* notification) {
    return reinterpret_cast<ADMNotifierRef>(notification);
}

} // namespace zz

#endif
