#include "engine/setup/ProcessContext.h"

#include "engine/junk/ScanService.h"
#include "engine/system/SystemInfoService.h"

#include <cstdio>
#include <cstdlib>

namespace tidvale {
namespace {

const Context*& installed()
{
    static const Context* context = nullptr;
    return context;
}

const Context& processContext()
{
    if (!installed()) {
        std::fputs("tidvale: no context was installed at start\n", stderr);
        std::abort();
    }
    return *installed();
}

} // namespace

const Context& installProcessContext(Context context)
{
    installed() = new Context(std::move(context));
    return *installed();
}

ScanService& ScanService::shared()
{
    static ScanService* service = new ScanService(processContext());
    return *service;
}

SystemInfoService& SystemInfoService::shared()
{
    static SystemInfoService* service = new SystemInfoService(processContext());
    return *service;
}

} // namespace tidvale
