#include "framework/WinApp.h"

#include "ExecutablePath.h"

#include <cstring>

namespace {

// A string the program may carry to name itself instead of its file name.
const UINT idAppTitle = 0xE000;

// The file name without directory and extension.
void TakeFileTitle(const char* path, CString& title)
{
    const char* name = path;
    const char* dot = nullptr;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':') {
            name = p + 1;
            dot = nullptr;
        } else if (*p == '.') {
            dot = p;
        }
    }
    const size_t length = dot != nullptr ? static_cast<size_t>(dot - name) : std::strlen(name);
    std::memcpy(title.GetBuffer(length), name, length);
}

} // namespace

CWinApp* CWinApp::s_app = nullptr;

void CWinApp::Start()
{
    if (m_title.LoadString(idAppTitle))
        return;
    CHeapString path;
    // Without its own path the program goes on with an empty title.
    static_cast<void>(GetExecutablePath(path));
    TakeFileTitle(path.GetText(), m_title);
}
