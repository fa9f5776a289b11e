// Starts a real program and collects what it wrote and how it ended.
#pragma once

#include <string>

struct CProcessResult
{
    bool started = false;
    // False when the program was still running at the deadline: the test ended it, with exit code
    // WAIT_TIMEOUT, and failed the case, naming the command line.
    bool ended = false;
    unsigned long exitCode = 0;
    std::string output; // standard output, byte for byte
    std::string errors; // standard error
};

// Texts and paths in the tests are UTF-8, whatever the test program's code page; Windows is
// handed them in UTF-16. "\xED\xA0\x80" stands for the lone surrogate U+D800, and so on.
std::wstring Utf16(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// commandLine goes to CreateProcessW as it is (so the program's own quoting is under test). Every
// program under test ends within a second or two, several on an emulated processor.
CProcessResult RunProcess(const std::string& commandLine, unsigned long timeoutMs = 30000);

// Wine maps the Unix root to drive Z:.
std::string WindowsPath(const std::string& unixPath);

// The directory part, ending in a backslash.
std::string DirectoryOf(const std::string& path);

// Directory and file helpers that also take paths longer than MAX_PATH.
std::wstring LongPath(const std::string& path); // with the \\?\ prefix
bool MakeDirectories(const std::string& directory);
bool CopyInto(const std::string& from, const std::string& to);

// A fresh, empty directory for one test, under the temporary folder; removed by RemoveTree.
std::string MakeScratchDirectory(const std::string& name);
void RemoveTree(const std::string& directory);

// The user this process runs as: under Wine, the prefix's own user, the one account that
// LookupAccountNameW knows on this computer.
std::string ThisUser();
