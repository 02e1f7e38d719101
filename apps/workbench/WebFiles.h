// The page's files (web/), built into the program so that `zigzag serve` needs nothing beside itself.
#ifndef ZZ_APPS_WORKBENCH_WEB_FILES_H
#define ZZ_APPS_WORKBENCH_WEB_FILES_H

#include <optional>
#include <string_view>

namespace zz {

struct WebFile {
    std::string_view contentType;
    std::string_view body;
};

// The file served at `path` ("/" is index.html), or nothing.
std::optional<WebFile> webFile(std::string_view path);

} // namespace zz

#endif
