#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

// nuv-sim run as a user runs it, for the command-line tests.

struct Output {
    std::string out;
    int status;  // the exit status; -1 when it did not exit normally
};

// Runs `prefix` (environment assignments, say) nuv-sim `args`; standard error joins the output
// when `withStderr` and is dropped otherwise.
inline Output RunSim(const std::string& args, bool withStderr = false,
                     const std::string& prefix = "") {
    const std::string command =
        prefix + NUV_SIM_PATH " " + args + (withStderr ? " 2>&1" : " 2>/dev/null");
    Output result{"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// One parsed JSON object per line of `text`.
inline std::vector<nlohmann::json> JsonLines(const std::string& text) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
}
