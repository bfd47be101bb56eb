# The tools that make the content, the content generators and the format
# libraries they read with link no window system and no device: nothing of
# theirs reaches tarvo_win32, tarvo_d3d9 or SDL. Their build steps (shader
# assembly, painting, packing the archive) depend on their executables, so an
# edit to the device or the window layer (src/platform/d3d9/*.cpp, say)
# relinks none of them and re-runs none of those steps; `ninja -n` after
# touching a device source lists the device, the demo and the tests, and no
# qorasm, generator or qorfs step. tarvo_core, which everything links, links
# nothing itself. Run as a script on the graph cmake/LinkGraph.cmake writes:
#   cmake -DGRAPH=<link graph> -P CheckLinks.cmake
# Every offence is listed as "target reaches library: target -> ... -> library"
# and the script fails.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/ReportProblems.cmake)

if(NOT GRAPH)
    message(FATAL_ERROR "CheckLinks: GRAPH is not set")
endif()

# Every target declared in these folders or below them, and these libraries.
set(window_free_folders content tools/qorfs tools/qorasm tools/qorscene)
set(window_free_targets tarvo_core tarvo_archive_format tarvo_scene_format tarvo_shader_bytecode
    tarvo_d3dx9_math tarvo_camera_shake tarvo_capture_options)
set(forbidden_patterns "^tarvo_win32$" "^tarvo_d3d9$" "SDL2")
# Compile options only: linking it adds nothing to a link line.
set(options_only tarvo_warnings)

# Per-target variables are keyed by the name as a C identifier
# ("SDL2::SDL2" -> "SDL2__SDL2").
file(STRINGS ${GRAPH} lines)
set(nodes "")
foreach(line IN LISTS lines)
    if(line MATCHES "^ *\"([^\"]+)\" \\[folder = \"([^\"]*)\"\\];")
        list(APPEND nodes ${CMAKE_MATCH_1})
        string(MAKE_C_IDENTIFIER ${CMAKE_MATCH_1} key)
        set(folder_${key} ${CMAKE_MATCH_2})
    elseif(line MATCHES "^ *\"([^\"]+)\" -> \"([^\"]+)\";")
        set(library ${CMAKE_MATCH_2})
        string(MAKE_C_IDENTIFIER ${CMAKE_MATCH_1} key)
        list(APPEND edges_${key} ${library})
    endif()
endforeach()

set(problems "")
foreach(target ${window_free_targets})
    if(NOT target IN_LIST nodes)
        list(APPEND problems "${target}: not in the link graph")
    endif()
endforeach()

foreach(edge IN LISTS edges_tarvo_core)
    if(NOT edge IN_LIST options_only)
        list(APPEND problems "tarvo_core links ${edge} (it needs nothing but the C and C++ runtimes)")
    endif()
endforeach()

set(checked "")
foreach(node ${nodes})
    string(MAKE_C_IDENTIFIER ${node} key)
    set(folder "${folder_${key}}")
    foreach(window_free ${window_free_folders})
        if(folder STREQUAL window_free OR folder MATCHES "^${window_free}/")
            list(APPEND checked ${node})
        endif()
    endforeach()
endforeach()
list(APPEND checked ${window_free_targets})
list(REMOVE_DUPLICATES checked)

# Breadth first from each checked target, so that each library found is
# reported with the shortest chain of links that reaches it.
foreach(target ${checked})
    set(visited ${target})
    set(queue ${target})
    while(queue)
        list(POP_FRONT queue node)
        string(MAKE_C_IDENTIFIER ${node} key)
        foreach(library IN LISTS edges_${key})
            if(library IN_LIST visited)
                continue()
            endif()
            list(APPEND visited ${library})
            list(APPEND queue ${library})
            string(MAKE_C_IDENTIFIER ${library} library_key)
            set(path_${library_key} "${path_${key}} -> ${library}")
            foreach(pattern ${forbidden_patterns})
                if(library MATCHES "${pattern}")
                    list(APPEND problems "${target} reaches ${library}: ${target}${path_${library_key}}")
                    break()
                endif()
            endforeach()
        endforeach()
    endwhile()
    foreach(node ${visited})
        string(MAKE_C_IDENTIFIER ${node} key)
        unset(path_${key})
    endforeach()
endforeach()

tarvo_report_problems("links cross the link boundary" ${problems})
