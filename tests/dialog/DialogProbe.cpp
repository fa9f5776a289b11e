// Prints, as one JSON object, every top-level window captioned "Tollvey" with its geometry, the
// focused control and each child control, and the primary monitor's work area. The dialog tests
// run it beside the program under test, which they drive from outside with X input.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// A window still being created does not answer yet; it is read again on the next run of the probe.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

std::string Quoted(const char* text)
{
    std::string out = "\"";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p == '"' || *p == '\\') {
            out += '\\';
            out += static_cast<char>(*p);
        } else if (*p < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", *p);
            out += escaped;
        } else {
            out += static_cast<char>(*p);
        }
    }
    return out + "\"";
}

// A window whose thread does not answer within a moment is left out of this report.
bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &result) != 0;
}

std::string Rect(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right, r.bottom);
    return text;
}

std::string TextOf(HWND window)
{
    char text[1024] = "";
    Ask(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string Control(HWND control)
{
    char className[64] = "";
    GetClassNameA(control, className, sizeof className);
    RECT rect;
    GetWindowRect(control, &rect);
    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  "\"id\": %d, \"style\": %lu, \"visible\": %s, \"passwordChar\": %lu, \"check\": %ld, ",
                  GetDlgCtrlID(control), static_cast<unsigned long>(GetWindowLongA(control, GWL_STYLE)),
                  IsWindowVisible(control) ? "true" : "false",
                  static_cast<unsigned long>(Ask(control, EM_GETPASSWORDCHAR, 0, 0)),
                  static_cast<long>(Ask(control, BM_GETCHECK, 0, 0)));
    return std::string("{") + numbers + "\"class\": " + Quoted(className) +
           ", \"text\": " + Quoted(TextOf(control).c_str()) + ", \"rect\": " + Rect(rect) + "}";
}

struct CWindowList
{
    std::string json;
    int count = 0;
};

BOOL CALLBACK AddChild(HWND child, LPARAM list)
{
    std::string& json = *reinterpret_cast<std::string*>(list);
    if (!json.empty())
        json += ", ";
    json += Control(child);
    return TRUE;
}

// The middle of the close box on the caption row, as the window's own hit test finds it; 0, 0 when
// the window has none.
POINT CloseBoxPoint(HWND window, const RECT& rect)
{
    const LONG y = rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSIZE) / 2;
    LONG right = 0;
    for (LONG x = rect.right - 1; x > rect.left; --x) {
        const LRESULT hit = Ask(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
        if (hit == HTCLOSE && right == 0)
            right = x;
        else if (hit != HTCLOSE && right != 0)
            return POINT{(x + 1 + right) / 2, y};
    }
    return POINT{0, 0};
}

std::string Window(HWND window)
{
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    RECT rect;
    GetWindowRect(window, &rect);
    DWORD processId = 0;
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, &processId), &thread);
    std::string children;
    EnumChildWindows(window, AddChild, reinterpret_cast<LPARAM>(&children));
    POINT closeBox = CloseBoxPoint(window, rect);
    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  "\"pid\": %lu, \"style\": %lu, \"visible\": %s, \"active\": %s, \"focus\": %d, ",
                  static_cast<unsigned long>(processId),
                  static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                  IsWindowVisible(window) ? "true" : "false",
                  thread.hwndActive == window ? "true" : "false",
                  thread.hwndFocus != nullptr ? GetDlgCtrlID(thread.hwndFocus) : 0);
    return std::string("{") + numbers + "\"class\": " + Quoted(className) + ", \"rect\": " +
           Rect(rect) + ", \"closeBox\": " + "[" + std::to_string(closeBox.x) + ", " + std::to_string(closeBox.y) + "]" + ", \"controls\": [" + children + "]}";
}

BOOL CALLBACK AddWindow(HWND window, LPARAM list)
{
    CWindowList& windows = *reinterpret_cast<CWindowList*>(list);
    if (TextOf(window) != "Tollvey" || !Answers(window))
        return TRUE;
    windows.json += windows.count++ != 0 ? ", " : "";
    windows.json += Window(window);
    return TRUE;
}

} // namespace

int main()
{
    RECT workArea;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    CWindowList windows;
    EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&windows));
    std::printf("{\"workArea\": %s, \"screen\": [%d, %d], \"windows\": [%s]}\n", Rect(workArea).c_str(),
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), windows.json.c_str());
    return 0;
}
