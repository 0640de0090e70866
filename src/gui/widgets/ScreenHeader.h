#pragma once

#include <QColor>
#include <QWidget>

class QLabel;

namespace tidvale::gui {

// The band every tool screen opens with: a tinted symbol, the screen's title and a
// one-line subtitle, with a separator line along the bottom. The caller places it at
// the top of its layout; it is 80 points high unless the caller says otherwise.
class ScreenHeader : public QWidget {
    Q_OBJECT
public:
    ScreenHeader(const QString& title, const QString& subtitle, const QString& symbol,
        const QColor& color, QWidget* parent = nullptr);

    QLabel* titleLabel() const { return titleLabel_; }
    QLabel* subtitleLabel() const { return subtitleLabel_; }
    QLabel* iconView() const { return iconView_; }
    QColor color() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyColors();
    void placeLabels();

    QLabel* iconView_;
    QLabel* titleLabel_;
    QLabel* subtitleLabel_;
    QString symbol_;
    QColor color_;
};

// The screen header as a new widget, for the common case.
ScreenHeader* makeScreenHeader(const QString& title, const QString& subtitle, const QString& symbol,
    const QColor& color, QWidget* parent = nullptr);

} // namespace tidvale::gui
