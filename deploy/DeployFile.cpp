#include "DeployFile.h"

#include <cstring>
#include <initializer_list>

namespace {

const char* const names[] = {"user", "password", "domain", "version", "verify"};

// Text built in one allocation: appending piece by piece would free buffers that held a piece of
// the file unwiped.
class CJoin
{
public:
    CJoin& operator<<(const char* text)
    {
        if (m_count < sizeof m_parts / sizeof m_parts[0])
            m_parts[m_count++] = text;
        return *this;
    }

    void To(CHeapString& out) const
    {
        size_t length = 0;
        for (size_t i = 0; i < m_count; ++i)
            length += std::strlen(m_parts[i]);
        out.Wipe();
        char* p = out.Reserve(length);
        for (size_t i = 0; i < m_count; ++i) {
            const size_t n = std::strlen(m_parts[i]);
            std::memcpy(p, m_parts[i], n);
            p += n;
        }
    }

private:
    const char* m_parts[12];
    size_t m_count = 0;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p, const char* end)
{
    while (p != end && IsBlank(*p))
        ++p;
    return p;
}

const char* TrimEnd(const char* begin, const char* end)
{
    while (end != begin && IsBlank(end[-1]))
        --end;
    return end;
}

// The length of the UTF-8 sequence at p, or 0 where there is none. The narrowed ranges of the
// second byte after E0, ED, F0 and F4 keep out overlong forms, surrogates and code points above
// U+10FFFF.
size_t SequenceLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char lead = p[0];
    unsigned char low = 0x80, high = 0xBF;
    size_t length;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (static_cast<size_t>(end - p) < length || p[1] < low || p[1] > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return length;
}

// Characters that stand for themselves in a file name, a registry value and a command line alike.
bool IsVersion(const char* text)
{
    const size_t length = std::strlen(text);
    if (length < 1 || length > 32)
        return false;
    for (; *text != '\0'; ++text) {
        const char c = *text;
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' ||
              c == '_' || c == '-'))
            return false;
    }
    return true;
}

} // namespace

CDeployFile::~CDeployFile()
{
    EmptyValues();
    m_errorText.Wipe();
}

bool CDeployFile::Parse(const char* bytes, size_t size)
{
    Clear();
    const unsigned char* u = reinterpret_cast<const unsigned char*>(bytes);
    if (size >= 2 && ((u[0] == 0xFF && u[1] == 0xFE) || (u[0] == 0xFE && u[1] == 0xFF)))
        return Fail(savedAsUtf16);
    if (size > maxSize)
        return Fail(tooLarge);
    const char* end = bytes + size;
    if (size >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0)
        bytes += 3;
    return ParseLines(bytes, end) && CheckWhole();
}

void CDeployFile::Clear()
{
    EmptyValues();
    m_fault = none;
    m_line = 0;
    m_otherLine = 0;
    for (unsigned long& line : m_lineOf)
        line = 0;
}

void CDeployFile::EmptyValues()
{
    m_userName.Wipe();
    m_password.Wipe();
    m_domain.Wipe();
    m_version.Wipe();
    m_verifyText.Wipe();
    m_domainGiven = false;
    m_verify = true;
}

bool CDeployFile::ParseLines(const char* p, const char* end)
{
    while (p != end) {
        ++m_line;
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* next = lineEnd != nullptr ? lineEnd + 1 : end;
        if (lineEnd == nullptr)
            lineEnd = end;
        else if (lineEnd != p && lineEnd[-1] == '\r')
            --lineEnd;
        if (!CheckText(p, lineEnd) || !ParseLine(p, lineEnd))
            return false;
        p = next;
    }
    m_line = 0;
    return true;
}

bool CDeployFile::CheckText(const char* p, const char* end)
{
    const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
    const unsigned char* uEnd = reinterpret_cast<const unsigned char*>(end);
    while (u != uEnd) {
        // A CRLF's CR is no longer part of the line.
        if (*u == '\r')
            return Fail(loneCarriageReturn);
        if (*u < 0x20 && *u != '\t') {
            m_byte = *u;
            return Fail(controlCharacter);
        }
        const size_t length = SequenceLength(u, uEnd);
        if (length == 0)
            return Fail(notUtf8);
        u += length;
    }
    return true;
}

bool CDeployFile::ParseLine(const char* p, const char* end)
{
    p = SkipBlanks(p, end);
    if (p == end || *p == ';' || *p == '#')
        return true;
    const char* equals = static_cast<const char*>(std::memchr(p, '=', static_cast<size_t>(end - p)));
    if (equals == nullptr)
        return Fail(notNameValue);
    const size_t length = static_cast<size_t>(TrimEnd(p, equals) - p);
    if (length == 0)
        return Fail(noName);
    for (int n = user; n < nameCount; ++n) {
        const Name name = static_cast<Name>(n);
        if (std::strlen(names[name]) != length || !StartsWithIgnoreCase(p, names[name]))
            continue;
        if (m_lineOf[name] != 0) {
            m_faultName = name;
            m_otherLine = m_lineOf[name];
            return Fail(givenTwice);
        }
        m_lineOf[name] = m_line;
        return ParseValue(name, SkipBlanks(equals + 1, end), end) && CheckValue(name);
    }
    return Fail(unknownName);
}

bool CDeployFile::ParseValue(Name name, const char* p, const char* end)
{
    // Quotes keep what an unquoted value loses: blanks at its ends.
    if (p != end && *p == '"') {
        const char* close = end - 1;
        while (*close != '"')
            --close;
        if (close == p)
            return Fail(quoteNotClosed);
        if (SkipBlanks(close + 1, end) != end)
            return Fail(textAfterQuote);
        Value(name).Assign(p + 1, static_cast<size_t>(close - p - 1));
    } else {
        Value(name).Assign(p, static_cast<size_t>(TrimEnd(p, end) - p));
    }
    return true;
}

bool CDeployFile::CheckValue(Name name)
{
    const char* text = Value(name).GetText();
    switch (name) {
    case user:
        if (text[std::strspn(text, " \t")] == '\0')
            return Fail(userBlank);
        if (std::strchr(text, '\\') != nullptr)
            return Fail(userBackslash);
        return true;
    case domain:
        m_domainGiven = true;
        return true;
    case version:
        return IsVersion(text) || Fail(badVersion);
    case verify:
        m_verify = !EqualsIgnoreCase(text, "no");
        return EqualsIgnoreCase(text, "yes") || EqualsIgnoreCase(text, "no") || Fail(badVerify);
    default:
        return true;
    }
}

bool CDeployFile::CheckWhole()
{
    for (Name name : {user, password, version}) {
        if (m_lineOf[name] == 0) {
            m_faultName = name;
            return Fail(missing);
        }
    }
    if (m_domainGiven && std::strchr(m_userName.GetText(), '@') != nullptr) {
        m_line = m_lineOf[user];
        m_otherLine = m_lineOf[domain];
        return Fail(userAndDomain);
    }
    return true;
}

bool CDeployFile::Fail(Fault fault)
{
    m_fault = fault;
    EmptyValues();
    return false;
}

CHeapString& CDeployFile::Value(Name name)
{
    CHeapString* const values[] = {&m_userName, &m_password, &m_domain, &m_version, &m_verifyText};
    return *values[name];
}

const char* CDeployFile::GetErrorText() const
{
    CHeapString line, otherLine;
    line.AppendDecimal(m_line);
    otherLine.AppendDecimal(m_otherLine);
    const char* const name = names[m_faultName];
    const char hex[] = "0123456789ABCDEF";
    const char byte[] = {'0', 'x', hex[m_byte >> 4], hex[m_byte & 15], '\0'};

    CJoin text;
    text << fileName;
    if (m_line != 0)
        text << ", line " << line.GetText();
    text << ": ";
    switch (m_fault) {
    case none:
        return "";
    case savedAsUtf16:
        text << "saved as UTF-16: save it as UTF-8";
        break;
    case tooLarge:
        text << "larger than 65,536 bytes";
        break;
    case loneCarriageReturn:
        text << "a CR without an LF after it: lines end with LF or CRLF";
        break;
    case controlCharacter:
        text << "control character " << byte << " (tab is the only one allowed)";
        break;
    case notUtf8:
        text << "not UTF-8 text: save the file as UTF-8";
        break;
    case notNameValue:
        text << "neither name=value nor a comment (a line starting with ; or #)";
        break;
    case noName:
        text << "no name before =";
        break;
    case unknownName:
        // Not quoted: what stands before a "=" may be part of a password written on a line of its own.
        text << "not one of the names user, password, domain, version, verify";
        break;
    case givenTwice:
        text << name << "= given twice (first on line " << otherLine.GetText() << ")";
        break;
    case quoteNotClosed:
        text << "the quote that opens the value is not closed on its line";
        break;
    case textAfterQuote:
        text << "only blanks may follow the quote that closes the value";
        break;
    case userBlank:
        text << "user= is blank";
        break;
    case userBackslash:
        text << "user= holds a \\: put the domain in domain= and the name alone in user=";
        break;
    case badVersion:
        text << "version= must be 1 to 32 of the characters 0-9 A-Z a-z . _ -";
        break;
    case badVerify:
        text << "verify= must be yes or no";
        break;
    case missing:
        text << "no " << name << "= line";
        if (m_faultName == password)
            text << " (for an empty password, write password=)";
        break;
    case userAndDomain:
        text << "user= is name@domain, which the domain= line (line " << otherLine.GetText()
             << ") would contradict: give the domain in one place only";
        break;
    }
    text.To(m_errorText);
    return m_errorText.GetText();
}
