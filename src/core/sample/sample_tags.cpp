#include "core/sample/sample_tags.h"

#include <array>
#include <cstring>
#include <filesystem>

#include "core/io/byte_order.h"
#include "core/io/file_error.h"
#include "core/io/utf8_path.h"

namespace tagwarden {

namespace {

// A small deterministic generator, so every run makes the same sample.
class Dice {
public:
    explicit Dice(unsigned seed) : state_(seed * 2654435761u + 1u) {}
    unsigned next(unsigned bound)
    {
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 8) % bound;
    }

private:
    unsigned state_;
};

void putCode(Bytes& data, std::size_t offset, const char* code) { std::memcpy(data.data() + offset, code, 4); }

void put16(Bytes& data, std::size_t offset, int value)
{
    writeBigEndian16(data.data() + offset, static_cast<std::uint16_t>(value));
}

void put32(Bytes& data, std::size_t offset, std::int64_t value)
{
    writeBigEndian32(data.data() + offset, static_cast<std::uint32_t>(value));
}

constexpr std::array kUnitNames{"Marsh Stalker",   "Ashen Warden",   "Hollow Archer", "Dune Runner",
                                "Ironbark Golem",  "Pale Courier",   "Thornback",     "Cinder Shaman",
                                "Glass Sentinel",  "Mire Hound",     "Ember Lancer",  "Frost Drake",
                                "tinker drone",    "Quarry Brute",   "Saltwing",      "Lantern Wisp"};
constexpr std::array kOtherTypes{"proj", "obje", "core", "prgr", "soun", "bitm", "effe", "ligh"};
constexpr std::array kOtherNames{"Bolt",  "Shard",  "Ember",  "Barrel", "Crate",  "Banner", "Stone",
                                 "Chime", "Spark",  "Glow",   "Ripple", "Dust",   "Lamp",   "Rune"};

std::string idFor(const char* prefix, unsigned n)
{
    std::string id(prefix, 2);
    id += static_cast<char>('a' + n / 26 % 26);
    id += static_cast<char>('a' + n % 26);
    return id;
}

Bytes patternBytes(std::size_t size, unsigned seed)
{
    Bytes bytes(size);
    Dice dice(seed);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(dice.next(256));
    return bytes;
}

}  // namespace

Bytes sampleMonsBlock(unsigned seed)
{
    Dice dice(seed);
    Bytes data = patternBytes(512, seed + 7);
    data[2] = seed % 3 == 0 ? 19 : 3;
    putCode(data, 4, idFor("co", seed % 4).c_str());
    for (std::size_t t = 72; t <= 85; ++t)
        data[t] = dice.next(2) ? 0x0A : 0xFF;
    data[127] = seed % 2 ? 0xCC : 0x00;
    data[129] = static_cast<std::uint8_t>(dice.next(40));
    data[137] = static_cast<std::uint8_t>(4 + dice.next(20));
    data[139] = static_cast<std::uint8_t>(2 + dice.next(12));
    putCode(data, 144, idFor("ob", seed % 5).c_str());
    putCode(data, 156, idFor("pj", seed % 6).c_str());
    data[160] = 1;
    data[162] = static_cast<std::uint8_t>(6 + dice.next(30));
    data[177] = static_cast<std::uint8_t>(10 + dice.next(50));
    std::memset(data.data() + 188, 0xFF, 4);  // no secondary weapon
    data[192] = 0;
    data[194] = 0;
    data[207] = 0;
    put16(data, 280, 100 + static_cast<int>(dice.next(80)));
    putCode(data, 292, idFor("pg", seed % 3).c_str());
    data[296] = static_cast<std::uint8_t>(20 + dice.next(200));
    return data;
}

Bytes sampleStliData(const std::vector<std::string>& lines)
{
    Bytes data;
    for (const std::string& line : lines) {
        data.insert(data.end(), line.begin(), line.end());
        data.push_back('\r');
    }
    return data;
}

Bytes sampleMeshData(const MeshLayout& layout)
{
    const std::size_t cells = static_cast<std::size_t>(layout.width) * 16 * static_cast<std::size_t>(layout.height) * 16;
    const std::int64_t meshOffset = 1024;
    const std::int64_t typesBase = static_cast<std::int64_t>(cells * 8);
    const std::int64_t typeLength = 32 * layout.itemTypes;
    const std::int64_t itemLength = 64 * layout.items;
    const std::int64_t section1 = typesBase + typeLength + itemLength;
    const std::int64_t section2 = section1 + static_cast<std::int64_t>(layout.section1);
    const std::int64_t section3 = section2 + static_cast<std::int64_t>(layout.section2);
    const std::int64_t dataEnd = section3 + static_cast<std::int64_t>(layout.section3);

    Bytes data(static_cast<std::size_t>(meshOffset + dataEnd), 0);
    Bytes header = patternBytes(1024, 99);  // unnamed bytes carry made-up values through
    std::copy(header.begin(), header.end(), data.begin());
    putCode(data, 0, "mgr1");
    putCode(data, 4, "wat1");
    put16(data, 8, layout.width);
    put16(data, 10, layout.height);
    put32(data, 16, typesBase);
    put32(data, 24, meshOffset);
    put32(data, 28, dataEnd);
    put32(data, 36, layout.itemTypes);
    put32(data, 40, typesBase);
    put32(data, 44, typeLength);
    put32(data, 52, layout.items);
    put32(data, 56, typesBase + typeLength);
    put32(data, 60, itemLength);
    putCode(data, 68, "lit1");
    std::memset(data.data() + 72, 0xFF, 4);
    put16(data, 76, 0x0001);  // single player
    put16(data, 78, 0x0005);
    putCode(data, 80, "prt1");
    put32(data, 84, 2);
    putCode(data, 124, "amb1");
    put32(data, 132, section1);
    put32(data, 136, static_cast<std::int64_t>(layout.section1));
    putCode(data, 140, "mstl");
    putCode(data, 144, "post");
    putCode(data, 148, "pres");
    putCode(data, 152, "ovhd");
    putCode(data, 156, "nxt1");
    putCode(data, 164, "obj1");
    putCode(data, 176, "nart");
    put32(data, 192, section2);
    put32(data, 196, static_cast<std::int64_t>(layout.section2));
    put32(data, 204, section3);
    put32(data, 208, static_cast<std::int64_t>(layout.section3));
    std::memset(data.data() + 228, 0xFF, 4);
    putCode(data, 252, "capt");
    putCode(data, 256, "nars");

    Bytes cellBytes = patternBytes(cells * 8, 5);
    std::copy(cellBytes.begin(), cellBytes.end(), data.begin() + 1024);

    static constexpr std::array<int, 5> kCategories{3, 1, 9, 5, 6};
    const std::size_t typesAt = static_cast<std::size_t>(meshOffset + typesBase);
    for (int t = 0; t < layout.itemTypes; ++t) {
        const std::size_t at = typesAt + static_cast<std::size_t>(32 * t);
        const int category = kCategories[static_cast<std::size_t>(t) % kCategories.size()];
        put16(data, at, category);
        put16(data, at + 2, category == 3 ? 6 : 0);
        putCode(data, at + 4, idFor(category == 3 ? "ms" : "ob", static_cast<unsigned>(t)).c_str());
        put16(data, at + 8, t % 2);
        put16(data, at + 26, 10 + t);
        put16(data, at + 28, t + 1);
        put16(data, at + 30, t);
    }
    const std::size_t itemsAt = typesAt + static_cast<std::size_t>(typeLength);
    for (int i = 0; i < layout.items; ++i) {
        const std::size_t at = itemsAt + static_cast<std::size_t>(64 * i);
        const int t = i % layout.itemTypes;
        put16(data, at + 2, 1);
        put16(data, at + 4, kCategories[static_cast<std::size_t>(t) % kCategories.size()]);
        put16(data, at + 6, t);
        put16(data, at + 8, i);
        put32(data, at + 16, 1024 * (10 + 3 * i));
        put32(data, at + 20, -512 * (i + 1));
        put32(data, at + 24, 2048);
        put16(data, at + 32, 16384 * (i % 4) - 32768);
        put16(data, at + 60, i + 100);
        put16(data, at + 62, i + 200);
    }
    const auto fill = [&](std::int64_t offset, std::size_t size, unsigned seed) {
        Bytes section = patternBytes(size, seed);
        std::copy(section.begin(), section.end(), data.begin() + meshOffset + offset);
    };
    fill(section1, layout.section1, 11);
    fill(section2, layout.section2, 12);
    fill(section3, layout.section3, 13);
    return data;
}

std::vector<SampleTag> sampleArchiveTags()
{
    std::vector<SampleTag> tags;
    for (unsigned i = 0; i < 48; ++i) {
        const std::string name = std::string(kUnitNames[i % kUnitNames.size()]) + (i < 16 ? "" : " " + std::to_string(i / 16 + 1));
        tags.push_back({name, "mons", idFor("ms", i), static_cast<std::uint8_t>(i), sampleMonsBlock(i)});
    }
    // The same unit twice: both are listed, only the first is in its group.
    tags.push_back({"Marsh Stalker (old)", "mons", idFor("ms", 0), 0, sampleMonsBlock(0)});
    for (unsigned i = 0; i < 12; ++i)
        tags.push_back({"Strings " + std::to_string(i), "stli", idFor("st", i), 0,
                        sampleStliData({"Line one of list " + std::to_string(i), "Second line", "", "Last line"})});
    for (unsigned i = 0; i < 3; ++i)
        tags.push_back({"Sample Map " + std::to_string(i + 1), "mesh", idFor("mp", i), 0,
                        sampleMeshData({1, 1, 3, 4, 2000, 100, 50})});
    for (unsigned i = 0; i < 260; ++i) {
        const char* type = kOtherTypes[i % kOtherTypes.size()];
        const std::string name = std::string(kOtherNames[i % kOtherNames.size()]) + " " + std::to_string(i);
        const std::string id = idFor(type[0] == 'p' && type[1] == 'r' ? "pj" : std::string(type, 2).c_str(), i / 8);
        tags.push_back({name, type, id, static_cast<std::uint8_t>(i % 7), patternBytes(16 + i * 37 % 3000, i)});
    }
    tags.push_back({"Unnamed", "obje", idFor("ob", 0), 0, {}});  // a duplicate id with no data
    return tags;
}

std::vector<SampleTag> syntheticTags(std::size_t count)
{
    static constexpr std::array kTypes{"mons", "stli", "mesh", "proj", "obje", "core",
                                       "prgr", "soun", "bitm", "effe", "ligh", "text"};
    std::vector<SampleTag> tags;
    tags.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto n = static_cast<unsigned>(i);
        std::string id{static_cast<char>('a' + n % 26), static_cast<char>('a' + n / 26 % 26),
                       static_cast<char>('a' + n / 676 % 26), static_cast<char>('a' + n / 17576 % 26)};
        tags.push_back({"Synthetic tag " + std::to_string(i), kTypes[i % kTypes.size()], id,
                        static_cast<std::uint8_t>(i), Bytes(16, static_cast<std::uint8_t>(i))});
    }
    return tags;
}

void writeSampleDirectory(const std::string& dir)
{
    namespace fs = std::filesystem;
    const fs::path root = pathFromUtf8(dir);
    // Only a folder of its own: a sample never mixes with, nor writes over, anything.
    std::error_code error;
    if (fs::exists(fs::symlink_status(root, error)) && !(fs::is_directory(root, error) && fs::is_empty(root, error)))
        throw FileError(FileErrorCause::AlreadyExists, dir, "a sample is only written into a new or empty folder");
    for (const char* type : {"mons", "stli", "mesh"})
        fs::create_directories(root / "local" / type);

    writeNewFile(utf8Of(root / "tags.gor"), buildArchive(sampleArchiveTags()));
    for (unsigned i = 0; i < 3; ++i)
        writeNewFile(utf8Of(root / "local" / "mons" / idFor("ms", i)),
                   buildPlugIn({kUnitNames[i], "mons", idFor("ms", i), 0, sampleMonsBlock(i)}));
    writeNewFile(utf8Of(root / "local" / "stli" / "stab"),
               buildPlugIn({"Sample captions", "stli", "stab", 0,
                            sampleStliData({"Welcome to the marsh.", "Hold the bridge until dawn.",
                                            "Reinforcements are coming.", "", "Victory!"})}));
    writeNewFile(utf8Of(root / "local" / "mesh" / "mpaa"),
               buildPlugIn({"Sample Map 1", "mesh", "mpaa", 0, sampleMeshData({})}));
}

}  // namespace tagwarden
