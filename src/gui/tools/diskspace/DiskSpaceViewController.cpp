#include "gui/tools/diskspace/DiskSpaceViewController.h"

#include "gui/widgets/Colors.h"
#include "gui/widgets/ScreenHeader.h"

#include <QVBoxLayout>

namespace tidvale::gui {

void DiskSpaceViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Espacio en Disco"),
        QStringLiteral("Visualizá el uso del almacenamiento en tu Mac"),
        QStringLiteral("externaldrive.fill"), systemColor(SystemColor::red)));
    layout->addStretch(1);
}

} // namespace tidvale::gui
