#include "Process.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

// Moves what the pipe holds now to the end of text, without waiting for more: a process that the
// program started may hold the pipe open long after the program itself has ended.
void TakeWhatIsThere(HANDLE pipe, std::string& text)
{
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available != 0) {
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr) || got == 0)
            return;
        text.append(buffer, got);
    }
}

struct CPipe
{
    HANDLE read = nullptr;
    HANDLE write = nullptr;

    CPipe()
    {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        // Large enough that the child never blocks on one pipe while the other is read.
        CreatePipe(&read, &write, &inherit, 1 << 20);
        SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    }
    ~CPipe()
    {
        if (read)
            CloseHandle(read);
        if (write)
            CloseHandle(write);
    }
    void CloseWrite()
    {
        CloseHandle(write);
        write = nullptr;
    }
};

} // namespace

CProcessResult RunProcess(const std::string& commandLine, unsigned long timeoutMs)
{
    CProcessResult result;
    CPipe out;
    CPipe err;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.write;
    startup.hStdError = err.write;

    std::wstring wide = Utf16(commandLine);
    PROCESS_INFORMATION process = {};
    result.started = CreateProcessW(nullptr, &wide[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                    &startup, &process) != FALSE;
    out.CloseWrite();
    err.CloseWrite();
    if (!result.started) {
        result.errors = "CreateProcess failed with error " + std::to_string(GetLastError());
        return result;
    }

    const DWORD start = GetTickCount();
    DWORD waited;
    do {
        waited = WaitForSingleObject(process.hProcess, 10);
        TakeWhatIsThere(out.read, result.output);
        TakeWhatIsThere(err.read, result.errors);
    } while (waited == WAIT_TIMEOUT && GetTickCount() - start < timeoutMs);
    result.ended = waited == WAIT_OBJECT_0;
    if (!result.ended) {
        ADD_FAILURE() << commandLine << " did not end within " << timeoutMs / 1000 << " s; the test ended it";
        TerminateProcess(process.hProcess, WAIT_TIMEOUT);
        WaitForSingleObject(process.hProcess, 5000);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.exitCode = code;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::wstring Utf16(const std::string& utf8)
{
    std::wstring wide;
    size_t from = 0;
    for (;;) {
        // The three bytes that would encode a surrogate, which UTF-8 forbids, stand for that lone
        // code unit (as in WTF-8): the one text no UTF-8 conversion can give.
        size_t lone = from;
        while ((lone = utf8.find('\xED', lone)) != std::string::npos &&
               !(lone + 2 < utf8.size() && (utf8[lone + 1] & 0xE0) == 0xA0 && (utf8[lone + 2] & 0xC0) == 0x80))
            ++lone;
        const std::string part = utf8.substr(from, lone == std::string::npos ? std::string::npos : lone - from);
        const int length = MultiByteToWideChar(CP_UTF8, 0, part.c_str(), -1, nullptr, 0);
        std::wstring converted(static_cast<size_t>(length > 0 ? length - 1 : 0), L'\0');
        if (length > 1)
            MultiByteToWideChar(CP_UTF8, 0, part.c_str(), -1, &converted[0], length);
        wide += converted;
        if (lone == std::string::npos)
            return wide;
        wide += static_cast<wchar_t>(0xD000 | ((utf8[lone + 1] & 0x3F) << 6) | (utf8[lone + 2] & 0x3F));
        from = lone + 3;
    }
}

std::string Utf8(const std::wstring& wide)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
    if (length > 1)
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], length, nullptr, nullptr);
    return utf8;
}

std::wstring LongPath(const std::string& path)
{
    return L"\\\\?\\" + Utf16(path);
}

bool MakeDirectories(const std::string& directory)
{
    for (size_t at = 3; at <= directory.size(); ++at) {
        if (at == directory.size() || directory[at] == '\\')
            CreateDirectoryW(LongPath(directory.substr(0, at)).c_str(), nullptr);
    }
    const DWORD attributes = GetFileAttributesW(LongPath(directory).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyInto(const std::string& from, const std::string& to)
{
    return CopyFileW(LongPath(from).c_str(), LongPath(to).c_str(), FALSE) != FALSE;
}

std::string MakeScratchDirectory(const std::string& name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string directory = Utf8(temp) + name + "\\";
    RemoveTree(directory);
    MakeDirectories(directory);
    return directory;
}

void RemoveTree(const std::string& directory)
{
    std::string base = directory;
    if (!base.empty() && base.back() != '\\')
        base += '\\';
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((LongPath(base) + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(base + Utf8(name));
            else
                DeleteFileW(LongPath(base + Utf8(name)).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(LongPath(base).c_str());
}

std::string ThisUser()
{
    wchar_t name[256];
    DWORD length = 256;
    return GetUserNameW(name, &length) ? Utf8(name) : "<no user>";
}
