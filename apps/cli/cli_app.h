#pragma once

#include <csignal>
#include <ostream>
#include <string>
#include <vector>

namespace mirovax::cli {

struct CliEnvironment {
    // Where "Airplane.DB" and "Airports.DB" are looked for without --tables:
    // the directory of the executable.
    std::string programDir;
    // Set by the SIGINT handler; nullptr when nothing can interrupt.
    const volatile std::sig_atomic_t* interrupt = nullptr;
};

// Runs mirovax-cli with the arguments after the program name and returns
// the exit status. Results go to out, errors to err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
    const CliEnvironment& environment);

} // namespace mirovax::cli
