// PNG and PDF pictures of the document, made by rsvg-convert from its SVG: the picture is the SVG's, never
// drawn a second time by hand.
#ifndef ZZ_HOST_WORKBENCH_CONVERT_H
#define ZZ_HOST_WORKBENCH_CONVERT_H

#include <optional>
#include <string>

namespace zz {

// `format` is "png" or "pdf". The converted bytes, or nothing with the reason in *error (rsvg-convert not
// found, or it failed).
std::optional<std::string> convertSvg(const std::string& svg, const std::string& format, std::string* error,
                                      const std::string& program = "rsvg-convert");

} // namespace zz

#endif
