// The commands of zeltool, one file each: each adds its subcommand with its
// options to the tool and says how to run it once the command line is read.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

struct Command {
    CLI::App* Subcommand;
    std::function<int()> Run;
};

Command AddNew(CLI::App& tool);
Command AddShow(CLI::App& tool);
Command AddExport(CLI::App& tool);
Command AddImport(CLI::App& tool);
Command AddImage(CLI::App& tool);
Command AddProgram(CLI::App& tool);
Command AddRead(CLI::App& tool);
Command AddDiff(CLI::App& tool);
Command AddVerify(CLI::App& tool);
Command AddDetect(CLI::App& tool);
Command AddDecode(CLI::App& tool);
Command AddPorts(CLI::App& tool);
Command AddLog(CLI::App& tool);
Command AddReport(CLI::App& tool);
