#include "gui/tools/applications/AppUninstallTexts.h"

#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"

#include <QStringList>

#include <algorithm>

namespace tidvale::gui {
namespace {

QString howItGoes(const AppInfo& app)
{
    switch (app.source) {
    case AppSource::deb:
        return QStringLiteral(" (paquete «") + displayText(app.package) + QStringLiteral("»)");
    case AppSource::flatpak:
        return QStringLiteral(" (Flatpak)");
    case AppSource::appimage:
        return QStringLiteral(" (AppImage, a la Papelera)");
    case AppSource::bundle:
        return QStringLiteral(" (a la Papelera)");
    case AppSource::snap:
    case AppSource::desktop:
        break;
    }
    return {};
}

// An error from another program may run over several lines; the status line is one.
QString oneLine(const std::string& text)
{
    return displayText(text).simplified();
}

QString bullets(const QStringList& lines)
{
    return QStringLiteral("• ") + lines.join(QStringLiteral("\n• "));
}

} // namespace

QString uninstallConfirmationText(const UninstallPlan& plan, const std::vector<AppInfo>& listed,
    const std::vector<platform::DebianPackage>& others)
{
    QStringList going;
    for (const UninstallUnit& unit : plan.units) {
        const QString how = howItGoes(unit.app);
        std::vector<std::string> names = unit.names;
        // A package's other menu entries go with it: the user must see them go.
        for (const AppInfo& app : listed)
            if (app.unit == unit.app.unit && app.removable
                && std::find(names.begin(), names.end(), app.name) == names.end())
                names.push_back(app.name);
        for (const std::string& name : names)
            going << displayText(name) + how;
    }
    QString text = QStringLiteral("Se desinstalarán:\n") + bullets(going);
    if (!others.empty()) {
        QStringList packages;
        for (const auto& p : others)
            packages << displayText(p.name)
                    + (p.version.empty()
                            ? QString()
                            : QStringLiteral(" (") + displayText(p.version) + QStringLiteral(")"));
        text += QStringLiteral(
                    "\n\nTambién se quitarán estos paquetes, que dependen de los anteriores:\n")
            + bullets(packages);
    }
    if (!plan.skipped.empty()) {
        QStringList skipped;
        for (const AppInfo& app : plan.skipped)
            skipped << displayText(app.name) + QStringLiteral(": ")
                    + displayText(app.notRemovableReason);
        text += QStringLiteral("\n\nNo se pueden desinstalar desde aquí:\n") + bullets(skipped);
    }
    return text;
}

QString notUninstallableText(const UninstallPlan& plan)
{
    QStringList reasons;
    for (const AppInfo& app : plan.skipped)
        reasons << (plan.skipped.size() == 1 ? oneLine(app.notRemovableReason)
                                             : QStringLiteral("«") + displayText(app.name)
                    + QStringLiteral("»: ") + oneLine(app.notRemovableReason));
    return QStringLiteral("No se puede desinstalar desde aquí: ")
        + reasons.join(QStringLiteral(" · "));
}

QString uninstallOutcomeText(const std::vector<AppInfo>& listed, const RemovalReport& report)
{
    QStringList failures;
    for (const RemovalOutcome* stayed : report.left()) {
        const auto app = std::find_if(
            listed.begin(), listed.end(), [&](const AppInfo& a) { return a.path == stayed->key; });
        const std::string& name = app != listed.end() ? app->name : stayed->path;
        failures << QStringLiteral("No se desinstaló «") + displayText(name) + QStringLiteral("»: ")
                + oneLine(stayed->message);
    }
    if (const int removed = report.count(RemovalStatus::gone); removed > 0) {
        QStringList parts{QStringLiteral("✅ Desinstaladas: ") + QString::number(removed),
            QStringLiteral("Liberado: ") + fileBytesText(report.freed())};
        return (parts + failures).join(QStringLiteral(" · "));
    }
    if (failures.isEmpty())
        return QStringLiteral("⚠️ No se desinstaló nada.");
    return QStringLiteral("⚠️ ") + failures.join(QStringLiteral(" · "));
}

} // namespace tidvale::gui
