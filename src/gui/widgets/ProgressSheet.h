#pragma once

#include "engine/core/Job.h"
#include "engine/fs/SafeRemove.h"

#include <QDialog>

#include <atomic>
#include <cstdint>
#include <memory>

class QLabel;
class QProgressBar;
class QTimer;

namespace tidvale::gui {

// The modal sheet a screen shows over its window while a removal runs on a worker:
// "Eliminando… N de M", what has gone inside the items so far, and a bar. It is part
// of the window, not a window of its own: no frame or title bar, hanging from the top
// of the window's content, centred, never larger than the window, and it follows the
// window when it moves. It has no button and ignores Escape: a removal half done cannot
// be taken back, so the only way out is its end.
class ProgressSheet : public QDialog {
    Q_OBJECT
public:
    explicit ProgressSheet(QWidget* screen);

    // The sink the removal reports to, from any thread: cheap stores that the sheet
    // reads on its own clock, so a removal of 100 000 items posts nothing per item.
    JobControl::Counts counts() const;
    // The sink for what the removal unlinks inside the items, from the removal's thread.
    RemovalTally::Sink units() const;
    // Shows the last counts and closes the sheet; it deletes itself.
    void finish();

    QString text() const;
    int value() const;
    int maximum() const;

public slots:
    void reject() override { }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Shared {
        std::atomic<int64_t> done{0};
        std::atomic<int64_t> total{0};
        std::atomic<int64_t> entries{0};
        std::atomic<int64_t> bytes{0};
    };
    void refresh();
    void place();

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QTimer* clock_ = nullptr;
    bool finishing_ = false;
};

} // namespace tidvale::gui
