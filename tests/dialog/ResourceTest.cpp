// Reads the resources back from the built Tollvey.exe, loaded as a data file, field by field.
#include "Process.h"
#include "Resource.h"
#include "framework/DataExchange.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Walks a classic dialog template in the order its fields are stored.
class CTemplateReader
{
public:
    CTemplateReader(const BYTE* data, size_t size) : m_data(data), m_size(size), m_pos(0) {}

    WORD Word()
    {
        const BYTE* p = Take(2);
        return static_cast<WORD>(p[0] | p[1] << 8);
    }
    DWORD Dword()
    {
        const DWORD low = Word();
        return low | static_cast<DWORD>(Word()) << 16;
    }
    short Short() { return static_cast<short>(Word()); }

    // A name or an ordinal; ordinals read as "#" and the number.
    std::string NameOrOrdinal()
    {
        if (Peek() == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }

    // UTF-16 up to its NUL, narrowed: every text here is ASCII.
    std::string Text()
    {
        std::string text;
        for (WORD c = Word(); c != 0; c = Word())
            text += static_cast<char>(c);
        return text;
    }

    void AlignToDword() { m_pos = (m_pos + 3) & ~static_cast<size_t>(3); }
    bool Overran() const { return m_overran; }

private:
    WORD Peek() const
    {
        return m_pos + 2 <= m_size ? static_cast<WORD>(m_data[m_pos] | m_data[m_pos + 1] << 8) : 0;
    }
    // Past the end it reads zeros and remembers the overrun.
    const BYTE* Take(size_t n)
    {
        static const BYTE zeros[2] = {};
        if (m_pos + n > m_size) {
            m_overran = true;
            m_pos = m_size;
            return zeros;
        }
        const BYTE* at = m_data + m_pos;
        m_pos += n;
        return at;
    }

    const BYTE* m_data;
    size_t m_size;
    size_t m_pos;
    bool m_overran = false;
};

struct CControl
{
    const char* what;
    std::string className;
    int id;
    std::string text;
    short x, y, cx, cy;
    DWORD style;
};

const CControl expectedControls[] = {
    {"user name box", "#129", IDC_USERNAME, "", 75, 5, 95, 14, 0x50810080},
    {"password box", "#129", IDC_PASSWORD, "", 75, 20, 95, 14, 0x508100A0},
    {"domain box", "#129", IDC_DOMAIN, "", 75, 35, 95, 14, 0x50810080},
    {"reload check box", "#128", IDC_RELOAD, "Reload on every startup", 10, 55, 91, 10, 0x50010003},
    {"OK button", "#128", IDOK, "OK", 180, 5, 55, 15, 0x50010001},
    {"Cancel button", "#128", IDCANCEL, "Cancel", 180, 25, 55, 15, 0x50010000},
    {"Username label", "#130", 0xFFFF, "Username", 10, 5, 33, 8, 0x50020000},
    {"Domain label", "#130", 0xFFFF, "Domain", 10, 35, 25, 8, 0x50020000},
    {"Password label", "#130", 0xFFFF, "Password", 10, 20, 32, 8, 0x50020000},
};

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list)
{
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list)
{
    reinterpret_cast<std::vector<std::string>*>(list)->push_back(
        IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name);
    return TRUE;
}

class CResourceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_module = LoadLibraryExA(WindowsPath(TOLLVEY_EXE_UNIX_PATH).c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(s_module); }

    void SetUp() override { ASSERT_NE(s_module, nullptr) << "Tollvey.exe loads as a data file"; }

    // The resource's bytes in the given language; empty when it is missing.
    static std::vector<BYTE> Resource(LPCSTR type, LPCSTR name, WORD language = english)
    {
        HRSRC found = FindResourceExA(s_module, type, name, language);
        if (found == nullptr)
            return {};
        const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(s_module, found)));
        return std::vector<BYTE>(data, data + SizeofResource(s_module, found));
    }

    static std::vector<WORD> Languages(LPCSTR type, LPCSTR name)
    {
        std::vector<WORD> languages;
        EnumResourceLanguagesA(s_module, type, name, AddLanguage, reinterpret_cast<LONG_PTR>(&languages));
        return languages;
    }

    static std::vector<std::string> Names(LPCSTR type)
    {
        std::vector<std::string> names;
        EnumResourceNamesA(s_module, type, AddName, reinterpret_cast<LONG_PTR>(&names));
        return names;
    }

    static HMODULE s_module;
};

HMODULE CResourceTest::s_module = nullptr;

TEST_F(CResourceTest, DialogTemplateHeader)
{
    EXPECT_EQ(Languages(RT_DIALOG, MAKEINTRESOURCEA(IDD_TOLLVEY)), std::vector<WORD>{english}) << "template 101 language";
    const std::vector<BYTE> data = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_TOLLVEY));
    ASSERT_FALSE(data.empty()) << "template 101 in language 1033";
    CTemplateReader reader(data.data(), data.size());

    const DWORD style = reader.Dword();
    EXPECT_NE(style, 0xFFFF0001u) << "classic template, not the extended form";
    EXPECT_EQ(style, 0x80C800C0u) << "template style";
    EXPECT_EQ(reader.Dword(), 0u) << "template extended style";
    EXPECT_EQ(reader.Word(), 9) << "control count";
    EXPECT_EQ(reader.Short(), 0) << "template x";
    EXPECT_EQ(reader.Short(), 0) << "template y";
    EXPECT_EQ(reader.Short(), 242) << "template width";
    EXPECT_EQ(reader.Short(), 71) << "template height";
    EXPECT_EQ(reader.NameOrOrdinal(), "") << "template menu";
    EXPECT_EQ(reader.NameOrOrdinal(), "") << "template window class";
    EXPECT_EQ(reader.Text(), "Tollvey") << "template caption";
    EXPECT_EQ(reader.Word(), 8) << "font point size";
    EXPECT_EQ(reader.Text(), "MS Sans Serif") << "font face";
    EXPECT_FALSE(reader.Overran()) << "template header fits in the resource";
}

TEST_F(CResourceTest, DialogControlsInTabOrder)
{
    const std::vector<BYTE> data = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_TOLLVEY));
    ASSERT_FALSE(data.empty()) << "template 101 in language 1033";
    CTemplateReader reader(data.data(), data.size());
    reader.Dword();
    reader.Dword();
    const WORD count = reader.Word();
    ASSERT_EQ(count, std::size(expectedControls)) << "control count";
    for (int i = 0; i < 4; ++i)
        reader.Short();
    reader.NameOrOrdinal();
    reader.NameOrOrdinal();
    reader.Text();
    reader.Word();
    reader.Text();

    for (const CControl& expected : expectedControls) {
        SCOPED_TRACE(expected.what);
        reader.AlignToDword();
        EXPECT_EQ(reader.Dword(), expected.style) << "style";
        EXPECT_EQ(reader.Dword(), 0u) << "extended style";
        EXPECT_EQ(reader.Short(), expected.x) << "x";
        EXPECT_EQ(reader.Short(), expected.y) << "y";
        EXPECT_EQ(reader.Short(), expected.cx) << "width";
        EXPECT_EQ(reader.Short(), expected.cy) << "height";
        EXPECT_EQ(reader.Word(), expected.id) << "id";
        EXPECT_EQ(reader.NameOrOrdinal(), expected.className) << "class (128 button, 129 edit, 130 static)";
        EXPECT_EQ(reader.NameOrOrdinal(), expected.text) << "text";
        EXPECT_EQ(reader.Word(), 0) << "creation data length";
    }
    EXPECT_FALSE(reader.Overran()) << "controls fit in the resource";
}

// A block holds sixteen strings, ids 16 * (block - 1) to 16 * block - 1.
TEST_F(CResourceTest, StringTableHoldsTheConfirmationAndTheBoxesNames)
{
    EXPECT_EQ(Names(RT_STRING), (std::vector<std::string>{"#1", "#63"})) << "ids 0 to 15 (so no title string), 992 to 1007";
    struct Block
    {
        int number;
        std::map<int, std::string> strings; // the others are empty
    };
    const Block blocks[] = {
        {1, {{IDS_SAVED, "Tollvey values saved."}}},
        {63, {{IDC_RELOAD, "Reload on every startup"}, {IDC_USERNAME, "Username"}, {IDC_DOMAIN, "Domain"},
              {IDC_PASSWORD, "Password"}}},
    };
    for (const Block& block : blocks) {
        EXPECT_EQ(Languages(RT_STRING, MAKEINTRESOURCEA(block.number)), std::vector<WORD>{english})
            << "string block " << block.number << " language";
        const std::vector<BYTE> data = Resource(RT_STRING, MAKEINTRESOURCEA(block.number));
        ASSERT_FALSE(data.empty()) << "string block " << block.number << " in language 1033";
        CTemplateReader reader(data.data(), data.size());
        for (int id = 16 * (block.number - 1); id < 16 * block.number; ++id) {
            std::string text;
            for (WORD length = reader.Word(); length != 0; --length)
                text += static_cast<char>(reader.Word());
            const auto expected = block.strings.find(id);
            EXPECT_EQ(text, expected != block.strings.end() ? expected->second : "") << "string " << id;
        }
        EXPECT_FALSE(reader.Overran()) << "sixteen entries fit in block " << block.number;
    }
}

TEST_F(CResourceTest, IconGroupHasOneSixteenColourImage)
{
    EXPECT_EQ(Names(RT_GROUP_ICON), std::vector<std::string>{"#102"}) << "icon groups";
    const std::vector<BYTE> group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(102));
    ASSERT_EQ(group.size(), 6u + 14u) << "group header and one entry";
    CTemplateReader reader(group.data(), group.size());
    EXPECT_EQ(reader.Word(), 0) << "reserved";
    EXPECT_EQ(reader.Word(), 1) << "type icon";
    EXPECT_EQ(reader.Word(), 1) << "image count";
    const WORD widthHeight = reader.Word();
    EXPECT_EQ(widthHeight & 0xFF, 32) << "width";
    EXPECT_EQ(widthHeight >> 8, 32) << "height";
    EXPECT_EQ(reader.Word() & 0xFF, 16) << "colour count";
    EXPECT_EQ(reader.Word(), 1) << "planes";
    EXPECT_EQ(reader.Word(), 4) << "bits per pixel";
    EXPECT_EQ(reader.Dword(), 744u) << "image length in the group";
    EXPECT_EQ(reader.Word(), 1) << "image id";

    const std::vector<BYTE> image = Resource(RT_ICON, MAKEINTRESOURCEA(1));
    ASSERT_EQ(image.size(), 744u) << "icon 1 length";
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 32) << "image width";
    EXPECT_EQ(header.biHeight, 64) << "image height, colour and mask";
    EXPECT_EQ(header.biBitCount, 4) << "image bits per pixel";
}

// The template and the exchange agree on their controls (above); were one missing, the exchange would
// name the first it lacks, for the user to be told.
TEST(DataExchange, NamesTheFirstControlTheDialogLacks)
{
    HWND dialog = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CDataExchange exchange(dialog, true);
    CString text;
    DDX_Text(&exchange, IDC_DOMAIN, text);
    DDX_Text(&exchange, IDC_USERNAME, text);
    EXPECT_EQ(exchange.GetMissingId(), IDC_DOMAIN);
    DestroyWindow(dialog);
}

} // namespace
