// tagwarden-cli: the browser's features for scripts. Exit 0 on success, 1 on an
// error (message on stderr), 2 on a usage error.
#include <CLI/CLI.hpp>
#include <clocale>
#include <csignal>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>

#include "cli/checked_output.h"
#include "cli/cli_support.h"
#include "cli/diff_command.h"
#include "core/io/native_file.h"
#ifdef _WIN32
#include "cli/console_win32.h"
#endif

namespace {

// Runs the command; an error is told on stderr and answers 1.
int runReported(const tagwarden::cli::Command& command)
{
    using namespace tagwarden;
    try {
        return command();
    } catch (const cli::CommandError& e) {
        std::cerr << e.what() << '\n';
    } catch (const FileError& e) {
        std::cerr << e.textWithPath(cli::printablePath(e.path())) << '\n';
    } catch (const std::filesystem::filesystem_error& e) {
        std::cerr << cli::printable(e.what()) << '\n';
    } catch (const std::bad_alloc&) {
        std::cerr << "ERROR - Not enough memory for this file\n";
    } catch (const std::exception& e) {
        std::cerr << "ERROR - " << cli::printable(e.what()) << '\n';
    }
    return 1;
}

// Whatever was printed reaches its destination, or the command fails: output cut
// short by a full disk is an error, never a success.
int finishOutput(tagwarden::cli::CheckedOutput& output, int code)
{
    std::cout.flush();
    const std::string failure = output.finish();
    if (failure.empty())
        return code;
    std::cerr << "ERROR - The output could not be written: " << failure << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace tagwarden;
    // Text arguments come in the terminal's encoding.
    std::setlocale(LC_CTYPE, "");
#ifdef _WIN32
    cli::useBinaryStandardStreams();
    cli::Utf8Arguments arguments;
    argc = arguments.count();
    argv = arguments.values();
#endif
    cli::CheckedOutput output(cli::kStandardOutput);
    // std::cout goes back to its own buffer before `output` is gone: it is flushed at exit.
    const std::unique_ptr<std::streambuf, void (*)(std::streambuf*)> restore(
        std::cout.rdbuf(&output), [](std::streambuf* previous) { std::cout.rdbuf(previous); });
    CLI::App app{"Tagwarden command-line tool: browse, dump and extract Vorn tags; show and edit plug-ins"};
    app.require_subcommand(1);
#ifdef _WIN32
    // Options start with a dash here too: "/x" is a path, as on Linux (the commands
    // added below inherit it).
    app.allow_windows_style_options(false);
#endif
    app.set_version_flag("--version", std::string("tagwarden-cli ") + TAGWARDEN_VERSION);
    cli::Command command;
    cli::addBrowseCommands(app, command);
    cli::addSampleCommand(app, command);
    cli::addViewerCommands(app, command);
    cli::addMonsCommands(app, command);
    cli::addStliCommands(app, command);
    cli::addMeshCommands(app, command);
    cli::addDiffCommand(app, command);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return finishOutput(output, code == 0 ? 0 : 2);
    } catch (const cli::CommandError& e) {
        // An argument well formed but refused, such as a value out of its range.
        std::cerr << e.what() << '\n';
        return 1;
    }

    // Past the file-size limit a write fails as an error, so the writers clean up,
    // instead of the process being killed mid-write.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // Interrupted, a command leaves no half-written file beside its target.
    native::removeUnfinishedOnInterrupt();
    return finishOutput(output, runReported(command));
}
