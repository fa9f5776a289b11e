// Lines that carry what the user typed, in UTF-8. A Windows console shows bytes in its own output
// code page (437 or 850 by default), not in the active code page, so on a console these lines go
// out as UTF-16; to a pipe or a file (and what the console refuses of them) they go out as the
// active code page's bytes, like every other line, with "?" for what a legacy code page cannot show.
#pragma once

void PrintUserText(const char* text);
