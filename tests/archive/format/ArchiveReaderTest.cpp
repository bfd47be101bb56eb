// ArchiveReader: reads as far as the structure allows and names every fault,
// so a tool can list them all while the demo refuses the archive.
#include "archive/format/ArchiveReader.h"

#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace
{

std::vector<std::string> faultTexts(const ArchiveReader& a_reader)
{
    std::vector<std::string> texts;
    for (const ArchiveReader::Fault& fault : a_reader.faults())
        texts.push_back(std::string(fault.error ? "error: " : "warning: ") + fault.text);
    return texts;
}

}

// A sound archive reads with its key, directory and block, and no faults.
TEST(ArchiveReader, ReadsSoundArchive)
{
    TemporaryFolder folder;
    ArchiveBuilder(0x01020304).add("a", "xyz").add("b", "w").write(folder.file("x.fs"), true);
    ArchiveReader reader;
    ASSERT_TRUE(reader.read(folder.file("x.fs").c_str()));
    EXPECT_TRUE(reader.valid());
    EXPECT_TRUE(reader.faults().empty());
    EXPECT_EQ(reader.key(), 0x01020304u);
    ASSERT_EQ(reader.entries().size(), 2u);
    EXPECT_EQ(reader.entries()[1].name, "b");
    EXPECT_EQ(reader.entries()[1].offset, 3u);
    EXPECT_EQ(reader.entries()[1].size, 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reader.data()), reader.dataSize()), "xyzw");
}

// A file that cannot be opened is no archive at all, and no fault either.
TEST(ArchiveReader, UnopenableFileIsNotRead)
{
    ArchiveReader reader;
    EXPECT_FALSE(reader.read("/nonexistent/tarvo.fs"));
    EXPECT_FALSE(reader.valid());
    EXPECT_TRUE(reader.faults().empty());
}

// Faults that leave the structure readable are all reported, in directory
// order; a repeated name only warns, since the first entry is the one read.
TEST(ArchiveReader, ReportsEveryFaultOfReadableDirectory)
{
    TemporaryFolder folder;
    ArchiveBuilder()
        .add("a", "0123456789")
        .addRaw(std::string(300, 'L'), 0, 1)
        .addRaw("zero", 0, 0)
        .addRaw("out", 20, 3)
        .addRaw("a", 0, 1)
        .trailer("01234")  // the sizes add up to 15 bytes
        .write(folder.file("x.fs"), false);
    ArchiveReader reader;
    ASSERT_TRUE(reader.read(folder.file("x.fs").c_str()));
    EXPECT_FALSE(reader.valid());
    const std::string longName(259, 'L');
    EXPECT_EQ(faultTexts(reader),
              (std::vector<std::string>{
                  "error: entry 1: name of 300 bytes is longer than 259 bytes",
                  "error: entry 2 \"zero\": size is 0",
                  "error: entry 3 \"out\": bytes 20 to 22 lie outside the 15-byte data block",
                  "warning: entry 4 \"a\" repeats entry 0; only the first is read",
              }));
    // Over-long names are kept to their first 259 bytes for reporting.
    EXPECT_EQ(reader.entries()[1].name, longName);
}

// Only a repeated name: the archive is valid, with a warning.
TEST(ArchiveReader, RepeatedNameAloneKeepsArchiveValid)
{
    TemporaryFolder folder;
    ArchiveBuilder().add("a", "1").add("a", "2").write(folder.file("x.fs"), false);
    ArchiveReader reader;
    ASSERT_TRUE(reader.read(folder.file("x.fs").c_str()));
    EXPECT_TRUE(reader.valid());
    ASSERT_EQ(reader.faults().size(), 1u);
    EXPECT_FALSE(reader.faults()[0].error);
}

// Faults that end the reading say where the stream stopped.
TEST(ArchiveReader, NamesWhereReadingStopped)
{
    TemporaryFolder folder;
    const std::string path = folder.file("x.fs");
    const struct
    {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* fault;
    } cases[] = {
        {"empty file", {}, "error: header cut short: the file ends before its magic"},
        {"magic only",
         {'Q', 'O', 'R', 'F', 'S', '1'},
         "error: header cut short: the file ends before its key and entry count"},
        {"wrong magic", ArchiveBuilder().magic("QORFS0").bytes(),
         "error: bad magic: the file does not begin with \"QORFS1\""},
        {"count too large", ArchiveBuilder().add("a", "x").count(3).bytes(),
         "error: directory cut short in the name of entry 1; the header promises 3 entries"},
        {"sizes beyond 4 GiB",
         ArchiveBuilder().addRaw("a", 0, 0x80000000u).addRaw("b", 0, 0x80000000u).bytes(),
         "error: the entries' sizes add up to 4294967296 bytes, more than a data block can hold"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        writeBytes(path, c.bytes);
        ArchiveReader reader;
        ASSERT_TRUE(reader.read(path.c_str()));
        EXPECT_FALSE(reader.valid());
        ASSERT_FALSE(reader.faults().empty());
        EXPECT_EQ(faultTexts(reader).back(), c.fault);
        // The one-line message names the first error.
        EXPECT_EQ("error: " + reader.firstError(), faultTexts(reader).front());
    }

    // A cut inside the block reports how much arrived; a damaged gzip stream
    // says so once.
    std::vector<uint8_t> bytes = ArchiveBuilder().add("a", "0123456789").bytes();
    bytes.resize(bytes.size() - 4);
    writeBytes(path, bytes);
    ArchiveReader cut;
    ASSERT_TRUE(cut.read(path.c_str()));
    EXPECT_EQ(faultTexts(cut),
              std::vector<std::string>{"error: data block cut short: 6 of 10 bytes"});

    std::vector<uint8_t> gzip = gzipBytes(ArchiveBuilder().add("a", "0123456789").bytes());
    gzip[gzip.size() - 6] ^= 0xFF;  // inside the CRC of the gzip trailer
    writeBytes(path, gzip);
    ArchiveReader damaged;
    ASSERT_TRUE(damaged.read(path.c_str()));
    EXPECT_FALSE(damaged.valid());
    ASSERT_FALSE(damaged.faults().empty());
    EXPECT_NE(damaged.faults()[0].text.find("compressed stream damaged"), std::string::npos);
}
