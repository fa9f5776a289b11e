// The run's event in the Application log, source Tollvey: its exit status as the event ID, its
// summary as the text. Event Viewer shows the text through a message file, TollveyEvents.dll, which
// the program carries and writes into its log's folder, where it outlives the program's download.
#pragma once

#include "DeployCalls.h"
#include "HeapString.h"

// Writes the message file into the folder (ending in a backslash) unless it is there already, and
// registers it as the source's; false, with why, when either failed.
[[nodiscard]] bool RegisterMessageFile(const char* folder, CHeapString& why);

// Information for 0 and 3010, an error for every other status.
void ReportRunEvent(const CDeployCalls& calls, unsigned status, const char* text);
