// What the workbench answers one command with: an HTTP status, a content type and the body. Commands answer
// JSON; exports and images answer their bytes.
#ifndef ZZ_APPS_WORKBENCH_REPLY_H
#define ZZ_APPS_WORKBENCH_REPLY_H

#include <string>

#include <nlohmann/json.hpp>

namespace zz {

struct Reply {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
    // A download's document: the file the browser saves is named after it.
    std::string documentName;

    static Reply json(const nlohmann::json& value, int status = 200) {
        return Reply{status, "application/json", value.dump(), {}};
    }
    // The one form of every error answer: {"ok": false, "error": message}.
    static nlohmann::json errorJson(const std::string& message) {
        return nlohmann::json{{"ok", false}, {"error", message}};
    }
    // errorJson(message) with the status.
    static Reply error(int status, const std::string& message) { return json(errorJson(message), status); }
    static Reply bytes(std::string contentType, std::string body) {
        return Reply{200, std::move(contentType), std::move(body), {}};
    }
};

} // namespace zz

#endif
