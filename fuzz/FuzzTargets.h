// The fuzz harnesses' bodies as plain functions: each takes one input's bytes, feeds them to the host where
// it takes input from outside, and checks what the host promises of any input. The fuzzers call them from
// LLVMFuzzerTestOneInput (FuzzMain.cpp); the ordinary tests play the kept regression inputs through them.
//
// A broken promise (a refusal that shows the JSON library's own words, a report that is not JSON, an answer
// that contradicts the command) comes back as its description; the fuzzer aborts on it. Crashes, leaks and
// undefined behaviour are the sanitizers' to find.
#ifndef ZZ_FUZZ_FUZZ_TARGETS_H
#define ZZ_FUZZ_FUZZ_TARGETS_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zz::fuzz {

using Verdict = std::optional<std::string>;
using Bytes = std::span<const uint8_t>;

struct FuzzTarget {
    const char* name; // the folder of its corpus and regression inputs
    Verdict (*run)(Bytes input);
};

// Every harness of this build (the workbench's on Linux alone).
std::span<const FuzzTarget> fuzzTargets();
const FuzzTarget* fuzzTarget(std::string_view name);

// The harnesses, by input:
Verdict runScript(Bytes input);    // a session script's text, checked and played against the module
Verdict runDocument(Bytes input);  // the --document option's JSON text, and the document it makes
Verdict runSettings(Bytes input);  // a "settings" event's "set" object, written into a settings record
Verdict runDialog(Bytes input);    // the options dialog's actions, eight bytes each (see ScriptTargets.cpp)
Verdict runModule(Bytes input);    // a module file or .res image, read as ELF, PE (file and mapped) and .res
Verdict runFormats(Bytes input);   // one resource's data: its first byte chooses the reader
Verdict runRequests(Bytes input);  // a workbench request body
Verdict runWorkbench(Bytes input); // a list of workbench commands, run by the host without sockets

// Says why `message`, a refusal given to a person, is not in the host's own words (empty, or showing the
// JSON library's internals); nothing when it is fine. A refusal may quote the input, so the library's words
// count only when the input being run (InputScope) does not hold them itself.
Verdict checkWording(std::string_view message);

// The input a harness is running, for checkWording, while the scope lives.
class InputScope {
  public:
    explicit InputScope(Bytes input);
    ~InputScope();
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;
};

} // namespace zz::fuzz

#endif
