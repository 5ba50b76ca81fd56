#pragma once

#include "apps/cli/cli_app.h"
#include "setup/setup_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace mirovax::cli {

// A scratch directory holding the tables and setup files the command line is
// run on; Run starts it as its main does, with --tables naming the directory
// and no program directory to fall back on.
class CliTest : public ::testing::Test {
protected:
    void WriteAirplanes(const std::vector<testing::AirplaneRow>& rows)
    {
        testing::WriteAirplaneTable((m_dir / "Airplane.DB").string(), rows);
    }
    std::string WriteSetup(const std::string& name, const SetupTexts& texts)
    {
        const std::filesystem::path path = m_dir / name;
        SaveSetup(path, texts);
        return path.string();
    }

    // The exit status; the output and errors written go to out and err, or
    // the output to stream instead. interrupt stands for Ctrl+C's flag.
    int Run(std::vector<std::string> args, std::string* out = nullptr, std::string* err = nullptr,
        const volatile std::sig_atomic_t* interrupt = nullptr, std::ostream* stream = nullptr)
    {
        args.insert(args.end(), {"--tables", m_dir.string()});
        std::ostringstream o, e;
        CliEnvironment environment;
        environment.programDir = "/nonexistent";
        environment.interrupt = interrupt;
        const int status = RunCli(args, stream != nullptr ? *stream : o, e, environment);
        if (out)
            *out = o.str();
        if (err)
            *err = e.str();
        return status;
    }

    testing::ScratchDir m_scratch{"mirovax-cli"};
    const std::filesystem::path m_dir = m_scratch.path();
};

} // namespace mirovax::cli
