#include "cli/ScheduledNotice.h"

#include "engine/format/ByteText.h"

namespace tidvale::cli {
namespace {

std::string items(size_t n)
{
    return n == 1 ? "1 elemento" : std::to_string(n) + " elementos";
}

// The first reason stands for the rest: a notification has room for one.
std::string leftText(const RemovalReport& report)
{
    const auto left = report.left();
    if (left.empty())
        return {};
    const RemovalOutcome& first = *left.front();
    return " Se " + std::string(left.size() == 1 ? "dejó " : "dejaron ") + items(left.size())
        + "; por ejemplo “" + first.path + "”: " + reasonLeft(first);
}

} // namespace

platform::Notification scheduledCleanNotice(const RemovalReport& report)
{
    const std::string freed = formatJunkBytes(report.freed());
    if (anyFailed(report))
        return {"La limpieza programada no pudo con todo",
            "Se liberaron " + freed + "." + leftText(report)};
    if (!report.any(RemovalStatus::gone))
        return {"Limpieza programada terminada", "No había nada que limpiar." + leftText(report)};
    return {"Limpieza programada terminada", "Se liberaron " + freed + "." + leftText(report)};
}

} // namespace tidvale::cli
