#pragma once
// The part every libFuzzer program shares: run the target's check on the input and stop the
// process, so that libFuzzer keeps the input, when the check explains a failure.
//
// While a fault is known and being worked on, HZ_FUZZ_TOLERATE="phrase|phrase" lets a run go
// on past failures whose explanation contains one of the phrases. The replay test never
// tolerates anything.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzChecks.h"

namespace hz::fuzz {

inline bool tolerated(const std::string& failure)
{
    static const std::vector<std::string> phrases = [] {
        std::vector<std::string> out;
        const char* env = std::getenv("HZ_FUZZ_TOLERATE");
        std::string_view list = env ? env : "";
        while (!list.empty()) {
            const std::size_t bar = list.find('|');
            if (bar != 0)
                out.emplace_back(list.substr(0, bar));
            if (bar == std::string_view::npos)
                break;
            list.remove_prefix(bar + 1);
        }
        return out;
    }();
    for (const auto& p : phrases)
        if (failure.find(p) != std::string::npos)
            return true;
    return false;
}

inline int runCheck(std::string (*check)(std::string_view), const std::uint8_t* data, std::size_t size)
{
    const std::string failure = check(std::string_view(reinterpret_cast<const char*>(data), size));
    if (failure.empty() || tolerated(failure))
        return 0;
    std::fprintf(stderr, "\n==== check failed ====\n%s\n", failure.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace hz::fuzz
