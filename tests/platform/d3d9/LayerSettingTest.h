// A test fixture run once under every setting layerSettings() gives.
#pragma once

#include "LayerSetting.h"

#include <gtest/gtest.h>

class LayerSettingTest : public testing::TestWithParam<LayerSetting>
{
protected:
    void SetUp() override
    {
        if (GetParam().enter)
            GetParam().enter();
    }
    void TearDown() override
    {
        if (GetParam().leave)
            GetParam().leave();
    }
};
