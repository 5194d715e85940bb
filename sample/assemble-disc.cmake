# Puts the demo disc together (cmake -P; see CMakeLists.txt for the variables).
#
# Every file under SOURCE is copied to the same place on the disc, except that a directory whose
# name ends in .ZIP becomes a zip archive of that name holding the directory's files. SPINDECK\
# then receives the program, and the pictures, sounds and music that spindeck-mkmedia makes.
# The disc is built beside its final place and swapped in at the end, so a failed step never
# leaves half a disc behind.

foreach(variable SOURCE DISC PROGRAM MKMEDIA)
    if(NOT ${variable})
        message(FATAL_ERROR "assemble-disc: ${variable} is not set")
    endif()
endforeach()

set(WORK ${DISC}.part)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# The archives' entries carry one fixed date, so the disc is the same on every build.
set(ARCHIVE_DATE "1996-04-01 12:00:00 UTC")
set(ARCHIVE_NAME "[.][Zz][Ii][Pp]$")

file(COPY ${SOURCE}/ DESTINATION ${WORK} REGEX "${ARCHIVE_NAME}" EXCLUDE)

file(GLOB_RECURSE candidates LIST_DIRECTORIES true RELATIVE ${SOURCE} ${SOURCE}/*)
list(SORT candidates)
foreach(relative IN LISTS candidates)
    if(NOT IS_DIRECTORY ${SOURCE}/${relative} OR NOT relative MATCHES "${ARCHIVE_NAME}")
        continue()
    endif()
    # Files only, in a fixed order; extraction makes the folders from the entry names.
    file(GLOB_RECURSE members LIST_DIRECTORIES false RELATIVE ${SOURCE}/${relative} ${SOURCE}/${relative}/*)
    if(NOT members)
        message(FATAL_ERROR "assemble-disc: ${SOURCE}/${relative} is empty")
    endif()
    list(SORT members)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E tar cf ${WORK}/${relative} --format=zip "--mtime=${ARCHIVE_DATE}" -- ${members}
        WORKING_DIRECTORY ${SOURCE}/${relative}
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()

set(PROGRAM_DIR ${WORK}/SPINDECK)
file(MAKE_DIRECTORY ${PROGRAM_DIR})
file(COPY ${PROGRAM} DESTINATION ${PROGRAM_DIR})
if(INTERPRETER)
    file(COPY ${INTERPRETER} DESTINATION ${PROGRAM_DIR})
endif()

# The file names QRV.INI gives for the cues, each with the jingle that spindeck-mkmedia makes.
set(CUES start:START.WAV exit:EXIT.WAV diz:DIZ.WAV qrv:QRV.WAV diznqrv:DIZNQRV.WAV inst:INST.WAV)
foreach(cue IN LISTS CUES)
    string(REPLACE ":" ";" cue ${cue})
    list(GET cue 0 kind)
    list(GET cue 1 name)
    execute_process(COMMAND ${MKMEDIA} wav ${kind} ${PROGRAM_DIR}/${name} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
execute_process(COMMAND ${MKMEDIA} midi ${PROGRAM_DIR}/MUSIC.MID COMMAND_ERROR_IS_FATAL ANY)
# Last: the build takes the logo's date for the disc's.
execute_process(COMMAND ${MKMEDIA} bmp ${PROGRAM_DIR}/QRV.BMP 640 480 COMMAND_ERROR_IS_FATAL ANY)

file(REMOVE_RECURSE ${DISC})
file(RENAME ${WORK} ${DISC})
