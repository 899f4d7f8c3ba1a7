#include "core/compare/file_comparison.h"

#include <filesystem>

#include "core/io/file.h"
#include "core/io/utf8_path.h"

namespace tagwarden {

namespace {

ComparedTagRead plugInTag(const std::string& path)
{
    return readPlugInTag(File(path, File::Access::Read, File::Share::All));
}

FileComparison compared(std::string beforePath, const ComparedTagRead& before, const ComparedTagRead& after)
{
    if (!after.tag)
        return {std::move(beforePath), std::nullopt, after.problem};
    if (!before.tag)
        return {std::move(beforePath), std::nullopt, before.problem};
    return {std::move(beforePath), compareTags(*before.tag, *after.tag), {}};
}

}  // namespace

FileComparison comparePlugIns(const std::string& before, const std::string& after)
{
    const ComparedTagRead old = plugInTag(before);
    return compared(before, old, plugInTag(after));
}

FileComparison compareWithArchive(const std::string& plugIn, const ByteSource* held)
{
    const ComparedTagRead after = plugInTag(plugIn);
    std::string archive = utf8Of(archiveOfPlugIn(pathFromUtf8(plugIn)));
    if (!after.tag)
        return {std::move(archive), std::nullopt, after.problem};
    std::error_code unknown;
    const bool isHeld = held && std::filesystem::equivalent(pathFromUtf8(held->path()), pathFromUtf8(archive), unknown);
    const ComparedTagRead before =
        isHeld ? readArchiveTag(*held, after.tag->type(), after.tag->id())
               : readArchiveTag(File(archive, File::Access::Read, File::Share::All), after.tag->type(), after.tag->id());
    return compared(std::move(archive), before, after);
}

}  // namespace tagwarden
