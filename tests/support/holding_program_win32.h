#pragma once

#include <string>

namespace tagwarden::test {

// Another program that holds a file open until this object goes, for the
// sharing tests across processes. `how` is the holder's ACCESS:SHARE (see
// tests/tools/share_holder_win32.cpp), or "foreign" for a program that shares
// reading and writing but not deletion, as most Windows programs do.
class HoldingProgram {
public:
    HoldingProgram(const std::string& path, const std::string& how);
    ~HoldingProgram();
    HoldingProgram(const HoldingProgram&) = delete;
    HoldingProgram& operator=(const HoldingProgram&) = delete;

    // Whether the program holds the file; false if it could not open it.
    [[nodiscard]] bool holds() const { return holds_; }

private:
    void* process_ = nullptr;
    void* toProgram_ = nullptr;
    bool holds_ = false;
};

}  // namespace tagwarden::test
