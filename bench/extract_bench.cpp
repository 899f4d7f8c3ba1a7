// Extracting every member of a type as plug-ins (what `extract --type T --all`
// does after reading the directory): the time should grow with the bytes written,
// so 100,000 entries take about ten times as long as 10,000.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/io/file.h"
#include "core/sample/archive_builder.h"
#include "core/sample/sample_tags.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"
#include "core/viewer/plug_in_extraction.h"

namespace {

namespace fs = std::filesystem;
using namespace tagwarden;

// A synthetic archive whose entries all share one type, so the group is all of it.
fs::path writeArchive(const fs::path& folder, std::size_t count)
{
    std::vector<SampleTag> tags = syntheticTags(count);
    for (SampleTag& tag : tags)
        tag.type = "mons";
    fs::create_directories(folder);
    const fs::path path = folder / "tags.gor";
    writeBytes(path.string(), buildArchive(tags));
    return path;
}

void extractAll(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const fs::path folder = fs::temp_directory_path() / ("tagwarden_extract_bench_" + std::to_string(count));
    const std::string path = writeArchive(folder, count).string();
    File file(path, File::Access::Read, File::Share::DenyWrite);
    TagDirectory directory;
    (void)readDirectory(directory, file, nullptr);
    const TypeGroup& group = directory.typeGroups().at(0);
    const std::string out = (folder / "local" / "mons").string();

    std::int64_t bytesPerRun = 0;
    for (const GroupMember& member : group.members)
        bytesPerRun += 64 + directory.entryAt(static_cast<std::size_t>(member.index)).dataLength();

    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        state.ResumeTiming();
        extractGroup(file, path, directory, group, out, [](const ExtractedPlugIn& outcome) {
            if (!outcome.created)
                throw std::runtime_error("plug-in not created: " + outcome.path);
        });
    }
    state.SetBytesProcessed(state.iterations() * bytesPerRun);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * group.members.size()));
    fs::remove_all(folder);
}

}  // namespace

BENCHMARK(extractAll)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
