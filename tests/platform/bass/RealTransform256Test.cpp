// RealTransform256: the transform behind the spectrum (kissfft on Linux, our
// radix-2 transform on Windows) is the discrete Fourier transform by its
// definition, X[k] = sum over n of x[n] e^(-2 pi i k n / 256).
#include "RealTransform256.h"

#include <gtest/gtest.h>

#include <math.h>

#include <string>

TEST(RealTransform256, MatchesTheDefinition)
{
    const double pi = 3.14159265358979323846;
    const struct
    {
        const char* name;
        double (*sample)(int);
    } kSignals[] = {
        {"impulse at 0",
         [](int a_n) {
             return a_n == 0 ? 1.0 : 0.0;
         }},
        {"impulse at 3",
         [](int a_n) {
             return a_n == 3 ? 1.0 : 0.0;
         }},
        {"constant",
         [](int) {
             return 0.5;
         }},
        {"cosine in bin 5",
         [](int a_n) {
             return cos(2.0 * 3.14159265358979323846 * 5 * a_n / 256);
         }},
        {"sine in bin 127",
         [](int a_n) {
             return sin(2.0 * 3.14159265358979323846 * 127 * a_n / 256);
         }},
        {"ramp",
         [](int a_n) {
             return a_n / 256.0 - 0.5;
         }},
    };
    RealTransform256 transform;
    for (const auto& signal : kSignals)
    {
        SCOPED_TRACE(signal.name);
        float input[256];
        for (int n = 0; n < 256; ++n)
            input[n] = static_cast<float>(signal.sample(n));
        float real[129];
        float imaginary[129];
        transform.run(input, real, imaginary);
        for (int k = 0; k <= 128; ++k)
        {
            double expectedReal = 0.0;
            double expectedImaginary = 0.0;
            for (int n = 0; n < 256; ++n)
            {
                expectedReal += input[n] * cos(2.0 * pi * k * n / 256);
                expectedImaginary -= input[n] * sin(2.0 * pi * k * n / 256);
            }
            SCOPED_TRACE("bin " + std::to_string(k));
            EXPECT_NEAR(real[k], expectedReal, 1e-3);
            EXPECT_NEAR(imaginary[k], expectedImaginary, 1e-3);
        }
    }
}
