#pragma once

// The caller's side of a junk clean's administrator stage: which set-aside items the
// allow-list takes, and the command the Mac runs for them. The privileged side (the
// helper) checks each path again against the same areas.
#include "engine/admin/AdminAreas.h"
#include "engine/context/Context.h"
#include "engine/records/ScanItem.h"

#include <string>
#include <vector>

namespace tidvale {

// The administrator areas of the context's system, under its system root.
std::vector<AdminArea> adminAreasOf(const Context& context);

// What the administrator stage will do with a list of items, decided before anything
// runs.
struct AdminPlan {
    std::vector<ScanItem> accepted;
    std::vector<ScanItem> refused; // outside the administrator's areas, in item order
    std::string script;            // empty when nothing is accepted
};

AdminPlan planAdminDeletion(const Context& context, const std::vector<ScanItem>& items);

// The privileged shell command for the accepted paths, as AppleScript source.
std::string adminDeletionScript(const std::vector<std::string>& paths);

} // namespace tidvale
