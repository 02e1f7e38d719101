// Text for XML files the host writes (SVG pictures).
#ifndef ZZ_HOST_BASE_XML_TEXT_H
#define ZZ_HOST_BASE_XML_TEXT_H

#include <string>
#include <string_view>

namespace zz {

// `raw` as XML attribute or element text: valid UTF-8 (the files say they are), markup characters as
// entities, the blanks that XML would fold into spaces as character references so that they read back as they
// were, and the other control characters, which XML 1.0 does not allow at all, as spaces.
std::string xmlEscaped(std::string_view raw);

} // namespace zz

#endif
