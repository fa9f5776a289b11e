// The check's JSON: what decides first, every text escaped as JSON needs and no more.
#include "ExitStatus.h"
#include "JsonReport.h"

#include <gtest/gtest.h>

TEST(JsonReport, PutsWhatDecidesFirstAndEscapesOnlyWhatJsonNeeds)
{
    const auto finding = [](CFinding::Kind kind, bool decides, const char* text) {
        return CFinding{kind, decides, CHeapString(text), "about", "https://example.com/page"};
    };
    CFindings findings;
    for (const CFinding& f : {finding(CFinding::ok, false, "first ok"), finding(CFinding::note, false, "a note"),
                              finding(CFinding::unknown, false, "an open ?"), finding(CFinding::stops, false, "a \"STOP\""),
                              finding(CFinding::unknown, true, "C:\\ a deciding ?\n\tΩ"),
                              finding(CFinding::ok, false, "second ok")})
        findings.push_back(f);
    CHeapString json;
    AppendJson(findings, exitStopped, json);
    const std::string item = "{\"mark\": \"%s\", \"about\": \"about\", \"text\": \"%s\", \"page\": \"https://example.com/page\"}";
    const auto with = [&item](const char* mark, const char* text) {
        std::string s = item;
        s.replace(s.find("%s"), 2, mark);
        return s.replace(s.find("%s"), 2, text);
    };
    EXPECT_EQ(std::string(json.GetText()),
              "{\"status\": 1, \"verdict\": \"Windows will not log on by itself at the next start-up: see STOP above.\", "
              "\"findings\": [" + with("STOP", "a \\\"STOP\\\"") + ", " + with("?", "C:\\\\ a deciding ?\\u000a\\u0009Ω") +
                  ", " + with("?", "an open ?") + ", " + with("note", "a note") + ", " + with("ok", "first ok") + ", " +
                  with("ok", "second ok") + "]}\n");
}
