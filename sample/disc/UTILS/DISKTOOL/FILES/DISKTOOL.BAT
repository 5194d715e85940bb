@ECHO OFF
REM Lists what a directory holds and notes it in the log.
IF "%1"=="" GOTO USAGE
DIR %1
ECHO listed %1>>DISKTOOL.LOG
GOTO END
:USAGE
ECHO Usage: DISKTOOL directory
:END
