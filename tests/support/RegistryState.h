// The registry as the tests see it: raw reads and writes in a chosen view, snapshots that put keys
// back as they were, and Wine's reg.exe as an independent reader.
#pragma once

#include "WinlogonKeys.h"

#include <windows.h>

#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>


// KEY_WOW64_64KEY or KEY_WOW64_32KEY. On 32-bit Windows there is one view, which both name.
using RegistryView = REGSAM;

// Whether Windows is 64-bit, where HKLM\Software has a 32-bit twin (Wow6432Node) beside the 64-bit
// view: true in a 64-bit process, and in a 32-bit one under WOW64.
bool Is64BitWindows();
// The views there are: the 64-bit one, and its 32-bit twin only on 64-bit Windows.
std::vector<RegistryView> Views();
// What the 32-bit view shows of a text the programs wrote: nothing on 64-bit Windows, where that
// view is Wow6432Node and both pairs write the 64-bit one; the text itself on 32-bit Windows.
std::string Expected32BitView(const std::string& written);

// Names are UTF-8; data are the bytes as the registry keeps them, UTF-16 for the string types.
struct CRegistryValue
{
    std::string name;
    DWORD type = REG_NONE;
    std::string data;

    bool operator==(const CRegistryValue& other) const
    {
        return name == other.name && type == other.type && data == other.data;
    }
};

// How a failing check shows a value: its name, its type and its data bytes in hex.
void PrintTo(const CRegistryValue& value, std::ostream* out);

// The UTF-16 bytes of a UTF-8 text, without a terminator.
std::string Utf16Bytes(const std::string& text);
// A text value as the programs write it: the text and its terminator, in UTF-16.
CRegistryValue TextValue(const char* name, const std::string& text, DWORD type = REG_SZ);

// Under HKEY_LOCAL_MACHINE. Reads give nothing when the key or value is missing.
std::optional<CRegistryValue> ReadValue(const char* path, const char* name, RegistryView view);
// Texts are UTF-8 here and UTF-16 in the registry, as Windows keeps them, so that no character
// passes through the test program's own code page.
// The text of a REG_SZ value stored with its one terminator counted; "<missing>", or a description
// of data of any other shape.
std::string ReadText(const char* path, const char* name, RegistryView view);
// Every value of the key, none when the key is missing; nothing when the key is there but cannot
// be read in full, so that a failed read never passes for a key left as it was.
std::optional<std::vector<CRegistryValue>> ReadAllValues(const char* path, RegistryView view);
// Every value of the keys, in every view; nothing when one of them cannot be read in full.
std::optional<std::vector<CRegistryValue>> ReadAllValues(std::initializer_list<const char*> paths);
bool WriteValue(const char* path, const CRegistryValue& value, RegistryView view);
bool WriteText(const char* path, const char* name, const std::string& text, RegistryView view);
void RemoveValue(const char* path, const char* name, RegistryView view);
bool KeyExists(const char* path, RegistryView view);
// Opens the key, making it first when it is missing.
bool CreateKey(const char* path, RegistryView view);
bool RemoveKey(const char* path, RegistryView view);

// Remembers every value of the keys in every view and puts them back, recreating a removed key.
class CRegistrySnapshot
{
public:
    explicit CRegistrySnapshot(std::vector<std::string> paths);
    ~CRegistrySnapshot();
    void Restore() const;
    // False when a key could not be read in full: that key is not put back.
    bool IsTaken() const { return m_taken; }

private:
    struct CKeyState
    {
        std::string path;
        RegistryView view;
        bool existed;
        std::vector<CRegistryValue> values;
    };
    std::vector<CKeyState> m_keys;
    bool m_taken;
};

// Wine's reg.exe, an independent reader: reg query "HKLM\<path>" /v <name> /reg:64 (or /reg:32).
// The data column of the line it prints for the value; nothing when it fails or prints none.
std::optional<std::string> RegQueryData(const char* path, const char* name, const char* viewSwitch);

