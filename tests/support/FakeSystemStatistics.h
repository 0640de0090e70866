#pragma once

// Stand-ins for the host's memory statistics and the volume figures.
#include "platform/MemoryStatistics.h"
#include "platform/VolumeStatistics.h"

#include <deque>
#include <mutex>

// Returns the queued snapshots one per call, repeating the last one.
class FakeMemoryStatistics final : public tidvale::platform::MemoryStatistics {
public:
    explicit FakeMemoryStatistics(uint64_t physical)
        : physical_(physical)
    {
    }
    uint64_t physicalMemory() override { return physical_; }
    std::optional<tidvale::platform::VmFigures> vmFigures() override
    {
        std::lock_guard g(m_);
        ++calls_;
        if (queue_.size() > 1) {
            auto front = queue_.front();
            queue_.pop_front();
            return front;
        }
        return queue_.empty() ? std::nullopt : queue_.front();
    }
    void push(std::optional<tidvale::platform::VmFigures> figures)
    {
        std::lock_guard g(m_);
        queue_.push_back(figures);
    }
    int calls() const
    {
        std::lock_guard g(m_);
        return calls_;
    }
    void clear()
    {
        std::lock_guard g(m_);
        queue_.clear();
    }
    void pushFree(uint64_t free)
    {
        tidvale::platform::VmFigures f;
        f.free = free;
        push(f);
    }

private:
    mutable std::mutex m_;
    int calls_ = 0;
    uint64_t physical_;
    std::deque<std::optional<tidvale::platform::VmFigures>> queue_;
};

class FakeVolumeStatistics final : public tidvale::platform::VolumeStatistics {
public:
    explicit FakeVolumeStatistics(std::optional<tidvale::platform::VolumeFigures> figures)
        : figures_(figures)
    {
    }
    std::optional<tidvale::platform::VolumeFigures> figuresFor(const std::string& path) override
    {
        std::lock_guard g(m_);
        askedFor = path;
        return figures_;
    }
    void set(std::optional<tidvale::platform::VolumeFigures> figures)
    {
        std::lock_guard g(m_);
        figures_ = figures;
    }
    std::string askedFor;

private:
    std::mutex m_;
    std::optional<tidvale::platform::VolumeFigures> figures_;
};
