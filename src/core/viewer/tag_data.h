#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tagwarden {

class ByteSource;
class TagEntry;

// The loaded data of one entry, as the data viewer keeps it: the first 2048
// bytes of the tag, or all of them.
class TagData {
public:
    static constexpr std::uint32_t kMaxBytes = 2048;

    // Reads min(length, 2048) bytes at `start`, replacing what was loaded before;
    // keeps only the bytes that arrive when the file ends sooner. Answers the hex
    // text ("4A 00 FF ").
    std::string load(const ByteSource& source, std::uint32_t start, std::uint32_t length);
    // The same for the entry's data: at its start address, as long as its header says.
    std::string load(const ByteSource& source, const TagEntry& entry);
    // All of the entry's data, however long (the whole-tag listing, which makes no hex text of it).
    void loadWhole(const ByteSource& source, const TagEntry& entry);

    [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    // How many bytes the last load asked for; fewer arrived when the file ended first.
    [[nodiscard]] std::uint32_t expectedBytes() const { return expected_; }
    [[nodiscard]] bool shortRead() const { return bytes_.size() < expected_; }
    [[nodiscard]] std::string hexText() const;
    // One character per byte: 0x20..0x7E as themselves, every other byte as '.';
    // "ERROR" while nothing was loaded.
    [[nodiscard]] std::string asciiText() const;

private:
    void read(const ByteSource& source, std::uint32_t start, std::uint32_t count);

    std::vector<std::uint8_t> bytes_;
    std::uint32_t expected_ = 0;
    bool loaded_ = false;
};

}  // namespace tagwarden
