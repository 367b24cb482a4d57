@ECHO OFF
:again
del %1
if exist %1 goto again
if "%2"=="b c" echo %~dp0 %~nx1 %windir%
RD /S /Q sub
DELTREE /Y *.tmp
exit /b 2
