// libFuzzer entry of the "load_save_load" target; the check itself is in FuzzChecks.cpp.
#include "FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return hz::fuzz::runCheck(&hz::fuzz::checkLoadSaveLoad, data, size);
}
