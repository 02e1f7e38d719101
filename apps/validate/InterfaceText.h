// The host interface as its headers describe it: which operations each suite offers, what each returns and
// which failure statuses its comment lists ("Returns 0, kSPBadHandleError, ..."). The headers' text is built
// into the program, so the validator fails every host call exactly with the statuses the interface promises.
#ifndef ZZ_APPS_VALIDATE_INTERFACE_TEXT_H
#define ZZ_APPS_VALIDATE_INTERFACE_TEXT_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ZZTypes.h"

namespace zz {

struct InterfaceHeader {
    std::string_view name; // "AIPath.h"
    std::string_view text;
};

// Every header of the host interface, as built into the program.
const std::vector<InterfaceHeader>& interfaceHeaders();

struct HostCallFacts {
    bool returnsStatus = false;  // the operation's result is a status (SPErr)
    std::vector<SPErr> failures; // the failure statuses its comment lists, in its order
};

// What the interface says of `operation` of `suite` ("acquire" for acquiring the suite); nothing when the
// headers do not name it.
std::optional<HostCallFacts> hostCallFacts(std::string_view suite, std::string_view operation);

// A status as the interface names it ("kSPBadHandleError"), or its number when the interface has no name.
std::string statusName(SPErr status);

} // namespace zz

#endif
