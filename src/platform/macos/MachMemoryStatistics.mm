// Memory figures from the Mach host statistics. Built only on Apple platforms.
#include "platform/MemoryStatistics.h"

#import <Foundation/Foundation.h>

#include <mach/mach.h>
#include <mach/mach_host.h>

namespace tidvale::platform {
namespace {

class MachMemoryStatistics final : public MemoryStatistics {
public:
    uint64_t physicalMemory() override { return NSProcessInfo.processInfo.physicalMemory; }

    std::optional<VmFigures> vmFigures() override
    {
        vm_statistics64_data_t stats{};
        mach_msg_type_number_t count = HOST_VM_INFO64_COUNT;
        const mach_port_t host = mach_host_self();
        const kern_return_t status = host_statistics64(
            host, HOST_VM_INFO64, reinterpret_cast<host_info64_t>(&stats), &count);
        mach_port_deallocate(mach_task_self(), host);
        if (status != KERN_SUCCESS)
            return std::nullopt;
        const uint64_t page = static_cast<uint64_t>(vm_page_size);
        VmFigures figures;
        figures.free = static_cast<uint64_t>(stats.free_count) * page;
        figures.active = static_cast<uint64_t>(stats.active_count) * page;
        figures.inactive = static_cast<uint64_t>(stats.inactive_count) * page;
        figures.wired = static_cast<uint64_t>(stats.wire_count) * page;
        figures.compressed = static_cast<uint64_t>(stats.compressor_page_count) * page;
        return figures;
    }
};

} // namespace

std::shared_ptr<MemoryStatistics> systemMemoryStatistics()
{
    return std::make_shared<MachMemoryStatistics>();
}

} // namespace tidvale::platform
