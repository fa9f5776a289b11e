#include "LogonReader.h"

#include "Account.h"
#include "LocalSecurity.h"
#include "Registry.h"
#include "WideText.h"
#include "WinlogonKeys.h"

#include <cstring>

namespace {

// A value as the judgement takes it: a REG_MULTI_SZ's strings on lines of their own, and half of a
// surrogate pair as a stand-in.
void Read(const CRegistryData& data, CValueRead& value)
{
    value.state = data.GetStatus()                                   ? CValueRead::read
                  : data.GetStatus().GetCode() == ERROR_FILE_NOT_FOUND ? CValueRead::missing
                                                                       : CValueRead::unreadable;
    if (value.state == CValueRead::unreadable)
        data.GetStatus().AppendText(value.reason);
    if (value.state != CValueRead::read)
        return;
    value.type = data.GetType();
    if (data.GetType() == REG_DWORD)
        std::memcpy(&value.number, data.GetBytes(), data.GetSize() < 4 ? data.GetSize() : 4);
    // The strings of a list, up to the empty one that ends it, each on a line of its own.
    const wchar_t* end = reinterpret_cast<const wchar_t*>(data.GetBytes() + data.GetSize());
    for (const wchar_t* line = data.GetText(); line != nullptr;) {
        CHeapString text;
        ToCodePage(CP_UTF8, 0, line, text);
        value.text.Append(text);
        line += lstrlenW(line) + 1;
        if (data.GetType() != REG_MULTI_SZ || line >= end || *line == L'\0')
            break;
        value.text.Append("\n");
    }
}

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
    Read(CRegistryData(winlogon, autoAdminLogonValue), state.autoAdminLogon);
    Read(CRegistryData(winlogon, userNameValue), state.userName);
    Read(CRegistryData(winlogon, domainValue), state.domain);
    Read(CRegistryData(winlogon, autoLogonCountValue), state.autoLogonCount);
    const CRegistryData password(winlogon, passwordValue);
    Read(password, state.password);

    const CRegistryKey policies = OpenKey(systemPoliciesPath);
    Read(CRegistryData(policies, legalNoticeCaptionValue), state.caption);
    Read(CRegistryData(policies, legalNoticeTextValue), state.message);
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
        // An account of another domain than the one asked is a stop whatever its state.
        if (state.lookup.answer == CAccountLookup::found && FoundWhereAsked(state, asked))
            ReadAccountState(asked, state.lookup, state.account);
    }
    // The secret is compared with the registry's password only where that is a text Windows reads.
    const bool comparable = state.password.state == CValueRead::read && state.password.type == regSz;
    ComparePasswordSecret(comparable ? password.GetText() : nullptr, comparable ? lstrlenW(password.GetText()) : 0,
                          state.secret);
}
