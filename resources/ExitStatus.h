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

// TollveyDeploy.exe. The numbers of the script it replaced, where their meaning still holds, so that
// device management's return codes and detection rules carry over; that script's 2, 3, 4 and 6 are
// retired and never reused.
// Done, and this configuration version was recorded before; or switched off.
const unsigned exitRecordedBefore = 0;
// Done, and this configuration version was not recorded before: a restart applies it.
const unsigned exitRestartApplies = 3010;
// A write failed: the log and the event name the value and Windows' reason.
const unsigned exitDeployWriteFailed = 1;
// TollveyDeploy.ini was refused, or is not there: nothing was written.
const unsigned exitFileRefused = 5;
// An argument was refused: nothing was done.
const unsigned exitArgumentRefused = 7;
// The values were written, but the check found what stops automatic logon: no version was recorded.
const unsigned exitCheckStopped = 8;
// Windows refused the file's credentials: nothing was written, and this version is not tried again.
const unsigned exitCredentialsRefused = 9;
// Another run holds the deployment: nothing was done; Intune and Configuration Manager retry it.
const unsigned exitAnotherRun = 1618;
