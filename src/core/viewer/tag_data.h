#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tagwarden {

class ByteSource;

// The loaded data of one entry: at most the first 2048 bytes of the tag.
class TagData {
public:
    static constexpr std::uint32_t kMaxBytes = 2048;

    // Reads min(length, 2048) bytes at `start`; keeps only the bytes that arrive
    // when the file ends sooner. Answers the hex text ("4A 00 FF ").
    std::string load(const ByteSource& source, std::uint32_t start, std::uint32_t length);

    [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    [[nodiscard]] std::string hexText() const;
    // One character per byte: 0x20..0x7E as themselves, every other byte as '.'.
    [[nodiscard]] std::string asciiText() const;

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace tagwarden
