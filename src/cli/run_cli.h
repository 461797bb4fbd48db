// The tool as a function: the arguments after the program's name in, the exit status out;
// help on standard output, failures as one line on standard error. Needs a
// QGuiApplication (the plot's and the report's fonts).
#pragma once

#include <QStringList>

namespace trellicap::cli {

[[nodiscard]] int runCli(const QStringList& arguments);

}  // namespace trellicap::cli
