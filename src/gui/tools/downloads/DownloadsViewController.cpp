#include "gui/tools/downloads/DownloadsViewController.h"

#include "gui/widgets/Colors.h"
#include "gui/widgets/ScreenHeader.h"

#include <QVBoxLayout>

namespace tidvale::gui {

void DownloadsViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Descargas"),
        QStringLiteral("Administra y limpia tu carpeta Downloads"),
        QStringLiteral("arrow.down.circle.fill"), systemColor(SystemColor::mint)));
    layout->addStretch(1);
}

} // namespace tidvale::gui
