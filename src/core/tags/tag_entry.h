#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/tags/tag_header.h"

namespace tagwarden {

class ByteSource;

// One directory entry: the 64 header bytes as read and where they were read.
// The texts shown to the user are derived on demand, so a million entries stay small.
class TagEntry {
public:
    TagEntry() = default;
    TagEntry(const TagHeaderBytes& header, std::uint64_t headerPosition);

    // Decodes the header at `position`; false when fewer than 64 bytes remain there.
    [[nodiscard]] bool readFrom(const ByteSource& source, std::uint64_t position);

    [[nodiscard]] std::string name() const;       // bytes 0..31 up to the first NUL
    [[nodiscard]] std::string type() const;       // bytes 32..35, all four
    [[nodiscard]] std::string id() const;         // bytes 36..39, all four
    [[nodiscard]] std::string reserved1Text() const;
    [[nodiscard]] int number() const { return header_[tag_header::kNumber.offset]; }
    [[nodiscard]] std::string startAddressText() const;
    [[nodiscard]] std::string lengthText() const;
    [[nodiscard]] std::string reserved2Text() const;
    [[nodiscard]] std::string signature() const;  // bytes 60..63
    [[nodiscard]] std::string dumpText() const;   // "6D 6F 6E 73 ..." with a blank after every byte
    [[nodiscard]] std::uint64_t headerPosition() const { return headerPosition_; }
    [[nodiscard]] std::uint32_t startAddress() const;
    [[nodiscard]] std::uint32_t dataLength() const;
    [[nodiscard]] std::uint32_t typeKey() const;
    [[nodiscard]] std::uint32_t idKey() const;
    [[nodiscard]] const TagHeaderBytes& header() const { return header_; }

    // The object list's line: id, " : ", name (the id shown up to its first NUL).
    [[nodiscard]] std::string listLine() const;

private:
    [[nodiscard]] std::string hexField(TagField field) const;

    TagHeaderBytes header_{};
    std::uint64_t headerPosition_ = 0;
};

[[nodiscard]] bool isSingleTagFile(const ByteSource& source);
// The archive's directory offset (bytes 40..43); nothing when the file ends before byte 44.
[[nodiscard]] std::optional<std::uint32_t> directoryOffset(const ByteSource& source);

}  // namespace tagwarden
