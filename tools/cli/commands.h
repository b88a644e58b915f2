#pragma once

#include "cli/cli_options.h"

namespace quenmark::cli {

/// Runs a parsed command on the real platform; prints results to standard output and errors to
/// standard error. Returns the process exit status.
int runCommand(const Invocation& invocation);

}  // namespace quenmark::cli
