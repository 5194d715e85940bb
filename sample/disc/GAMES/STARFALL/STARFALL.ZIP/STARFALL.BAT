@ECHO OFF
REM Starfall, text edition: the title screen and the high scores.
CLS
TYPE TITLE.TXT
ECHO.
ECHO High scores
TYPE HISCORE.DAT
