#include "ReloadCommand.h"

#include <windows.h>

#include <cstring>

namespace {

bool NeedsQuotes(const char* argument, const char* specials)
{
    return std::strpbrk(argument, specials) != nullptr;
}

// One character: a byte, or both bytes of a double-byte character.
void AppendCharacter(const char* character, size_t length, CHeapString& command)
{
    const char text[3] = {character[0], length == 2 ? character[1] : '\0', '\0'};
    command.Append(text);
}

void AppendBackslashes(size_t count, CHeapString& command)
{
    for (size_t i = 0; i < count; ++i)
        command.Append("\\");
}

void AppendOption(const char* option, const char* value, unsigned codePage, CHeapString& command)
{
    if (value[0] == '\0')
        return;
    CHeapString argument(option);
    argument.Append(value);
    command.Append(" ");
    AppendQuotedArgument(argument.GetText(), command, codePage);
}

} // namespace

void AppendQuotedArgument(const char* argument, CHeapString& command, unsigned codePage)
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
        if (*p == '"') {
            AppendBackslashes(backslashes * 2 + 1, command);
        } else {
            AppendBackslashes(backslashes, command);
        }
        // The C runtime reads a double-byte character as one, so its second byte is never a
        // backslash, even where it is 0x5C.
        const size_t length =
            IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*p)) && p[1] != '\0' ? 2 : 1;
        AppendCharacter(p, length, command);
        p += length - 1;
        backslashes = 0;
    }
    command.Append("\"");
}

size_t ReloadCommandLength(const char* command, unsigned codePage)
{
    const int units = MultiByteToWideChar(codePage, 0, command, -1, nullptr, 0);
    return units > 0 ? static_cast<size_t>(units - 1) : 0;
}

void BuildReloadCommand(const char* directory, const char* userName, const char* password,
                        const char* domain, CHeapString& command, unsigned codePage)
{
    CHeapString path(directory);
    path.Append("Tollvey.exe");
    // A path cannot hold a double quote, so enclosing it is all the quoting it needs; unquoted,
    // a path with a blank could start another program (C:\Program.exe).
    if (NeedsQuotes(path.GetText(), " \t")) {
        command.Assign("\"");
        command.Append(path);
        command.Append("\"");
    } else {
        command.Assign(path.GetText());
    }

    AppendOption("-u=", userName, codePage, command);
    AppendOption("-p=", password, codePage, command);
    // The parser skips one "=" or ":" after the option letter, so a domain that starts with one
    // needs the separator written out.
    AppendOption(domain[0] == '=' || domain[0] == ':' ? "-d=" : "-d", domain, codePage, command);
}
