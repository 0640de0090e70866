#pragma once

#include "engine/context/Context.h"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace tidvale {
class ScanService;
class SystemInfoService;
} // namespace tidvale

namespace tidvale::cli {

// Thrown for a malformed command line; main prints it with the usage and exits 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Invocation {
    bool json = false;
    std::vector<std::string> args; // after the command name
    std::ostream& out;
    std::ostream& err;
    // What the commands run on, built from the options and the environment at start.
    const Context& context;
    const ScanService& scan;
    const SystemInfoService& info;
};

struct Command {
    const char* name;
    const char* synopsis; // arguments, as shown in the usage
    const char* summary;
    int (*run)(Invocation&);
};

// Each command file registers its commands with a static Registration, so adding a
// command never touches the others.
struct Registration {
    explicit Registration(Command c);
};
const std::vector<Command>& commands();

// Prints `value` as JSON; invalid UTF-8 in names becomes U+FFFD instead of aborting.
void printJson(std::ostream& out, const nlohmann::json& value);

// Prints rows as aligned columns (widths counted in characters, not bytes).
void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

// Takes "--flag VALUE" out of args; throws UsageError when the value is missing.
bool takeOption(std::vector<std::string>& args, const std::string& flag, std::string& value);
bool takeFlag(std::vector<std::string>& args, const std::string& flag);
// Fails on any argument left that starts with "-" (after an optional "--").
void rejectUnknownOptions(const std::vector<std::string>& args);
int64_t parseByteCount(const std::string& text);

} // namespace tidvale::cli
