#include "gui/tools/systemjunk/SystemJunkViewController.h"

#include "gui/widgets/Colors.h"
#include "gui/widgets/ScreenHeader.h"

#include <QVBoxLayout>

namespace tidvale::gui {

void SystemJunkViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Basura del Sistema"),
        QStringLiteral("Eliminá cachés, logs y archivos temporales"), QStringLiteral("trash.fill"),
        systemColor(SystemColor::orange)));
    layout->addStretch(1);
}

} // namespace tidvale::gui
