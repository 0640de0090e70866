#include "gui/tools/memory/MemoryViewController.h"

#include "gui/widgets/Colors.h"
#include "gui/widgets/ScreenHeader.h"

#include <QVBoxLayout>

namespace tidvale::gui {

void MemoryViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Memoria"),
        QStringLiteral("Monitorea y optimiza el uso de RAM"), QStringLiteral("memorychip.fill"),
        systemColor(SystemColor::cyan)));
    layout->addStretch(1);
}

} // namespace tidvale::gui
