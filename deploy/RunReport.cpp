#include "RunReport.h"

#include "ConsoleOutput.h"

#include <cstring>

void CRunReport::Say(const char* line)
{
    CHeapString text(line);
    text.Append("\n");
    // Names are as the registry and the file hold them, in any language.
    PrintUserText(text.GetText());
    m_log.Write(line);
    m_text.Append(text);
}

void CRunReport::Say(std::initializer_list<const char*> parts)
{
    CHeapString line;
    for (const char* part : parts)
        line.Append(part);
    Say(line.GetText());
}

void CRunReport::Say(const char* what, CSystemStatus status)
{
    CHeapString line(what);
    line.Append(": ");
    status.AppendText(line);
    Say(line.GetText());
}

void CRunReport::SayLines(const char* lines, const char* prefix)
{
    for (const char* p = lines; *p != '\0';) {
        const char* end = std::strchr(p, '\n');
        const size_t length = end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p);
        if (length != 0) {
            CHeapString part;
            part.Assign(p, length);
            CHeapString line(prefix);
            line.Append(part);
            Say(line.GetText());
        }
        p += length + (end != nullptr ? 1 : 0);
    }
}
