// FileSystem: the archive "tarvo.fs" in memory, named files as views into it,
// loose files once it is closed, and every damaged archive refused.
//
// Untested: a loose file that cannot be read after it opened (a folder of
// that name opens on Linux and is reported as unreadable).
#include "archive/FileSystem.h"

#include "core/FatalError.h"
#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"

#include <MessageBoxRecorder.h>

#include <gtest/gtest.h>

#include <string.h>

namespace
{

const char kInvalidHeader[] = "Invalid header in filesystem 'tarvo.fs'.";

// Each test runs in a fresh working directory with no archive loaded.
class FileSystemTest : public testing::Test
{
protected:
    void SetUp() override { g_fatalErrorShown = false; }
    void TearDown() override
    {
        FileSystem::close();
        g_fatalErrorShown = false;
    }

    bool open()
    {
        ReturnCode result = FileSystem::open();
        return result.succeeded();
    }

    bool read(const char* a_name, File& a_file)
    {
        ReturnCode result = FileSystem::readFile(a_name, a_file);
        return result.succeeded();
    }

    std::string messages() const
    {
        std::string all;
        for (const MessageBoxRecorder::Box& box : m_boxes.boxes())
            all += box.text + "\n";
        return all;
    }

    TemporaryFolder m_folder{true};
    MessageBoxRecorder m_boxes;
};

std::string contents(const File& a_file)
{
    return std::string(reinterpret_cast<const char*>(a_file.m_data), a_file.m_size);
}

ArchiveBuilder sampleArchive()
{
    ArchiveBuilder archive;
    archive.add("hog.qor", "scene bytes")
        .add("quad.vsh", std::string("\x00\x03\xFE\xFF", 4))
        .add("KUV-2.mp3", "ID3 and frames");
    return archive;
}

}

// No archive in the working directory: open fails and says nothing.
TEST_F(FileSystemTest, MissingArchiveFailsSilently)
{
    EXPECT_FALSE(open());
    EXPECT_EQ(messages(), "");
}

// Plain and gzip archives read alike: each name gives a view of its bytes.
TEST_F(FileSystemTest, ReadsViewsFromPlainAndGzipArchives)
{
    for (bool gzip : {false, true})
    {
        SCOPED_TRACE(gzip ? "gzip" : "plain");
        sampleArchive().write("tarvo.fs", gzip);
        ASSERT_TRUE(open());

        const struct
        {
            const char* name;
            std::string bytes;
        } expected[] = {
            {"hog.qor", "scene bytes"},
            {"quad.vsh", std::string("\x00\x03\xFE\xFF", 4)},
            {"KUV-2.mp3", "ID3 and frames"},
        };
        const uint8_t* previousEnd = nullptr;
        for (const auto& e : expected)
        {
            SCOPED_TRACE(e.name);
            File file;
            ASSERT_TRUE(read(e.name, file));
            EXPECT_EQ(contents(file), e.bytes);
            EXPECT_FALSE(file.m_ownsData);
            EXPECT_EQ(file.m_position, 0u);
            EXPECT_TRUE(FileSystem::fileExists(e.name));
            // Views into one block, back to back: nothing was copied.
            if (previousEnd)
            {
                EXPECT_EQ(file.m_data, previousEnd);
            }
            previousEnd = file.m_data + file.m_size;
        }
        FileSystem::close();
    }
    EXPECT_EQ(messages(), "");
}

// Lookup is byte for byte: another case or a missing name is not found, the
// File is left as it was, and the archive's message names the file.
TEST_F(FileSystemTest, UnknownNameIsNotFoundInArchive)
{
    sampleArchive().write("tarvo.fs", true);
    ASSERT_TRUE(open());

    EXPECT_FALSE(FileSystem::fileExists("HOG.qor"));
    EXPECT_FALSE(FileSystem::fileExists("missing.jpg"));
    EXPECT_EQ(messages(), "");

    File file;
    EXPECT_FALSE(read("HOG.qor", file));
    EXPECT_EQ(file.m_data, nullptr);
    EXPECT_EQ(file.m_size, 0u);
    EXPECT_TRUE(file.m_ownsData);
    EXPECT_EQ(messages(), "HOG.qor: File not found (.fs in use).\n");
}

// Two entries of one name: the first in directory order wins.
TEST_F(FileSystemTest, FirstOfDuplicateNamesIsRead)
{
    ArchiveBuilder().add("a.jpg", "first").add("a.jpg", "second").write("tarvo.fs", false);
    ASSERT_TRUE(open());
    File file;
    ASSERT_TRUE(read("a.jpg", file));
    EXPECT_EQ(contents(file), "first");
}

// An archive of no entries opens; every read then fails as not found.
TEST_F(FileSystemTest, EmptyArchiveOpens)
{
    ArchiveBuilder().write("tarvo.fs", true);
    ASSERT_TRUE(open());
    File file;
    EXPECT_FALSE(read("hog.qor", file));
    EXPECT_EQ(messages(), "hog.qor: File not found (.fs in use).\n");
}

// A name ends at the byte that unscrambles to zero, even when the offset and
// size bytes after it would unscramble to printable text.
TEST_F(FileSystemTest, NameEndsAtScrambledTerminator)
{
    const uint32_t key = 0x41414141;  // offset 0 and size 4 scramble to "AAAA" and "EAAA"
    ArchiveBuilder(key).add("ab", "data").write("tarvo.fs", false);
    ASSERT_TRUE(open());
    File file;
    ASSERT_TRUE(read("ab", file));
    EXPECT_EQ(contents(file), "data");
}

// Once closed, names are looked up as loose files of the working directory.
TEST_F(FileSystemTest, ClosedArchiveFallsBackToLooseFiles)
{
    sampleArchive().write("tarvo.fs", true);
    ASSERT_TRUE(open());
    FileSystem::close();

    File missing;
    EXPECT_FALSE(FileSystem::fileExists("hog.qor"));
    EXPECT_FALSE(read("hog.qor", missing));
    EXPECT_EQ(messages(), "hog.qor: File not found.\n");

    writeBytes("hog.qor", {'l', 'o', 'o', 's', 'e'});
    EXPECT_TRUE(FileSystem::fileExists("hog.qor"));
    File loose;
    ASSERT_TRUE(read("hog.qor", loose));
    EXPECT_EQ(contents(loose), "loose");
    EXPECT_TRUE(loose.m_ownsData);
}

// An empty loose file is refused with a message rather than ending the program.
TEST_F(FileSystemTest, EmptyLooseFileIsRefused)
{
    writeBytes("empty.jpg", {});
    File file;
    EXPECT_FALSE(read("empty.jpg", file));
    EXPECT_EQ(file.m_data, nullptr);
    EXPECT_EQ(messages(), "empty.jpg: File is empty.\n");
}

// Damaged archives, one fault each, are all refused with the invalid-header
// message; a fault only one byte past a boundary is enough.
TEST_F(FileSystemTest, DamagedArchivesAreRefused)
{
    const std::string name259(259, 'n');
    const struct
    {
        const char* fault;
        ArchiveBuilder archive;
    } cases[] = {
        {"wrong magic", ArchiveBuilder().magic("QORFS2").add("a", "x")},
        {"entry one byte past the block", ArchiveBuilder().add("a", "xy").addRaw("b", 1, 2)},
        {"offset plus size wraps 32 bits",
         ArchiveBuilder().add("a", "xy").addRaw("b", 0xFFFFFFFFu, 2)},
        {"name of 260 bytes", ArchiveBuilder().add(name259 + "n", "x")},
        {"zero size", ArchiveBuilder().add("a", "x").addRaw("b", 0, 0)},
        {"count the file cannot hold", ArchiveBuilder().add("a", "x").count(0xFFFFFFFFu)},
        {"one entry more than stored", ArchiveBuilder().add("a", "x").count(2)},
        {"sizes beyond 4 GiB", ArchiveBuilder().addRaw("a", 0, 0xFFFFFFFFu).addRaw("b", 0, 2)},
        {"bytes after the data block", ArchiveBuilder().add("a", "x").trailer("!")},
        {"empty name", ArchiveBuilder().add("", "x")},
    };
    for (const auto& c : cases)
    {
        for (bool gzip : {false, true})
        {
            SCOPED_TRACE(std::string(c.fault) + (gzip ? " (gzip)" : " (plain)"));
            g_fatalErrorShown = false;
            const size_t shown = m_boxes.boxes().size();
            c.archive.write("tarvo.fs", gzip);
            EXPECT_FALSE(open());
            ASSERT_EQ(m_boxes.boxes().size(), shown + 1);
            EXPECT_EQ(m_boxes.boxes().back().text, kInvalidHeader);
            File file;
            EXPECT_FALSE(read("a", file)) << "no archive may stay loaded";
        }
    }

    // The longest allowed name still opens.
    ArchiveBuilder().add(name259, "x").write("tarvo.fs", false);
    EXPECT_TRUE(open());
}

// An archive cut short at any byte, compressed or not, is refused and read
// no further than it goes (the sanitizer build checks the "no further").
TEST_F(FileSystemTest, ArchiveCutAtAnyByteIsRefused)
{
    for (bool gzip : {false, true})
    {
        std::vector<uint8_t> whole = sampleArchive().bytes();
        if (gzip)
            whole = gzipBytes(whole);
        for (size_t length = 0; length < whole.size(); ++length)
        {
            SCOPED_TRACE(testing::Message() << (gzip ? "gzip" : "plain") << " cut at " << length);
            g_fatalErrorShown = false;
            writeBytes("tarvo.fs", std::vector<uint8_t>(whole.begin(), whole.begin() + length));
            EXPECT_FALSE(open());
            EXPECT_EQ(m_boxes.boxes().back().text, kInvalidHeader);
        }
        writeBytes("tarvo.fs", whole);
        EXPECT_TRUE(open());
        FileSystem::close();
    }
}

// Setting a File's contents asserts on empty values, from the FileSystem source.
TEST(FileDeathTest, SettersRejectEmptyValues)
{
    File file;
    EXPECT_DEATH(file.setData(nullptr), "a_data, file FileSystem\\.cpp");
    EXPECT_DEATH(file.setSize(0), "a_size != 0, file FileSystem\\.cpp");
}
