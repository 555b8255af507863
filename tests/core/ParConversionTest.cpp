// Temperatures between tenths of a degree Celsius and the display units.
#include "CDataCard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

TEST(ParConversion, Examples)
{
    const struct
    {
        int16_t nIn, nOut;
    } aToC[] = {{3600, 360}, {1495, 150}, {1494, 149}, {-5, -1}, {-4, 0}, {0, 0}, {-15, -2}},
      aToF[] = {{1489, 300}, {3017, 575}, {4500, 842}, {1500, 302}, {-1, 32}, {-6, 31}, {0, 32}},
      aFromF[] = {{300, 1489}, {575, 3017}, {842, 4500}, {32, 0}, {31, -6}, {22, -56}, {41, 50}},
      aFromC[] = {{150, 1500}, {450, 4500}, {-40, -400}, {0, 0}};
    for (const auto& c : aToC)
        EXPECT_EQ(CDataCard::toCentigrade(c.nIn), c.nOut) << c.nIn;
    for (const auto& c : aToF)
        EXPECT_EQ(CDataCard::toFahrenheit(c.nIn), c.nOut) << c.nIn;
    for (const auto& c : aFromF)
    {
        EXPECT_EQ(CDataCard::fromFahrenheit(c.nIn), c.nOut) << c.nIn;
        EXPECT_EQ(CDataCard::fromDisplayUnit(c.nIn, false), c.nOut) << c.nIn;
    }
    for (const auto& c : aFromC)
    {
        EXPECT_EQ(CDataCard::fromCentigrade(c.nIn), c.nOut) << c.nIn;
        EXPECT_EQ(CDataCard::fromDisplayUnit(c.nIn, true), c.nOut) << c.nIn;
    }
}

TEST(ParConversion, WholeDegreesSurviveTheRoundTrip)
{
    for (int f = -400; f <= 1500; ++f)
    {
        const int16_t n100mC = CDataCard::fromFahrenheit(static_cast<int16_t>(f));
        ASSERT_EQ(CDataCard::toFahrenheit(n100mC), f) << f;
        // Within 0.06 °C of the exact value.
        const double dExact = (f - 32) * 50.0 / 9.0;
        ASSERT_LE(std::fabs(n100mC - dExact), 0.6) << f;
    }
    for (int c = -3276; c <= 3276; ++c)
        ASSERT_EQ(CDataCard::toCentigrade(CDataCard::fromCentigrade(static_cast<int16_t>(c))), c);
}

TEST(ParConversion, RoundingOfStoredValues)
{
    // Whole degrees Celsius are the nearest, halves away from zero; whole
    // degrees Fahrenheit never stray more than one from the exact value.
    for (int n = -3000; n <= 6000; ++n)
    {
        const int16_t v = static_cast<int16_t>(n);
        const double dC = n / 10.0;
        const double dNearest = dC >= 0 ? std::floor(dC + 0.5) : std::ceil(dC - 0.5);
        ASSERT_EQ(CDataCard::toCentigrade(v), dNearest) << n;
        const double dF = n * 9.0 / 50.0 + 32.0;
        ASSERT_LE(std::fabs(CDataCard::toFahrenheit(v) - dF), 1.0) << n;
    }
}

TEST(ParConversion, MonotonicAcrossTheWholeRange)
{
    int16_t nPrevF = CDataCard::toFahrenheit(INT16_MIN);
    int16_t nPrevC = CDataCard::toCentigrade(INT16_MIN);
    for (int n = INT16_MIN + 1; n <= INT16_MAX; ++n)
    {
        const int16_t nF = CDataCard::toFahrenheit(static_cast<int16_t>(n));
        const int16_t nC = CDataCard::toCentigrade(static_cast<int16_t>(n));
        ASSERT_GE(nF, nPrevF) << n;
        ASSERT_GE(nC, nPrevC) << n;
        nPrevF = nF;
        nPrevC = nC;
    }
    int16_t nPrev = CDataCard::fromFahrenheit(INT16_MIN);
    for (int f = INT16_MIN + 1; f <= INT16_MAX; ++f)
    {
        const int16_t n = CDataCard::fromFahrenheit(static_cast<int16_t>(f));
        ASSERT_GE(n, nPrev) << f;
        nPrev = n;
    }
}

TEST(ParConversion, OutOfRangeInputsSaturate)
{
    // Beyond what 16 bits of tenths can hold the result stops at the limit
    // instead of wrapping to the other sign.
    const struct
    {
        int16_t nIn;
        bool bCentigrade;
        int16_t nOut;
    } aCase[] = {
        {3277, true, INT16_MAX},      {-3277, true, INT16_MIN},      {INT16_MAX, true, INT16_MAX},
        {INT16_MIN, true, INT16_MIN}, {INT16_MAX, false, INT16_MAX}, {INT16_MIN, false, INT16_MIN},
        {6000, false, INT16_MAX},
    };
    for (const auto& c : aCase)
        EXPECT_EQ(CDataCard::fromDisplayUnit(c.nIn, c.bCentigrade), c.nOut)
            << c.nIn << (c.bCentigrade ? " C" : " F");
}
