// How a run of either program ends, for the scripts that deploy them.
#pragma once

// Every value asked for was written, or only the usage was asked for.
const int exitDone = 0;
// A value was not written: the registry refused it, or the dialog that would have taken it could
// not be shown.
const int exitWriteFailed = 1;
// The command line was rejected; nothing was written.
const int exitRejected = 2;
