// Puts the Winlogon and RunOnce keys back as they were after each test, and starts each test
// with none of the store's values present, in either view. For gtest programs only.
#pragma once

#include "RegistryState.h"

#include <gtest/gtest.h>

#include <string>

const char* const storeValueNames[] = {"AutoAdminLogon", "DefaultUserName", "DefaultPassword",
                                       "DefaultDomainName"};

class CWinlogonFixture : public ::testing::Test
{
protected:
    CWinlogonFixture() : m_snapshot({winlogonKeyPath, runOnceKeyPath}) {}

    void SetUp() override
    {
        for (RegistryView view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            for (const char* name : storeValueNames)
                RemoveValue(winlogonKeyPath, name, view);
            RemoveValue(runOnceKeyPath, "Tollvey", view);
        }
    }

    // The data in the 64-bit view, or "<missing>".
    static std::string Winlogon(const char* name)
    {
        const auto value = ReadValue(winlogonKeyPath, name, KEY_WOW64_64KEY);
        return value ? value->data : "<missing>";
    }
    static std::string Entry()
    {
        const auto value = ReadValue(runOnceKeyPath, "Tollvey", KEY_WOW64_64KEY);
        return value ? value->data : "<missing>";
    }
    // REG_SZ data as the store writes it: the text and its terminator.
    static std::string Sz(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

private:
    CRegistrySnapshot m_snapshot;
};
