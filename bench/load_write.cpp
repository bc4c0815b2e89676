// Times the tool's work on one file inside one process, without starting a process or touching
// the disk: a new session loads a full-size 16F18324 file from memory, as `convert` does, and
// builds the lines of the save, N rounds. Built natively and for WebAssembly (run by Node.js),
// so that bench/load_write.sh can print both side by side.
//
//   hz_load_write FILE [ROUNDS]    prints "load+write first round: MICROSECONDS us" and
//                                  "load+write ROUNDS rounds: MICROSECONDS us per round"
//
// The first round is the program's code as it starts: Node.js runs WebAssembly first with code
// compiled quickly and compiles a function's optimised code only once it has run for a while.
// After it, ROUNDS rounds run untimed to warm up, and then ROUNDS rounds are timed: the steady
// figure. The file is read once before the clock starts. Nothing is asserted beyond the file
// loading and a save being built: the numbers are for reading.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/BatchPrompter.h"
#include "core/Session.h"
#include "core/firmware/HexWriter.h"

namespace {

// One round as `convert` runs it: a fresh session, the load, the save's lines as text.
std::size_t loadAndWrite(const std::string& text)
{
    std::ostringstream messages;
    hz::BatchPrompter prompter(messages);
    hz::Session session(prompter);
    std::istringstream in(text);
    if (session.LoadStream(in, "full.hex") != hz::LoadOutcome::Done || !session.PrepareSave())
        return 0;
    std::string out;
    for (const std::string& line : hz::builtLines(session.image)) {
        out += line;
        out += "\r\n";
    }
    return out.size();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: hz_load_write FILE [ROUNDS]\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::ostringstream whole;
    whole << file.rdbuf();
    if (!file) {
        std::cerr << "hz_load_write: cannot read " << argv[1] << "\n";
        return 2;
    }
    const int rounds = argc == 3 ? std::atoi(argv[2]) : 200;
    if (rounds < 1) {
        std::cerr << "hz_load_write: ROUNDS must be at least 1\n";
        return 2;
    }
    const std::string text = whole.str();
    using Micro = std::chrono::duration<double, std::micro>;
    // The first round: it must do the job, and it is timed as the one a process does.
    const auto first = std::chrono::steady_clock::now();
    if (loadAndWrite(text) == 0) {
        std::cerr << "hz_load_write: " << argv[1] << " did not load and save\n";
        return 1;
    }
    const Micro firstTook = std::chrono::steady_clock::now() - first;
    std::size_t written = 0;
    for (int k = 0; k < rounds; ++k)
        written += loadAndWrite(text);
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < rounds; ++k)
        written += loadAndWrite(text);
    const Micro took = std::chrono::steady_clock::now() - start;
    if (written == 0)
        return 1;
    std::printf("load+write first round: %.1f us\n", firstTook.count());
    std::printf("load+write %d rounds: %.1f us per round\n", rounds, took.count() / rounds);
    return 0;
}
