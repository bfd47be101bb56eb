#!/bin/sh
# Installs the Debian packages of the sets named on the command line:
#   scripts/bootstrap.sh [run] [capture] [test]
#   run      building and running the demo and its content (./run.sh)
#   capture  the offline renderer, tarvo-capture (./run.sh without a display)
#   test     everything: the above, the tests, benchmarks, scene import and
#            fuzzing (./test.sh, and the default when no set is named)
# Safe to run again: packages already present are left alone, and the
# package lists are only refreshed when something is missing.
set -eu

# build-essential, cmake, ninja-build, pkg-config: the build.
# zlib1g-dev: the archive. libsdl2-dev, libepoxy-dev, libmojoshader-dev,
# libimgui-dev, libegl-dev, libgl-dev: windows, OpenGL and the shader
# translator behind the Direct3D 9 layer; libegl-mesa0, libgl1-mesa-dri:
# Mesa, which draws where there is no other driver.
# libmpg123-dev, libkissfft-dev, libswresample-dev: the soundtrack's
# decoding, spectrum and conversion to the output's rate; libpulse-dev: the
# audio layer plays to a PulseAudio (or PipeWire pulse) server itself, to ask
# it the latency.
# libjpeg62-turbo-dev: the demo's textures and the image generators.
# libfreetype-dev, fonts-dejavu-core, libpng-dev, libimagequant-dev: the
# painted content (titles, overlays, the launcher's 256-colour banner).
# libmp3lame-dev, libsndfile1-dev: the soundtrack's MP3 and WAV writers.
RUN_PACKAGES="
    build-essential
    cmake
    ninja-build
    pkg-config
    zlib1g-dev
    libsdl2-dev
    libepoxy-dev
    libmojoshader-dev
    libimgui-dev
    libegl-dev
    libgl-dev
    libegl-mesa0
    libgl1-mesa-dri
    libmpg123-dev
    libkissfft-dev
    libswresample-dev
    libpulse-dev
    libjpeg62-turbo-dev
    libfreetype-dev
    fonts-dejavu-core
    libpng-dev
    libimagequant-dev
    libmp3lame-dev
    libsndfile1-dev
"

# libav*/libsw*: tarvo-capture writes H.264 and AAC into MP4 through
# FFmpeg's libraries.
CAPTURE_PACKAGES="
    libavformat-dev
    libavcodec-dev
    libswscale-dev
    libswresample-dev
"

# Everything ./test.sh needs beyond the two sets above.
# libgtest-dev, libgmock-dev: the tests; libbenchmark-dev: the benchmarks.
# clang, libclang-rt-14-dev: libFuzzer and clang's sanitizer runtimes for
# scripts/fuzz.sh; llvm: llvm-symbolizer, which names the frames of their
# reports.
# clang-format: the tree's one code style, checked by the suite
# (scripts/check-format.sh).
# xvfb, xdotool, x11-utils: the end-to-end tests drive the demo on a
# virtual display. xfonts-base: SDL draws its message boxes with the X
# server's core fonts, which Xvfb does not have without it.
# libassimp-dev, libstb-dev, nlohmann-json3-dev: qorscene's import and
# export (assimp reads and writes the editors' formats, stb_image decodes
# their pictures, the JSON library adds the cameras and lights that
# assimp's glTF writer leaves out).
# parallel, rsync, ffmpeg: scripts/capture-farm.sh runs the capture's shards
# through GNU parallel (which sends files with rsync) and joins them with
# the ffmpeg program; openssh-server: its test reaches 127.0.0.1 over ssh.
# g++-mingw-w64-x86-64-posix, mingw-w64-tools, libz-mingw-w64-dev: the
# Windows build (scripts/build-windows.sh), cross-compiled with its zlib;
# googletest: GoogleTest's sources, built for Windows for its tests.
# wine, wine64: run the Windows build's tests; ffmpeg: their screenshots of
# the Xvfb display (x11grab); pulseaudio, pulseaudio-utils: the sound server
# and its null sink that give Wine's waveOut a device in those tests, and the
# server the A/V offset test plays the demo through (pactl tells when it is
# up).
TEST_PACKAGES="
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    clang
    libclang-rt-14-dev
    llvm
    clang-format
    xvfb
    xdotool
    x11-utils
    xfonts-base
    libassimp-dev
    libstb-dev
    nlohmann-json3-dev
    parallel
    rsync
    ffmpeg
    openssh-server
    g++-mingw-w64-x86-64-posix
    mingw-w64-tools
    libz-mingw-w64-dev
    googletest
    wine
    wine64
    pulseaudio
    pulseaudio-utils
"

[ $# -gt 0 ] || set -- test
PACKAGES=""
for set_name in "$@"; do
    case "$set_name" in
        run) PACKAGES="$PACKAGES $RUN_PACKAGES" ;;
        capture) PACKAGES="$PACKAGES $CAPTURE_PACKAGES" ;;
        test) PACKAGES="$PACKAGES $RUN_PACKAGES $CAPTURE_PACKAGES $TEST_PACKAGES" ;;
        *)
            echo "usage: scripts/bootstrap.sh [run] [capture] [test]" >&2
            exit 2
            ;;
    esac
done

missing=""
for package in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
        *" installed") ;;
        *)
            case " $missing " in
                *" $package "*) ;;
                *) missing="$missing $package" ;;
            esac
            ;;
    esac
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

# sudo resets the environment, DEBIAN_FRONTEND included: it is passed through
# env on apt's own command line, so that no package stops to ask a question.
echo "bootstrap: installing$missing"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
# shellcheck disable=SC2086
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
