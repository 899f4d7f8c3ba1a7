#include "core/viewer/extraction_batch.h"

#include <filesystem>
#include <system_error>

#include "core/io/utf8_path.h"
#include "core/tags/tag_directory.h"

namespace tagwarden {

namespace {

ExtractionBatch::Outcome outcomeOf(const ExtractedPlugIn& plugIn)
{
    if (plugIn.created)
        return ExtractionBatch::Outcome::Created;
    const bool exists = !plugIn.notices.empty() && plugIn.notices.front().text == kPlugInExistsMessage;
    return exists ? ExtractionBatch::Outcome::Existing : ExtractionBatch::Outcome::Failed;
}

std::string causeOf(const ExtractionBatch::Result& result)
{
    std::string cause;
    for (const Notice& notice : result.plugIn.notices)
        cause += (cause.empty() ? "" : "; ") + notice.text;
    return cause.empty() ? std::string(kPlugInNotCreatedMessage) : cause;
}

}  // namespace

ExtractionBatch::ExtractionBatch(const ByteSource& source, std::string sourcePath, const TagDirectory& directory,
                                 PlugInWriter::Existing existing)
    : source_(source), sourcePath_(std::move(sourcePath)), directory_(directory), existing_(existing)
{
}

std::vector<ExtractionBatch::Result> ExtractionBatch::extractUnder(const std::string& root,
                                                                   const std::vector<std::uint32_t>& entryIndexes,
                                                                   const Listener& listener) const
{
    std::vector<std::pair<std::uint32_t, std::string>> targets;
    targets.reserve(entryIndexes.size());
    for (const std::uint32_t index : entryIndexes) {
        const TagEntry entry = directory_.entryAt(index);
        targets.emplace_back(index, plugInPath(plugInPath(root, entry.type()), entry.id()));
    }
    return extractTo(targets, listener);
}

std::vector<ExtractionBatch::Result> ExtractionBatch::extractTo(
    const std::vector<std::pair<std::uint32_t, std::string>>& targets, const Listener& listener) const
{
    std::vector<Result> results;
    results.reserve(targets.size());
    for (const auto& [index, target] : targets) {
        results.push_back(extractOne(index, target));
        const bool goOn = !listener || listener(results.back(), results.size(), targets.size());
        // Once the archive changed, every further tag would be copied from bytes that were never listed.
        if (!goOn || results.back().plugIn.sourceChanged)
            break;
    }
    return results;
}

ExtractionBatch::Result ExtractionBatch::extractOne(std::uint32_t entryIndex, const std::string& target) const
{
    const std::filesystem::path folder = pathFromUtf8(target).parent_path();
    std::error_code error;
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    if (error) {
        ExtractedPlugIn failed{target, false, false, {}};
        failed.notices.push_back({"The folder \"" + utf8Of(folder) + "\" could not be created: " + error.message(),
                                  Prompter::Buttons::Ok, Prompter::Icon::Error});
        return {std::move(failed), Outcome::Failed};
    }
    ExtractedPlugIn plugIn = extractPlugIn(source_, sourcePath_, directory_.entryAt(entryIndex), target, existing_);
    const Outcome outcome = outcomeOf(plugIn);
    return {std::move(plugIn), outcome};
}

std::string ExtractionBatch::summary(const std::vector<Result>& results)
{
    std::size_t counts[3] = {};
    for (const Result& result : results)
        ++counts[static_cast<int>(result.outcome)];
    std::string text = std::to_string(counts[0]) + " created, " + std::to_string(counts[1]) +
                       " already existing (skipped), " + std::to_string(counts[2]) + " failed";
    constexpr std::size_t kLinesShown = 20;  // a box must fit on the screen
    std::size_t listed = 0;
    for (const Result& result : results) {
        if (result.outcome == Outcome::Created)
            continue;
        if (listed++ == kLinesShown) {
            text += "\n... and " + std::to_string(counts[1] + counts[2] - kLinesShown) + " more";
            break;
        }
        if (result.outcome == Outcome::Existing)
            text += "\nskipped " + result.plugIn.path + ": already exists";
        else if (result.outcome == Outcome::Failed)
            text += "\nfailed " + result.plugIn.path + ": " + causeOf(result);
    }
    return text;
}

}  // namespace tagwarden
