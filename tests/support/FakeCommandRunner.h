#pragma once

// Answers system program runs for a test: records each argument vector and gives
// back a prepared result, optionally changing the test tree as the program would.
#include "platform/CommandRunner.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

class FakeCommandRunner final : public tidvale::platform::CommandRunner {
public:
    tidvale::platform::CommandResult run(const std::vector<std::string>& argv) override
    {
        std::lock_guard g(m_);
        calls.push_back(argv);
        if (effect)
            effect(argv);
        return answer ? answer(argv) : tidvale::platform::CommandResult{true, 0, {}, {}};
    }

    // Every later run answers with this exit code and output.
    void reply(int exitCode, std::string out, std::string err = {})
    {
        answer = [=](const std::vector<std::string>&) {
            return tidvale::platform::CommandResult{true, exitCode, out, err};
        };
    }

    std::vector<std::vector<std::string>> calls;
    std::function<tidvale::platform::CommandResult(const std::vector<std::string>&)> answer;
    std::function<void(const std::vector<std::string>&)> effect;

private:
    std::mutex m_;
};
