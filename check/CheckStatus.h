// How a run of TollveyCheck.exe ends, for the scripts that run it.
#pragma once

// As far as the program can tell, Windows will log on by itself at the next start-up; or only the
// usage was asked for.
const int exitWillLogOn = 0;
// Something it found stops automatic logon.
const int exitStopped = 1;
// The Winlogon key could not be read, or the command line was rejected: nothing was checked.
const int exitNotChecked = 2;
