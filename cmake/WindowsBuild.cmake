# The Windows build's top level, included by CMakeLists.txt when the
# toolchain targets Windows.
set(TARVO_HOST_BUILD "" CACHE PATH
    "The Linux build folder whose archive (content/tarvo.fs) and launcher pictures (content/resources) the Windows build takes")
set(TARVO_HOST_RESOURCES ${TARVO_HOST_BUILD}/content/resources)
set(TARVO_ARCHIVE ${TARVO_HOST_BUILD}/content/tarvo.fs)
foreach(file ${TARVO_ARCHIVE} ${TARVO_HOST_RESOURCES}/banner.bmp ${TARVO_HOST_RESOURCES}/icon.bmp
        ${TARVO_HOST_RESOURCES}/icon.ico)
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "${file} not found: build the Linux version first (scripts/build-windows.sh does)")
    endif()
endforeach()
set(TARVO_BANNER_BMP ${TARVO_HOST_RESOURCES}/banner.bmp)
set(TARVO_ICON_BMP ${TARVO_HOST_RESOURCES}/icon.bmp)

# mingw-w64 ships zlib as a static and an import library; the static one.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
find_package(ZLIB REQUIRED)

# The C99 printf family (%zu, %llu) rather than the old msvcrt's. GCC checks
# format strings on Windows against msvcrt's rules whatever the runtime is,
# so the check stays with the Linux build, which compiles the same code.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)
# M_PI and the other constants of math.h, which strict C++17 hides on Windows.
add_compile_definitions(_USE_MATH_DEFINES)
add_compile_options(-Wno-format)

# The C and C++ runtimes and the POSIX threads go into the executables, so
# that the only DLLs they need are Windows' own and d3dx9_43.dll.
add_link_options(-static -static-libgcc -static-libstdc++)

add_subdirectory(src)
# The frame twin, which the tests compare with the Linux build's.
add_subdirectory(tools/twin)

# The zip users download: the executable, the archive and the README, side
# by side, as the program wants them.
set(package ${CMAKE_BINARY_DIR}/package)
set(TARVO_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/tarvo-windows.zip)
add_custom_command(
    OUTPUT ${TARVO_WINDOWS_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${package}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarvo> ${TARVO_ARCHIVE}
            ${PROJECT_SOURCE_DIR}/docs/windows/README.txt ${package}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${TARVO_WINDOWS_ZIP}
    COMMAND ${CMAKE_COMMAND} -E chdir ${package}
            ${CMAKE_COMMAND} -E tar cf ${TARVO_WINDOWS_ZIP} --format=zip tarvo.exe tarvo.fs README.txt
    DEPENDS tarvo ${TARVO_ARCHIVE} ${PROJECT_SOURCE_DIR}/docs/windows/README.txt
    COMMENT "Packing tarvo-windows.zip"
    VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${TARVO_WINDOWS_ZIP})

enable_testing()
add_subdirectory(tests/windows)
