#include "Sddl.h"

#include <cstring>

namespace {

struct CAlias
{
    const char* alias;
    const char* sid; // null: an account of the computer's or the forest's domain
};

const CAlias aliases[] = {
    {"AA", "S-1-5-32-579"}, {"AC", "S-1-15-2-1"},   {"AN", "S-1-5-7"},      {"AO", "S-1-5-32-548"},
    {"AP", nullptr},        {"AS", "S-1-18-1"},     {"AU", "S-1-5-11"},     {"BA", "S-1-5-32-544"},
    {"BG", "S-1-5-32-546"}, {"BO", "S-1-5-32-551"}, {"BU", "S-1-5-32-545"}, {"CA", nullptr},
    {"CD", "S-1-5-32-574"}, {"CG", "S-1-3-1"},      {"CN", nullptr},        {"CO", "S-1-3-0"},
    {"CY", "S-1-5-32-569"}, {"DA", nullptr},        {"DC", nullptr},        {"DD", nullptr},
    {"DG", nullptr},        {"DU", nullptr},        {"EA", nullptr},        {"ED", "S-1-5-9"},
    {"EK", nullptr},        {"ER", "S-1-5-32-573"}, {"ES", "S-1-5-32-576"}, {"HA", "S-1-5-32-578"},
    {"HI", "S-1-16-12288"}, {"IS", "S-1-5-32-568"}, {"IU", "S-1-5-4"},      {"KA", nullptr},
    {"LA", nullptr},        {"LG", nullptr},        {"LS", "S-1-5-19"},     {"LU", "S-1-5-32-559"},
    {"LW", "S-1-16-4096"},  {"ME", "S-1-16-8192"},  {"MP", "S-1-16-8448"},  {"MS", "S-1-5-32-577"},
    {"MU", "S-1-5-32-558"}, {"NO", "S-1-5-32-556"}, {"NS", "S-1-5-20"},     {"NU", "S-1-5-2"},
    {"OW", "S-1-3-4"},      {"PA", nullptr},        {"PO", "S-1-5-32-550"}, {"PS", "S-1-5-10"},
    {"PU", "S-1-5-32-547"}, {"RA", "S-1-5-32-575"}, {"RC", "S-1-5-12"},     {"RD", "S-1-5-32-555"},
    {"RE", "S-1-5-32-552"}, {"RM", "S-1-5-32-580"}, {"RO", nullptr},        {"RS", nullptr},
    {"RU", "S-1-5-32-554"}, {"SA", nullptr},        {"SI", "S-1-16-16384"}, {"SO", "S-1-5-32-549"},
    {"SS", "S-1-18-2"},     {"SU", "S-1-5-6"},      {"SY", "S-1-5-18"},     {"UD", "S-1-5-84-0-0-0-0-0"},
    {"WD", "S-1-1-0"},      {"WR", "S-1-5-33"},
};

struct CRightsCode
{
    const char* code;
    uint32_t rights;
};

// The directory service's codes set bits that mean other rights on a file (DC is FILE_WRITE_DATA's
// bit), and Windows writes a file's rights with them: each code is read as the bits it sets.
const CRightsCode rightsCodes[] = {
    {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000}, {"GX", 0x20000000}, {"RC", 0x20000},
    {"SD", 0x10000},    {"WD", 0x40000},    {"WO", 0x80000},    {"CC", 0x1},        {"DC", 0x2},
    {"LC", 0x4},        {"SW", 0x8},        {"RP", 0x10},       {"WP", 0x20},       {"DT", 0x40},
    {"LO", 0x80},       {"CR", 0x100},      {"FA", 0x1f01ff},   {"FR", 0x120089},   {"FW", 0x120116},
    {"FX", 0x1200a0},   {"KA", 0xf003f},    {"KR", 0x20019},    {"KW", 0x20006},    {"KX", 0x20019},
    {"NW", 0x1},        {"NR", 0x2},        {"NX", 0x4},
};

const char* const entryFlagCodes[] = {"OI", "CI", "NP", "IO", "ID", "SA", "FA", "TP", "CR"};

struct CEntryType
{
    const char* code;
    CAccessEntry::Kind kind;
    bool object;   // may name an object type and an inherited object type
    bool callback; // may carry a condition
};

// The entry types an access list holds. Object and conditional entries count as what they grant,
// whatever object or condition they name: whether the condition holds is Windows' to decide.
const CEntryType entryTypes[] = {
    {"A", CAccessEntry::allow, false, false},  {"D", CAccessEntry::deny, false, false},
    {"OA", CAccessEntry::allow, true, false},  {"OD", CAccessEntry::deny, true, false},
    {"XA", CAccessEntry::allow, false, true},  {"XD", CAccessEntry::deny, false, true},
    {"ZA", CAccessEntry::allow, true, true},
};

bool IsUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Two characters, and the text holds at least two before its end.
bool SameCode(const char* text, const char* code)
{
    return text[0] == code[0] && text[0] != '\0' && text[1] == code[1];
}

const CAlias* AliasOf(const char* text, bool bySid)
{
    for (const CAlias& alias : aliases) {
        if (bySid ? alias.sid != nullptr && std::strcmp(alias.sid, text) == 0 : SameCode(text, alias.alias))
            return &alias;
    }
    return nullptr;
}

class CSddlReader
{
public:
    explicit CSddlReader(const char* text) : m_p(text) {}

    bool Read(CSecurityDescriptor& descriptor);

private:
    bool Take(const char* token);
    bool ReadDecimal(uint32_t& number);
    bool ReadTrustee(CTrustee& trustee);
    void ReadAclFlags(bool& isProtected, bool& isNull);
    bool ReadAcl(CSecurityDescriptor* descriptor);
    bool ReadEntry(CAccessEntry& entry);
    bool ReadEntryFlags();
    bool ReadRights(uint32_t& rights);
    bool ReadGuid(bool allowed);
    bool SkipParenthesised(bool quotes);

    const char* m_p;
};

bool CSddlReader::Read(CSecurityDescriptor& descriptor)
{
    bool seen[4] = {};
    static const char parts[] = "OGDS";
    while (*m_p != '\0') {
        const char* part = std::strchr(parts, *m_p);
        if (part == nullptr || m_p[1] != ':' || seen[part - parts])
            return false;
        seen[part - parts] = true;
        m_p += 2;
        CTrustee group;
        if (*part == 'O')
            descriptor.hasOwner = true;
        const bool read = *part == 'O'   ? ReadTrustee(descriptor.owner)
                          : *part == 'G' ? ReadTrustee(group)
                          : *part == 'D' ? ReadAcl(&descriptor)
                                         : ReadAcl(nullptr);
        if (!read)
            return false;
    }
    return true;
}

bool CSddlReader::Take(const char* token)
{
    const size_t length = std::strlen(token);
    if (std::strncmp(m_p, token, length) != 0)
        return false;
    m_p += length;
    return true;
}

bool CSddlReader::ReadDecimal(uint32_t& number)
{
    if (*m_p < '0' || *m_p > '9')
        return false;
    uint64_t value = 0;
    for (; *m_p >= '0' && *m_p <= '9'; ++m_p) {
        value = value * 10 + static_cast<uint64_t>(*m_p - '0');
        if (value > UINT32_MAX)
            return false;
    }
    number = static_cast<uint32_t>(value);
    return true;
}

// Windows writes an identifier authority above 32 bits in hexadecimal. No account that the rules
// accept has one, so it is left unread, and the descriptor with it.
bool CSddlReader::ReadTrustee(CTrustee& trustee)
{
    if (!Take("S-1-")) {
        const CAlias* alias = AliasOf(m_p, false);
        if (alias == nullptr)
            return false;
        trustee.alias = alias->alias;
        trustee.sid.Assign(alias->sid);
        m_p += 2;
        return true;
    }
    uint32_t number = 0;
    if (!ReadDecimal(number))
        return false;
    // The text is rebuilt from the numbers, so that one identifier has one text however it was written.
    trustee.sid.Assign("S-1-");
    trustee.sid.AppendDecimal(number);
    for (int count = 0; *m_p == '-'; ++count) {
        ++m_p;
        if (count == 15 || !ReadDecimal(number))
            return false;
        trustee.sid.Append("-");
        trustee.sid.AppendDecimal(number);
    }
    const CAlias* alias = AliasOf(trustee.sid.GetText(), true);
    trustee.alias = alias != nullptr ? alias->alias : nullptr;
    return true;
}

void CSddlReader::ReadAclFlags(bool& isProtected, bool& isNull)
{
    for (;;) {
        if (Take("P"))
            isProtected = true;
        else if (Take("NO_ACCESS_CONTROL"))
            isNull = true;
        else if (!Take("AI") && !Take("AR"))
            return;
    }
}

// The access list when given a descriptor to fill, else the audit list, whose entries are skipped.
bool CSddlReader::ReadAcl(CSecurityDescriptor* descriptor)
{
    bool isProtected = false;
    bool isNull = false;
    ReadAclFlags(isProtected, isNull);
    if (descriptor == nullptr) {
        while (*m_p == '(') {
            if (!SkipParenthesised(true))
                return false;
        }
        return true;
    }
    descriptor->hasDacl = !isNull;
    descriptor->daclProtected = isProtected;
    while (*m_p == '(') {
        CAccessEntry entry;
        if (isNull || !ReadEntry(entry))
            return false;
        descriptor->dacl.push_back(entry);
    }
    return true;
}

bool CSddlReader::ReadEntry(CAccessEntry& entry)
{
    const char* start = m_p++;
    while (IsUpper(*m_p))
        ++m_p;
    entry.type.Assign(start + 1, static_cast<size_t>(m_p - start - 1));
    const CEntryType* type = nullptr;
    for (const CEntryType& known : entryTypes) {
        if (std::strcmp(known.code, entry.type.GetText()) == 0)
            type = &known;
    }
    if (type == nullptr) {
        // Kept as unknown for the rules to refuse; its fields may follow another form.
        m_p = start;
        return !entry.type.IsEmpty() && SkipParenthesised(true);
    }
    entry.kind = type->kind;
    if (!Take(";") || !ReadEntryFlags() || !Take(";") || !ReadRights(entry.rights) || !Take(";") ||
        !ReadGuid(type->object) || !Take(";") || !ReadGuid(type->object) || !Take(";") || !ReadTrustee(entry.trustee))
        return false;
    // Windows puts a condition's strings between quotes and does not say what it writes for a quote
    // inside one: a condition with strings could end anywhere, and take the entries after it with
    // it. A log folder has no use for one.
    if (type->callback && Take(";") && (*m_p != '(' || !SkipParenthesised(false)))
        return false;
    return Take(")");
}

bool CSddlReader::ReadEntryFlags()
{
    while (*m_p != ';') {
        bool known = false;
        for (const char* code : entryFlagCodes)
            known = known || SameCode(m_p, code);
        if (!known)
            return false;
        m_p += 2;
    }
    return true;
}

bool CSddlReader::ReadRights(uint32_t& rights)
{
    rights = 0;
    if (Take("0x") || Take("0X")) {
        int digits = 0;
        for (; HexValue(*m_p) >= 0; ++m_p, ++digits)
            rights = rights << 4 | static_cast<uint32_t>(HexValue(*m_p));
        return digits > 0 && digits <= 8;
    }
    while (*m_p != ';') {
        const CRightsCode* found = nullptr;
        for (const CRightsCode& code : rightsCodes) {
            if (SameCode(m_p, code.code))
                found = &code;
        }
        if (found == nullptr)
            return false;
        rights |= found->rights;
        m_p += 2;
    }
    return true;
}

// Empty, or for an object entry a GUID as 8-4-4-4-12 hexadecimal digits.
bool CSddlReader::ReadGuid(bool allowed)
{
    if (*m_p == ';')
        return true;
    if (!allowed)
        return false;
    static const char form[] = "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";
    for (const char* f = form; *f != '\0'; ++f, ++m_p) {
        if (*f == '-' ? *m_p != '-' : HexValue(*m_p) < 0)
            return false;
    }
    return true;
}

// From an opening parenthesis past the one that closes it, over quoted strings that may hold
// parentheses, or else refusing any quote.
bool CSddlReader::SkipParenthesised(bool quotes)
{
    int depth = 0;
    bool quoted = false;
    do {
        if (*m_p == '\0' || (*m_p == '"' && !quotes))
            return false;
        if (*m_p == '"')
            quoted = !quoted;
        else if (!quoted && *m_p == '(')
            ++depth;
        else if (!quoted && *m_p == ')')
            --depth;
        ++m_p;
    } while (depth > 0);
    return true;
}

} // namespace

CHeapString TrusteeName(const CTrustee& trustee)
{
    if (trustee.alias == nullptr)
        return trustee.sid;
    CHeapString name(trustee.alias);
    if (!trustee.sid.IsEmpty()) {
        name.Append(" (");
        name.Append(trustee.sid);
        name.Append(")");
    }
    return name;
}

bool ReadSddl(const char* sddl, CSecurityDescriptor& descriptor)
{
    descriptor = CSecurityDescriptor();
    return sddl != nullptr && CSddlReader(sddl).Read(descriptor);
}
