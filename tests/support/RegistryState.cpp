#include "RegistryState.h"

#include "Process.h"

#include <cstdio>
#include <ostream>

namespace {

struct CKey
{
    HKEY handle = nullptr;
    LONG status;
    CKey(const char* path, REGSAM access, RegistryView view)
        : status(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Utf16(path).c_str(), 0, access | view, &handle))
    {
        if (status != ERROR_SUCCESS)
            handle = nullptr;
    }
    ~CKey()
    {
        if (handle)
            RegCloseKey(handle);
    }
};

} // namespace

bool Is64BitWindows()
{
#ifdef _WIN64
    return true;
#else
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

std::vector<RegistryView> Views()
{
    if (Is64BitWindows())
        return {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    return {KEY_WOW64_64KEY};
}

std::string Expected32BitView(const std::string& written)
{
    return Is64BitWindows() ? "<missing>" : written;
}

std::string Utf16Bytes(const std::string& text)
{
    const std::wstring wide = Utf16(text);
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

void PrintTo(const CRegistryValue& value, std::ostream* out)
{
    *out << value.name << " (type " << value.type << "):";
    for (const unsigned char byte : value.data) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", byte);
        *out << hex;
    }
}

CRegistryValue TextValue(const char* name, const std::string& text, DWORD type)
{
    return {name, type, Utf16Bytes(text) + std::string(sizeof(wchar_t), '\0')};
}

std::optional<CRegistryValue> ReadValue(const char* path, const char* name, RegistryView view)
{
    CKey key(path, KEY_QUERY_VALUE, view);
    const std::wstring wideName = Utf16(name);
    DWORD type = 0;
    DWORD size = 0;
    if (!key.handle ||
        RegQueryValueExW(key.handle, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string data(size, '\0');
    if (RegQueryValueExW(key.handle, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return CRegistryValue{name, type, data};
}

std::string ReadText(const char* path, const char* name, RegistryView view)
{
    // In UTF-16, the form Windows keeps, so that no character passes through this program's own
    // code page.
    CKey key(path, KEY_QUERY_VALUE, view);
    const std::wstring wideName = Utf16(name);
    DWORD type = 0;
    DWORD size = 0;
    if (!key.handle ||
        RegQueryValueExW(key.handle, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return "<missing>";
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.handle, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                         &size) != ERROR_SUCCESS)
        return "<missing>";
    data.resize(size / sizeof(wchar_t));
    const size_t end = data.find(L'\0');
    if (type != REG_SZ || size % sizeof(wchar_t) != 0 || end == std::wstring::npos || end + 1 != data.size())
        return "<type " + std::to_string(type) + ", " + std::to_string(size) + " bytes>";
    return Utf8(data.substr(0, end));
}

std::optional<std::vector<CRegistryValue>> ReadAllValues(const char* path, RegistryView view)
{
    std::vector<CRegistryValue> values;
    CKey key(path, KEY_QUERY_VALUE, view);
    if (key.status == ERROR_FILE_NOT_FOUND)
        return values;
    if (!key.handle)
        return std::nullopt;
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        const LONG status =
            RegEnumValueW(key.handle, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            return values;
        auto value = status == ERROR_SUCCESS
                         ? ReadValue(path, Utf8(std::wstring(name, nameLength)).c_str(), view)
                         : std::nullopt;
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
}

std::optional<std::vector<CRegistryValue>> ReadAllValues(std::initializer_list<const char*> paths)
{
    std::vector<CRegistryValue> all;
    for (RegistryView view : Views()) {
        for (const char* path : paths) {
            const auto values = ReadAllValues(path, view);
            if (!values)
                return std::nullopt;
            all.insert(all.end(), values->begin(), values->end());
        }
    }
    return all;
}

bool WriteValue(const char* path, const CRegistryValue& value, RegistryView view)
{
    CKey key(path, KEY_SET_VALUE, view);
    return key.handle &&
           RegSetValueExW(key.handle, Utf16(value.name).c_str(), 0, value.type,
                          reinterpret_cast<const BYTE*>(value.data.data()),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool WriteText(const char* path, const char* name, const std::string& text, RegistryView view)
{
    return WriteValue(path, TextValue(name, text), view);
}

void RemoveValue(const char* path, const char* name, RegistryView view)
{
    CKey key(path, KEY_SET_VALUE, view);
    if (key.handle)
        RegDeleteValueW(key.handle, Utf16(name).c_str());
}

bool KeyExists(const char* path, RegistryView view)
{
    return CKey(path, KEY_QUERY_VALUE, view).handle != nullptr;
}

bool CreateKey(const char* path, RegistryView view)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Utf16(path).c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | view, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

bool RemoveKey(const char* path, RegistryView view)
{
    return RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Utf16(path).c_str(), view, 0) == ERROR_SUCCESS;
}

CRegistrySnapshot::CRegistrySnapshot(std::vector<std::string> paths) : m_taken(true)
{
    for (const std::string& path : paths) {
        for (RegistryView view : Views()) {
            const auto values = ReadAllValues(path.c_str(), view);
            m_taken = m_taken && values;
            // A key that could not be read is not put back: that would remove what it holds.
            if (values)
                m_keys.push_back({path, view, KeyExists(path.c_str(), view), *values});
        }
    }
}

CRegistrySnapshot::~CRegistrySnapshot()
{
    Restore();
}

void CRegistrySnapshot::Restore() const
{
    const std::vector<CRegistryValue> none;
    for (const CKeyState& key : m_keys) {
        if (!key.existed || !CreateKey(key.path.c_str(), key.view))
            continue;
        for (const CRegistryValue& now : ReadAllValues(key.path.c_str(), key.view).value_or(none))
            RemoveValue(key.path.c_str(), now.name.c_str(), key.view);
        for (const CRegistryValue& then : key.values)
            WriteValue(key.path.c_str(), then, key.view);
    }
}

std::optional<std::string> RegQueryData(const char* path, const char* name, const char* viewSwitch)
{
    const CProcessResult query = RunProcess(std::string("reg.exe query \"HKLM\\") + path + "\" /v \"" + name +
                                            "\" " + viewSwitch);
    if (!query.started || query.exitCode != 0)
        return std::nullopt;
    const std::string prefix = std::string("    ") + name + "    ";
    size_t start = query.output.find(prefix);
    if (start == std::string::npos)
        return std::nullopt;
    start += prefix.size();
    const size_t end = query.output.find("\r\n", start);
    return query.output.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
