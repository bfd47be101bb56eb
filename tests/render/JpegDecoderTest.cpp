// decodeJpeg: 8-bit red, green and blue, top row first, from greyscale, RGB,
// progressive and YCbCr files; null, without reading outside the bytes, for
// anything damaged, cut short, in an unsupported colour space or beyond the
// size limit.
//
// Untested: a 12-bit file (libjpeg-turbo's 8-bit writer cannot make one);
// running out of memory.
#include "render/JpegDecoder.h"

#include "render/TestJpeg.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace
{

// Decodes a_bytes placed between two inaccessible pages, so that a read
// outside them faults even inside libjpeg, which the sanitizers do not see.
std::unique_ptr<Image> decode(const std::vector<uint8_t>& a_bytes)
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    const size_t dataPages = (a_bytes.size() + page - 1) / page;
    const size_t length = (dataPages + 2) * page;
    void* mapping = mmap(nullptr, length, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    EXPECT_NE(mapping, MAP_FAILED);
    if (mapping == MAP_FAILED)
        return nullptr;
    uint8_t* pages = static_cast<uint8_t*>(mapping);
    if (dataPages != 0)
    {
        EXPECT_EQ(mprotect(pages + page, dataPages * page, PROT_READ | PROT_WRITE), 0);
    }
    uint8_t* data = pages + page + dataPages * page - a_bytes.size();
    if (!a_bytes.empty())
        memcpy(data, a_bytes.data(), a_bytes.size());
    std::unique_ptr<Image> image = decodeJpeg(data, uint32_t(a_bytes.size()));
    munmap(mapping, length);
    return image;
}

// The offset of the first marker 0xFF a_code.
size_t findMarker(const std::vector<uint8_t>& a_bytes, uint8_t a_code)
{
    for (size_t i = 0; i + 1 < a_bytes.size(); ++i)
    {
        if (a_bytes[i] == 0xFF && a_bytes[i + 1] == a_code)
            return i;
    }
    ADD_FAILURE() << "no marker " << int(a_code);
    return 0;
}

// Four blocks of distinct colours: top left, top right, bottom left, bottom right.
TestPicture quadrants(uint32_t a_topLeft, uint32_t a_topRight, uint32_t a_bottomLeft,
                      uint32_t a_bottomRight)
{
    return blockPicture(2, 2, {a_topLeft, a_topRight, a_bottomLeft, a_bottomRight});
}

void expectPicture(const Image& a_image, const TestPicture& a_expected)
{
    ASSERT_EQ(a_image.width, a_expected.width);
    ASSERT_EQ(a_image.height, a_expected.height);
    for (int32_t y = 0; y < a_expected.height; ++y)
    {
        for (int32_t x = 0; x < a_expected.width; ++x)
            ASSERT_EQ(a_image.pixel(x, y), a_expected.at(x, y)) << "at " << x << ", " << y;
    }
}

}

// Files that store grey or red, green and blue without conversion decode to
// exactly the blocks written at quality 100, in place; greyscale comes out as
// equal red, green and blue, and so do greys through JFIF's YCbCr, whose
// colour differences are 0 for grey.
TEST(JpegDecoder, DecodesExactPicturesInPlace)
{
    struct Case
    {
        const char* name;
        JpegKind kind;
        TestPicture picture;
    };
    const Case cases[] = {
        {"greyscale", JpegKind::Grey, quadrants(0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF)},
        {"RGB", JpegKind::Rgb, quadrants(0xFF0000, 0x00FF00, 0x0000FF, 0x123456)},
        {"progressive RGB", JpegKind::ProgressiveRgb,
         quadrants(0xFEDCBA, 0x010203, 0x808080, 0x00FFFF)},
        {"YCbCr greys", JpegKind::YCbCr, quadrants(0x000000, 0x808080, 0xFFFFFF, 0x3F3F3F)},
        {"non-square RGB", JpegKind::Rgb, blockPicture(3, 1, {0x102030, 0x405060, 0x708090})},
    };
    for (const Case& testCase : cases)
    {
        SCOPED_TRACE(testCase.name);
        std::unique_ptr<Image> image = decode(encodeJpeg(testCase.picture, testCase.kind));
        ASSERT_NE(image, nullptr);
        expectPicture(*image, testCase.picture);
    }
}

// A single-colour JFIF file comes back within JFIF's conversion rounding:
// RGB to YCbCr and back rounds each of Y, Cb and Cr by at most half a step,
// which moves a channel by less than 2.
TEST(JpegDecoder, DecodesColourThroughYCbCr)
{
    const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x3C7A1E, 0xC8A064};
    for (uint32_t colour : colours)
    {
        SCOPED_TRACE(testing::Message() << std::hex << colour);
        std::unique_ptr<Image> image = decode(
            encodeJpeg(blockPicture(2, 2, {colour, colour, colour, colour}), JpegKind::YCbCr));
        ASSERT_NE(image, nullptr);
        for (int32_t i = 0; i < image->width * image->height; ++i)
        {
            for (int shift : {16, 8, 0})
            {
                const int got = int(image->pixels[size_t(i)] >> shift & 0xFF);
                const int wanted = int(colour >> shift & 0xFF);
                ASSERT_LE(abs(got - wanted), 2) << "pixel " << i << ", shift " << shift;
            }
            ASSERT_EQ(image->pixels[size_t(i)] >> 24, 0u);
        }
    }
}

// Sides up to 8192 pixels decode; one pixel more is refused before anything
// is allocated for it.
TEST(JpegDecoder, RefusesSidesBeyondTheLimit)
{
    struct Case
    {
        int32_t width;
        int32_t height;
        bool decodes;
    };
    const Case cases[] = {
        {8192, 8, true},
        {8, 8192, true},
        {8193, 8, false},
        {8, 8193, false},
    };
    for (const Case& testCase : cases)
    {
        SCOPED_TRACE(testing::Message() << testCase.width << " x " << testCase.height);
        TestPicture picture;
        picture.width = testCase.width;
        picture.height = testCase.height;
        picture.pixels.assign(size_t(picture.width) * picture.height, 0x404040);
        std::unique_ptr<Image> image = decode(encodeJpeg(picture, JpegKind::Grey));
        EXPECT_EQ(image != nullptr, testCase.decodes);
        if (image)
        {
            EXPECT_EQ(image->width, testCase.width);
            EXPECT_EQ(image->height, testCase.height);
            EXPECT_EQ(image->pixel(testCase.width - 1, testCase.height - 1), 0x404040u);
        }
    }
}

// Bytes that are not a whole, undamaged 8-bit JPEG of a supported colour
// space give null; libjpeg's error and warning reports end the decode instead
// of the process.
TEST(JpegDecoder, RefusesDamagedFiles)
{
    const std::vector<uint8_t> good = encodeJpeg(quadrants(1, 2, 3, 4), JpegKind::Grey);
    const size_t frame = findMarker(good, 0xC0);  // FF C0, length, precision, height, width

    std::vector<uint8_t> zeroWidth = good;
    zeroWidth[frame + 7] = 0;
    zeroWidth[frame + 8] = 0;
    std::vector<uint8_t> hugeHeight = good;
    hugeHeight[frame + 5] = 0xFF;
    hugeHeight[frame + 6] = 0xFF;
    std::vector<uint8_t> badPrecision = good;
    badPrecision[frame + 4] = 7;
    std::vector<uint8_t> noQuantiser = good;
    noQuantiser[findMarker(good, 0xDB) + 1] = 0xFE;  // the table becomes a comment
    std::vector<uint8_t> garbageBeforeScan = good;
    garbageBeforeScan.insert(garbageBeforeScan.begin() + long(findMarker(good, 0xDA)), 3, 0x55);

    struct Case
    {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"no bytes", {}},
        {"a PNG signature", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}},
        {"the start marker only", {0xFF, 0xD8}},
        {"start and end markers only", {0xFF, 0xD8, 0xFF, 0xD9}},
        {"zero width", zeroWidth},
        {"height 65535 over too little data", hugeHeight},
        {"precision 7", badPrecision},
        {"no quantisation table", noQuantiser},
        {"bytes before the scan's marker", garbageBeforeScan},
        {"CMYK", encodeJpeg(quadrants(1, 2, 3, 4), JpegKind::Cmyk)},
    };
    for (const Case& testCase : cases)
    {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(decode(testCase.bytes), nullptr);
    }
    EXPECT_EQ(decodeJpeg(nullptr, 16), nullptr);
    EXPECT_NE(decode(good), nullptr);
}

// A file cut short anywhere, even inside its end marker, gives null: libjpeg
// pads the missing data with an end marker and warns, and the warning counts
// as damage.
TEST(JpegDecoder, RefusesEveryTruncation)
{
    const TestPicture picture = quadrants(0x102030, 0x405060, 0x708090, 0xA0B0C0);
    for (JpegKind kind : {JpegKind::Grey, JpegKind::Rgb, JpegKind::ProgressiveRgb, JpegKind::YCbCr})
    {
        const std::vector<uint8_t> whole = encodeJpeg(picture, kind);
        ASSERT_NE(decode(whole), nullptr);
        for (size_t length = 0; length < whole.size(); ++length)
        {
            SCOPED_TRACE(testing::Message() << "kind " << int(kind) << ", " << length << " of "
                                            << whole.size() << " bytes");
            EXPECT_EQ(decode(std::vector<uint8_t>(whole.begin(), whole.begin() + long(length))),
                      nullptr);
        }
    }
}

// Any single damaged byte either fails the decode or leaves a picture within
// the limits; under the sanitizers, no read or write strays outside a buffer.
TEST(JpegDecoder, SurvivesADamagedByteAnywhere)
{
    const TestPicture picture = quadrants(0x102030, 0x405060, 0x708090, 0xA0B0C0);
    for (JpegKind kind : {JpegKind::YCbCr, JpegKind::ProgressiveRgb})
    {
        const std::vector<uint8_t> whole = encodeJpeg(picture, kind);
        for (size_t offset = 0; offset < whole.size(); ++offset)
        {
            SCOPED_TRACE(testing::Message() << "kind " << int(kind) << ", byte " << offset);
            std::vector<uint8_t> damaged = whole;
            damaged[offset] ^= 0xFF;
            std::unique_ptr<Image> image = decode(damaged);
            if (image)
            {
                EXPECT_GE(image->width, 1);
                EXPECT_LE(image->width, int32_t(kMaxJpegSide));
                EXPECT_GE(image->height, 1);
                EXPECT_LE(image->height, int32_t(kMaxJpegSide));
            }
        }
    }
}
