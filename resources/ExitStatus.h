// How a run of each program ends, for the scripts that run them. Unsigned, as Windows keeps a
// process's exit code.
#pragma once

// TollveyCmd.exe and Tollvey.exe.
// Every value asked for was written; or TollveyCmd.exe only showed its usage, or the dialog was
// cancelled.
const unsigned exitDone = 0;
// A value was not written: Windows refused it, or the dialog that would have taken it could not be
// shown.
const unsigned exitWriteFailed = 1;

// TollveyCmd.exe alone: the command line was rejected; nothing was written. (Tollvey.exe opens its
// dialog over a command line it cannot read.)
const unsigned exitRejected = 2;

// TollveyCheck.exe.
// As far as the program can tell, Windows will log on by itself at the next start-up; or only the
// usage was asked for.
const unsigned exitWillLogOn = 0;
// Something it found stops automatic logon.
const unsigned exitStopped = 1;
// The Winlogon key could not be read, or the command line was rejected: nothing was checked.
const unsigned exitNotChecked = 2;
