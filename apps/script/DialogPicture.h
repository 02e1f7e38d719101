// A picture of a dialog as the report's snapshot shows it: every shown item drawn at its rectangle, so that a
// person can see a dialog without a desktop.
#ifndef ZZ_APPS_SCRIPT_DIALOG_PICTURE_H
#define ZZ_APPS_SCRIPT_DIALOG_PICTURE_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace zz {

// The bytes of the bitmap resource `id` of the module (a device-independent bitmap), or nothing.
using BitmapSource = std::function<std::optional<std::vector<uint8_t>>(int32_t id)>;

// The dialog entry of a session report (`dialogs[i]`, with its "snapshots" and "lists") drawn as a standalone
// SVG reaching to its farthest item, in the state of its last snapshot: labels, spin edits with their values,
// check boxes, popups with their active entry's text, buttons, and list boxes with each entry's picture and
// text around the active entry. Hidden items are not drawn; disabled ones are greyed. Pictures come from
// `bitmaps`, as BMP files the SVG carries inline.
std::string dialogPictureSvg(const nlohmann::ordered_json& dialog, const BitmapSource& bitmaps);

// A device-independent bitmap as a whole .bmp file (the file header put in front), or nothing when the bitmap
// header cannot be read.
std::optional<std::vector<uint8_t>> bmpFileOf(const std::vector<uint8_t>& dib);

} // namespace zz

#endif
