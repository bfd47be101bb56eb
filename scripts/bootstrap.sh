#!/bin/sh
# Installs every Debian package the project needs to build, test and run.
# Safe to run again: packages already present are left alone, and the
# package lists are only refreshed when something is missing.
set -eu

# clang, libclang-rt-14-dev: libFuzzer and clang's sanitizer runtimes for
# scripts/fuzz.sh; llvm: llvm-symbolizer, which names the frames of their
# reports.
# clang-format: the tree's one code style, checked by the suite
# (scripts/check-format.sh).
# xfonts-base: SDL draws its message boxes with the X server's core fonts,
# which Xvfb does not have without it.
# libassimp-dev, libstb-dev, nlohmann-json3-dev: qorscene's import and
# export (assimp reads and writes the editors' formats, stb_image decodes
# their pictures, the JSON library adds the cameras and lights that
# assimp's glTF writer leaves out).
# libav*/libsw*: the offline renderer writes H.264 and AAC into MP4 through
# FFmpeg's libraries; the audio layer converts songs to the output's rate
# with libswresample.
# libpulse-dev: the audio layer plays to a PulseAudio (or PipeWire pulse)
# server itself, to ask it the latency; pulseaudio, pulseaudio-utils: the A/V
# test runs its own server with a null sink (pactl tells when it is up).
# parallel, rsync, ffmpeg: scripts/capture-farm.sh runs the capture's shards
# through GNU parallel (which sends files with rsync) and joins them with
# the ffmpeg program; openssh-server: its test reaches 127.0.0.1 over ssh.
# g++-mingw-w64-x86-64-posix, mingw-w64-tools, libz-mingw-w64-dev: the
# Windows build (scripts/build-windows.sh), cross-compiled with its zlib;
# googletest: GoogleTest's sources, built for Windows for its tests.
# wine, wine64: run the Windows build's tests; ffmpeg: their screenshots of
# the Xvfb display (x11grab); pulseaudio, pulseaudio-utils: the sound server
# and its null sink that give Wine's waveOut a device in those tests.
PACKAGES="
    build-essential
    clang
    clang-format
    libclang-rt-14-dev
    llvm
    cmake
    ninja-build
    pkg-config
    zlib1g-dev
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    libmojoshader-dev
    libepoxy-dev
    libsdl2-dev
    libegl-mesa0
    libgl1-mesa-dri
    libgl-dev
    xvfb
    xfonts-base
    xdotool
    x11-utils
    libegl-dev
    libimgui-dev
    fonts-dejavu-core
    libmpg123-dev
    libkissfft-dev
    libmp3lame-dev
    libfreetype-dev
    libjpeg62-turbo-dev
    libpng-dev
    libassimp-dev
    libstb-dev
    nlohmann-json3-dev
    libavformat-dev
    libavcodec-dev
    libswscale-dev
    libswresample-dev
    libpulse-dev
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

missing=""
for package in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
        *" installed") ;;
        *) missing="$missing $package" ;;
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

echo "bootstrap: installing$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
