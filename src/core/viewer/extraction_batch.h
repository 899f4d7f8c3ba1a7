#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/viewer/plug_in_extraction.h"

namespace tagwarden {

class ByteSource;
class TagDirectory;

// Writes several entries of the open file as plug-ins, each to
// ROOT/TYPE/ID (the type's folder made when missing), one after the other with
// the viewer's plug-in writer, so each file is written whole or not at all.
class ExtractionBatch {
public:
    enum class Outcome { Created, Existing, Failed };

    struct Result {
        ExtractedPlugIn plugIn;
        Outcome outcome = Outcome::Failed;
    };

    // Hears each result as it comes; answering false stops the batch before the next entry.
    using Listener = std::function<bool(const Result&, std::size_t done, std::size_t total)>;

    ExtractionBatch(const ByteSource& source, std::string sourcePath, const TagDirectory& directory,
                    PlugInWriter::Existing existing = PlugInWriter::Existing::FillEmpty);

    // Each entry to ROOT/TYPE/ID, in the order given.
    std::vector<Result> extractUnder(const std::string& root, const std::vector<std::uint32_t>& entryIndexes,
                                     const Listener& listener = {}) const;
    // Each entry to its own target, in the order given (the caller chose the paths).
    std::vector<Result> extractTo(const std::vector<std::pair<std::uint32_t, std::string>>& targets,
                                  const Listener& listener = {}) const;

    // The one-line summary: "3 created, 1 already existing (skipped), 1 failed",
    // followed by one line per skipped or failed plug-in with its path and cause
    // (the first twenty of them).
    [[nodiscard]] static std::string summary(const std::vector<Result>& results);

private:
    [[nodiscard]] Result extractOne(std::uint32_t entryIndex, const std::string& target) const;

    const ByteSource& source_;
    std::string sourcePath_;
    const TagDirectory& directory_;
    PlugInWriter::Existing existing_;
};

}  // namespace tagwarden
