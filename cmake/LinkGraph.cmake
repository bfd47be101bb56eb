# Writes the project's link graph for cmake/CheckLinks.cmake: every target
# declared in the source tree with the folder it is declared in, and an edge
# to each library it links (PUBLIC, PRIVATE or INTERFACE alike: a static
# library's private libraries reach its users' link lines too). Libraries
# found outside the project (SDL2::SDL2, PkgConfig::...) are leaves. The file
# is a Graphviz digraph, so `dot -Tsvg` draws it as well.
#   tarvo_write_link_graph(<output file>)
# Call it at the end of the top-level CMakeLists.txt, once every target exists.

function(tarvo_collect_targets DIRECTORY RESULT)
    get_property(targets DIRECTORY ${DIRECTORY} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirectories DIRECTORY ${DIRECTORY} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory ${subdirectories})
        tarvo_collect_targets(${subdirectory} below)
        list(APPEND targets ${below})
    endforeach()
    set(${RESULT} ${targets} PARENT_SCOPE)
endfunction()

function(tarvo_write_link_graph OUTPUT)
    tarvo_collect_targets(${PROJECT_SOURCE_DIR} targets)
    set(text "digraph links {\n")
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        get_target_property(source_dir ${target} SOURCE_DIR)
        file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${source_dir})
        string(APPEND text "    \"${target}\" [folder = \"${folder}\"];\n")
        set(libraries "")
        if(NOT type STREQUAL "INTERFACE_LIBRARY" AND NOT type STREQUAL "UTILITY")
            get_target_property(linked ${target} LINK_LIBRARIES)
            if(linked)
                list(APPEND libraries ${linked})
            endif()
        endif()
        get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
        if(interface)
            list(APPEND libraries ${interface})
        endif()
        # A static library hands its private libraries on as $<LINK_ONLY:...>.
        list(TRANSFORM libraries REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1")
        list(REMOVE_DUPLICATES libraries)
        foreach(library ${libraries})
            string(APPEND text "    \"${target}\" -> \"${library}\";\n")
        endforeach()
    endforeach()
    string(APPEND text "}\n")
    file(WRITE ${OUTPUT} "${text}")
endfunction()
