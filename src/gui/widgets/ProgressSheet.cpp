#include "gui/widgets/ProgressSheet.h"

#include "gui/text/ByteTexts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace tidvale::gui {

ProgressSheet::ProgressSheet(QWidget* screen)
    : QDialog(screen->window(), Qt::Sheet | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(screen->window()->windowTitle());
    // The screen may go while its removal runs (the window closes): the sheet goes too.
    connect(screen, &QObject::destroyed, this, &QObject::deleteLater);
    parentWidget()->installEventFilter(this);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(24, 20, 24, 20);
    box->setSpacing(12);
    label_ = new QLabel(this);
    label_->setTextFormat(Qt::PlainText);
    box->addWidget(label_);
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(320);
    box->addWidget(bar_);

    clock_ = new QTimer(this);
    clock_->setInterval(50);
    connect(clock_, &QTimer::timeout, this, &ProgressSheet::refresh);
    clock_->start();
    refresh();
}

RemovalTally::Sink ProgressSheet::units() const
{
    return [shared = shared_](int64_t entries, int64_t bytes) {
        shared->entries.store(entries, std::memory_order_relaxed);
        shared->bytes.store(bytes, std::memory_order_relaxed);
    };
}

JobControl::Counts ProgressSheet::counts() const
{
    return [shared = shared_](int64_t done, int64_t total) {
        shared->total.store(total, std::memory_order_relaxed);
        shared->done.store(done, std::memory_order_relaxed);
    };
}

void ProgressSheet::refresh()
{
    const int64_t total = shared_->total.load(std::memory_order_relaxed);
    const int64_t done = std::min(shared_->done.load(std::memory_order_relaxed), total);
    QString text = QStringLiteral("Eliminando…");
    if (total > 0)
        text += QStringLiteral(" %1 de %2").arg(done).arg(total);
    // Inside one item of many thousand files the count of items stands still for long:
    // what has gone so far shows the work goes on.
    if (const int64_t entries = shared_->entries.load(std::memory_order_relaxed); entries > 0)
        text += QStringLiteral(" · %1 archivo(s), %2")
                    .arg(QLocale(QLocale::Spanish).toString(static_cast<qlonglong>(entries)),
                        fileBytesText(shared_->bytes.load(std::memory_order_relaxed)));
    label_->setText(text);
    // One item, or a count not known yet, says nothing about how far along it is:
    // the bar then only shows that the work goes on.
    if (total <= 1) {
        bar_->setRange(0, 0);
        return;
    }
    // The bar counts in ints; a larger count is scaled down.
    const int64_t scale = total > INT_MAX ? total / INT_MAX + 1 : 1;
    bar_->setRange(0, static_cast<int>(total / scale));
    bar_->setValue(static_cast<int>(done / scale));
}

void ProgressSheet::finish()
{
    refresh();
    clock_->stop();
    finishing_ = true;
    close();
}

QString ProgressSheet::text() const
{
    return label_->text();
}

int ProgressSheet::value() const
{
    return bar_->value();
}

int ProgressSheet::maximum() const
{
    return bar_->maximum();
}

void ProgressSheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    place();
}

// Hangs from the top of the window's content, centred, and never wider or taller than
// the window.
void ProgressSheet::place()
{
    const QWidget* window = parentWidget();
    const QRect area = window->geometry();
    const QSize size
        = sizeHint().boundedTo(area.size()).expandedTo(minimumSizeHint().boundedTo(area.size()));
    resize(size);
    move(area.x() + (area.width() - size.width()) / 2, area.y());
}

bool ProgressSheet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget()
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        place();
    return QDialog::eventFilter(watched, event);
}

void ProgressSheet::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // Without a frame of its own, a thin edge parts the sheet from the window under it.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ProgressSheet::closeEvent(QCloseEvent* event)
{
    if (finishing_)
        event->accept();
    else
        event->ignore();
}

} // namespace tidvale::gui
