#pragma once

#include <cstdint>
#include <string>

#include "core/io/byte_source.h"

namespace tagwarden::test {

// A byte source that passes every call on to another one it does not own; tests
// and fuzzers override the calls they want to watch or fail.
class ForwardingBytes : public ByteSource {
public:
    explicit ForwardingBytes(ByteSource& target) : target_(target) {}

    [[nodiscard]] std::uint64_t length() const override { return target_.length(); }
    [[nodiscard]] std::size_t readAt(std::uint64_t position, void* buffer, std::size_t size) const override
    {
        return target_.readAt(position, buffer, size);
    }
    void writeAt(std::uint64_t position, const void* buffer, std::size_t size) override
    {
        target_.writeAt(position, buffer, size);
    }
    [[nodiscard]] const std::string& path() const override { return target_.path(); }
    void sync() override { target_.sync(); }
    void replace(const Write& write) override { target_.replace(write); }

protected:
    [[nodiscard]] ByteSource& target() { return target_; }

private:
    ByteSource& target_;
};

}  // namespace tagwarden::test
