// Adapters between the C function tables the plug-in calls and the host's C++ implementation.
//
// Every entry of every suite table is an OpHook: it looks up the current host, lets the fault injector
// strike (when the host holds any fault rule), and otherwise calls the implementation. No C++ exception
// leaves a hook into the plug-in's frames: running out of memory answers kSPOutOfMemoryError, any other
// failure kSPHostFailureError (as results of the operation's type, below). An operation this host does not
// offer yet is an OpHook without an implementation: it returns kSPUnimplementedError (or the "nothing" value
// of its result type) and never crashes.
//
//   const AIPathSuite kPathSuite = {
//       ZZ_OP(AIPathSuite, kAIPathSuite, GetPathSegmentCount, getPathSegmentCount),
//       ZZ_NOT_IMPLEMENTED(AIPathSuite, kAIPathSuite, GetPathClosed),
//       ...
//   };
//
// Results of a failing call by result type: a status returns the code; other integers return the code too (so
// an icon type or an item number can be forced); pointers return null; floats return 0; void calls do
// nothing.
#ifndef ZZ_HOST_SUITES_SUITE_ADAPTER_H
#define ZZ_HOST_SUITES_SUITE_ADAPTER_H

#include <cstddef>
#include <exception>
#include <new>
#include <string_view>
#include <type_traits>

#include "ZZTypes.h"
#include "host/base/FixedString.h"
#include "host/suites/HostServices.h"

namespace zz {

// Counts a call of `operation` of `suite` against the host's fault rules; returns the status it must fail
// with, or 0 to let it run.
SPErr strikeFault(HostServices& host, std::string_view suite, std::string_view operation);
// Notes that the plug-in called an operation the host does not offer. Defined by the host.
void noteUnimplemented(std::string_view suite, std::string_view operation);
// Enters `operation` into the catalogue of the operations of `suite` (see OperationCatalog.h); returns true.
bool catalogueOperation(std::string_view suite, std::string_view operation, bool implemented);

template <typename R> R failedResult(SPErr code) {
    if constexpr (std::is_void_v<R>) {
        return;
    } else if constexpr (std::is_pointer_v<R>) {
        return nullptr;
    } else if constexpr (std::is_integral_v<R>) {
        return static_cast<R>(code);
    } else {
        return R{};
    }
}

// Runs `body` and turns any exception it throws into the failed result of its type.
template <typename R, typename Body> R guardedCall(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return failedResult<R>(kSPOutOfMemoryError);
    } catch (...) {
        return failedResult<R>(kSPHostFailureError);
    }
}

template <FixedString Suite, FixedString Operation, typename Fn, auto Impl> struct OpHook;

template <FixedString Suite, FixedString Operation, typename R, typename... A, auto Impl>
struct OpHook<Suite, Operation, R(SPAPI*)(A...), Impl> {
    static constexpr bool kImplemented = !std::is_same_v<decltype(Impl), std::nullptr_t>;
    // Every hook that a suite table names enters itself into the operation catalogue before main runs.
    static inline const bool catalogued = catalogueOperation(Suite.view(), Operation.view(), kImplemented);

    static R SPAPI call(A... args) noexcept {
        (void)catalogued;
        return guardedCall<R>([&]() -> R {
            // The usual case, no fault rule at all, costs one thread-local read and one test.
            HostServices* host = HostServices::current();
            if (host != nullptr && !host->faults().empty())
                if (const SPErr code = strikeFault(*host, Suite.view(), Operation.view()))
                    return failedResult<R>(code);
            if constexpr (!kImplemented) {
                noteUnimplemented(Suite.view(), Operation.view());
                return failedResult<R>(kSPUnimplementedError);
            } else {
                return Impl(args...);
            }
        });
    }
};

} // namespace zz

#define ZZ_OP(SuiteStruct, suiteName, Operation, impl)                                                       \
    &::zz::OpHook<suiteName, #Operation, decltype(SuiteStruct::Operation), impl>::call
#define ZZ_NOT_IMPLEMENTED(SuiteStruct, suiteName, Operation)                                                \
    ZZ_OP(SuiteStruct, suiteName, Operation, nullptr)

#endif
