#include "gui/tools/extensions/ExtensionsViewController.h"

#include "gui/widgets/Colors.h"
#include "gui/widgets/ScreenHeader.h"

#include <QVBoxLayout>

namespace tidvale::gui {

void ExtensionsViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Extensiones"),
        QStringLiteral("Administrá los agentes y daemons de inicio"),
        QStringLiteral("puzzlepiece.fill"), systemColor(SystemColor::yellow)));
    layout->addStretch(1);
}

} // namespace tidvale::gui
