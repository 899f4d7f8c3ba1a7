// make-sample: a made-up tags directory to try the program on.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "core/sample/sample_tags.h"

namespace tagwarden::cli {

void addSampleCommand(CLI::App& app, Command& command)
{
    auto dir = std::make_shared<std::string>();
    auto* sample = app.add_subcommand("make-sample", "Write a sample tags directory (tags.gor and local/ plug-ins)");
    sample->add_option("DIR", *dir, "folder to create or fill; must not hold a tags.gor yet")->required();
    sample->callback([&command, dir] {
        command = [dir] {
            writeSampleDirectory(*dir);
            return 0;
        };
    });
}

}  // namespace tagwarden::cli
