#include "gui/tools/largefiles/LargeFilesViewController.h"

#include "gui/widgets/Colors.h"
#include "gui/widgets/ScreenHeader.h"

#include <QVBoxLayout>

namespace tidvale::gui {

void LargeFilesViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Archivos Grandes"),
        QStringLiteral("Encuentra archivos que ocupan demasiado espacio"),
        QStringLiteral("doc.zipper"), systemColor(SystemColor::pink)));
    layout->addStretch(1);
}

} // namespace tidvale::gui
