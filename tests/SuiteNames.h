// The suites the plug-in acquires around every message, in the order it acquires them.
#ifndef ZZ_TESTS_SUITE_NAMES_H
#define ZZ_TESTS_SUITE_NAMES_H

namespace zz::test {

constexpr int kSuiteCount = 29;

constexpr const char* kSuitesInOrder[kSuiteCount] = {
    "SP Blocks Suite",     "SP Access Suite",   "AI Plugin Suite",      "AI MdMemory Suite",
    "AI Real Math Suite",  "AI Art Suite",      "AI User Suite",        "AI Path Suite",
    "AI Path Style Suite", "AI Undo Suite",     "AI Random Suite",      "AI Blend Style Suite",
    "AI Envelope Suite",   "AI Document Suite", "AI Swatch List Suite", "AI Transform Art Suite",
    "AI Art Style Suite",  "AI Symbol Suite",   "AI Tag Suite",         "AI Tool Suite",
    "ADM Basic Suite",     "ADM Dialog Suite",  "ADM Item Suite",       "ADM Icon Suite",
    "ADM Tracker Suite",   "ADM List Suite",    "ADM Entry Suite",      "ADM Drawer Suite",
    "ADM Notifier Suite"};

} // namespace zz::test

#endif
