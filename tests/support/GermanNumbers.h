#pragma once
// A German LC_NUMERIC for the life of the object, as the window gets it from a German desktop
// (Qt sets the C library's locale from the environment): printf writes "1,5" then. Tests use
// it to show that a text does not follow the process locale. The machine's own de_DE.UTF-8
// serves, else the one the build generates into HZ_LOCALE_DIR (through LOCPATH).

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

class GermanNumbers {
public:
    GermanNumbers()
    {
        if (const char* path = std::getenv("LOCPATH"))
            m_locpath = path;
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
            return;
#ifdef HZ_LOCALE_DIR
        setenv("LOCPATH", HZ_LOCALE_DIR, 1);
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
#endif
    }
    ~GermanNumbers()
    {
        std::setlocale(LC_NUMERIC, "C");
        if (m_locpath)
            setenv("LOCPATH", m_locpath->c_str(), 1);
        else
            unsetenv("LOCPATH");
    }
    GermanNumbers(const GermanNumbers&) = delete;
    GermanNumbers& operator=(const GermanNumbers&) = delete;

    // Whether printf now writes the decimal comma; a test that depends on it proves nothing
    // without (the build found no locale sources: Debian's package "locales").
    static bool active()
    {
        char text[8];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        return std::string(text) == "1,5";
    }

private:
    std::optional<std::string> m_locpath;
};
