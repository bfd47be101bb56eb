// A way of running the Direct3D 9 under test that the drawing tests repeat
// their cases under: our layer has switches a real device has not (its GL
// state cache on and bypassed), the real API has one way only.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

struct LayerSetting
{
    const char* name;
    // Called before each case and after it; null when there is nothing to switch.
    void (*enter)();
    void (*leave)();
};

// Every setting of the build's Direct3D 9: GlStateCacheSettings.cpp on Linux,
// RealApiSettings.cpp on Windows.
std::vector<LayerSetting> layerSettings();

// The setting's name, as the instantiations name their cases.
inline std::string layerSettingName(const testing::TestParamInfo<LayerSetting>& a_info)
{
    return a_info.param.name;
}

// How GoogleTest shows the parameter in the cases' listing.
inline void PrintTo(const LayerSetting& a_setting, std::ostream* a_stream)
{
    *a_stream << a_setting.name;
}
