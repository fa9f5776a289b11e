@echo off
rem Sets up automatic logon with Tollvey on the computer it runs on. Meant to run as the local
rem system account, which may write HKEY_LOCAL_MACHINE: as a computer start-up script of a Group
rem Policy, or as the install command of a device-management deployment that runs as the system.
rem
rem Copies TollveyCmd.exe and Tollvey.exe from this script's folder (or the one above it, as in the
rem release archive) into a folder that only administrators can write, runs TollveyCmd.exe from
rem there and ends with its exit status:
rem   0  done
rem   1  a write failed (the script did not run with administrator rights)
rem   2  the command line was rejected; nothing was written
rem   3  the programs could not be copied; nothing was written
rem
rem Whoever can read this file can read the password in it: see "Deploying to many computers" in
rem README.md. In a value below, write each percent sign twice; a value cannot hold a double quote.

setlocal
set "LOGON_USER=kiosk"
set "LOGON_PASSWORD=change-me"
set "LOGON_DOMAIN=%COMPUTERNAME%"
set "TARGET=%ProgramFiles%\Tollvey"

set "SOURCE=%~dp0"
if not exist "%SOURCE%TollveyCmd.exe" set "SOURCE=%~dp0..\"
if not exist "%TARGET%\" mkdir "%TARGET%"
copy /b /y "%SOURCE%TollveyCmd.exe" "%TARGET%\" >nul
if errorlevel 1 exit /b 3
copy /b /y "%SOURCE%Tollvey.exe" "%TARGET%\" >nul
if errorlevel 1 exit /b 3

rem The script runs again at each start-up, so it registers no start-up entry (-r-). TollveyCmd.exe
rem prints the password: its output goes nowhere, so that no log of the deployment keeps it.
"%TARGET%\TollveyCmd.exe" "-u=%LOGON_USER%" "-p=%LOGON_PASSWORD%" "-d=%LOGON_DOMAIN%" -r- >nul 2>&1
exit /b %ERRORLEVEL%
