#pragma once

// Where the start-up time goes, for whoever tunes it. With HZ_STARTUP_PHASES set in the
// environment, each mark prints one line to standard error:
//
//   phase NAME MS      (milliseconds since the clock was made, at the top of main)
//
// bench/compare_processes.sh reads these lines from the editor and from the bare window it is
// compared with, and prints the two side by side. Without the variable a mark costs a branch.
// Header-only, so that the bare window in bench/ takes the very same clock.

#include <QElapsedTimer>
#include <QtGlobal>

#include <cstdio>

class StartupPhases {
public:
    StartupPhases() : m_on(qEnvironmentVariableIsSet("HZ_STARTUP_PHASES"))
    {
        if (m_on)
            m_clock.start();
    }

    void mark(const char* name) const
    {
        if (m_on)
            std::fprintf(stderr, "phase %s %.3f\n", name, static_cast<double>(m_clock.nsecsElapsed()) / 1e6);
    }

private:
    bool m_on;
    QElapsedTimer m_clock;
};
