// CDeployFile: TollveyDeploy.ini, the file beside TollveyDeploy.exe that names the account to log on,
// its password and the configuration version. The whole file is checked before anything is taken
// from it: a file that is wrong anywhere sets nothing.
#pragma once

#include "HeapString.h"

#include <cstddef>

class CDeployFile
{
public:
    static constexpr const char* fileName = "TollveyDeploy.ini";
    // Larger files are refused; a reader may read one byte more than this to tell.
    static constexpr size_t maxSize = 65536;

    CDeployFile() = default;
    CDeployFile(const CDeployFile&) = delete;
    CDeployFile& operator=(const CDeployFile&) = delete;
    ~CDeployFile();

    // bytes: the file's whole content, which is never kept. On failure every value is empty.
    [[nodiscard]] bool Parse(const char* bytes, size_t size);
    // One line naming the file, the line where there is one, and the fault; never a value.
    const char* GetErrorText() const;

    CHeapString m_userName;
    CHeapString m_password;
    CHeapString m_domain;
    CHeapString m_version;
    // A domain= line was there, even an empty one.
    bool m_domainGiven = false;
    // Whether the credentials are tried before they are written: verify=no says not.
    bool m_verify = true;

private:
    enum Name { user, password, domain, version, verify, nameCount };
    enum Fault {
        none, savedAsUtf16, tooLarge, loneCarriageReturn, controlCharacter, notUtf8, notNameValue,
        noName, unknownName, givenTwice, quoteNotClosed, textAfterQuote, userBlank, userBackslash,
        badVersion, badVerify, missing, userAndDomain
    };

    void Clear();
    void EmptyValues();
    bool ParseLines(const char* p, const char* end);
    bool CheckText(const char* p, const char* end);
    bool ParseLine(const char* p, const char* end);
    bool ParseValue(Name name, const char* p, const char* end);
    bool CheckValue(Name name);
    bool CheckWhole();
    bool Fail(Fault fault);
    CHeapString& Value(Name name);

    // The first fault, and what its text needs.
    Fault m_fault = none;
    unsigned long m_line = 0;
    unsigned long m_otherLine = 0;
    Name m_faultName = user;
    unsigned char m_byte = 0;
    CHeapString m_verifyText;

    unsigned long m_lineOf[nameCount] = {};
    mutable CHeapString m_errorText;
};
