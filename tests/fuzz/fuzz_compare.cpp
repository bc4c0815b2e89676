// libFuzzer entry of the "compare" target; the check itself is in FuzzChecks.cpp.
#include "FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return hz::fuzz::runCheck(&hz::fuzz::checkCompare, data, size);
}
