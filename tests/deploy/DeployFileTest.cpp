// What TollveyDeploy.exe takes from its file and what it refuses: values arrive exactly as written,
// those a command processor would mangle too, and each refusal names its line and its reason.
#include "DeployFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

// Lines 1 and 2 of a file whose case is about line 3.
const std::string accepted = "user=kiosk\nversion=7\n";
const std::string refused = "user=kiosk\npassword=secret\n";

// A file that is whole, filled up to size bytes by a comment.
std::string Padded(size_t size)
{
    std::string file = "user=kiosk\npassword=pw\nversion=7\n#";
    file.resize(size, 'x');
    return file;
}

TEST(DeployFile, TakesValuesAsWritten)
{
    struct Case { const char* label; std::string file; const char* user; const char* password; const char* domain; std::string version; };
    const Case cases[] = {
        {"LF, no domain line", "user=kiosk\npassword=pw\nversion=7\n", "kiosk", "pw", nullptr, "7"},
        {"BOM, CRLF, comments, names in any case amid blanks, no end on the last line",
         "\xEF\xBB\xBF; c\r\n  # c\r\n \t\r\n User =kiosk \t\r\n\tPASSWORD\t= \" x \"\t\r\nDomain=CORP\r\nversion=7", "kiosk", " x ", "CORP", "7"},
        {"empty domain line", accepted + "password=pw\ndomain=", "kiosk", "pw", "", "7"},
        {"user@domain without a domain line", "user=k@corp.example\npassword=\nversion=7", "k@corp.example", "", nullptr, "7"},
        {"empty password", accepted + "password=", "kiosk", "", nullptr, "7"},
        {"quoted: blanks kept", accepted + "password=  \"  lead and trail  \"  ", "kiosk", "  lead and trail  ", nullptr, "7"},
        {"quoted: up to the last quote", accepted + "password=\"a\"b\"\"", "kiosk", "a\"b\"", nullptr, "7"},
        {"quoted: empty", accepted + "password=\"\"", "kiosk", "", nullptr, "7"},
        {"unquoted: a quote inside", accepted + "password=a\"b", "kiosk", "a\"b", nullptr, "7"},
        {"unquoted: no comment after a value", accepted + "password=kiosk ; x", "kiosk", "kiosk ; x", nullptr, "7"},
        {"unquoted: = inside", accepted + "password==a=b", "kiosk", "=a=b", nullptr, "7"},
        {"percent", accepted + "password=50%off", "kiosk", "50%off", nullptr, "7"},
        {"delayed expansion", accepted + "password=!x!", "kiosk", "!x!", nullptr, "7"},
        {"cmd operators", accepted + "password=^&|<>", "kiosk", "^&|<>", nullptr, "7"},
        {"variable", accepted + "password=%PATH%", "kiosk", "%PATH%", nullptr, "7"},
        {"not ASCII; a trailing backslash", "user=\xCE\xA9mega\nversion=7\npassword=pass\\", "\xCE\xA9mega", "pass\\", nullptr, "7"},
        {"4-byte UTF-8 up to U+10FFFF, DEL", accepted + "password=\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\x7F", "kiosk",
         "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\x7F", nullptr, "7"},
        {"version of 32 characters", "user=k\npassword=\nversion=0.9-AZ_az" + std::string(23, '1'), "k", "", nullptr,
         "0.9-AZ_az" + std::string(23, '1')},
        {"exactly 64 KiB", Padded(65536), "kiosk", "pw", nullptr, "7"},
        {"credentials not tried", accepted + "password=pw\nverify=No", "kiosk", "pw", nullptr, "7"},
    };
    for (const Case& c : cases) {
        CDeployFile file;
        if (!file.Parse(c.file.data(), c.file.size())) {
            ADD_FAILURE() << c.label << ": " << file.GetErrorText();
            continue;
        }
        EXPECT_STREQ(file.m_userName.GetText(), c.user) << c.label;
        EXPECT_STREQ(file.m_password.GetText(), c.password) << c.label;
        EXPECT_STREQ(file.m_domain.GetText(), c.domain != nullptr ? c.domain : "") << c.label;
        EXPECT_EQ(file.m_domainGiven, c.domain != nullptr) << c.label;
        EXPECT_EQ(file.m_version.GetText(), c.version) << c.label;
        EXPECT_EQ(file.m_verify, c.file.find("verify=No") == std::string::npos) << c.label;
    }
}

TEST(DeployFile, RefusesNamingTheLineAndWhy)
{
    struct Case { const char* label; std::string file; const char* error; };
    const Case cases[] = {
        {"UTF-16 LE", "\xFF\xFEu\0s\0"s, "TollveyDeploy.ini: saved as UTF-16: save it as UTF-8"},
        {"UTF-16 BE", "\xFE\xFF\0u"s, "TollveyDeploy.ini: saved as UTF-16: save it as UTF-8"},
        {"a byte over 64 KiB", Padded(65537), "TollveyDeploy.ini: larger than 65,536 bytes"},
        {"empty", "", "TollveyDeploy.ini: no user= line"},
        {"no password line", "user=kiosk\nversion=7\n", "TollveyDeploy.ini: no password= line"},
        {"no version line", refused, "TollveyDeploy.ini: no version= line"},
        {"lone CR", "user=kiosk\rx\n", "TollveyDeploy.ini, line 1: a CR without an LF"},
        {"CR ending the file", refused + "domain=\r", "line 3: a CR without"},
        {"CR CR LF", refused + "domain=\r\r\n", "line 3: a CR without"},
        {"NUL", refused + "domain=a\0b"s, "line 3: control character 0x00"},
        {"escape", refused + "domain=\x1B", "line 3: control character 0x1B"},
        {"overlong", refused + "domain=\xC0\x80", "line 3: not UTF-8"},
        {"overlong, 3 bytes", refused + "domain=\xE0\x9F\xBF", "line 3: not UTF-8"},
        {"overlong, 4 bytes", refused + "domain=\xF0\x8F\xBF\xBF", "line 3: not UTF-8"},
        {"surrogate", refused + "domain=\xED\xA0\x80", "line 3: not UTF-8"},
        {"above U+10FFFF", refused + "domain=\xF4\x90\x80\x80", "line 3: not UTF-8"},
        {"lead byte past F4", refused + "domain=\xF5\x80\x80\x80", "line 3: not UTF-8"},
        {"cut short by the line end", refused + "domain=\xE2\x82\nversion=7", "line 3: not UTF-8"},
        {"cut short by a character", refused + "domain=\xE2\x82x", "line 3: not UTF-8"},
        {"cut short by the file end", refused + "domain=\xE2\x82", "line 3: not UTF-8"},
        {"stray continuation byte", refused + "domain=\x80", "line 3: not UTF-8"},
        {"unknown name", refused + "usr=x", "TollveyDeploy.ini, line 3: not one of the names user, password, domain"},
        {"a password on a line of its own", refused + "pa55=word", "line 3: not one of the names"},
        {"a name twice, in another case", refused + " USER=b", "line 3: user= given twice (first on line 1)"},
        {"no =", refused + "domain", "line 3: neither name=value nor a comment"},
        {"no name", refused + " \t=x", "line 3: no name before ="},
        {"quote not closed", refused + "domain=\"abc", "line 3: the quote that opens the value is not closed"},
        {"closing quote on another line", refused + "domain=\"a\nversion=\"7\"", "line 3: the quote that opens"},
        {"text after the closing quote", refused + "domain=\"a\" b", "line 3: only blanks may follow"},
        {"blank user", "password=secret\nuser= \t", "line 2: user= is blank"},
        {"quoted blank user", "password=secret\nuser=\" \"", "line 2: user= is blank"},
        {"domain in the user name", "password=secret\nuser=CORP\\kiosk", "line 2: user= holds a \\: put the domain in domain="},
        {"user@domain and a domain line", "domain=\nuser=k@corp\npassword=secret\nversion=7",
         "line 2: user= is name@domain, which the domain= line (line 1)"},
        {"empty version", refused + "version=", "line 3: version= must be 1 to 32"},
        {"version of 33", refused + "version=" + std::string(33, '1'), "line 3: version= must be"},
        {"version with a blank inside", refused + "version=1 0", "line 3: version= must be"},
        {"version with a slash", refused + "version=1/0", "line 3: version= must be"},
        {"verify neither yes nor no", refused + "verify=0", "line 3: verify= must be yes or no"},
    };
    for (const Case& c : cases) {
        CDeployFile file;
        EXPECT_FALSE(file.Parse(c.file.data(), c.file.size())) << c.label;
        EXPECT_NE(std::string(file.GetErrorText()).find(c.error), std::string::npos) << c.label << ": " << file.GetErrorText();
        EXPECT_STREQ(file.m_password.GetText(), "") << c.label << ": no password is left behind";
        EXPECT_EQ(std::string(file.GetErrorText()).find("secret"), std::string::npos) << c.label << ": a refusal shows no value";
        EXPECT_EQ(std::string(file.GetErrorText()).find("pa55"), std::string::npos) << c.label << ": a refusal shows no value";
    }
}

} // namespace
