// The five filters without a device: names, defaults, the parameter setters
// (exact names, true only when recognised), the Break filter's force from a
// spectrum, and the assertions on missing sources.
//
// Untested here: anything drawn (see the filters' drawing tests).
#include "filters/Filter.h"
#include "filters/FilterBlur.h"
#include "filters/FilterBreak.h"
#include "filters/FilterDof.h"
#include "filters/FilterGlow.h"
#include "filters/FilterRadialBlur.h"

#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <functional>
#include <memory>
#include <vector>

namespace
{

// Every field a setter may reach, read from whichever filter has it.
struct Fields
{
    float area = NAN;
    int32_t passes = -999;
    float power = NAN;
    float far = NAN;
    float glowForce = NAN;
    float overlayForce = NAN;
    float overlayForce2 = NAN;
    float brightness = NAN;

    bool operator==(const Fields& a_other) const
    {
        // Bitwise, so that NaN (a field the filter lacks) equals NaN.
        return memcmp(this, &a_other, sizeof(Fields)) == 0;
    }
};

Fields fieldsOf(Filter& a_filter)
{
    Fields fields;
    if (auto* blur = dynamic_cast<FilterBlur*>(&a_filter))
    {
        fields.area = blur->m_area;
        fields.passes = blur->m_passes;
    }
    if (auto* radial = dynamic_cast<FilterRadialBlur*>(&a_filter))
    {
        fields.passes = radial->m_passes;
        fields.power = radial->m_power;
    }
    if (auto* dof = dynamic_cast<FilterDof*>(&a_filter))
    {
        fields.far = dof->m_far;
        fields.glowForce = dof->m_glowForce;
    }
    if (auto* breakFilter = dynamic_cast<FilterBreak*>(&a_filter))
    {
        fields.overlayForce = breakFilter->m_overlayForce;
        fields.overlayForce2 = breakFilter->m_overlayForce2;
        fields.brightness = breakFilter->m_brightness;
    }
    return fields;
}

enum class Kind
{
    Blur,
    Glow,
    RadialBlur,
    Dof,
    Break,
};

std::unique_ptr<Filter> makeFilter(Kind a_kind)
{
    switch (a_kind)
    {
    case Kind::Blur:
        return std::make_unique<FilterBlur>();
    case Kind::Glow:
        return std::make_unique<FilterGlow>();
    case Kind::RadialBlur:
        return std::make_unique<FilterRadialBlur>();
    case Kind::Dof:
        return std::make_unique<FilterDof>();
    case Kind::Break:
        return std::make_unique<FilterBreak>();
    }
    return nullptr;
}

}

// Each filter names itself as the timeline and content loading know it.
TEST(Filter, Names)
{
    const struct
    {
        Kind kind;
        const char* name;
    } cases[] = {{Kind::Blur, "blur"},
                 {Kind::Glow, "Glow"},
                 {Kind::RadialBlur, "radialblur"},
                 {Kind::Dof, "dof"},
                 {Kind::Break, "Break"}};
    for (const auto& c : cases)
        EXPECT_STREQ(makeFilter(c.kind)->name(), c.name);
}

// A setter stores its value and answers true for its own exact names only;
// any other name, another letter case, the other setter's names and the
// base's setters answer false and change nothing.
TEST(Filter, SettersRecogniseExactNamesOnly)
{
    struct Case
    {
        const char* name;
        Kind kind;
        const char* parameter;
        bool integer;
        float value;  // the int setter gets it truncated
        bool recognised;
        std::function<void(Fields&)> change;  // the fields after a recognised call
    };
    const std::vector<Case> cases = {
        // The blur: "area" through either setter, "passes" through the int one.
        {"blur area float", Kind::Blur, "area", false, 4.0f, true,
         [](Fields& f) {
             f.area = 4.0f;
         }},
        {"blur area int", Kind::Blur, "area", true, 7.0f, true,
         [](Fields& f) {
             f.area = 7.0f;
         }},
        {"blur passes int", Kind::Blur, "passes", true, 5.0f, true,
         [](Fields& f) {
             f.passes = 5;
         }},
        {"blur passes negative", Kind::Blur, "passes", true, -2.0f, true,
         [](Fields& f) {
             f.passes = -2;
         }},
        {"blur passes float", Kind::Blur, "passes", false, 2.0f, false, nullptr},
        {"blur Area", Kind::Blur, "Area", false, 4.0f, false, nullptr},
        {"blur AREA int", Kind::Blur, "AREA", true, 4.0f, false, nullptr},
        {"blur area with a space", Kind::Blur, "area ", false, 4.0f, false, nullptr},
        {"blur empty", Kind::Blur, "", true, 4.0f, false, nullptr},
        // The glow keeps the base's setters.
        {"glow area", Kind::Glow, "area", false, 4.0f, false, nullptr},
        {"glow passes", Kind::Glow, "passes", true, 4.0f, false, nullptr},
        // The radial blur: "passes" int, "power" float.
        {"radial passes", Kind::RadialBlur, "passes", true, 6.0f, true,
         [](Fields& f) {
             f.passes = 6;
         }},
        {"radial power", Kind::RadialBlur, "power", false, 0.5f, true,
         [](Fields& f) {
             f.power = 0.5f;
         }},
        {"radial power int", Kind::RadialBlur, "power", true, 2.0f, false, nullptr},
        {"radial passes float", Kind::RadialBlur, "passes", false, 2.0f, false, nullptr},
        {"radial Power", Kind::RadialBlur, "Power", false, 2.0f, false, nullptr},
        // The depth of field: "far" and "glow" floats; no int names at all.
        {"dof far", Kind::Dof, "far", false, 1500.0f, true,
         [](Fields& f) {
             f.far = 1500.0f;
         }},
        {"dof glow", Kind::Dof, "glow", false, 3.0f, true,
         [](Fields& f) {
             f.glowForce = 3.0f;
         }},
        {"dof glowForce", Kind::Dof, "glowForce", false, 3.0f, false, nullptr},
        {"dof far int", Kind::Dof, "far", true, 1500.0f, false, nullptr},
        {"dof Far", Kind::Dof, "Far", false, 1500.0f, false, nullptr},
        // Break: three floats; no int names.
        {"break overlayForce", Kind::Break, "overlayForce", false, 1.0f, true,
         [](Fields& f) {
             f.overlayForce = 1.0f;
         }},
        {"break overlayForce2", Kind::Break, "overlayForce2", false, 0.5f, true,
         [](Fields& f) {
             f.overlayForce2 = 0.5f;
         }},
        {"break brightness", Kind::Break, "brightness", false, 0.25f, true,
         [](Fields& f) {
             f.brightness = 0.25f;
         }},
        {"break brightness int", Kind::Break, "brightness", true, 1.0f, false, nullptr},
        {"break overlayforce", Kind::Break, "overlayforce", false, 1.0f, false, nullptr},
        {"break overlayForce3", Kind::Break, "overlayForce3", false, 1.0f, false, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Filter> filter = makeFilter(c.kind);
        Fields expected = fieldsOf(*filter);
        const bool answer = c.integer
                                ? filter->setParameter(c.parameter, static_cast<int32_t>(c.value))
                                : filter->setParameter(c.parameter, c.value);
        EXPECT_EQ(answer, c.recognised);
        if (c.change)
            c.change(expected);
        EXPECT_TRUE(fieldsOf(*filter) == expected);
    }
}

// A value set once stays for later calls until it is set again.
TEST(Filter, ParametersPersistUntilSetAgain)
{
    FilterBlur blur;
    EXPECT_TRUE(blur.setParameter("passes", 5));
    EXPECT_TRUE(blur.setParameter("area", 4.0f));
    EXPECT_FALSE(blur.setParameter("passes", 2.0f));
    EXPECT_EQ(blur.m_passes, 5);
    EXPECT_EQ(blur.m_area, 4.0f);
    EXPECT_TRUE(blur.setParameter("area", 10));
    EXPECT_EQ(blur.m_area, 10.0f);
    EXPECT_EQ(blur.m_passes, 5);
}

// The force is bins 20 to 39 times 100, summed in order and rounded to float
// after each addition; the other bins do not count.
TEST(FilterBreak, ForceSumsBinsTwentyToThirtyNine)
{
    struct Case
    {
        const char* name;
        std::function<float(int)> bin;
        float force;
    };
    const Case cases[] = {
        {"silence", [](int) { return 0.0f; }, 0.0f},
        {"0.01 everywhere", [](int) { return 0.01f; }, 20.0f},
        {"only outside 20 to 39", [](int j) { return j < 20 || j > 39 ? 1.0f : 0.0f; }, 0.0f},
        {"bin 20 alone", [](int j) { return j == 20 ? 0.5f : 0.0f; }, 50.0f},
        {"bin 39 alone", [](int j) { return j == 39 ? 0.25f : 0.0f; }, 25.0f},
        // Each later bin adds 1 to 2^24, which float cannot hold: the
        // running sum is rounded after every addition, not summed in double
        // and rounded once.
        {"small bins after a large one",
         [](int j) { return j == 20 ? 167772.16f : (j > 20 && j < 40 ? 0.01f : 0.0f); },
         16777216.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        float spectrum[128];
        for (int j = 0; j < 128; ++j)
            spectrum[j] = c.bin(j);
        EXPECT_EQ(FilterBreak::force(spectrum), c.force);
    }
}

// Missing sources end the process with the expression and source name, before
// anything reaches the device (there is none here to reach).
TEST(FilterDeathTest, MissingSourcesFailTheirAssertions)
{
    RenderTarget* const some = reinterpret_cast<RenderTarget*>(16);
    const char* const dofMessage = "a_source1 != 0 && a_source2 != 0 && a_source3 != 0 && "
                                   "a_source4 != 0, file FilterDof\\.cpp";
    for (int missing = 0; missing < 4; ++missing)
    {
        SCOPED_TRACE(testing::Message() << "depth of field without source " << missing + 1);
        RenderTarget* sources[4] = {some, some, some, some};
        sources[missing] = nullptr;
        FilterDof dof;
        EXPECT_DEATH(dof.apply(some, sources[0], sources[1], sources[2], sources[3]), dofMessage);
    }
    FilterRadialBlur radial;
    EXPECT_DEATH(radial.apply(nullptr, some, nullptr, nullptr, nullptr),
                 "a_target && a_source1, file FilterRadialBlur\\.cpp");
    EXPECT_DEATH(radial.apply(some, nullptr, nullptr, nullptr, nullptr),
                 "a_target && a_source1, file FilterRadialBlur\\.cpp");
}
