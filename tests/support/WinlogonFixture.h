// Puts the Winlogon and RunOnce keys back as they were after each test, and starts each test
// with none of the store's values present, in any view. For gtest programs only.
#pragma once

#include "RegistryState.h"

#include <gtest/gtest.h>

#include <string>

const char* const storeValueNames[] = {autoAdminLogonValue, userNameValue, passwordValue, domainValue};

class CWinlogonFixture : public ::testing::Test
{
protected:
    CWinlogonFixture() : m_snapshot({winlogonPath, runOncePath}) {}

    void SetUp() override
    {
        ASSERT_TRUE(m_snapshot.IsTaken()) << "the keys, to be put back after the test";
        ResetValues();
    }

    // Removes the store's values and the start-up entry, in every view.
    static void ResetValues()
    {
        for (RegistryView view : Views()) {
            for (const char* name : storeValueNames)
                RemoveValue(winlogonPath, name, view);
            RemoveValue(runOncePath, reloadValueName, view);
        }
    }

    // The text in the 64-bit view, as ReadText gives it.
    static std::string Winlogon(const char* name) { return ReadText(winlogonPath, name, KEY_WOW64_64KEY); }
    static std::string Entry() { return ReadText(runOncePath, reloadValueName, KEY_WOW64_64KEY); }

private:
    CRegistrySnapshot m_snapshot;
};
