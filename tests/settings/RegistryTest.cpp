#include "ReadOnlyKey.h"
#include "Registry.h"
#include "RegistryState.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const scratchPath = "Software\\TollveyTest";

// A key of the tests' own, made in the 64-bit view only: on 64-bit Windows, if OpenKey looked in the
// redirected 32-bit view it would not find it.
class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RemoveKey(scratchPath, KEY_WOW64_64KEY);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, scratchPath, 0, nullptr, 0,
                                  KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        ASSERT_EQ(KeyExists(scratchPath, KEY_WOW64_32KEY), !Is64BitWindows()) << "the 32-bit view";
    }
    void TearDown() override { RemoveKey(scratchPath, KEY_WOW64_64KEY); }

    std::unique_ptr<CRegistryKey> Open() { return CRegistry::Instance().OpenKey(2, scratchPath); }
    void Store(const char* name, DWORD type, const std::string& data)
    {
        ASSERT_TRUE(WriteValue(scratchPath, {name, type, data}, KEY_WOW64_64KEY)) << name;
    }
};

TEST_F(RegistryTest, OpenKeyOpensExistingKeysOnly)
{
    struct Case
    {
        int root;
        const char* path;
        bool opens;
    };
    const Case cases[] = {
        {2, scratchPath, true},
        {2, "Software\\TollveyTest\\Missing", false},
        {1, "Software", true},
        {4, scratchPath, false},
        {-1, scratchPath, false},
    };
    for (const Case& c : cases) {
        const auto key = CRegistry::Instance().OpenKey(c.root, c.path);
        EXPECT_EQ(key != nullptr, c.opens) << "root " << c.root << ", " << c.path;
    }
    EXPECT_FALSE(KeyExists("Software\\TollveyTest\\Missing", KEY_WOW64_64KEY))
        << "a missing key must not be created";
}

TEST_F(RegistryTest, WriteStringStoresRegSzWithItsTerminatorInTheSixtyFourBitView)
{
    struct Case
    {
        const char* text;
        std::string data;
    };
    const Case cases[] = {{"text", std::string("text", 5)}, {"", std::string(1, '\0')}};
    auto key = Open();
    ASSERT_TRUE(key);
    for (const Case& c : cases) {
        ASSERT_TRUE(key->WriteString("Name", c.text)) << "\"" << c.text << "\"";
        const auto value = ReadValue(scratchPath, "Name", KEY_WOW64_64KEY);
        ASSERT_TRUE(value) << "\"" << c.text << "\"";
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << "\"" << c.text << "\"";
        EXPECT_EQ(value->data, c.data) << "\"" << c.text << "\": the terminator is stored";
        EXPECT_EQ(ReadText(scratchPath, "Name", KEY_WOW64_32KEY), Expected32BitView(c.text))
            << "\"" << c.text << "\" in the 32-bit view";
    }
}

TEST_F(RegistryTest, ReadStringTakesAnyTypeAsTextButSucceedsOnlyForRegSz)
{
    struct Case
    {
        const char* label;
        DWORD type;
        std::string data;
        bool result;
        const char* text;
    };
    const Case cases[] = {
        {"REG_SZ", REG_SZ, std::string("alice", 6), true, "alice"},
        {"empty REG_SZ", REG_SZ, std::string(1, '\0'), true, ""},
        {"REG_SZ without terminator", REG_SZ, "abc", true, "abc"},
        {"REG_SZ with inner zero", REG_SZ, std::string("ab\0cd", 6), true, "ab"},
        {"REG_EXPAND_SZ unexpanded", REG_EXPAND_SZ, std::string("%SystemRoot%\\x", 15), false,
         "%SystemRoot%\\x"},
        {"REG_BINARY without terminator", REG_BINARY, "xyz", false, "xyz"},
        {"empty REG_BINARY", REG_BINARY, "", false, ""},
        {"REG_DWORD", REG_DWORD, std::string("abc\0", 4), false, "abc"},
        {"REG_DWORD without zero byte", REG_DWORD, "1234", false, "1234"},
    };
    auto key = Open();
    ASSERT_TRUE(key);
    for (const Case& c : cases) {
        Store("Value", c.type, c.data);
        CHeapString target("before");
        EXPECT_EQ(key->ReadString("Value", target), c.result) << c.label;
        EXPECT_STREQ(target.GetText(), c.text) << c.label;
    }
}

TEST_F(RegistryTest, ReadStringOfMissingValueLeavesTargetAlone)
{
    auto key = Open();
    ASSERT_TRUE(key);
    CHeapString target("before");
    EXPECT_FALSE(key->ReadString("Missing", target));
    EXPECT_STREQ(target.GetText(), "before");
}

TEST_F(RegistryTest, QueryValueSizeIsDataSizePlusOne)
{
    struct Case
    {
        const char* label;
        DWORD type;
        std::string data;
        DWORD size;
    };
    const Case cases[] = {
        {"REG_SZ", REG_SZ, std::string("alice", 6), 7},
        {"REG_BINARY", REG_BINARY, "xyz", 4},
        {"empty REG_BINARY", REG_BINARY, "", 1},
        {"REG_DWORD", REG_DWORD, std::string(4, '\1'), 5},
    };
    auto key = Open();
    ASSERT_TRUE(key);
    for (const Case& c : cases) {
        Store("Value", c.type, c.data);
        DWORD size = 0;
        EXPECT_TRUE(key->QueryValueSize("Value", size)) << c.label;
        EXPECT_EQ(size, c.size) << c.label;
    }
    DWORD untouched = 42;
    EXPECT_FALSE(key->QueryValueSize("Missing", untouched));
    EXPECT_EQ(untouched, 42u) << "a missing value leaves the size alone";
}

TEST_F(RegistryTest, DeleteValueReportsWhetherOneWasDeleted)
{
    Store("Value", REG_SZ, std::string("x", 2));
    auto key = Open();
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->DeleteValue("Value"));
    EXPECT_FALSE(ReadValue(scratchPath, "Value", KEY_WOW64_64KEY));
    EXPECT_FALSE(key->DeleteValue("Value")) << "nothing left to delete";
}

TEST_F(RegistryTest, ReadOnlyKeyStillOpensAndReadsButRefusesChanges)
{
    Store("Value", REG_SZ, std::string("kept", 5));
    CReadOnlyKey readOnly(scratchPath, KEY_WOW64_64KEY);
    ASSERT_TRUE(readOnly.IsApplied());
    auto key = Open();
    ASSERT_TRUE(key) << "a caller without write rights still opens the key";
    CHeapString text;
    EXPECT_TRUE(key->ReadString("Value", text));
    EXPECT_STREQ(text.GetText(), "kept");
    EXPECT_FALSE(key->WriteString("Value", "changed"));
    EXPECT_FALSE(key->WriteString("New", "x"));
    EXPECT_FALSE(key->DeleteValue("Value"));
    const auto value = ReadValue(scratchPath, "Value", KEY_WOW64_64KEY);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, std::string("kept", 5));
}

TEST_F(RegistryTest, CloseKeyGivesUpTheHandle)
{
    auto key = Open();
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->WriteString("Name", "x"));
    EXPECT_TRUE(CRegistry::Instance().CloseKey(*key));
    EXPECT_EQ(key->GetHandle(), nullptr) << "nothing left for the destructor to close";
    EXPECT_FALSE(key->WriteString("Name", "y")) << "a closed key writes nothing";
}

} // namespace
