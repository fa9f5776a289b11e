// Fuzzes the argument set: the input is split at NUL bytes into argv tokens and parsed by a set that
// has every kind of argument and rule; the error and usage texts are then built and checked.
#include "Args.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct CEveryKindSet : CCmdLine
{
    CCmdLineArgString user{"u", "username", "", 0};
    CCmdLineArgString mode{"mode", "how", "fast", 0};
    CCmdLineArgString key{"k", "key", "", CCmdLineArg::flagRequired};
    CCmdLineArgString file{"file", "input", "", CCmdLineArg::flagPositional};
    CCmdLineArgString level{"level", "", "", CCmdLineArg::flagPositional | CCmdLineArg::flagRequired};
    CCmdLineArgToggle reload{"r", "reload", true, true, 0};
    CCmdLineArgToggle help{"?", "help", false, false, 0};
    CCmdLineArgToggle verbose{"verbose", "", false, false, CCmdLineArg::flagRequired};

    CEveryKindSet()
    {
        mode.AddAllowedValue("fast");
        mode.AddAllowedValue("safe");
        level.AddAllowedValue("1");
        level.AddAllowedValue("2");
        for (CCmdLineArg* arg : {static_cast<CCmdLineArg*>(&user), static_cast<CCmdLineArg*>(&mode),
                                 static_cast<CCmdLineArg*>(&key), static_cast<CCmdLineArg*>(&file),
                                 static_cast<CCmdLineArg*>(&level), static_cast<CCmdLineArg*>(&reload),
                                 static_cast<CCmdLineArg*>(&help), static_cast<CCmdLineArg*>(&verbose)})
            Add(*arg);
        AddExclusiveGroup({&user, &mode, &help});
        AddExclusiveGroup({&reload, &file});
        AddDependency(key, user);
        AddDependency(key, file);
        AddDependency(reload, mode);
        AddUsageNote("Every kind of argument.");
    }
};

bool EndsWith(const char* text, const char* tail)
{
    const size_t length = std::strlen(text), tailLength = std::strlen(tail);
    return length >= tailLength && std::strcmp(text + length - tailLength, tail) == 0;
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> tokens{"prog"};
    tokens.emplace_back();
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\0')
            tokens.emplace_back();
        else
            tokens.back().push_back(static_cast<char>(data[i]));
    }
    if (size == 0)
        tokens.pop_back();
    std::vector<const char*> argv;
    for (const std::string& token : tokens)
        argv.push_back(token.c_str());
    argv.push_back(nullptr);

    CEveryKindSet set;
    const bool parsed = set.Parse(static_cast<int>(tokens.size()), argv.data());
    const std::string error = set.GetErrorText();
    Check(parsed == error.empty());
    Check(parsed || EndsWith(error.c_str(), "\n\n"));
    Check(error == set.GetErrorText());
    Check(set.GetTokenCount() == tokens.size() - 1);
    for (uint32_t i = 0; i <= set.GetTokenCount(); ++i)
        Check(set.GetToken(i) == argv[i]);
    Check(set.GetToken(set.GetTokenCount() + 1) == nullptr);

    const std::string synopsis = set.GetUsage(false);
    const std::string detailed = set.GetUsage(true);
    Check(detailed.compare(0, synopsis.size(), synopsis) == 0);
    Check(EndsWith(detailed.c_str(), "\n"));
    Check(detailed == set.GetUsage(true));
    return 0;
}
