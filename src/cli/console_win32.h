#pragma once

#include <string>
#include <vector>

namespace tagwarden::cli {

// The program's arguments in UTF-8, read from the system's UTF-16 command line
// (main()'s own are in the console's code page and lose what it cannot show).
class Utf8Arguments {
public:
    Utf8Arguments();
    [[nodiscard]] int count() const { return static_cast<int>(texts_.size()); }
    [[nodiscard]] char** values() { return pointers_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
};

// Standard output and error pass every byte as it is, line ends too, so that
// the output matches the Linux program's byte for byte.
void useBinaryStandardStreams();

}  // namespace tagwarden::cli
