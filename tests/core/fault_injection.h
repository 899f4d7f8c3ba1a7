#pragma once

// Faults put between a save and the real file it writes: the save runs on disk as
// always, and the chosen write or sync fails as a full disk would, or the process
// dies right there.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/io/file.h"
#include "support/forwarding_bytes.h"

namespace tagwarden::test {

// Which step of a replacement fails, counting its writes and syncs from 1.
struct FaultPlan {
    enum class Fault { Error, Kill };
    static constexpr int kKilledExitCode = 42;

    // `failAt` 0: every step succeeds.
    explicit FaultPlan(int failing = 0, Fault how = Fault::Error) : failAt(failing), fault(how) {}

    int failAt;
    Fault fault;
    std::vector<std::string> steps;  // "write" or "sync" for every step tried, the failed one included

    // Records the step; at the planned one, fails it.
    void step(const char* what, const std::string& path)
    {
        steps.emplace_back(what);
        if (static_cast<int>(steps.size()) != failAt)
            return;
        if (fault == Fault::Kill)
            std::_Exit(kKilledExitCode);
        throw FileError(FileErrorCause::DiskFull, path, "injected");
    }
};

// The new file of a replacement as its writer sees it. A failing write puts half
// of its bytes down first, as a disk that fills up mid-write does.
class FaultyBytes : public ForwardingBytes {
public:
    FaultyBytes(ByteSource& file, FaultPlan& plan) : ForwardingBytes(file), plan_(plan) {}

    void writeAt(std::uint64_t position, const void* buffer, std::size_t size) override
    {
        if (static_cast<int>(plan_.steps.size()) + 1 == plan_.failAt)
            target().writeAt(position, buffer, size / 2);
        plan_.step("write", path());
        target().writeAt(position, buffer, size);
    }
    void sync() override
    {
        plan_.step("sync", path());
        target().sync();
    }

private:
    FaultPlan& plan_;
};

// A file on disk whose replacements go through FaultyBytes.
class FaultyFile : public ByteSource {
public:
    FaultyFile(const std::string& path, File::Share share, FaultPlan& plan)
        : file_(path, File::Access::ReadWrite, share), plan_(plan)
    {
    }

    [[nodiscard]] std::uint64_t length() const override { return file_.length(); }
    [[nodiscard]] std::size_t readAt(std::uint64_t position, void* buffer, std::size_t size) const override
    {
        return file_.readAt(position, buffer, size);
    }
    void writeAt(std::uint64_t position, const void* buffer, std::size_t size) override
    {
        file_.writeAt(position, buffer, size);
    }
    [[nodiscard]] const std::string& path() const override { return file_.path(); }
    void replace(const Write& write) override
    {
        file_.replace(write, [this](ByteSource& file) { return std::make_unique<FaultyBytes>(file, plan_); });
    }

private:
    File file_;
    FaultPlan& plan_;
};

// Runs once, at the next advisory lock this process takes: between opening a file
// and locking it, where another program's save or an interrupt can come. The test
// program's flock() (tests/core/file_test.cpp) calls it before the system's, while
// the process's share table is locked: it must not open a File itself.
inline std::function<void()> beforeNextLock;

// The names in `folder`, to see that a failed replacement leaves nothing behind.
inline std::vector<std::string> namesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tagwarden::test
