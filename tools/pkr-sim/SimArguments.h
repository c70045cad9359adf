// Command line of pkr-sim.
#pragma once

#include <string>
#include <vector>

#include "Simulator.h"

namespace pkrsim {

enum class eArgsResult { Run, Help, Error };

// Reads the arguments (without the program name) into `options`. On Error, `error` says what
// is wrong. Values go either as "--name VALUE" or "--name=VALUE".
eArgsResult ParseSimArguments(const std::vector<std::string>& args, sSimOptions& options,
                              std::string& error);

// The usage text printed by --help.
std::string SimUsage();

}  // namespace pkrsim
