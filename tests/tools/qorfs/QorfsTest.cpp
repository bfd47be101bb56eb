// qorfs: pack, list, extract and verify round-trip a folder byte for byte,
// and the demo's own reader agrees with what the tool wrote.
#include "core/FatalError.h"
#include "archive/FileSystem.h"
#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"
#include "support/ToolRun.h"

#include <MessageBoxRecorder.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace
{

ToolRun qorfs(const std::string& a_arguments)
{
    return runTool(std::string(QORFS_PATH) + " " + a_arguments);
}

std::string quoted(const std::string& a_path)
{
    return "'" + a_path + "'";
}

std::string readText(const std::string& a_path)
{
    std::ifstream stream(a_path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

std::string replaceAll(std::string a_text, const std::string& a_from, const std::string& a_to)
{
    for (size_t at = a_text.find(a_from); at != std::string::npos;
         at = a_text.find(a_from, at + a_to.size()))
        a_text.replace(at, a_from.size(), a_to);
    return a_text;
}

// A folder of files whose bytes cover what breaks naive readers: every byte
// value, a single byte, a size past the stream's buffers, odd names.
std::map<std::string, std::vector<uint8_t>> makeFiles(const fs::path& a_folder)
{
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<uint8_t> allBytes;
    for (int value = 0; value < 256; ++value)
        allBytes.push_back(static_cast<uint8_t>(value));
    files["all-bytes.bin"] = allBytes;
    files["x"] = {'1'};
    std::mt19937 random(42);
    std::vector<uint8_t> large(3u << 20);
    for (uint8_t& byte : large)
        byte = static_cast<uint8_t>(random());
    files["large.jpg"] = large;
    files["name with blanks and \xC3\xA9.qor"] = {'q', 'o', 'r'};
    files[std::string(255, 'n')] = {'l', 'o', 'n', 'g'};  // the longest name Linux allows
    for (const auto& file : files)
        writeBytes((a_folder / file.first).string(), file.second);
    return files;
}

}

// Packing, extracting and reading through FileSystem give back every file
// byte for byte, plain and compressed; the listing names each entry once.
TEST(Qorfs, RoundTripsFolderByteForByte)
{
    TemporaryFolder work;
    const fs::path input = work.path() / "input";
    fs::create_directory(input);
    const auto files = makeFiles(input);
    fs::create_directory(input / "subfolder");  // not packed

    for (bool plain : {true, false})
    {
        SCOPED_TRACE(plain ? "plain" : "gzip");
        const std::string archive = work.file(plain ? "plain.fs" : "gzip.fs");
        ASSERT_EQ(qorfs("pack " + quoted(input) + " " + quoted(archive) + (plain ? " --plain" : ""))
                      .status,
                  0);
        // Plain archives begin with the magic; compressed ones with gzip's.
        const std::vector<uint8_t> bytes = readBytes(archive);
        ASSERT_GE(bytes.size(), 2u);
        if (plain)
            EXPECT_EQ(bytes[0], 'Q');
        else
            EXPECT_TRUE(bytes[0] == 0x1F && bytes[1] == 0x8B);

        ToolRun verify = qorfs("verify " + quoted(archive));
        EXPECT_EQ(verify.status, 0) << verify.output;

        ToolRun list = qorfs("list " + quoted(archive));
        ASSERT_EQ(list.status, 0) << list.output;
        std::istringstream lines(list.output);
        std::string line;
        size_t entries = 0;
        while (std::getline(lines, line))
        {
            const std::string name = line.substr(0, line.find('\t'));
            EXPECT_EQ(files.count(name), 1u) << line;
            ++entries;
        }
        EXPECT_EQ(entries, files.size());

        const fs::path output = work.path() / (plain ? "out-plain" : "out-gzip");
        ToolRun extract = qorfs("extract " + quoted(archive) + " " + quoted(output));
        ASSERT_EQ(extract.status, 0) << extract.output;
        size_t extracted = 0;
        for (const auto& entry : fs::directory_iterator(output))
        {
            ++extracted;
            const auto expected = files.find(entry.path().filename().string());
            ASSERT_NE(expected, files.end()) << entry.path();
            EXPECT_EQ(readBytes(entry.path().string()), expected->second);
        }
        EXPECT_EQ(extracted, files.size());

        // The demo reads the same archive from its working directory.
        TemporaryFolder demo(true);
        fs::copy_file(archive, demo.file("tarvo.fs"));
        MessageBoxRecorder boxes;
        {
            ReturnCode opened = FileSystem::open();
            ASSERT_TRUE(opened.succeeded());
        }
        for (const auto& file : files)
        {
            SCOPED_TRACE(file.first.substr(0, 40));
            File read;
            ReturnCode result = FileSystem::readFile(file.first.c_str(), read);
            ASSERT_TRUE(result.succeeded());
            EXPECT_EQ(std::vector<uint8_t>(read.m_data, read.m_data + read.m_size), file.second);
        }
        FileSystem::close();
        EXPECT_TRUE(boxes.boxes().empty());
    }
}

// The same folder packs to the same bytes, whatever the key; the listing of
// a known folder matches its golden file (byte order of names).
TEST(Qorfs, PacksDeterministically)
{
    TemporaryFolder work;
    const std::string folder = std::string(TARVO_TEST_DATA) + "/qorfs/basic";
    for (const char* options : {"", " --plain", " --key 0xDEADBEEF"})
    {
        SCOPED_TRACE(options);
        ASSERT_EQ(
            qorfs("pack " + quoted(folder) + " " + quoted(work.file("a.fs")) + options).status, 0);
        ASSERT_EQ(
            qorfs("pack " + quoted(folder) + " " + quoted(work.file("b.fs")) + options).status, 0);
        EXPECT_EQ(readBytes(work.file("a.fs")), readBytes(work.file("b.fs")));

        ToolRun list = qorfs("list " + quoted(work.file("a.fs")));
        EXPECT_EQ(list.status, 0);
        EXPECT_EQ(list.output, readText(std::string(TARVO_TEST_DATA) + "/qorfs/basic.list"));
    }

    // The key lands in the header as given.
    const std::vector<uint8_t> plain = readBytes(work.file("a.fs"));
    ASSERT_EQ(qorfs("pack " + quoted(folder) + " " + quoted(work.file("k.fs")) +
                    " --plain --key 0A0B0C0D")
                  .status,
              0);
    const std::vector<uint8_t> keyed = readBytes(work.file("k.fs"));
    ASSERT_GE(keyed.size(), 10u);
    EXPECT_EQ(std::vector<uint8_t>(keyed.begin() + 6, keyed.begin() + 10),
              (std::vector<uint8_t>{0x0D, 0x0C, 0x0B, 0x0A}));
}

// verify names every fault of a damaged archive and fails; its report
// matches the golden file.
TEST(Qorfs, VerifyReportsEveryFault)
{
    TemporaryFolder work;
    const std::string archive = work.file("damaged.fs");
    ArchiveBuilder()
        .add("hog.qor", "scene!")
        .addRaw(std::string(260, 'L'), 0, 1)
        .addRaw("empty", 0, 0)
        .addRaw("outside", 20, 1)
        .addRaw("hog.qor", 0, 1)
        .trailer("abc")  // the sizes add up to 9 bytes
        .write(archive, true);
    ToolRun verify = qorfs("verify " + quoted(archive));
    EXPECT_EQ(verify.status, 1);
    EXPECT_EQ(verify.output,
              replaceAll(readText(std::string(TARVO_TEST_DATA) + "/qorfs/damaged.verify"),
                         "ARCHIVE", archive));

    // A repeated name alone is still reported, and still fails verify.
    ArchiveBuilder().add("a", "1").add("a", "2").write(archive, false);
    verify = qorfs("verify " + quoted(archive));
    EXPECT_EQ(verify.status, 1);
    EXPECT_EQ(verify.output,
              archive + ": warning: entry 1 \"a\" repeats entry 0; only the first is read\n");

    // list and extract refuse what the demo would refuse.
    ArchiveBuilder().add("a", "1").trailer("junk").write(archive, false);
    EXPECT_EQ(qorfs("list " + quoted(archive)).status, 1);
    EXPECT_EQ(qorfs("extract " + quoted(archive) + " " + quoted(work.file("out"))).status, 1);
    EXPECT_FALSE(fs::exists(work.file("out")));
}

// Names from an archive never write outside the target folder.
TEST(Qorfs, ExtractRefusesNamesThatLeaveTheFolder)
{
    TemporaryFolder work;
    const std::string archive = work.file("hostile.fs");
    ArchiveBuilder()
        .add("../escape", "x")
        .add("sub/file", "y")
        .add("..", "z")
        .add("fine", "w")
        .write(archive, true);
    const fs::path output = work.path() / "out";
    ToolRun extract = qorfs("extract " + quoted(archive) + " " + quoted(output));
    EXPECT_EQ(extract.status, 1);
    EXPECT_NE(extract.output.find("skipped \"../escape\": not a plain file name"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(work.path() / "escape"));
    EXPECT_FALSE(fs::exists(output / "sub"));
    EXPECT_EQ(readBytes((output / "fine").string()), (std::vector<uint8_t>{'w'}));
}

// Bad requests fail with a reason and write nothing.
TEST(Qorfs, BadRequestsFailWithoutOutput)
{
    TemporaryFolder work;
    const fs::path input = work.path() / "input";
    fs::create_directory(input);
    writeBytes((input / "empty.jpg").string(), {});
    const std::string archive = work.file("out.fs");

    const struct
    {
        std::string arguments;
        int status;
        std::string message;
    } cases[] = {
        {"pack " + quoted(input) + " " + quoted(archive), 1,
         "\"empty.jpg\": empty files cannot be packed"},
        {"pack " + quoted(work.file("missing")) + " " + quoted(archive), 1, "cannot read folder"},
        {"pack " + quoted(input) + " " + quoted(archive) + " --key XYZ", 2,
         "--key takes 1 to 8 hexadecimal digits"},
        {"pack " + quoted(input) + " " + quoted(archive) + " --key 123456789", 2, "--key takes"},
        {"pack " + quoted(input), 2, "usage: qorfs"},
        {"unpack x", 2, "usage: qorfs"},
        {"list " + quoted(work.file("missing.fs")), 1, "cannot open"},
        {"verify " + quoted(work.file("missing.fs")), 1, "cannot open"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.arguments);
        ToolRun run = qorfs(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        EXPECT_FALSE(fs::exists(archive));
        EXPECT_FALSE(fs::exists(archive + ".tmp"));
    }
}
