#include "Process.h"
#include "ReadOnlyKey.h"
#include "Registry.h"
#include "RegistryState.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const scratchPath = "Software\\TollveyTest";
const char* const scratchSubkeyPath = "Software\\TollveyTest\\Ωmega 山";

// A key of the tests' own, made in the 64-bit view only: on 64-bit Windows, if OpenKey looked in the
// redirected 32-bit view it would not find it.
class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RemoveScratchKeys();
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Utf16(scratchPath).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        ASSERT_EQ(KeyExists(scratchPath, KEY_WOW64_32KEY), !Is64BitWindows()) << "the 32-bit view";
    }
    void TearDown() override { RemoveScratchKeys(); }
    static void RemoveScratchKeys()
    {
        RemoveKey(scratchSubkeyPath, KEY_WOW64_64KEY);
        RemoveKey(scratchPath, KEY_WOW64_64KEY);
    }

    CRegistryKey Open() { return CRegistry::Instance().OpenKey(2, scratchPath); }
    void Store(const char* name, DWORD type, const std::string& data)
    {
        ASSERT_TRUE(WriteValue(scratchPath, {name, type, data}, KEY_WOW64_64KEY)) << name;
    }
};

TEST_F(RegistryTest, OpenKeyOpensExistingKeysOnlyAndSaysWhyNot)
{
    struct Case
    {
        int root;
        const char* path;
        unsigned long status;
    };
    HKEY subkey = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Utf16(scratchSubkeyPath).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &subkey, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(subkey);
    const Case cases[] = {
        {2, scratchPath, ERROR_SUCCESS},
        {2, scratchSubkeyPath, ERROR_SUCCESS},
        {2, "Software\\TollveyTest\\Missing", ERROR_FILE_NOT_FOUND},
        {1, "Software", ERROR_SUCCESS},
        {4, scratchPath, ERROR_INVALID_HANDLE},
        {-1, scratchPath, ERROR_INVALID_HANDLE},
    };
    for (const Case& c : cases) {
        const CRegistryKey key = CRegistry::Instance().OpenKey(c.root, c.path);
        EXPECT_EQ(key.IsOpen(), c.status == ERROR_SUCCESS) << "root " << c.root << ", " << c.path;
        EXPECT_EQ(key.GetOpenStatus().GetCode(), c.status) << "root " << c.root << ", " << c.path;
    }
    EXPECT_FALSE(KeyExists("Software\\TollveyTest\\Missing", KEY_WOW64_64KEY))
        << "a missing key must not be created";
}

TEST_F(RegistryTest, WriteStringStoresRegSzWithItsTerminatorInTheSixtyFourBitView)
{
    struct Case
    {
        const char* label;
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {"ASCII", "Name", "text"},
        {"empty", "Name", ""},
        {"every language", "Name", "José Ωmega Дмитрий 山田 𝒜😀"},
        {"a name outside ASCII", "Námé Ω", "x"},
    };
    CRegistryKey key = Open();
    ASSERT_TRUE(key.IsOpen());
    for (const Case& c : cases) {
        ASSERT_TRUE(key.WriteString(c.name, c.text)) << c.label;
        const auto value = ReadValue(scratchPath, c.name, KEY_WOW64_64KEY);
        ASSERT_TRUE(value) << c.label;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << c.label;
        EXPECT_EQ(value->data, TextValue(c.name, c.text).data) << c.label << ": UTF-16, terminator stored";
        EXPECT_EQ(ReadText(scratchPath, c.name, KEY_WOW64_32KEY), Expected32BitView(c.text))
            << c.label << " in the 32-bit view";
    }
}

// What each read gives is told natively (ValueReadTest.cpp); here, that Windows' answers reach it:
// the data of a name outside ASCII, and Windows' own words for a read it refused.
TEST_F(RegistryTest, ReadTakesWhatTheRegistryHoldsWithWindowsReason)
{
    Store("Ωmega 山", REG_SZ, TextValue("", "José Дмитрий 山田 𝒜😀").data);
    CValueRead value;
    Open().Read("Ωmega 山", value);
    EXPECT_STREQ(value.text.GetText(), "José Дмитрий 山田 𝒜😀");
    const CReadOnlyKey unreadable(scratchPath, KEY_WOW64_64KEY, "D:P");
    Open().Read("Ωmega 山", value);
    EXPECT_EQ(value.state, CValueRead::unreadable) << value.reason.GetText();
    EXPECT_STREQ(value.reason.GetText(), "Access denied (error 5)");
}

TEST_F(RegistryTest, DeleteValueReportsWhetherOneWasDeleted)
{
    CRegistryKey key = Open();
    for (const char* name : {"Value", "Ωmega 山"}) {
        Store(name, REG_SZ, TextValue(name, "x").data);
        EXPECT_TRUE(key.DeleteValue(name)) << name;
        EXPECT_FALSE(ReadValue(scratchPath, name, KEY_WOW64_64KEY)) << name;
        EXPECT_EQ(key.DeleteValue(name).GetCode(), ERROR_FILE_NOT_FOUND) << name << ": nothing left to delete";
    }
}

TEST_F(RegistryTest, ReadOnlyKeyStillOpensAndReadsButRefusesChanges)
{
    Store("Value", REG_SZ, TextValue("Value", "kept").data);
    CReadOnlyKey readOnly(scratchPath, KEY_WOW64_64KEY);
    ASSERT_TRUE(readOnly.IsApplied());
    const CRegistryKey key = Open();
    ASSERT_TRUE(key.IsOpen()) << "a caller without write rights still opens the key";
    CValueRead read;
    key.Read("Value", read);
    EXPECT_STREQ(read.text.GetText(), "kept");
    struct Case
    {
        const char* label;
        CSystemStatus (*change)(CRegistryKey& key);
    };
    const Case cases[] = {
        {"overwrite", [](CRegistryKey& k) { return k.WriteString("Value", "changed"); }},
        {"new value", [](CRegistryKey& k) { return k.WriteString("New", "x"); }},
        {"delete", [](CRegistryKey& k) { return k.DeleteValue("Value"); }},
    };
    for (const Case& c : cases) {
        CRegistryKey fresh = Open();
        EXPECT_EQ(c.change(fresh).GetCode(), ERROR_ACCESS_DENIED) << c.label;
    }
    const auto value = ReadValue(scratchPath, "Value", KEY_WOW64_64KEY);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, TextValue("Value", "kept").data);
}

// A key that did not open, one closed, one moved from and one deleted under it each answer every call
// with why it cannot be made, and never with success.
TEST_F(RegistryTest, EveryCallOnAKeyWithoutAHandleSaysWhy)
{
    struct Case
    {
        const char* label;
        CRegistryKey (*make)();
        unsigned long status;
    };
    const Case cases[] = {
        {"missing key", [] { return CRegistry::Instance().OpenKey(2, "Software\\TollveyTest\\Missing"); },
         ERROR_FILE_NOT_FOUND},
        {"closed key",
         [] {
             CRegistryKey key = CRegistry::Instance().OpenKey(2, scratchPath);
             static_cast<void>(key.Close());
             return key;
         },
         ERROR_INVALID_HANDLE},
        {"moved from",
         [] {
             CRegistryKey key = CRegistry::Instance().OpenKey(2, scratchPath);
             const CRegistryKey owner = std::move(key);
             return key;
         },
         ERROR_INVALID_HANDLE},
        {"deleted while open",
         [] {
             CRegistryKey key = CRegistry::Instance().OpenKey(2, scratchPath);
             RemoveKey(scratchPath, KEY_WOW64_64KEY);
             return key;
         },
         ERROR_KEY_DELETED},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(CreateKey(scratchPath, KEY_WOW64_64KEY)) << c.label;
        Store("Value", REG_SZ, TextValue("Value", "kept").data);
        CRegistryKey key = c.make();
        CValueRead value;
        EXPECT_EQ(key.WriteString("Value", "x").GetCode(), c.status) << c.label << ": write";
        EXPECT_EQ(key.DeleteValue("Value").GetCode(), c.status) << c.label << ": delete";
        key.Read("Value", value);
        // A key that is not there holds no values.
        EXPECT_EQ(value.state == CValueRead::missing ? ERROR_FILE_NOT_FOUND : value.status, c.status)
            << c.label << ": read";
    }
}

TEST_F(RegistryTest, CreateKeyMakesAMissingKeyInTheSixtyFourBitView)
{
    for (const char* path : {scratchSubkeyPath, scratchPath}) {
        CRegistryKey key = CRegistry::Instance().CreateKey(2, path);
        ASSERT_TRUE(key.IsOpen()) << path;
        EXPECT_TRUE(key.WriteString("Value", "x")) << path;
        EXPECT_EQ(ReadText(path, "Value", KEY_WOW64_64KEY), "x") << path;
        EXPECT_EQ(KeyExists(path, KEY_WOW64_32KEY), !Is64BitWindows()) << path << " in the 32-bit view";
    }
}

TEST_F(RegistryTest, CloseGivesUpTheHandle)
{
    CRegistryKey key = Open();
    ASSERT_TRUE(key.WriteString("Name", "x"));
    EXPECT_TRUE(key.Close());
    EXPECT_EQ(key.GetHandle(), nullptr) << "nothing left for the destructor to close";
    EXPECT_EQ(key.Close().GetCode(), ERROR_INVALID_HANDLE) << "closed once only";
}

} // namespace
