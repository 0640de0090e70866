#include "gui/tools/xcode/XcodeCleanerViewController.h"

#include "gui/widgets/Colors.h"
#include "gui/widgets/ScreenHeader.h"

#include <QVBoxLayout>

namespace tidvale::gui {

void XcodeCleanerViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Limpieza de Xcode"),
        QStringLiteral("Elimina DerivedData, simuladores y cachés de desarrollo"),
        QStringLiteral("hammer.fill"), xcodeBrown()));
    layout->addStretch(1);
}

} // namespace tidvale::gui
