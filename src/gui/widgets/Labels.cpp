#include "gui/widgets/Labels.h"

#include "gui/style/Fonts.h"

#include <QLabel>

namespace tidvale::gui {

QLabel* makeLabel(
    const QString& text, int points, QFont::Weight weight, const QColor& color, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(uiFont(points, weight));
    setTextColor(label, color);
    return label;
}

void setTextColor(QLabel* label, const QColor& color)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::Text, color);
    label->setPalette(pal);
}

} // namespace tidvale::gui
