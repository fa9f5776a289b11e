// Between the UTF-16 texts that Windows keeps and the 8-bit texts of the active code page that the
// programs keep. Under a UTF-8 active code page every character has its bytes; under a legacy code
// page some have none, and Windows would silently put a look-alike or "?" in their place.
#pragma once

#include "HeapString.h"

// Whether the process runs with UTF-8 as its active code page (the manifest asks for it).
bool IsUtf8CodePage();

// The text in the active code page. False when some character has no exact counterpart there; the
// target then holds the text with those characters replaced, fit to be shown but not to be stored.
bool ToActiveCodePage(const wchar_t* text, CHeapString& target);

// The first argument after the program's name, as Windows gave it in UTF-16, that the active code
// page cannot hold exactly; null when there is none, which is always so under UTF-8.
const wchar_t* FindUnrepresentableArgument();
