@ECHO OFF
REM Clears the temporary files of a directory.
IF "%1"=="" GOTO USAGE
DEL %1\*.TMP
ECHO tidied %1>>DISKTOOL.LOG
GOTO END
:USAGE
ECHO Usage: TIDY directory
:END
