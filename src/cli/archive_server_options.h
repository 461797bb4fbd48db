// --server URL on the archive's subcommands: the team server in place of the local archive
// (search, verify), and its connection opened once the line is read.
#pragma once

#include <memory>

#include "archive/server_connection.h"
#include "cli/command_line.h"

namespace trellicap::cli {

[[nodiscard]] OptionSyntax serverOption();

// The server the line's --server names, connected; a bad address is bad usage (status 2), a
// server that cannot be reached or refuses the login is bad input (status 1, its reason).
[[nodiscard]] std::unique_ptr<archive::ServerConnection> openServerOf(const CommandLine& line);

// archive verify --server: the server's records per model, one line each, in the order the
// local verify prints them.
void printServerCounts(const CommandLine& line);

}  // namespace trellicap::cli
