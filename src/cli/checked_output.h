#pragma once

#include <array>
#include <streambuf>
#include <string>

namespace tagwarden::cli {

// Standard output's descriptor, on every system.
inline constexpr int kStandardOutput = 1;

// Standard output as the commands write it: buffered, written with the system's
// own calls, and the first failure kept with its cause, so that output cut short
// (a full disk, /dev/full) ends the command with an error instead of a success.
// Once a write failed, nothing more is written.
class CheckedOutput : public std::streambuf {
public:
    explicit CheckedOutput(int descriptor) : descriptor_(descriptor)
    {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    CheckedOutput(const CheckedOutput&) = delete;
    CheckedOutput& operator=(const CheckedOutput&) = delete;

    // Writes what is buffered and closes the descriptor; the system's words for the
    // first failure, or "" when everything was written.
    [[nodiscard]] std::string finish();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    void put(const char* bytes, std::size_t count);
    void drain();

    int descriptor_;
    int error_ = 0;
    std::array<char, 1 << 16> buffer_;
};

}  // namespace tagwarden::cli
