// An argument set shaped like the console program's, for tests of the library's behaviour on it.
#pragma once

#include "Args.h"

#include <vector>

struct CConsoleLikeSet : CCmdLine
{
    CCmdLineArgToggle help{"?", "help", false, false, 0};
    CCmdLineArgString user{"u", "username", "", 0};
    CCmdLineArgString password{"p", "password", "", 0};
    CCmdLineArgString domain{"d", "domain name", "", 0};
    CCmdLineArgToggle reload{"r", "reload on every startup (default is on)", true, true, 0};

    CConsoleLikeSet()
    {
        Add(user);
        Add(password);
        Add(domain);
        Add(reload);
        Add(help);
    }
};

// argv for Parse: the program name first, then the tokens; kept alive by the object.
class CArgv
{
public:
    CArgv(std::initializer_list<const char*> tokens) : m_argv{"prog"}
    {
        m_argv.insert(m_argv.end(), tokens.begin(), tokens.end());
        m_argv.push_back(nullptr);
    }
    int Count() const { return static_cast<int>(m_argv.size() - 1); }
    const char* const* Vector() const { return m_argv.data(); }

private:
    std::vector<const char*> m_argv;
};

template <typename Set>
bool ParseTokens(Set& set, const CArgv& argv)
{
    return set.Parse(argv.Count(), argv.Vector());
}
