#include "gui/widgets/ResultCardView.h"

#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/style/Symbols.h"
#include "gui/widgets/Labels.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace tidvale::gui {

ResultCardView::ResultCardView(QWidget* parent)
    : QWidget(parent)
    , iconView_(new QLabel(this))
    , titleLabel_(new QLabel(this))
    , countLabel_(new QLabel(this))
    , sizeLabel_(new QLabel(this))
{
    setFixedHeight(60);
    iconView_->setAlignment(Qt::AlignCenter);
    titleLabel_->setFont(uiFont(13, QFont::DemiBold));
    countLabel_->setFont(uiFont(11));
    sizeLabel_->setFont(monospacedDigitFont(13, QFont::DemiBold));
    sizeLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* l : {titleLabel_, countLabel_, sizeLabel_})
        l->setTextFormat(Qt::PlainText);
    // The size keeps its full text; the title and count give way to it.
    for (QLabel* l : {titleLabel_, countLabel_})
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    iconView_->setFixedSize(28, 28);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addStretch(1);
    texts->addWidget(titleLabel_);
    texts->addWidget(countLabel_);
    texts->addStretch(1);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 0, 16, 0);
    row->setSpacing(12);
    row->addWidget(iconView_, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
    row->addWidget(sizeLabel_, 0, Qt::AlignVCenter);
    applyColors();
}

void ResultCardView::setSymbol(const QString& symbol, const QColor& tint)
{
    iconView_->setPixmap(symbolPixmap(symbol, 16, tint, devicePixelRatioF()));
}

void ResultCardView::applyColors()
{
    setTextColor(titleLabel_, labelColor(this));
    setTextColor(countLabel_, secondaryLabelColor(this));
    setTextColor(sizeLabel_, systemColor(SystemColor::red));
}

void ResultCardView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        applyColors();
    QWidget::changeEvent(event);
}

void ResultCardView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25), 10, 10);
    p.fillPath(card, controlBackgroundColor(this));
    p.setPen(QPen(separatorColor(this), 0.5));
    p.drawPath(card);
}

} // namespace tidvale::gui
