// A picture of a dialog as it stands: every shown item drawn at its rectangle, so that a person can see a
// dialog without a desktop.
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

// A dialog's view (DialogView.h) drawn as a standalone SVG of the view's width and height: labels, spin
// edits with their values, check boxes, popups with their active entry's text, buttons, and list boxes with
// each entry's picture and text around the active entry. Hidden items are not drawn; disabled ones are
// greyed. Pictures come from `bitmaps`, as BMP files the SVG carries inline.
std::string dialogPictureSvg(const nlohmann::json& view, const BitmapSource& bitmaps);

// A device-independent bitmap as a whole .bmp file (the file header put in front), or nothing when the bitmap
// header cannot be read.
std::optional<std::vector<uint8_t>> bmpFileOf(const std::vector<uint8_t>& dib);

} // namespace zz

#endif
