// Whether TollveyDeploy keeps its log in a folder and a file it finds, over SDDL as Windows writes it:
// the folder it makes itself, what a user could have made or changed, and text that cannot be read.
#include "LogFolderRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string made = "O:BAG:SYD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

struct Case
{
    const char* label;
    std::string sddl;
    const char* refusal; // a part of the reason; null: accepted
    bool reparsePoint = false;
    unsigned long links = 1;
};

void Expect(const Case& c, bool accepted, const CHeapString& reason)
{
    const std::string text = reason.GetText();
    EXPECT_EQ(accepted, c.refusal == nullptr) << c.label << ": " << text;
    EXPECT_TRUE(c.refusal == nullptr ? text.empty() : text.find(c.refusal) != std::string::npos) << c.label << ": " << text;
}

TEST(LogFolderRules, Folder)
{
    const Case cases[] = {
        {"the folder it makes", made, nullptr},
        {"owned by the system account", "O:SYG:SYD:P(A;OICI;FA;;;SY)", nullptr},
        {"the system account and administrators as SIDs", "O:S-1-5-18D:P(A;;FA;;;S-1-5-32-544)", nullptr},
        {"protected, inheritance applied", "O:BAG:SYD:PAI(A;OICI;FA;;;SY)(A;OICIID;FR;;;BU)", nullptr},
        {"an empty protected list", "O:BAD:P", nullptr},
        {"users denied", made + "(D;OICI;FA;;;BU)", nullptr},
        {"users read", made + "(A;;FR;;;BU)", nullptr},
        {"read rights as directory-service codes", made + "(A;;CCSWWPLORC;;;BU)", nullptr},
        {"an audit list is skipped", made + "S:AI(AU;SAFA;FA;;;WD)(RA;CI;;;;WD;(\"Project\",TS,0,\"a)b\"))", nullptr},
        {"owned by users", "O:BUD:P", "it is owned by BU (S-1-5-32-545), not by the administrators or the system account"},
        {"owned by a user", "O:S-1-5-21-1-2-3-1001D:P", "owned by S-1-5-21-1-2-3-1001, not"},
        {"owned by a domain's administrator", "O:LAD:P", "owned by LA, not"},
        {"no owner", "D:P", "it has no owner"},
        {"inherits", "O:BAG:SYD:(A;OICI;FA;;;SY)", "its access list is not protected: it inherits entries"},
        {"inherits automatically", "O:BAD:AI(A;OICI;FA;;;SY)", "not protected"},
        {"a null list", "O:BAD:NO_ACCESS_CONTROL", "it has no access list, so everyone has full access"},
        {"a protected null list", "O:BAD:PNO_ACCESS_CONTROL", "no access list"},
        {"no list", "O:BAG:SY", "no access list"},
        {"full control for users", made + "(A;OICI;FA;;;BU)", "it grants write access to BU (S-1-5-32-545)"},
        {"users as a SID", made + "(A;;FW;;;S-1-5-32-545)", "write access to BU (S-1-5-32-545)"},
        {"write data for everyone", made + "(A;;0x2;;;WD)", "write access to WD (S-1-1-0)"},
        {"creator owner, inherit-only", made + "(A;OICIIO;GA;;;CO)", "write access to CO (S-1-3-0)"},
        {"delete", made + "(A;;SD;;;AU)", "write access to AU (S-1-5-11)"},
        {"change the access list", made + "(A;;WD;;;IU)", "write access to IU (S-1-5-4)"},
        {"take ownership", made + "(A;;WO;;;S-1-5-21-1-2-3-1001)", "write access to S-1-5-21-1-2-3-1001"},
        {"generic write", made + "(A;;GW;;;BG)", "BG (S-1-5-32-546)"},
        {"maximum allowed", made + "(A;;0x2000000;;;OW)", "OW (S-1-3-4)"},
        {"DC sets the bit of writing data", made + "(A;;CCDC;;;BU)", "BU"},
        {"an object entry", made + "(OA;;CR;bf967a86-0de6-11d0-a285-00aa003049e2;;PU)", "PU"},
        {"a conditional entry", made + "(XA;;FW;;;AU;(Member_of {SID(BA), SID(S-1-5-32-545)}))", "AU"},
        {"an audit entry in the access list", made + "(AU;SA;FA;;;WD)", "of a type this program does not know: AU"},
        {"a reparse point", made, "it is a reparse point (a link)", true},
        {"unclosed entry", made.substr(0, made.size() - 1), "its security could not be read"},
        {"unknown alias", "O:BAD:P(A;;FA;;;XY)", "could not be read"},
        {"unknown right", "O:BAD:P(A;;FQ;;;BU)", "could not be read"},
        {"rights above 32 bits", "O:BAD:P(A;;0x100000000;;;BU)", "could not be read"},
        {"a subauthority above 32 bits", "O:S-1-5-4294967296D:P", "could not be read"},
        {"text after the list", made + "x", "could not be read"},
        {"a second access list", made + "D:(A;;FA;;;WD)", "could not be read"},
        {"a GUID on a plain entry", "O:BAD:P(A;;FA;bf967a86-0de6-11d0-a285-00aa003049e2;;SY)", "could not be read"},
        {"a condition with a string", made + "(XA;;FR;;;WD;(@User.Project == \"a\"))", "could not be read"},
        {"a null list with entries", "O:BAD:NO_ACCESS_CONTROL(A;;FA;;;SY)", "could not be read"},
    };
    for (const Case& c : cases) {
        CHeapString reason("before");
        const bool accepted = AcceptLogFolder(c.sddl.c_str(), c.reparsePoint, reason);
        Expect(c, accepted, reason);
    }
}

// The file's access list comes from the folder's and is not judged again.
TEST(LogFolderRules, File)
{
    const Case cases[] = {
        {"owned by the administrators", "O:BAG:SYD:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)", nullptr},
        {"owned by the system account", "O:SY", nullptr},
        {"the system account as a SID", "O:S-1-5-18G:SY", nullptr},
        {"a second link", "O:BA", "it has 2 links, not one", false, 2},
        {"no link", "O:SY", "it has 0 links", false, 0},
        {"owned by a user", "O:S-1-5-21-1-2-3-1001", "it is owned by S-1-5-21-1-2-3-1001, not"},
        {"a reparse point", "O:BA", "it is a reparse point", true},
        {"unreadable", "O:BA(", "its security could not be read"},
    };
    for (const Case& c : cases) {
        CHeapString reason("before");
        const bool accepted = AcceptLogFile(c.sddl.c_str(), c.reparsePoint, c.links, reason);
        Expect(c, accepted, reason);
    }
}

} // namespace
