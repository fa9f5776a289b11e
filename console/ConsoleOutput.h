// Lines that carry what the user typed. A Windows console shows bytes in its own output code page
// (437 or 850 by default), not in the active code page, so on a console these lines go out as
// UTF-16; to a pipe or a file (or when the console refuses them) they go out as the active code
// page's bytes, like every other line.
#pragma once

// A text in the active code page.
void PrintUserText(const char* text);

// A text as Windows gave it; to a pipe or a file, whatever the code page cannot hold becomes "?".
void PrintUserText(const wchar_t* text);
