#include "SystemStatus.h"

#include "WideText.h"

#include <windows.h>

void CSystemStatus::AppendText(CHeapString& text) const
{
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, m_code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
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
    text.AppendDecimal(m_code);
    text.Append(")");
}
