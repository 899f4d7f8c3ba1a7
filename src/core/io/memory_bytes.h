#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/io/byte_source.h"

namespace tagwarden {

// Bytes held in memory behind the ByteSource interface: what tests and fuzzers
// give the readers and writers instead of a file on disk.
class MemoryBytes : public ByteSource {
public:
    explicit MemoryBytes(std::vector<std::uint8_t> bytes = {}, std::string path = "(memory)");

    [[nodiscard]] std::uint64_t length() const override { return bytes_.size(); }
    [[nodiscard]] std::size_t readAt(std::uint64_t position, void* buffer, std::size_t size) const override;
    void writeAt(std::uint64_t position, const void* buffer, std::size_t size) override;
    [[nodiscard]] const std::string& path() const override { return path_; }
    void replace(const Write& write) override;

    [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::string path_;
};

}  // namespace tagwarden
