#include "gui/tools/duplicates/DuplicatesViewController.h"

#include "gui/widgets/Colors.h"
#include "gui/widgets/ScreenHeader.h"

#include <QVBoxLayout>

namespace tidvale::gui {

void DuplicatesViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Archivos Duplicados"),
        QStringLiteral("Detecta copias exactas y libera espacio"),
        QStringLiteral("doc.on.doc.fill"), systemColor(SystemColor::indigo)));
    layout->addStretch(1);
}

} // namespace tidvale::gui
