#include "ReloadCommand.h"

#include "WideText.h"

#include <cstring>

namespace {

bool NeedsQuotes(const char* argument, const char* specials)
{
    return std::strpbrk(argument, specials) != nullptr;
}

void AppendBackslashes(size_t count, CHeapString& command)
{
    for (size_t i = 0; i < count; ++i)
        command.Append("\\");
}

void AppendOption(const char* option, const char* value, CHeapString& command)
{
    if (value[0] == '\0')
        return;
    CHeapString argument(option);
    argument.Append(value);
    command.Append(" ");
    AppendQuotedArgument(argument.GetText(), command);
}

} // namespace

void AppendQuotedArgument(const char* argument, CHeapString& command)
{
    if (!NeedsQuotes(argument, " \t\n\v\"")) {
        command.Append(argument);
        return;
    }
    // Backslashes are literal except in a run that ends at a double quote, where each pair gives
    // one backslash; so such runs are doubled, and the quote itself gets one more.
    command.Append("\"");
    size_t backslashes = 0;
    for (const char* p = argument;; ++p) {
        if (*p == '\\') {
            ++backslashes;
            continue;
        }
        if (*p == '\0') {
            AppendBackslashes(backslashes * 2, command);
            break;
        }
        AppendBackslashes(*p == '"' ? backslashes * 2 + 1 : backslashes, command);
        const char character[2] = {*p, '\0'};
        command.Append(character);
        backslashes = 0;
    }
    command.Append("\"");
}

size_t ReloadCommandLength(const char* command)
{
    return CWideText(command).GetLength();
}

void BuildReloadCommand(const char* directory, const char* userName, const char* password,
                        const char* domain, CHeapString& command)
{
    CHeapString path(directory);
    path.Append("Tollvey.exe");
    // A path cannot hold a double quote, so enclosing it is all the quoting it needs; unquoted,
    // a path with a blank could start another program (C:\Program.exe).
    const char* quote = NeedsQuotes(path.GetText(), " \t") ? "\"" : "";
    command.Assign(quote);
    command.Append(path);
    command.Append(quote);

    AppendOption("-u=", userName, command);
    AppendOption("-p=", password, command);
    // The parser skips one "=" or ":" after the option letter, so a domain that starts with one
    // needs the separator written out.
    AppendOption(domain[0] == '=' || domain[0] == ':' ? "-d=" : "-d", domain, command);
}
