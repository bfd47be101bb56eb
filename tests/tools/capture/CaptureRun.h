// Runs the real tarvo-capture executable on the shipped archive, the way a
// user or a batch runner does, and reads what it wrote.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct CaptureRun
{
    // Runs tarvo-capture with a_arguments from a_folder; fills status and
    // messages (its standard error).
    static CaptureRun start(const std::string& a_folder,
                            const std::vector<std::string>& a_arguments);

    // An 8-bit RGB PNG file's pixels; empty when it cannot be read.
    static std::vector<uint8_t> readPng(const std::string& a_path, uint32_t* a_width = nullptr,
                                        uint32_t* a_height = nullptr);

    int status = -1;
    std::string messages;
};
