#include "gui/tools/applications/ApplicationsViewController.h"

#include "gui/widgets/Colors.h"
#include "gui/widgets/ScreenHeader.h"

#include <QVBoxLayout>

namespace tidvale::gui {

void ApplicationsViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Aplicaciones"),
        QStringLiteral("Desinstalá apps completas y libera espacio en disco"),
        QStringLiteral("app.fill"), systemColor(SystemColor::green)));
    layout->addStretch(1);
}

} // namespace tidvale::gui
