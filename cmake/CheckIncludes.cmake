# The system's folders reach the platform only through the layers' public
# headers: no SDL, GL, MojoShader, mpg123, kissfft or Dear ImGui, and no
# header of a layer's own folder or its testing/ hooks. And they include each
# other in the order of src/Layers.cmake: a folder includes only itself and
# the folders before it, except for the knot's ties listed there. Run as a
# script:
#   cmake -DSOURCE_DIR=<project root> -P CheckIncludes.cmake
# Every offending line is listed as "file:line: includes <name> (reason)"
# and the script fails.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/ReportProblems.cmake)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "CheckIncludes: SOURCE_DIR is not set")
endif()

include(${SOURCE_DIR}/src/Layers.cmake)
set(system_folders ${TARVO_LAYERS})

# The knot's ties as "file -> header" pairs.
set(ties "")
set(ties_seen "")
foreach(tie IN LISTS TARVO_KNOT_TIES)
    string(REGEX REPLACE ":.*" "" pair "${tie}")
    list(APPEND ties "${pair}")
endforeach()
set(platform ${SOURCE_DIR}/src/platform)

# Headers the layers publish, and every other header they hold.
file(GLOB public_headers ${platform}/*/include/*.h)
file(GLOB_RECURSE platform_headers ${platform}/*.h)
set(public_names "")
foreach(header ${public_headers})
    get_filename_component(name ${header} NAME)
    list(APPEND public_names ${name})
endforeach()
set(internal_names "")
foreach(header ${platform_headers})
    get_filename_component(name ${header} NAME)
    if(NOT name IN_LIST public_names)
        list(APPEND internal_names ${name})
    endif()
endforeach()

# The libraries behind the layers, by the paths their headers are included with.
set(library_patterns "^SDL" "^GL/" "^GLES" "^EGL/" "^epoxy/" "^mojoshader" "^mpg123" "^kiss_fft"
    "^imgui" "^kissfft/")

set(problems "")
foreach(folder ${system_folders})
    file(GLOB_RECURSE sources ${SOURCE_DIR}/src/${folder}/*.h ${SOURCE_DIR}/src/${folder}/*.cpp)
    foreach(source ${sources})
        get_filename_component(source_dir ${source} DIRECTORY)
        file(STRINGS ${source} lines)
        set(number 0)
        foreach(line IN LISTS lines)
            math(EXPR number "${number} + 1")
            if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
                continue()
            endif()
            set(included ${CMAKE_MATCH_1})
            get_filename_component(name ${included} NAME)
            set(reason "")
            foreach(pattern ${library_patterns})
                if(included MATCHES "${pattern}")
                    set(reason "a library behind the platform layers")
                endif()
            endforeach()
            if(NOT reason AND included MATCHES "^([a-z]+)/" AND CMAKE_MATCH_1 IN_LIST system_folders)
                list(FIND system_folders ${CMAKE_MATCH_1} included_rank)
                list(FIND system_folders ${folder} own_rank)
                file(RELATIVE_PATH from ${SOURCE_DIR}/src ${source})
                if(included_rank GREATER own_rank AND "${from} -> ${included}" IN_LIST ties)
                    list(APPEND ties_seen "${from} -> ${included}")
                elseif(included_rank GREATER own_rank)
                    set(reason "${folder}/ comes before ${CMAKE_MATCH_1}/ in src/Layers.cmake, and the tie is not listed")
                endif()
            endif()
            if(NOT reason)
                if(included MATCHES "^platform/")
                    set(reason "a path into the platform layers")
                elseif(name IN_LIST internal_names AND NOT EXISTS ${SOURCE_DIR}/src/${included}
                       AND NOT EXISTS ${source_dir}/${included})
                    set(reason "a platform layer's internal header")
                endif()
            endif()
            if(reason)
                file(RELATIVE_PATH relative ${SOURCE_DIR} ${source})
                list(APPEND problems "${relative}:${number}: includes <${included}> (${reason})")
            endif()
        endforeach()
    endforeach()
endforeach()

# A listed tie that no file makes any more is taken out of the list.
foreach(tie IN LISTS ties)
    if(NOT tie IN_LIST ties_seen)
        list(APPEND problems "src/Layers.cmake: lists the tie \"${tie}\", which no file makes")
    endif()
endforeach()

tarvo_report_problems("includes cross the platform's public headers or the folders' order" ${problems})
