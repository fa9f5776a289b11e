// CCmdLine: the argument set. Registers argument objects, parses argv, checks the rules and builds
// the error and usage texts. Each program derives its own set and holds the arguments as members.
#pragma once

#include "CmdLineArg.h"
#include "HeapString.h"
#include "OutOfMemory.h"

#include <cstdint>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

class CCmdLine
{
public:
    CCmdLine() = default;
    CCmdLine(const CCmdLine&) = delete;
    CCmdLine& operator=(const CCmdLine&) = delete;

    // The set refers to the argument; it never owns or deletes it.
    void Add(CCmdLineArg& argument);

    // Declarations of rules and notes.
    void AddExclusiveGroup(std::initializer_list<CCmdLineArg*> members);
    void AddDependency(CCmdLineArg& prerequisite, CCmdLineArg& dependent);
    void AddUsageNote(const char* line);

    // argv must stay valid while GetToken or GetErrorText may be asked. Parse once per set.
    [[nodiscard]] bool Parse(int argc, const char* const* argv);

    uint32_t GetTokenCount() const { return m_tokenCount; }
    const char* GetToken(uint32_t index) const;

    const char* GetErrorText();
    const char* GetUsage(bool detailed);

private:
    using ArgList = std::vector<CCmdLineArg*, CStopAllocator<CCmdLineArg*>>;

    // Dependencies are visited by the prerequisite's name, so the order never depends on addresses.
    struct CByName
    {
        bool operator()(const CCmdLineArg* a, const CCmdLineArg* b) const;
    };
    using DependencyMap =
        std::map<CCmdLineArg*, ArgList, CByName, CStopAllocator<std::pair<CCmdLineArg* const, ArgList>>>;

    bool ParseOption(const char* token);
    bool ParsePositional(const char* token);
    bool CheckExclusive();
    bool CheckDependencies();
    bool CheckRequired();

    // The usage text's parts, in order: the synopsis line, the notes, the table of descriptions.
    void AppendSynopsis();
    void AppendNotes();
    void AppendTable();
    // The width of an argument's name in the table, its dash included.
    static size_t TableNameWidth(const CCmdLineArg& argument);

    ArgList m_arguments;
    std::vector<CHeapString, CStopAllocator<CHeapString>> m_usageNotes;
    std::vector<ArgList, CStopAllocator<ArgList>> m_exclusiveGroups;
    DependencyMap m_dependencies;
    CHeapString m_usage;
    CHeapString m_error;
    uint32_t m_tokenCount = 0;
    const char* const* m_tokens = nullptr;
    CCmdLineArg* m_missingRequired = nullptr;
    std::pair<CCmdLineArg*, CCmdLineArg*> m_exclusivePair;
    std::pair<CCmdLineArg*, CCmdLineArg*> m_dependencyPair;
    uint32_t m_invalidToken = 0;
};
