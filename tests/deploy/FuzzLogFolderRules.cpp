// Any bytes as a folder's and a file's SDDL, in a buffer exactly as long as the text, so that a read
// past its end stops the run: Windows writes the text, but a user may have chosen what it says.
#include "LogFolderRules.h"

#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<char[]> text(new char[size + 1]);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    CHeapString reason;
    if (AcceptLogFolder(text.get(), false, reason) != reason.IsEmpty())
        __builtin_trap();
    if (AcceptLogFile(text.get(), false, 1, reason) != reason.IsEmpty())
        __builtin_trap();
    return 0;
}
