// Running session scripts against the real module from tests.
#ifndef ZZ_TESTS_SESSION_TEST_SUPPORT_H
#define ZZ_TESTS_SESSION_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <string>

#include "apps/script/Session.h"
#include "tests/TestSupport.h"

namespace zz::sessiontest {

using test::modulePath;

// What an int field of the globals block reads when nothing has written it: the host fills a new block with
// the byte 0xCD.
constexpr int64_t kUnwrittenInt = -842150451; // 0xCDCDCDCD

// Runs a script given as JSON text; a failing session fails the test with its message.
inline nlohmann::ordered_json run(const std::string& script) {
    SessionError error;
    nlohmann::ordered_json report = runSessionText(script, modulePath(), &error);
    EXPECT_FALSE(report.is_null()) << error.message;
    return report;
}

// The error a script that must fail gives.
inline SessionError failure(const std::string& script) {
    SessionError error;
    const nlohmann::ordered_json report = runSessionText(script, modulePath(), &error);
    EXPECT_TRUE(report.is_null()) << "the script ran: " << script;
    return error;
}

inline int64_t fourCC(const char (&code)[5]) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8) |
                                static_cast<uint8_t>(code[3]));
}

} // namespace zz::sessiontest

#endif
