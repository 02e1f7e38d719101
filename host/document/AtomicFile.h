// Writing a whole file so that readers see either the old file or the complete new one, never a part.
#ifndef ZZ_HOST_DOCUMENT_ATOMIC_FILE_H
#define ZZ_HOST_DOCUMENT_ATOMIC_FILE_H

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace zz {

// Writes `content` to a temporary file beside `path`, then renames it over `path`. On failure returns false,
// says why in *error (when not null) and leaves no temporary file behind; an existing file at `path` is kept.
bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error);

// As above, the content written by `produce` into a stream over the temporary file as it goes. `produce`
// answers false (with its reason in *error) to give up; the temporary file is removed then.
bool writeFileAtomically(const std::string& path,
                         const std::function<bool(std::ostream&, std::string*)>& produce, std::string* error);

} // namespace zz

#endif
