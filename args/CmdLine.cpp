#include "CmdLine.h"

#include <algorithm>
#include <cstring>

bool CCmdLine::CByName::operator()(const CCmdLineArg* a, const CCmdLineArg* b) const
{
    const int order = std::strcmp(a->GetName(), b->GetName());
    return order != 0 ? order < 0 : std::less<const CCmdLineArg*>()(a, b);
}

void CCmdLine::Add(CCmdLineArg& argument)
{
    m_arguments.push_back(&argument);
}

void CCmdLine::AddExclusiveGroup(std::initializer_list<CCmdLineArg*> members)
{
    m_exclusiveGroups.push_back(ArgList(members.begin(), members.end()));
}

void CCmdLine::AddDependency(CCmdLineArg& prerequisite, CCmdLineArg& dependent)
{
    m_dependencies[&prerequisite].push_back(&dependent);
}

void CCmdLine::AddUsageNote(const char* line)
{
    m_usageNotes.push_back(CHeapString(line));
}

bool CCmdLine::Parse(int argc, const char* const* argv)
{
    // A runtime may pass argc 0 with no program name; there are no tokens then.
    m_tokenCount = argc > 1 ? static_cast<uint32_t>(argc - 1) : 0;
    m_tokens = argv;

    for (uint32_t i = 1; i <= m_tokenCount; ++i) {
        const char* token = argv[i];
        const bool accepted = (token[0] == '-' || token[0] == '/') ? ParseOption(token)
                                                                    : ParsePositional(token);
        if (!accepted) {
            m_invalidToken = i;
            return false;
        }
    }
    return CheckExclusive() && CheckDependencies() && CheckRequired();
}

bool CCmdLine::ParseOption(const char* token)
{
    const char* rest = token + 1;
    for (CCmdLineArg* argument : m_arguments) {
        if (argument->IsPositional() || argument->IsGiven())
            continue;
        if (!StartsWithIgnoreCase(rest, argument->GetName()))
            continue;
        const char* value = rest + std::strlen(argument->GetName());
        if (*value == '=' || *value == ':')
            ++value;
        return argument->SetValue(value);
    }
    return false;
}

bool CCmdLine::ParsePositional(const char* token)
{
    // An empty token is no value for anything: it fails like a bare word with nowhere to go.
    if (token[0] == '\0')
        return false;
    for (CCmdLineArg* argument : m_arguments) {
        if (!argument->IsPositional() || argument->IsGiven())
            continue;
        return argument->IsValidValue(token) && argument->SetValue(token);
    }
    return false;
}

bool CCmdLine::CheckExclusive()
{
    for (const ArgList& group : m_exclusiveGroups) {
        for (CCmdLineArg* first : group) {
            if (!first->IsGiven())
                continue;
            for (CCmdLineArg* other : group) {
                if (other != first && other->IsGiven()) {
                    m_exclusivePair = {first, other};
                    return false;
                }
            }
        }
    }
    return true;
}

bool CCmdLine::CheckDependencies()
{
    for (const auto& [prerequisite, dependents] : m_dependencies) {
        if (prerequisite->IsGiven())
            continue;
        for (CCmdLineArg* dependent : dependents) {
            if (dependent->IsGiven()) {
                m_dependencyPair = {prerequisite, dependent};
                return false;
            }
        }
    }
    return true;
}

bool CCmdLine::CheckRequired()
{
    for (CCmdLineArg* argument : m_arguments) {
        if (argument->IsRequired() && !argument->IsGiven()) {
            m_missingRequired = argument;
            return false;
        }
    }
    return true;
}

const char* CCmdLine::GetToken(uint32_t index) const
{
    if (m_tokens == nullptr || index > m_tokenCount)
        return nullptr;
    return m_tokens[index];
}

const char* CCmdLine::GetErrorText()
{
    // Parse stops at the first failure, so at most one record is set.
    m_error.Assign("");
    if (m_invalidToken != 0) {
        m_error.Assign("Invalid argument: ");
        m_error.Append(GetToken(m_invalidToken));
    } else if (m_exclusivePair.first != nullptr) {
        m_error.Assign("Exclusive arguments: ");
        m_error.Append(m_exclusivePair.first->GetName());
        m_error.Append(" and ");
        m_error.Append(m_exclusivePair.second->GetName());
    } else if (m_dependencyPair.first != nullptr) {
        m_error.Assign(m_dependencyPair.second->GetName());
        m_error.Append(" is invalid without ");
        m_error.Append(m_dependencyPair.first->GetName());
    } else if (m_missingRequired != nullptr) {
        m_error.Assign("Missing required argument: ");
        m_error.Append(m_missingRequired->GetName());
    }
    if (!m_error.IsEmpty())
        m_error.Append("\n\n");
    return m_error.GetText();
}

const char* CCmdLine::GetUsage(bool detailed)
{
    m_usage.Assign("");
    AppendSynopsis();
    if (detailed) {
        AppendNotes();
        AppendTable();
    }
    return m_usage.GetText();
}

void CCmdLine::AppendSynopsis()
{
    for (CCmdLineArg* argument : m_arguments) {
        if (!argument->IsRequired())
            m_usage.Append("[");
        if (argument->IsNamed()) {
            m_usage.Append("-");
            m_usage.Append(argument->GetName());
            if (argument->GetValuePlaceholder()[0] != '\0') {
                m_usage.Append("=");
                m_usage.Append(argument->GetValuePlaceholder());
            }
        } else {
            m_usage.Append("<");
            m_usage.Append(argument->GetName());
            m_usage.Append(">");
        }
        m_usage.Append(argument->GetValueChoices());
        if (!argument->IsRequired())
            m_usage.Append("]");
        m_usage.Append(" ");
    }
    m_usage.Append("\n");
}

void CCmdLine::AppendNotes()
{
    if (m_usageNotes.empty())
        return;
    m_usage.Append("\n");
    for (const CHeapString& note : m_usageNotes) {
        m_usage.Append(note);
        m_usage.Append("\n");
    }
}

size_t CCmdLine::TableNameWidth(const CCmdLineArg& argument)
{
    return std::strlen(argument.GetName()) + (argument.IsNamed() ? 1 : 0);
}

void CCmdLine::AppendTable()
{
    if (m_arguments.empty())
        return;
    size_t width = 0;
    for (const CCmdLineArg* argument : m_arguments)
        width = std::max(width, TableNameWidth(*argument));
    m_usage.Append("\n");
    CHeapString padding;
    for (const CCmdLineArg* argument : m_arguments) {
        if (argument->IsNamed())
            m_usage.Append("-");
        m_usage.Append(argument->GetName());
        // Two blanks after the widest name.
        const size_t blanks = width + 2 - TableNameWidth(*argument);
        std::memset(padding.Reserve(blanks), ' ', blanks);
        m_usage.Append(padding);
        m_usage.Append(argument->GetDescription());
        m_usage.Append("\n");
    }
}
