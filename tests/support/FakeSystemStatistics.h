#pragma once

// Stand-ins for the host's memory statistics and the volume figures.
#include "platform/MemoryStatistics.h"
#include "platform/VolumeStatistics.h"

#include <deque>
#include <mutex>

// Returns the queued snapshots one per call, repeating the last one.
class FakeMemoryStatistics final : public tidvale::platform::MemoryStatistics {
public:
    using Figures = std::optional<tidvale::platform::VmFigures>;
    explicit FakeMemoryStatistics(uint64_t physical)
        : physical_(physical)
    {
    }
    uint64_t physicalMemory() override { return physical_; }
    Figures vmFigures() override
    {
        std::lock_guard g(m_);
        const Figures front = queue_.empty() ? std::nullopt : queue_.front();
        if (queue_.size() > 1)
            queue_.pop_front();
        return front;
    }
    void set(std::initializer_list<Figures> figures)
    {
        std::lock_guard g(m_);
        queue_.assign(figures);
    }

private:
    mutable std::mutex m_;
    uint64_t physical_;
    std::deque<Figures> queue_;
};

class FakeVolumeStatistics final : public tidvale::platform::VolumeStatistics {
public:
    using Figures = std::optional<tidvale::platform::VolumeFigures>;
    explicit FakeVolumeStatistics(Figures figures)
        : figures(figures)
    {
    }
    Figures figuresFor(const std::string& path) override
    {
        askedFor = path;
        return figures;
    }
    Figures figures;
    std::string askedFor;
};
