#include "gui/widgets/ScreenHeader.h"

#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/style/Symbols.h"
#include "gui/widgets/Labels.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

namespace tidvale::gui {

ScreenHeader::ScreenHeader(const QString& title, const QString& subtitle, const QString& symbol,
    const QColor& color, QWidget* parent)
    : QWidget(parent)
    , iconView_(new QLabel(this))
    , titleLabel_(new QLabel(title, this))
    , subtitleLabel_(new QLabel(subtitle, this))
    , symbol_(symbol)
    , color_(color)
{
    setFixedHeight(80);
    setMinimumWidth(200);
    iconView_->setAlignment(Qt::AlignCenter);
    titleLabel_->setFont(uiFont(18, QFont::Bold));
    subtitleLabel_->setFont(uiFont(12));
    titleLabel_->setTextFormat(Qt::PlainText);
    subtitleLabel_->setTextFormat(Qt::PlainText);
    applyColors();
}

void ScreenHeader::applyColors()
{
    iconView_->setPixmap(symbolPixmap(symbol_, 24, color_, devicePixelRatioF()));
    setTextColor(titleLabel_, labelColor(this));
    setTextColor(subtitleLabel_, secondaryLabelColor(this));
}

void ScreenHeader::placeLabels()
{
    const int mid = height() / 2;
    iconView_->setGeometry(20, mid - 16, 32, 32);
    const int textLeft = 20 + 32 + 12;
    const int textWidth = std::max(0, width() - textLeft - 12);
    const int titleHeight = titleLabel_->sizeHint().height();
    titleLabel_->setGeometry(textLeft, mid - 20, textWidth, titleHeight);
    subtitleLabel_->setGeometry(
        textLeft, mid - 20 + titleHeight + 3, textWidth, subtitleLabel_->sizeHint().height());
}

void ScreenHeader::resizeEvent(QResizeEvent*)
{
    placeLabels();
}

void ScreenHeader::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        applyColors();
    QWidget::changeEvent(event);
}

void ScreenHeader::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(QRect(0, height() - 1, width(), 1), separatorColor(this));
}

ScreenHeader* makeScreenHeader(const QString& title, const QString& subtitle, const QString& symbol,
    const QColor& color, QWidget* parent)
{
    return new ScreenHeader(title, subtitle, symbol, color, parent);
}

} // namespace tidvale::gui
