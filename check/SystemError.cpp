#include "SystemError.h"

#include "WideText.h"

#include <windows.h>

void AppendDecimal(unsigned long number, CHeapString& text)
{
    char digits[24];
    char* first = digits + sizeof digits - 1;
    *first = '\0';
    do {
        *--first = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    text.Append(first);
}

void AppendErrorText(unsigned long code, CHeapString& text)
{
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    if (length != 0) {
        // The message is a sentence on a line of its own; here it goes inside a line.
        DWORD end = length;
        while (end > 0 && (message[end - 1] == L'\r' || message[end - 1] == L'\n' ||
                           message[end - 1] == L' ' || message[end - 1] == L'.'))
            --end;
        CHeapString description;
        ToCodePage(CP_UTF8, 0, message, description, static_cast<int>(end));
        text.Append(description);
        text.Append(" ");
    }
    LocalFree(message);
    text.Append("(error ");
    AppendDecimal(code, text);
    text.Append(")");
}
