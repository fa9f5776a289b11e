#include "JsonReport.h"

namespace {

bool NeedsEscape(unsigned char c)
{
    return c == '"' || c == '\\' || c < 0x20;
}

// UTF-8 goes as it is; quotes, backslashes and control characters escaped.
void AppendString(const char* text, CHeapString& json)
{
    json.Append("\"");
    for (const char* p = text; *p != '\0'; ++p) {
        size_t plain = 0;
        while (p[plain] != '\0' && !NeedsEscape(static_cast<unsigned char>(p[plain])))
            ++plain;
        CHeapString run;
        run.Assign(p, plain);
        json.Append(run);
        p += plain;
        if (*p == '\0')
            break;
        const unsigned char c = static_cast<unsigned char>(*p);
        const char* const hex = "0123456789abcdef";
        const char escaped[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 0xF], '\0'};
        const char quoted[] = {'\\', static_cast<char>(c), '\0'};
        json.Append(c < 0x20 ? escaped : quoted);
    }
    json.Append("\"");
}

// Where a finding stands: what stops first, then what decides, then the rest.
int Rank(const CFinding& finding)
{
    switch (finding.kind) {
    case CFinding::stops: return 0;
    case CFinding::unknown: return finding.decides ? 1 : 2;
    case CFinding::note: return 3;
    case CFinding::ok: break;
    }
    return 4;
}

} // namespace

void AppendJson(const CFindings& findings, unsigned status, CHeapString& json)
{
    static const char* const marks[] = {"ok", "STOP", "?", "note"};
    json.Append("{\"status\": ");
    json.AppendDecimal(status);
    json.Append(", \"verdict\": ");
    AppendString(VerdictOf(status), json);
    json.Append(", \"findings\": [");
    const char* separator = "";
    for (int rank = 0; rank <= 4; ++rank) {
        for (const CFinding& finding : findings) {
            if (Rank(finding) != rank)
                continue;
            json.Append(separator);
            json.Append("{\"mark\": ");
            AppendString(marks[finding.kind], json);
            json.Append(", \"about\": ");
            AppendString(finding.about, json);
            json.Append(", \"text\": ");
            AppendString(finding.text.GetText(), json);
            json.Append(", \"page\": ");
            AppendString(finding.page, json);
            json.Append("}");
            separator = ", ";
        }
    }
    json.Append("]}\n");
}
