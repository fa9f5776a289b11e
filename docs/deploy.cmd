@rem A byte order mark, which some editors put before the first line, spoils only this one.
@echo off
rem Sets up automatic logon with Tollvey on the computer it runs on; "deploy.cmd off" switches it
rem off again and removes the programs. Meant to run as the local system account, which may write
rem HKEY_LOCAL_MACHINE: as a computer start-up script of a Group Policy, or as the install command
rem (and, with "off", the uninstall command) of a device-management deployment.
rem
rem Copies TollveyCmd.exe, Tollvey.exe and TollveyCheck.exe from this script's folder (or the one
rem above it, as in the release archive) into the Program Files folder, which only administrators
rem can write, runs TollveyCmd.exe from there, and then TollveyCheck.exe on what it wrote. Where
rem Windows is x64 it takes the 64-bit pair, from the x64 folder beside the 32-bit one; elsewhere
rem the 32-bit pair: on 32-bit Windows, and on ARM64 Windows, which runs it emulated. Started by a
rem 32-bit command processor, as a device-management agent may start its commands, it still
rem installs into the 64-bit Program Files folder.
rem
rem Ends with one of these exit statuses:
rem   0  done
rem   1  a write failed: the script did not run with administrator rights
rem   2  TollveyCmd.exe rejected its command line; nothing was written
rem   3  the programs are not beside this script or could not be copied; nothing was written.
rem      Switching off: they could not be removed, though automatic logon is off
rem   4  TollveyCmd.exe could not run here (blocked by policy, damaged, or stopped before its end)
rem   5  a value below holds a double quote, or the user name is empty or blanks alone; nothing was
rem      written
rem   6  a value below holds characters outside ASCII, and this file was not read as UTF-8 (saved
rem      in another encoding, or run without a console); nothing was written
rem   7  an argument other than "off"; nothing was done
rem   8  the values were written, but TollveyCheck.exe found something that stops automatic
rem      logon: its output names it
rem
rem Whoever can read this file can read the password in it: see "Deploying to many computers" in
rem README.md. Keep this file in UTF-8. In a value below, write each percent sign twice; a value
rem cannot hold a double quote.

rem The values are taken as written, also where delayed expansion is on (cmd /V:ON, or the command
rem processor's DelayedExpansion setting), which would read "!" in them as a variable's name.
setlocal EnableExtensions DisableDelayedExpansion

rem cmd reads each line of a batch file in the console's code page at that moment: from here on
rem that is UTF-8, this file's own, and the console's code page is put back at the end.
set "CODEPAGE_BEFORE="
for /f "tokens=2 delims=:" %%c in ('chcp') do for %%n in (%%c) do set "CODEPAGE_BEFORE=%%~nn"
chcp 65001 >nul 2>&1

rem A double quote in a value below would end its set command early, and cmd would run the rest of
rem the line as a command of its own. So this file's own set lines are read first as text, which cmd
rem does not parse, and one that holds a quote beyond the two around its value is refused. They are
rem found as they are written below, each at the start of its line: keep them so.
set "STATUS=5"
for /f "delims=" %%l in ('find "set ""LOGON_" ^< "%~f0"') do (
    set "LINE=%%l"
    call :HasStrayQuote
    if errorlevel 1 goto finish
)

rem The account that logs on by itself.
set "LOGON_USER=kiosk"
set "LOGON_PASSWORD=change-me"
rem The domain's name for a domain account, the computer's name for a local one.
set "LOGON_DOMAIN=%COMPUTERNAME%"
rem This configuration's version, a number: raise it with every change of the values above. A run
rem that leaves a computer ready to log on by itself records it in the registry, where the detection
rem rule of a device-management deployment looks for it (see README.md).
set "LOGON_CONFIGURATION_VERSION=1"

rem Two characters that read as two only when this file is read as UTF-8; leave them as they are.
set "UTF8_PROBE=ä€"

rem The processor Windows runs on: a 32-bit process on 64-bit Windows finds its own in
rem PROCESSOR_ARCHITECTURE and Windows' in PROCESSOR_ARCHITEW6432.
set "WINDOWS_PROCESSOR=%PROCESSOR_ARCHITECTURE%"
if defined PROCESSOR_ARCHITEW6432 set "WINDOWS_PROCESSOR=%PROCESSOR_ARCHITEW6432%"
set "PAIR="
if /i "%WINDOWS_PROCESSOR%"=="AMD64" set "PAIR=x64\"
set "SOURCE=%~dp0%PAIR%"
if not exist "%SOURCE%TollveyCmd.exe" set "SOURCE=%~dp0..\%PAIR%"
rem On 64-bit Windows ProgramW6432 names the 64-bit Program Files folder, also to a 32-bit process,
rem whose ProgramFiles is the 32-bit one.
set "TARGET=%ProgramFiles%\Tollvey"
if defined ProgramW6432 set "TARGET=%ProgramW6432%\Tollvey"
set "PROGRAMS=TollveyCmd.exe Tollvey.exe TollveyCheck.exe"
rem The configuration version goes to the 64-bit view of the registry on 64-bit Windows, also from
rem a 32-bit command processor, whose reg.exe sees the 32-bit view unless told otherwise.
set "VERSION_KEY=HKLM\SOFTWARE\Tollvey"
set "VERSION_VIEW="
if defined PROCESSOR_ARCHITEW6432 set "VERSION_VIEW=/reg:64"

set "STATUS=7"
if "%~1"=="" goto install
if /i "%~1"=="off" if "%~2"=="" goto off
goto finish

:install
set "STATUS=5"
if not defined LOGON_USER goto finish
set "VALUE=%LOGON_USER: =%"
if defined VALUE set "VALUE=%VALUE:	=%"
if not defined VALUE goto finish
set "VALUE=%LOGON_USER%"
call :QuoteSafely
if errorlevel 1 goto finish
set "USER_ARGUMENT=%VALUE%"
set "VALUE=%LOGON_PASSWORD%"
call :QuoteSafely
if errorlevel 1 goto finish
set "PASSWORD_ARGUMENT=%VALUE%"
set "VALUE=%LOGON_DOMAIN%"
call :QuoteSafely
if errorlevel 1 goto finish
set "DOMAIN_ARGUMENT=%VALUE%"

rem Characters outside ASCII read as others when this file is not read as UTF-8 (a cmd that could not
rem switch, as without a console); values in ASCII read alike in every code page. The delimiters are
rem every printable ASCII character but the double quote, and the tab, so any token left is
rem something else.
set "STATUS=6"
if not "%UTF8_PROBE:~1%"=="" if "%UTF8_PROBE:~2%"=="" goto copy
for /f "delims=	!#$%%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\]^_`abcdefghijklmnopqrstuvwxyz{|}~ " %%c in ("-%LOGON_USER%%LOGON_PASSWORD%%LOGON_DOMAIN%") do goto finish

:copy
set "STATUS=3"
if not exist "%SOURCE%TollveyCmd.exe" goto finish
if not exist "%TARGET%\" mkdir "%TARGET%" >nul 2>&1
for %%p in (%PROGRAMS%) do (
    copy /b /y "%SOURCE%%%p" "%TARGET%\" >nul 2>&1
    if errorlevel 1 goto finish
)

set "STATUS=4"
set "PROGRAM=%TARGET%\"
call :Runs TollveyCmd.exe
if errorlevel 1 goto finish
rem The script runs again at each start-up, so it registers no start-up entry (-r-), which would keep
rem the password in one more place. TollveyCmd.exe prints the password: its output goes nowhere, so
rem that no log of the deployment keeps it.
"%TARGET%\TollveyCmd.exe" "-u=%USER_ARGUMENT%" "-p=%PASSWORD_ARGUMENT%" "-d=%DOMAIN_ARGUMENT%" -r- >nul 2>&1
set "STATUS=%ERRORLEVEL%"
if not "%STATUS%"=="0" goto checked

rem TollveyCheck.exe shows no password, so its findings go to the output. Only what stops automatic
rem logon is a failure: a check that could not run, or could not tell, is none. A computer that
rem will not log on by itself keeps no configuration version, so that a detection rule does not
rem take it for done.
call :Runs TollveyCheck.exe
if errorlevel 1 goto record
"%TARGET%\TollveyCheck.exe"
if not "%ERRORLEVEL%"=="1" goto record
set "STATUS=8"
reg delete "%VERSION_KEY%" /v ConfigurationVersion /f %VERSION_VIEW% >nul 2>&1
goto finish
:record
reg add "%VERSION_KEY%" /v ConfigurationVersion /t REG_SZ /d "%LOGON_CONFIGURATION_VERSION%" /f %VERSION_VIEW% >nul 2>&1
if errorlevel 1 set "STATUS=1"
goto finish

:off
set "STATUS=3"
if not exist "%SOURCE%TollveyCmd.exe" goto finish
set "STATUS=4"
set "PROGRAM=%SOURCE%"
call :Runs TollveyCmd.exe
if errorlevel 1 goto finish
rem Automatic logon off, the password forgotten, no start-up entry.
"%SOURCE%TollveyCmd.exe" -u= -p= -r- >nul 2>&1
set "STATUS=%ERRORLEVEL%"
if not "%STATUS%"=="0" goto checked
rem The configuration version goes with the values, so that no detection rule finds it any more.
set "STATUS=1"
reg delete "%VERSION_KEY%" /f %VERSION_VIEW% >nul 2>&1
reg query "%VERSION_KEY%" %VERSION_VIEW% >nul 2>&1
if not errorlevel 1 goto finish
set "STATUS=3"
for %%p in (%PROGRAMS%) do del /f /q "%TARGET%\%%p" >nul 2>&1
rmdir "%TARGET%" >nul 2>&1
for %%p in (%PROGRAMS%) do if exist "%TARGET%\%%p" goto finish
set "STATUS=0"
goto finish

:checked
rem Any other status is not one of TollveyCmd.exe's: it did not run to its end.
if not "%STATUS%"=="0" if not "%STATUS%"=="1" if not "%STATUS%"=="2" set "STATUS=4"

:finish
if defined CODEPAGE_BEFORE chcp %CODEPAGE_BEFORE% >nul 2>&1
exit /b %STATUS%


rem Doubles the backslashes that end VALUE, which goes into an argument in double quotes: the C
rem runtime reads backslashes before a double quote in pairs, and a single one as making the quote
rem part of the value. Ends with status 1, and VALUE unchanged, when VALUE holds a double quote,
rem which would end the argument early. The test compares VALUE with its quotes taken out and with
rem them turned into apostrophes, so that no quote of VALUE reaches a line that cmd parses.
:QuoteSafely
if not defined VALUE exit /b 0
set "QUOTES_OUT=%VALUE:"=%"
set "QUOTES_TURNED=%VALUE:"='%"
if not "%QUOTES_OUT%"=="%QUOTES_TURNED%" exit /b 1
set "TRAILING="
:QuoteSafely.next
if "%VALUE:~-1%"=="\" (
    set "VALUE=%VALUE:~0,-1%"
    set "TRAILING=%TRAILING%\\"
    if defined VALUE goto QuoteSafely.next
)
set "VALUE=%VALUE%%TRAILING%"
exit /b 0

rem Ends with status 1 when LINE is one of the set lines of the values above with a double quote
rem in its value. Only texts without quotes are expanded here: LINE with its quotes taken out, and
rem with them turned into apostrophes, are alike but for the first five characters and the last
rem (blanks after the closing quote aside) only when the value holds no quote.
:HasStrayQuote
set "QUOTES_OUT=%LINE:"=%"
set "QUOTES_TURNED=%LINE:"='%"
if /i not "%QUOTES_OUT:~0,10%"=="set LOGON_" exit /b 0
:HasStrayQuote.trim
if "%QUOTES_OUT:~-1%"==" " (
    set "QUOTES_OUT=%QUOTES_OUT:~0,-1%"
    set "QUOTES_TURNED=%QUOTES_TURNED:~0,-1%"
    goto HasStrayQuote.trim
)
if not "%QUOTES_TURNED:~5,-1%"=="%QUOTES_OUT:~4%" exit /b 1
exit /b 0

rem Ends with status 1 when the program named (TollveyCmd.exe or TollveyCheck.exe) in the folder
rem PROGRAM cannot run here. When a program cannot start, cmd leaves a status of its own, which
rem could read as one of the program's; with -? it changes nothing and ends with 0.
:Runs
"%PROGRAM%%~1" -? >nul 2>&1
if not "%ERRORLEVEL%"=="0" exit /b 1
exit /b 0
