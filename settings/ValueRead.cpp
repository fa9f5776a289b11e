#include "ValueRead.h"

#include "OutOfMemory.h"
#include "Utf16.h"

#include <cstdlib>
#include <cstring>

namespace {

const unsigned long statusSuccess = 0;
const unsigned long statusFileNotFound = 2;
const unsigned long statusMoreData = 234;
const int mostReads = 3;

// Zeros after the data: a text that lacks its terminator, even one of an odd size, ends there.
const unsigned long zerosAfter = 4;

void Wipe(unsigned char* data, size_t size)
{
    WipeBytes(data, size);
    std::free(data);
}

size_t UnitsBeforeZero(const unsigned char* data, size_t units)
{
    size_t length = 0;
    while (length < units && (data[2 * length] != 0 || data[2 * length + 1] != 0))
        ++length;
    return length;
}

// The text of a string type: up to its first terminator, or for a list up to the empty string that
// ends it, a line each. False when a string is not whole UTF-16.
bool TakeText(const unsigned char* data, size_t size, unsigned long type, CHeapString& text)
{
    // A byte left over from an odd size is no character.
    const size_t units = size / 2;
    bool whole = true;
    for (size_t at = 0;;) {
        const size_t length = UnitsBeforeZero(data + 2 * at, units - at);
        CHeapString line;
        whole = Utf16ToUtf8(data + 2 * at, length, line) && whole;
        text.Append(line);
        line.Wipe();
        at += length + 1;
        if (type != regMultiSz || at >= units || UnitsBeforeZero(data + 2 * at, units - at) == 0)
            return whole;
        text.Append("\n");
    }
}

void TakeData(const unsigned char* data, unsigned long size, unsigned long type, CValueRead& value)
{
    value.type = type;
    if (type == regSz || type == regExpandSz || type == regMultiSz) {
        if (!TakeText(data, size, type, value.text)) {
            value.text.Wipe();
            value.state = CValueRead::unreadable;
            value.status = statusNotWholeUtf16;
            value.reason.Assign("not whole UTF-16");
            return;
        }
    } else {
        value.text.Assign(reinterpret_cast<const char*>(data));
    }
    if (type == regDword)
        for (unsigned long i = 0; i < 4 && i < size; ++i)
            value.number |= static_cast<unsigned long>(data[i]) << (8 * i);
    value.state = CValueRead::read;
}

} // namespace

void CValueRead::SetText(const char* written)
{
    state = read;
    type = regSz;
    // What it replaces may have been a password.
    text.Wipe();
    text.Assign(written);
    number = 0;
    status = 0;
    reason.Assign("");
}

void ReadValue(CValueQuery query, const void* context, CValueRead& value)
{
    value.SetText("");
    value.state = CValueRead::missing;
    unsigned long status = statusMoreData;
    unsigned long type = regNone;
    unsigned char* data = nullptr;
    unsigned long capacity = 0;
    unsigned long size = 0;
    for (int reads = 0; reads < mostReads && status == statusMoreData; ++reads) {
        status = query(context, &type, nullptr, &size);
        if (status != statusSuccess)
            break;
        Wipe(data, capacity);
        capacity = size + zerosAfter;
        data = static_cast<unsigned char*>(AllocateOrStop(capacity, 1));
        std::memset(data, 0, capacity);
        status = query(context, &type, data, &size);
    }
    if (status == statusSuccess) {
        TakeData(data, size, type, value);
    } else if (status != statusFileNotFound) {
        value.state = CValueRead::unreadable;
        value.status = status;
    }
    Wipe(data, capacity);
}
