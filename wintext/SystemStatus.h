// CSystemStatus: what Windows answered to one call, ERROR_SUCCESS or the error that says why it
// failed, and the words Windows has for it.
#pragma once

#include "HeapString.h"

class CSystemStatus
{
public:
    // ERROR_SUCCESS.
    CSystemStatus() = default;
    // A Win32 error code, as the registry functions return it and GetLastError gives it. Explicit:
    // a number, or worse a bool, never passes for a status by accident.
    explicit CSystemStatus(unsigned long code) : m_code(code) {}

    // True for ERROR_SUCCESS.
    explicit operator bool() const { return m_code == 0; }
    unsigned long GetCode() const { return m_code; }

    // Windows' own message for the error, then its number, inside a line: "Access is denied (error 5)".
    void AppendText(CHeapString& text) const;

private:
    unsigned long m_code = 0;
};
