# Fails when a layer includes upward. Run as: cmake -DROOT=<repo> -P CheckLayers.cmake
#   reading/                   nothing of the application (not even the reader), and no Qt
#   metadata/                  nothing above it, and no Qt
#   presentation/ (not window) metadata only, and no Qt
#   framework/                 Qt and itself: never the application, nor its reader
#   resources/                 the framework's commands, never the window code
#   decoder/                   the pictures' decoding, never the frame
cmake_minimum_required(VERSION 3.25)

set(failures "")

# check(<folder> <regex of forbidden includes> [EXCLUDE <regex of paths>])
function(check folder forbidden)
    cmake_parse_arguments(ARG "" "EXCLUDE" "" ${ARGN})
    file(GLOB_RECURSE files ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    foreach(file IN LISTS files)
        file(RELATIVE_PATH relative ${ROOT} ${file})
        if(ARG_EXCLUDE AND relative MATCHES "${ARG_EXCLUDE}")
            continue()
        endif()
        file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
        foreach(line IN LISTS includes)
            if(line MATCHES "${forbidden}")
                list(APPEND failures "${relative}: ${line}")
            endif()
        endforeach()
    endforeach()
    set(failures "${failures}" PARENT_SCOPE)
endfunction()

set(above_reader "\"(reading|presentation|framework|shell|resources|tools)/|<Q")
check(reading "\"(metadata|presentation|framework|shell|resources|tools)/|<Q")
check(metadata "${above_reader}")
check(presentation "\"(presentation/window|framework|shell|resources|tools)/|<Q"
      EXCLUDE "^presentation/window/")
check(presentation/window "\"(shell|resources|tools)/")
check(framework "\"(metadata|presentation|shell|resources|tools)/")
check(resources "\"(presentation|shell|tools)/|\"framework/(styles|docking|ribbon|views|settings)/")
check(decoder "\"(shell|resources|tools)/")
check(tools "\"(presentation/window|framework|shell|resources)/|<Q")

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "An include points up a layer:\n  ${text}")
endif()
message(STATUS "Every include points down a layer.")
