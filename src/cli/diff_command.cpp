// diff: the "Compare with Archive" window's comparison for scripts.
#include "cli/diff_command.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <new>

#include "cli/json_output.h"
#include "core/compare/file_comparison.h"
#include "core/io/file_error.h"

namespace tagwarden::cli {

namespace {

constexpr int kEqual = 0;
constexpr int kDifferent = 1;
constexpr int kError = 2;

struct DiffOptions {
    std::vector<std::string> paths;
    bool json = false;
};

Json valueJson(const Difference& difference, const std::string& value, Difference::Change absentWhen)
{
    return difference.change == absentWhen ? Json() : Json(latin1Text(value));
}

Json comparisonJson(const Comparison& comparison, const std::string& before, const std::string& after)
{
    Json json{{"before", latin1Text(before)},
              {"after", latin1Text(after)},
              {"kind", comparisonKindName(comparison.kind)},
              {"equal", comparison.equal()},
              {"differences", Json::array()}};
    for (const Difference& difference : comparison.differences)
        json["differences"].push_back({{"what", difference.what},
                                       {"change", changeName(difference.change)},
                                       {"before", valueJson(difference, difference.before, Difference::Change::Added)},
                                       {"after", valueJson(difference, difference.after, Difference::Change::Removed)}});
    return json;
}

int compare(const DiffOptions& options)
{
    // One plug-in: the tag it was made from is the "before".
    const std::string& after = options.paths.back();
    const FileComparison compared =
        options.paths.size() == 1 ? compareWithArchive(after) : comparePlugIns(options.paths.front(), after);
    if (!compared.comparison)
        throw CommandError(printable(compared.problem));
    const Comparison& comparison = *compared.comparison;
    if (options.json) {
        std::cout << comparisonJson(comparison, compared.beforePath, after).dump(2) << '\n';
    } else {
        for (const Difference& difference : comparison.differences)
            std::cout << differenceLine(difference, comparison.kind, printable) << '\n';
    }
    std::cout.flush();
    return comparison.equal() ? kEqual : kDifferent;
}

// Errors exit with 2 here: 1 already means "different".
int run(const DiffOptions& options)
{
    try {
        return compare(options);
    } catch (const CommandError& e) {
        std::cerr << e.what() << '\n';
    } catch (const FileError& e) {
        std::cerr << e.textWithPath(printable(e.path())) << '\n';
    } catch (const std::bad_alloc&) {
        std::cerr << "ERROR - Not enough memory for this file\n";
    }
    return kError;
}

}  // namespace

void addDiffCommand(CLI::App& app, Command& command)
{
    auto options = std::make_shared<DiffOptions>();
    auto* diff = app.add_subcommand(
        "diff", "Compare two plug-ins (A B), or a plug-in with the tag of the same type and id in its archive (P)");
    diff->add_option("FILE", options->paths, "A B, or P (local/TYPE/ID of a tags directory)")
        ->required()
        ->expected(1, 2);
    diff->add_flag("--json", options->json, "one JSON object instead of lines");
    diff->callback([&command, options] { command = [options] { return run(*options); }; });
}

}  // namespace tagwarden::cli
