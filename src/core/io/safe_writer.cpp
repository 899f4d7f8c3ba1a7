#include "core/io/safe_writer.h"

#include <filesystem>
#include <random>

#include "core/io/file_error.h"
#include "core/io/utf8_path.h"

namespace tagwarden {

namespace {

// A name of its own in the folder of `target`, hidden, that nobody else picks.
std::string newNameBeside(const std::string& target)
{
    // One per thread: making one asks the processor what it offers, which is slow under virtualisation.
    thread_local std::random_device random;
    const std::uint64_t number = (std::uint64_t{random()} << 32) ^ random();
    const std::filesystem::path folder = pathFromUtf8(target).parent_path();
    const std::string name = ".tagwarden-" + std::to_string(number) + ".new";
    return utf8Of(folder / name);
}

// The new file, remembered for removal on an interrupt before it can exist: an
// interrupt right after its creation leaves nothing behind.
File createBeside(const std::string& target, File::Share share)
{
    constexpr int kAttempts = 8;
    for (int attempt = 1;; ++attempt) {
        const std::string name = newNameBeside(target);
        native::rememberUnfinished(name);
        try {
            return File(name, File::Access::CreateNew, share);
        } catch (const FileError& error) {
            native::forgetUnfinished();
            if (error.cause() != FileErrorCause::AlreadyExists || attempt == kAttempts)
                throw;
        }
    }
}

}  // namespace

SafeWriter::SafeWriter(std::string target, File::Share share, const File::Wrap& wrap)
    : target_(std::move(target)), file_(createBeside(target_, share))
{
    try {
        file_.takePermissionsOf(target_);
        if (wrap)
            wrapped_ = wrap(file_);
    } catch (const FileError&) {
        const std::string path = file_.path();
        file_.close();
        native::remove(path);
        native::forgetUnfinished();
        throw;
    }
}

SafeWriter::~SafeWriter()
{
    wrapped_.reset();
    if (!renamed_ && file_.isOpen()) {
        const std::string path = file_.path();
        file_.close();
        native::remove(path);
    }
    // Only now: an interrupt until here still removes the new file.
    native::forgetUnfinished();
}

void SafeWriter::commit(File::Place place)
{
    commitKeepingOpen(place);
    wrapped_.reset();
    file_.closeWritten();
}

void SafeWriter::commitKeepingOpen(File::Place place)
{
    bytes().sync();
    file_.moveTo(target_, place);
    renamed_ = true;
    native::forgetUnfinished();
    bytes().sync();
}

File SafeWriter::take()
{
    wrapped_.reset();
    return std::move(file_);
}

}  // namespace tagwarden
