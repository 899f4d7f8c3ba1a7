// Reading and mapping large archives: time per reading. The resident memory per
// entry, and the goals against a lower bound, are bench/speed_goals.py's.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/io/file.h"
#include "core/sample/archive_builder.h"
#include "core/sample/sample_tags.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"

namespace {

// The owner's call-backs cost what a cheap GUI's would: nothing kept.
class QuietOwner : public tagwarden::DirectoryObserver {
public:
    void addListLine(std::size_t index) override { benchmark::DoNotOptimize(index); }
    void setStatus(const std::string&) override {}
    void refillTypeFilter() override {}
};

// Each archive is built once per run into the temporary directory.
class Archives {
public:
    ~Archives()
    {
        for (const auto& [count, path] : paths_)
            std::filesystem::remove(path);
    }
    const std::string& of(std::size_t count)
    {
        auto [it, isNew] = paths_.try_emplace(count);
        if (isNew) {
            it->second = (std::filesystem::temp_directory_path() /
                          ("tagwarden-bench-" + std::to_string(::getpid()) + "-" + std::to_string(count) + ".gor"))
                             .string();
            tagwarden::writeBytes(it->second, tagwarden::buildArchive(tagwarden::syntheticTags(count)));
        }
        return it->second;
    }

private:
    std::map<std::size_t, std::string> paths_;
};

Archives archives;

std::size_t readAndMap(const std::string& path)
{
    tagwarden::File file(path, tagwarden::File::Access::Read, tagwarden::File::Share::None);
    tagwarden::TagDirectory directory;
    QuietOwner owner;
    directory.setObserver(&owner);
    (void)tagwarden::readDirectory(directory, file, nullptr);
    return directory.typeGroups().size() + directory.entryCount();
}

void ReadAndMap(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::string& path = archives.of(count);
    for (auto _ : state)
        benchmark::DoNotOptimize(readAndMap(path));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(ReadAndMap)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

// Large blocks always come fresh from the system, as on the program's first reading;
// otherwise glibc's growing mmap threshold would let the smaller sizes reuse warm
// memory between iterations while a million entries never can.
int main(int argc, char** argv)
{
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
