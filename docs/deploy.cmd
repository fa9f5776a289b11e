@rem A byte order mark, which some editors put before the first line, spoils only this one.
@echo off
rem Sets up automatic logon with Tollvey on the computer it runs on; "deploy.cmd off" switches it
rem off again and removes the programs it copied. Meant to run as the local system account, which
rem may write HKEY_LOCAL_MACHINE: as a computer start-up script of a Group Policy, or as the install
rem command (and, with "off", the uninstall command) of a device-management deployment.
rem
rem Copies TollveyCmd.exe, Tollvey.exe and TollveyCheck.exe from this script's folder (or the one
rem above it, as in the release archive) into the Program Files folder, which only administrators
rem can write, runs TollveyCmd.exe from there, and then TollveyCheck.exe on what it wrote. Where
rem Windows is x64 it takes the 64-bit pair, from the x64 folder beside the 32-bit one; elsewhere
rem the 32-bit pair: on 32-bit Windows, and on ARM64 Windows, which runs it emulated. Started by a
rem 32-bit command processor, as a device-management agent may start its commands, it still
rem installs into the 64-bit Program Files folder. Where a Windows Installer package of Tollvey has
rem installed the programs, it runs them where the package put them, copies nothing, and leaves
rem them to the package when switching off.
rem
rem Each run appends what it did to %ProgramData%\Tollvey\deploy.log, never the password.
rem
rem Ends with one of these exit statuses:
rem   0     done, and this configuration version was recorded before: nothing new at the next
rem         start-up. Switching off: done
rem   3010  done, and this configuration version was not recorded before (a first run, or a new
rem         version): automatic logon with these values starts at the next start-up
rem   1  a write failed: the script did not run with administrator rights
rem   2  TollveyCmd.exe rejected its command line; nothing was written
rem   3  the programs are not beside this script (nor where the Windows Installer package put
rem      them) or could not be copied; nothing was written. Switching off: they could not be
rem      removed, though automatic logon is off
rem   4  TollveyCmd.exe could not run here (blocked by policy, damaged, or stopped before its end)
rem   5  a value below holds a double quote, or the user name is empty or blanks alone; nothing was
rem      written
rem   6  a value below holds characters outside ASCII, and this file was not read as UTF-8 (saved
rem      in another encoding, or run without a console); nothing was written
rem   7  an argument other than "off"; nothing was done
rem   8  the values were written, but TollveyCheck.exe found something that stops automatic
rem      logon: its output names it
rem
rem Whoever can read this file can read the password in it: see deploying.html beside this script
rem (deploying.md in the source). Keep this file in UTF-8. In a value below, write each percent sign twice; a value
rem cannot hold a double quote.

rem The values are taken as written, also where delayed expansion is on (cmd /V:ON, or the command
rem processor's DelayedExpansion setting), which would read "!" in them as a variable's name.
setlocal EnableExtensions DisableDelayedExpansion

rem cmd reads each line of a batch file in the console's code page at that moment: from here on
rem that is UTF-8, this file's own, and the console's code page is put back at the end.
set "CODEPAGE_BEFORE="
for /f "tokens=2 delims=:" %%c in ('chcp') do for %%n in (%%c) do set "CODEPAGE_BEFORE=%%~nn"
chcp 65001 >nul 2>&1

rem The processor Windows runs on: a 32-bit process on 64-bit Windows finds its own in
rem PROCESSOR_ARCHITECTURE and Windows' in PROCESSOR_ARCHITEW6432.
set "WINDOWS_PROCESSOR=%PROCESSOR_ARCHITECTURE%"
if defined PROCESSOR_ARCHITEW6432 set "WINDOWS_PROCESSOR=%PROCESSOR_ARCHITEW6432%"
rem The configuration version goes to the 64-bit view of the registry on 64-bit Windows, also from
rem a 32-bit command processor, whose reg.exe sees the 32-bit view unless told otherwise.
set "VERSION_KEY=HKLM\SOFTWARE\Tollvey"
set "VERSION_VIEW="
if defined PROCESSOR_ARCHITEW6432 set "VERSION_VIEW=/reg:64"
set "MODE=install"
if not "%~1"=="" set "MODE=refused: an argument other than off"
if /i "%~1"=="off" if "%~2"=="" set "MODE=off"
set "LOG_STATE="

rem A double quote in a value below would end its set command early, and cmd would run the rest of
rem the line as a command of its own. So this file's own set lines are read first as text, which cmd
rem does not parse, and one that holds a quote beyond the two around its value is refused. They are
rem found as they are written below, each at the start of its line: keep them so.
set "STATUS=5"
set "LOG_LINE=  values: one holds a double quote: status 5"
for /f "delims=" %%l in ('find "set ""LOGON_" ^< "%~f0"') do (
    set "LINE=%%l"
    call :HasStrayQuote
    if errorlevel 1 goto failed
)

rem The account that logs on by itself.
set "LOGON_USER=kiosk"
set "LOGON_PASSWORD=change-me"
rem The domain's name for a domain account, the computer's name for a local one.
set "LOGON_DOMAIN=%COMPUTERNAME%"
rem This configuration's version, a number: raise it with every change of the values above. A run
rem that leaves a computer ready to log on by itself records it in the registry, where the detection
rem rule of a device-management deployment looks for it (see deploying.html).
set "LOGON_CONFIGURATION_VERSION=1"

rem Two characters that read as two only when this file is read as UTF-8; leave them as they are.
set "UTF8_PROBE=ä€"

set "PAIR="
if /i "%WINDOWS_PROCESSOR%"=="AMD64" set "PAIR=x64\"
set "SOURCE=%~dp0%PAIR%"
if not exist "%SOURCE%TollveyCmd.exe" set "SOURCE=%~dp0..\%PAIR%"
rem On 64-bit Windows ProgramW6432 names the 64-bit Program Files folder, also to a 32-bit process,
rem whose ProgramFiles is the 32-bit one.
set "TARGET=%ProgramFiles%\Tollvey"
if defined ProgramW6432 set "TARGET=%ProgramW6432%\Tollvey"
set "PROGRAMS=TollveyCmd.exe Tollvey.exe TollveyCheck.exe"

set "STATUS=7"
if "%MODE%"=="install" goto install
if "%MODE%"=="off" goto off
goto finish

:install
set "STATUS=5"
set "LOG_LINE=  values: the user name is empty or blanks alone: status 5"
if not defined LOGON_USER goto failed
set "VALUE=%LOGON_USER: =%"
if defined VALUE set "VALUE=%VALUE:	=%"
if not defined VALUE goto failed
set "LOG_LINE=  values: one holds a double quote: status 5"
set "VALUE=%LOGON_USER%"
call :QuoteSafely
if errorlevel 1 goto failed
set "USER_ARGUMENT=%VALUE%"
set "VALUE=%LOGON_PASSWORD%"
call :QuoteSafely
if errorlevel 1 goto failed
set "PASSWORD_ARGUMENT=%VALUE%"
set "VALUE=%LOGON_DOMAIN%"
call :QuoteSafely
if errorlevel 1 goto failed
set "DOMAIN_ARGUMENT=%VALUE%"

rem Characters outside ASCII read as others when this file is not read as UTF-8 (a cmd that could not
rem switch, as without a console); values in ASCII read alike in every code page. The delimiters are
rem every printable ASCII character but the double quote, and the tab, so any token left is
rem something else.
set "STATUS=6"
set "LOG_LINE=  values: characters outside ASCII, and this file was not read as UTF-8: status 6"
if not "%UTF8_PROBE:~1%"=="" if "%UTF8_PROBE:~2%"=="" goto copy
for /f "delims=	!#$%%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\]^_`abcdefghijklmnopqrstuvwxyz{|}~ " %%c in ("-%LOGON_USER%%LOGON_PASSWORD%%LOGON_DOMAIN%") do goto failed

:copy
call :FindInstalled
if defined INSTALLED goto installed
set "STATUS=3"
set "LOG_LINE=  programs: not beside this script (%SOURCE%): status 3"
if not exist "%SOURCE%TollveyCmd.exe" goto failed
set "LOG_LINE=  programs: could not be copied from %SOURCE% into %TARGET%: status 3"
if not exist "%TARGET%\" mkdir "%TARGET%" >nul 2>&1
for %%p in (%PROGRAMS%) do (
    copy /b /y "%SOURCE%%%p" "%TARGET%\" >nul 2>&1
    if errorlevel 1 goto failed
)
set "LOG_LINE=  programs: copied from %SOURCE% into %TARGET%"
call :Log
set "PROGRAM=%TARGET%\"
goto write

rem The package owns the programs it installed: they are run where it put them, and none is copied
rem over them or beside them.
:installed
set "STATUS=3"
set "PROGRAM=%INSTALLED%"
set "LOG_LINE=  programs: installed by Windows Installer in %INSTALLED%, but not there: status 3"
if not exist "%PROGRAM%TollveyCmd.exe" goto failed
set "LOG_LINE=  programs: installed by Windows Installer in %INSTALLED%"
call :Log

:write
set "STATUS=4"
set "LOG_LINE=  TollveyCmd.exe: cannot run here: status 4"
call :Runs TollveyCmd.exe
if errorlevel 1 goto failed
rem The script runs again at each start-up, so it registers no start-up entry (-r-), which would keep
rem the password in one more place. TollveyCmd.exe prints the password: its output goes nowhere, so
rem that no log of the deployment keeps it.
"%PROGRAM%TollveyCmd.exe" "-u=%USER_ARGUMENT%" "-p=%PASSWORD_ARGUMENT%" "-d=%DOMAIN_ARGUMENT%" -r- >nul 2>&1
set "STATUS=%ERRORLEVEL%"
set "LOG_LINE=  TollveyCmd.exe wrote the values: status %STATUS%"
call :Log
call :Checked
if not "%STATUS%"=="0" goto finish

rem TollveyCheck.exe shows no password, so its findings go to the output and to the log. Only what
rem stops automatic logon is a failure: a check that could not run, or could not tell, is none. A
rem computer that will not log on by itself keeps no configuration version, so that a detection rule
rem does not take it for done.
call :Check
if not "%CHECK_STATUS%"=="1" goto record
set "STATUS=8"
reg delete "%VERSION_KEY%" /v ConfigurationVersion /f %VERSION_VIEW% >nul 2>&1
goto finish

rem A version that was not recorded before means new values for the next start-up: 3010, which
rem device management takes for a success that waits for a restart. The same version again means
rem nothing new: 0, so that a start-up script that runs at every start-up reports done.
:record
set "VALUE_NAME=ConfigurationVersion"
call :ReadValue %VERSION_VIEW%
set "RECORDED=%VALUE_READ%"
set "STATUS=1"
set "LOG_LINE=  configuration version %LOGON_CONFIGURATION_VERSION%: could not be recorded: status 1"
reg add "%VERSION_KEY%" /v ConfigurationVersion /t REG_SZ /d "%LOGON_CONFIGURATION_VERSION%" /f %VERSION_VIEW% >nul 2>&1
if errorlevel 1 goto failed
set "STATUS=3010"
if defined RECORDED if "%RECORDED%"=="%LOGON_CONFIGURATION_VERSION%" set "STATUS=0"
set "LOG_LINE=  configuration version %LOGON_CONFIGURATION_VERSION% recorded; it was %RECORDED%"
if not defined RECORDED set "LOG_LINE=  configuration version %LOGON_CONFIGURATION_VERSION% recorded; there was none"
call :Log
goto finish

rem Switching off runs TollveyCmd.exe from where the package installed it, or else from beside the
rem script, which need not have installed anything.
:off
call :FindInstalled
set "STATUS=3"
set "PROGRAM=%SOURCE%"
if defined INSTALLED set "PROGRAM=%INSTALLED%"
set "LOG_LINE=  programs: not in %PROGRAM%: status 3"
if not exist "%PROGRAM%TollveyCmd.exe" goto failed
set "STATUS=4"
set "LOG_LINE=  TollveyCmd.exe: cannot run here: status 4"
call :Runs TollveyCmd.exe
if errorlevel 1 goto failed
rem Automatic logon off, the password forgotten, no start-up entry.
"%PROGRAM%TollveyCmd.exe" -u= -p= -r- >nul 2>&1
set "STATUS=%ERRORLEVEL%"
set "LOG_LINE=  TollveyCmd.exe switched automatic logon off: status %STATUS%"
call :Log
call :Checked
if not "%STATUS%"=="0" goto finish
rem The configuration version goes with the values, so that no detection rule finds it any more.
rem The rest of the key stays: the package's record of its folder, and the log's of its own.
set "STATUS=1"
set "LOG_LINE=  configuration version: could not be removed: status 1"
reg delete "%VERSION_KEY%" /v ConfigurationVersion /f %VERSION_VIEW% >nul 2>&1
set "VALUE_NAME=ConfigurationVersion"
call :ReadValue %VERSION_VIEW%
if defined VALUE_READ goto failed
set "LOG_LINE=  configuration version removed"
call :Log
set "STATUS=0"
set "LOG_LINE=  programs: left to Windows Installer in %INSTALLED%"
if /i "%INSTALLED%"=="%TARGET%\" goto logged
set "STATUS=3"
set "LOG_LINE=  programs: could not be removed from %TARGET%: status 3"
for %%p in (%PROGRAMS%) do del /f /q "%TARGET%\%%p" >nul 2>&1
rmdir "%TARGET%" >nul 2>&1
for %%p in (%PROGRAMS%) do if exist "%TARGET%\%%p" goto failed
set "STATUS=0"
set "LOG_LINE=  programs: removed from %TARGET%"
goto logged

:failed
:logged
call :Log

:finish
set "LOG_LINE=  end: status %STATUS%"
call :Log
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

rem Any status other than TollveyCmd.exe's own means that it did not run to its end: status 4.
:Checked
if not "%STATUS%"=="0" if not "%STATUS%"=="1" if not "%STATUS%"=="2" set "STATUS=4"
exit /b 0

rem Runs TollveyCheck.exe from the folder PROGRAM, its output to this script's output and, through
rem a file in the log's folder, to the log, and leaves its exit status in CHECK_STATUS. The log
rem says what that status means: a check that could not run or could not tell is no failure here,
rem but it is not hidden either.
:Check
if not defined LOG_STATE call :OpenLog
set "CHECK_STATUS=none"
set "LOG_LINE=  TollveyCheck.exe: cannot run here, nothing was checked"
call :Runs TollveyCheck.exe
if errorlevel 1 goto Check.logged
if "%LOG_STATE%"=="open" goto Check.logging
"%PROGRAM%TollveyCheck.exe"
set "CHECK_STATUS=%ERRORLEVEL%"
goto Check.status
:Check.logging
"%PROGRAM%TollveyCheck.exe" >"%LOG_FOLDER%\TollveyCheck.txt" 2>&1
set "CHECK_STATUS=%ERRORLEVEL%"
type "%LOG_FOLDER%\TollveyCheck.txt"
type "%LOG_FOLDER%\TollveyCheck.txt" >>"%LOG%"
del /f /q "%LOG_FOLDER%\TollveyCheck.txt" >nul 2>&1
:Check.status
set "LOG_LINE=  TollveyCheck.exe: stopped before its end: status %CHECK_STATUS%"
if "%CHECK_STATUS%"=="0" set "LOG_LINE=  TollveyCheck.exe: nothing stops automatic logon, as far as it can tell: status 0"
if "%CHECK_STATUS%"=="1" set "LOG_LINE=  TollveyCheck.exe: something stops automatic logon: status 1"
if "%CHECK_STATUS%"=="2" set "LOG_LINE=  TollveyCheck.exe: could not tell: status 2"
:Check.logged
call :Log
exit /b 0

rem Sets INSTALLED to the folder, with its closing backslash, where a Windows Installer package of
rem Tollvey installed the programs, as the package records it: in the 64-bit view for the 64-bit
rem package and in the 32-bit view for the other; 32-bit Windows has one view, and reg.exe there may
rem know no view switch.
:FindInstalled
set "VALUE_NAME=InstallFolder"
if /i "%WINDOWS_PROCESSOR%"=="x86" goto FindInstalled.oneView
call :ReadValue /reg:64
if not defined VALUE_READ call :ReadValue /reg:32
goto FindInstalled.found
:FindInstalled.oneView
call :ReadValue
:FindInstalled.found
set "INSTALLED=%VALUE_READ%"
if defined INSTALLED if not "%INSTALLED:~-1%"=="\" set "INSTALLED=%INSTALLED%\"
exit /b 0

rem Sets VALUE_READ to the text value VALUE_NAME under VERSION_KEY, in the view given if one is, or
rem to nothing when there is none.
:ReadValue
set "VALUE_READ="
for /f "tokens=2,*" %%a in ('reg query "%VERSION_KEY%" /v %VALUE_NAME% %1 2^>nul') do if /i "%%a"=="REG_SZ" set "VALUE_READ=%%b"
exit /b 0

rem Opens the log, %ProgramData%\Tollvey\deploy.log, in a folder that this script made with an
rem access list of its own (administrators and the system account may write, users may read),
rem owned by administrators, and marked as made by the value LogFolder beside the configuration
rem version, which only administrators may write. Users may make folders in %ProgramData%, and one
rem of theirs, or a link, would lead the system account's writes wherever they chose: through a
rem folder it did not make, or one that is a link now, the script keeps no log and says so. The log
rem stays small: once it holds 100,000 bytes it becomes deploy.old.log, replacing the one before.
:OpenLog
set "LOG_STATE=none"
if not defined ProgramData exit /b 0
set "LOG_FOLDER=%ProgramData%\Tollvey"
set "VALUE_NAME=LogFolder"
call :ReadValue %VERSION_VIEW%
if exist "%LOG_FOLDER%\" goto OpenLog.found
set "LOG_NOTE=deploy.cmd keeps no log: %LOG_FOLDER% could not be made"
mkdir "%LOG_FOLDER%" >nul 2>&1
if errorlevel 1 goto OpenLog.refused
set "LOG_NOTE=deploy.cmd keeps no log: %LOG_FOLDER% could not be given its access list"
icacls "%LOG_FOLDER%" /setowner *S-1-5-32-544 /q >nul 2>&1
if errorlevel 1 goto OpenLog.unmade
icacls "%LOG_FOLDER%" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /q >nul 2>&1
if errorlevel 1 goto OpenLog.unmade
reg add "%VERSION_KEY%" /v LogFolder /t REG_SZ /d "%LOG_FOLDER%" /f %VERSION_VIEW% >nul 2>&1
if errorlevel 1 goto OpenLog.unmade
goto OpenLog.open
:OpenLog.found
set "LOG_NOTE=deploy.cmd keeps no log: %LOG_FOLDER% was not made by this script"
if /i not "%VALUE_READ%"=="%LOG_FOLDER%" goto OpenLog.refused
set "ATTRIBUTES="
for %%f in ("%LOG_FOLDER%") do set "ATTRIBUTES=%%~af"
rem A folder, and no link: "l" is the ninth letter for a reparse point.
set "LOG_NOTE=deploy.cmd keeps no log: %LOG_FOLDER% is a link"
if not "%ATTRIBUTES:~0,1%%ATTRIBUTES:~8,1%"=="d-" goto OpenLog.refused
:OpenLog.open
set "LOG=%LOG_FOLDER%\deploy.log"
set "LOG_STATE=open"
if exist "%LOG%" for %%f in ("%LOG%") do if %%~zf GEQ 100000 move /y "%LOG%" "%LOG_FOLDER%\deploy.old.log" >nul 2>&1
set "LOG_HEADER=%DATE% %TIME%  deploy.cmd %MODE%, configuration version %LOGON_CONFIGURATION_VERSION%"
for /f "tokens=1,* delims==" %%a in ('set LOG_HEADER') do >>"%LOG%" echo.%%b
exit /b 0
:OpenLog.unmade
rmdir "%LOG_FOLDER%" >nul 2>&1
:OpenLog.refused
for /f "tokens=1,* delims==" %%a in ('set LOG_NOTE') do echo.%%b
exit /b 0

rem Appends LOG_LINE to the log, where there is one. The text reaches echo through a for variable,
rem which cmd does not parse again, so that no character of a path or a version is taken as syntax.
:Log
if not defined LOG_STATE call :OpenLog
if not "%LOG_STATE%"=="open" exit /b 0
for /f "tokens=1,* delims==" %%a in ('set LOG_LINE') do >>"%LOG%" echo.%%b
exit /b 0
