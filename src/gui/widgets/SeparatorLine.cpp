#include "gui/widgets/SeparatorLine.h"

#include "gui/style/Colors.h"

#include <QFrame>

namespace tidvale::gui {

QFrame* makeSeparatorLine(const QWidget* colourSource)
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(
        QStringLiteral("color: %1").arg(separatorColor(colourSource).name(QColor::HexArgb)));
    return line;
}

} // namespace tidvale::gui
