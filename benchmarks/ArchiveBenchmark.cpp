// Start-up cost of the archive: opening (inflating the whole data block) and
// looking files up by name, at the demo's scale of a few dozen entries.
#include "archive/FileSystem.h"
#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"

#include <benchmark/benchmark.h>

#include <random>

namespace
{

// 48 entries, 24 MiB in all: images and a soundtrack compress poorly, so the
// contents are mostly noise with some repetition.
void writeDemoSizedArchive(const std::string& a_path, bool a_gzip)
{
    std::mt19937 random(7);
    ArchiveBuilder archive;
    for (int index = 0; index < 48; ++index)
    {
        std::string contents(512u << 10, '\0');
        for (size_t at = 0; at < contents.size(); ++at)
            contents[at] = static_cast<char>(at % 3 == 0 ? 0 : random());
        archive.add("file" + std::to_string(index) + ".jpg", contents);
    }
    archive.write(a_path, a_gzip);
}

void BM_OpenArchive(benchmark::State& a_state)
{
    TemporaryFolder folder(true);
    writeDemoSizedArchive("tarvo.fs", a_state.range(0) != 0);
    for (auto _ : a_state)
    {
        ReturnCode result = FileSystem::open();
        if (!result.succeeded())
            a_state.SkipWithError("open failed");
        FileSystem::close();
    }
    a_state.SetBytesProcessed(static_cast<int64_t>(a_state.iterations()) * (24 << 20));
}
BENCHMARK(BM_OpenArchive)->Arg(0)->Arg(1)->ArgName("gzip")->Unit(benchmark::kMillisecond);

void BM_ReadFileLookup(benchmark::State& a_state)
{
    TemporaryFolder folder(true);
    writeDemoSizedArchive("tarvo.fs", false);
    ReturnCode opened = FileSystem::open();
    if (!opened.succeeded())
        a_state.SkipWithError("open failed");
    for (auto _ : a_state)
    {
        File file;
        ReturnCode result = FileSystem::readFile("file47.jpg", file);
        benchmark::DoNotOptimize(result.succeeded());
        benchmark::DoNotOptimize(file.m_data);
    }
    FileSystem::close();
}
BENCHMARK(BM_ReadFileLookup);

}
