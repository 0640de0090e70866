// tidvale-cli: reports of the engine for scripts, benchmarks and checks, and the one
// cleaning command a user may schedule.
#include "cli/Command.h"
#include "engine/desktop/SettingsLocation.h"
#include "engine/junk/ScanService.h"
#include "engine/setup/ContextBuilder.h"
#include "engine/setup/ProcessContext.h"
#include "engine/setup/Profiles.h"
#include "engine/system/SystemInfoService.h"

#include <iostream>

using namespace tidvale::cli;

namespace {

void printUsage(std::ostream& out)
{
    out << "Uso: tidvale-cli [--json] [--profile mac|linux] [--system-root DIR] ORDEN "
           "[ARGUMENTOS...]\n\n"
           "  --json             registros en JSON en lugar de una tabla\n"
           "  --profile P        dónde mirar: \"mac\" o \"linux\" (por omisión el de este\n"
           "                     sistema, o el que diga TIDVALE_PROFILE)\n"
           "  --system-root DIR  antepone DIR a cada carpeta del sistema (por omisión \"/\")\n\n"
           "Órdenes:\n";
    std::vector<std::vector<std::string>> rows;
    for (const auto& c : commands())
        rows.push_back({"  " + std::string(c.name) + " " + c.synopsis, c.summary});
    printTable(out, rows);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        bool json = false;
        tidvale::ContextOptions options;
        options.backends = tidvale::platform::systemBackends;
        options.settings = tidvale::systemUserSettings;
        size_t i = 0;
        for (; i < args.size(); ++i) {
            if (args[i] == "--json") {
                json = true;
            } else if (args[i] == "--profile") {
                if (i + 1 >= args.size())
                    throw UsageError("a --profile le falta el nombre (mac o linux)");
                const auto* places = tidvale::placesNamed(args[++i]);
                if (!places)
                    throw UsageError("perfil desconocido: " + args[i] + " (mac o linux)");
                options.places = places;
            } else if (args[i] == "--system-root") {
                if (i + 1 >= args.size())
                    throw UsageError("a --system-root le falta la carpeta");
                options.systemRoot = args[++i];
            } else if (args[i] == "-h" || args[i] == "--help") {
                printUsage(std::cout);
                return 0;
            } else if (!args[i].empty() && args[i][0] == '-') {
                throw UsageError("opción desconocida: " + args[i]);
            } else {
                break;
            }
        }
        options.onUnknownProfile = [](const std::string& name) {
            throw UsageError("TIDVALE_PROFILE nombra un perfil desconocido: " + name);
        };
        const tidvale::Context& context
            = tidvale::installProcessContext(tidvale::buildContext(options));
        if (i >= args.size())
            throw UsageError("falta la orden");
        for (const auto& c : commands()) {
            if (args[i] == c.name) {
                Invocation inv{json, {args.begin() + static_cast<long>(i) + 1, args.end()},
                    std::cout, std::cerr, context, tidvale::ScanService::shared(),
                    tidvale::SystemInfoService::shared()};
                return c.run(inv);
            }
        }
        throw UsageError("orden desconocida: " + args[i]);
    } catch (const UsageError& e) {
        std::cerr << "tidvale-cli: " << e.what() << "\n\n";
        printUsage(std::cerr);
        return 2;
    }
}
