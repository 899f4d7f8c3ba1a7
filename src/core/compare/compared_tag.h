#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/tags/tag_header.h"

namespace tagwarden {

class ByteSource;

// One tag as a comparison sees it: its header and all of its data.
struct ComparedTag {
    TagHeaderBytes header{};
    std::vector<std::uint8_t> data;

    [[nodiscard]] std::string_view type() const { return fieldText(header, tag_header::kType); }
    [[nodiscard]] std::string_view id() const { return fieldText(header, tag_header::kId); }
};

// A tag read for comparing, or why it could not be.
struct ComparedTagRead {
    std::optional<ComparedTag> tag;
    std::string problem;
};

// The one tag of a plug-in: its header at the start, its data where the header says.
[[nodiscard]] ComparedTagRead readPlugInTag(const ByteSource& source);
// The first tag of an archive with this type and id (compared up to a NUL).
[[nodiscard]] ComparedTagRead readArchiveTag(const ByteSource& source, std::string_view type, std::string_view id);

// The archive a plug-in under `local/TYPE/ID` of a tags directory was made from.
[[nodiscard]] std::filesystem::path archiveOfPlugIn(const std::filesystem::path& plugIn);

}  // namespace tagwarden
