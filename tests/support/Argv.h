// An argument vector for CCmdLine::Parse, as the C runtime hands one to main.
#pragma once

#include <initializer_list>
#include <vector>

// The program name first, then the tokens, then a null entry; kept alive by the object.
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
