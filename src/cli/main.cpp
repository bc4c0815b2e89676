#include <cstdio>
#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv)
{
    // Reports go out in one piece at the end: a write that fails then fails in our own flush,
    // where its reason (a full disk, a closed pipe) can still be told.
    static char buffer[1 << 20];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    std::vector<std::string> args(argv + 1, argv + argc);
    int trouble = 1;
    const int code = hz::cli::run(args, std::cin, std::cout, std::cerr, &trouble);
    return hz::cli::finishStandardOutput(code, trouble);
}
