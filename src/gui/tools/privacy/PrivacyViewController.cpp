#include "gui/tools/privacy/PrivacyViewController.h"

#include "gui/widgets/Colors.h"
#include "gui/widgets/ScreenHeader.h"

#include <QVBoxLayout>

namespace tidvale::gui {

void PrivacyViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Privacidad"),
        QStringLiteral("Limpiá el historial y caché de tus navegadores"),
        QStringLiteral("lock.shield.fill"), systemColor(SystemColor::purple)));
    layout->addStretch(1);
}

} // namespace tidvale::gui
