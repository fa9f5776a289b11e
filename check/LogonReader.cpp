#include "LogonReader.h"

#include "Account.h"
#include "LocalSecurity.h"
#include "OutOfMemory.h"
#include "Registry.h"
#include "WideText.h"
#include "WinlogonKeys.h"

#include <cstdlib>
#include <cstring>

namespace {

// A value's type and data as the registry keeps them. The data is wiped before it is freed: it may
// be the password.
class CRawValue
{
public:
    CRawValue(const CRegistryKey& key, const char* name)
    {
        const CWideText wideName(name);
        DWORD size = 0;
        m_status = key.IsOpen() ? RegQueryValueExW(key.GetHandle(), wideName, nullptr, &m_type, nullptr, &size)
                                : key.GetOpenStatus();
        if (!m_status)
            return;
        // Zeros after the data end a text that lacks its terminator, even one of an odd size. A value
        // that grew since its size was asked is not read.
        m_capacity = size + 4;
        m_data = static_cast<BYTE*>(AllocateOrStop(m_capacity, 1));
        std::memset(m_data, 0, m_capacity);
        m_size = size;
        m_status = RegQueryValueExW(key.GetHandle(), wideName, nullptr, &m_type, m_data, &m_size);
    }
    CRawValue(const CRawValue&) = delete;
    CRawValue& operator=(const CRawValue&) = delete;
    ~CRawValue()
    {
        if (m_data != nullptr)
            SecureZeroMemory(m_data, m_capacity);
        std::free(m_data);
    }

    // The UTF-16 text of a string type, ended by its first terminator; null for another type.
    const wchar_t* GetText() const
    {
        const bool text = m_status && (m_type == REG_SZ || m_type == REG_EXPAND_SZ || m_type == REG_MULTI_SZ);
        return text ? reinterpret_cast<const wchar_t*>(m_data) : nullptr;
    }
    size_t GetTextLength() const { return GetText() != nullptr ? lstrlenW(GetText()) : 0; }

    // As the judgement takes it: a REG_MULTI_SZ's strings on lines of their own, and half of a
    // surrogate pair as a stand-in.
    void Read(CValueRead& value) const
    {
        value.state = m_status                                   ? CValueRead::read
                      : m_status.GetCode() == ERROR_FILE_NOT_FOUND ? CValueRead::missing
                                                                   : CValueRead::unreadable;
        if (value.state == CValueRead::unreadable)
            m_status.AppendText(value.reason);
        if (value.state != CValueRead::read)
            return;
        value.type = m_type;
        if (m_type == REG_DWORD)
            std::memcpy(&value.number, m_data, m_size < 4 ? m_size : 4);
        if (GetText() == nullptr)
            return;
        if (m_type != REG_MULTI_SZ) {
            ToCodePage(CP_UTF8, 0, GetText(), value.text);
            return;
        }
        // The strings end at an empty one; a list never holds a password that is compared.
        auto* text = reinterpret_cast<wchar_t*>(m_data);
        size_t length = 0;
        for (; length < m_size / sizeof(wchar_t) && (text[length] != L'\0' || text[length + 1] != L'\0'); ++length)
            text[length] = text[length] == L'\0' ? L'\n' : text[length];
        ToCodePage(CP_UTF8, 0, text, value.text, static_cast<int>(length));
    }

private:
    CSystemStatus m_status;
    DWORD m_type = REG_NONE;
    BYTE* m_data = nullptr;
    DWORD m_capacity = 0;
    DWORD m_size = 0;
};

CRegistryKey OpenKey(const char* path)
{
    return CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, path);
}

} // namespace

void ReadLogonState(CLogonState& state)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    // From 100 ns ticks since 1601 to seconds since 1970.
    state.now = (static_cast<unsigned long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime) / 10000000 - 11644473600ULL;

    const CRegistryKey winlogon = OpenKey(winlogonPath);
    state.winlogonRead = winlogon.IsOpen();
    if (!state.winlogonRead) {
        winlogon.GetOpenStatus().AppendText(state.winlogonReason);
        return;
    }
    CRawValue(winlogon, autoAdminLogonValue).Read(state.autoAdminLogon);
    CRawValue(winlogon, userNameValue).Read(state.userName);
    CRawValue(winlogon, domainValue).Read(state.domain);
    CRawValue(winlogon, autoLogonCountValue).Read(state.autoLogonCount);
    const CRawValue password(winlogon, passwordValue);
    password.Read(state.password);

    const CRegistryKey policies = OpenKey(systemPoliciesPath);
    CRawValue(policies, legalNoticeCaptionValue).Read(state.caption);
    CRawValue(policies, legalNoticeTextValue).Read(state.message);
    const CSystemStatus entry = OpenKey(runOncePath).HasValue(reloadValueName);
    state.entry.state = entry ? CValueRead::read
                        : entry.GetCode() == ERROR_FILE_NOT_FOUND ? CValueRead::missing
                                                                 : CValueRead::unreadable;
    if (state.entry.state == CValueRead::unreadable)
        entry.AppendText(state.entry.reason);

    ReadComputer(state.computer);
    const CAskedAccount asked = AskedAccount(state);
    if (asked.where != CAskedAccount::none && asked.where != CAskedAccount::conflicting) {
        LookUpAccount(asked, state.lookup);
        if (state.lookup.answer == CAccountLookup::found)
            ReadAccountState(asked, state.lookup, state.account);
    }
    // The secret is compared with the registry's password only where that is a text Windows reads.
    const bool comparable = state.password.state == CValueRead::read && state.password.type == regSz;
    ComparePasswordSecret(comparable ? password.GetText() : nullptr, password.GetTextLength(), state.secret);
}
