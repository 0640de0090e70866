#pragma once

// Stand-ins for the operating-system services a test hands to the code it runs.
#include "platform/PrivilegedRunner.h"
#include "platform/RunningApplications.h"
#include "platform/Trash.h"

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class FakeRunningApplications final : public tidvale::platform::RunningApplications {
public:
    explicit FakeRunningApplications(std::vector<std::string> ids = {})
        : ids_(std::move(ids))
    {
    }
    std::vector<std::string> bundleIdentifiers() const override
    {
        std::lock_guard g(m_);
        ++calls;
        return ids_;
    }
    // A Linux profile reads the same names as the programs it sees.
    std::vector<std::string> executables() const override { return bundleIdentifiers(); }
    void set(std::vector<std::string> ids)
    {
        std::lock_guard g(m_);
        ids_ = std::move(ids);
    }
    mutable int calls = 0;

private:
    mutable std::mutex m_;
    std::vector<std::string> ids_;
};

class FakePrivilegedRunner final : public tidvale::platform::PrivilegedRunner {
public:
    tidvale::platform::PrivilegedRunResult run(
        const tidvale::platform::PrivilegedDeletion& request) override
    {
        std::lock_guard g(m_);
        requests.push_back(request);
        tidvale::platform::PrivilegedRunResult result;
        result.error = answer;
        for (const auto& path : request.paths) {
            auto it = outcomes.find(path);
            if (it != outcomes.end())
                result.paths.push_back(it->second);
            else
                result.paths.push_back({answer ? tidvale::platform::PrivilegedStatus::unknown
                                               : tidvale::platform::PrivilegedStatus::removed,
                    0});
        }
        return result;
    }
    std::vector<tidvale::platform::PrivilegedDeletion> requests;
    std::optional<std::string> answer; // the run's own error; nothing: it ran
    // What became of a path; any other is removed when the run succeeds.
    std::map<std::string, tidvale::platform::PrivilegedPathResult> outcomes;

private:
    std::mutex m_;
};

// Moves items into a folder of the test tree instead of the user's Trash, or refuses
// the paths listed in `refuse`.
class FakeTrash final : public tidvale::platform::Trash {
public:
    explicit FakeTrash(std::string folder)
        : folder_(std::move(folder))
    {
    }
    tidvale::platform::TrashResult moveToTrash(const std::string& path) override
    {
        std::lock_guard g(m_);
        for (const auto& r : refuse)
            if (r == path)
                return {false, "No se pudo mover a la Papelera.", {}};
        const std::string target = folder_ + "/" + std::to_string(++count_);
        if (::rename(path.c_str(), target.c_str()) != 0)
            return {false, "No existe.", {}};
        moved.push_back(path);
        return {true, {}, target};
    }
    std::vector<std::string> refuse;
    std::vector<std::string> moved;

private:
    std::mutex m_;
    std::string folder_;
    int count_ = 0;
};
