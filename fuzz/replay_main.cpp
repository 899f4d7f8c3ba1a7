// Replays saved inputs through a fuzz target's entry function, built by the
// ordinary compiler: `NAME_replay FOLDER...` runs the empty input and every file
// in the folders (hidden ones aside) once; a broken rule aborts, as under the fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!fs::is_directory(argv[i])) {
            std::fprintf(stderr, "usage: %s FOLDER... (folders of saved inputs)\n", argv[0]);
            return 2;
        }
        for (const auto& entry : fs::directory_iterator(argv[i]))
            if (entry.is_regular_file() && !entry.path().filename().string().starts_with('.'))
                inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    static const std::uint8_t kNothing = 0;
    (void)LLVMFuzzerTestOneInput(&kNothing, 0);
    for (const fs::path& input : inputs) {
        std::fprintf(stderr, "replaying %s\n", input.c_str());
        std::ifstream file(input, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        (void)LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs replayed\n", inputs.size() + 1);
    return 0;
}
