#include "cli/ScheduledNotice.h"

#include "engine/format/ByteText.h"

namespace tidvale::cli {
namespace {

std::string items(size_t n)
{
    return n == 1 ? "1 elemento" : std::to_string(n) + " elementos";
}

// The first reason stands for the rest: a notification has room for one.
std::string leftText(const CleanReport& report)
{
    if (report.left.empty())
        return {};
    const auto& first = report.left.front();
    return " Se " + std::string(report.left.size() == 1 ? "dejó " : "dejaron ")
        + items(report.left.size()) + "; por ejemplo “" + first.path + "”: " + first.reason;
}

} // namespace

platform::Notification scheduledCleanNotice(const CleanReport& report)
{
    const std::string freed = formatJunkBytes(report.freed);
    if (report.failed)
        return {"La limpieza programada no pudo con todo",
            "Se liberaron " + freed + "." + leftText(report)};
    if (report.removed.empty())
        return {"Limpieza programada terminada", "No había nada que limpiar." + leftText(report)};
    return {"Limpieza programada terminada", "Se liberaron " + freed + "." + leftText(report)};
}

} // namespace tidvale::cli
