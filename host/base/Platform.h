// Small platform services of the host programs.
#ifndef ZZ_HOST_BASE_PLATFORM_H
#define ZZ_HOST_BASE_PLATFORM_H

#include <string>

namespace zz {

// The directory of the running executable, without a trailing separator; "." when it cannot be found.
std::string executableDirectory();

// `name` in the directory of the running executable.
std::string besideExecutable(const std::string& name);

} // namespace zz

#endif
