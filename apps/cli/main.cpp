// mirovax-cli: mission performance without a window. Everything but the
// signal handling and the program directory lives in mirovax_cli_lib.
#include "apps/cli/cli_app.h"

#include <csignal>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_interrupt = 0;

// The first Ctrl+C is the Abort button; the second ends the program at once.
extern "C" void OnInterrupt(int)
{
    if (g_interrupt != 0)
        ::_exit(130);
    g_interrupt = 1;
}

std::string ProgramDir(const char* argv0)
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path().string();
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    struct sigaction action { };
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);

    std::vector<std::string> args(argv + 1, argv + argc);
    mirovax::cli::CliEnvironment environment;
    environment.programDir = ProgramDir(argc > 0 ? argv[0] : "mirovax-cli");
    environment.interrupt = &g_interrupt;
    const int status = mirovax::cli::RunCli(args, std::cout, std::cerr, environment);
    std::cout.flush();
    return status;
}
