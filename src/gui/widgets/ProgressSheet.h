#pragma once

#include "engine/core/Job.h"

#include <QDialog>

#include <atomic>
#include <cstdint>
#include <memory>

class QLabel;
class QProgressBar;
class QTimer;

namespace tidvale::gui {

// The modal sheet a screen shows over its window while a removal runs on a worker:
// "Eliminando… N de M" and a bar. It has no button and ignores Escape and the close
// box: a removal half done cannot be taken back, so the only way out is its end.
class ProgressSheet : public QDialog {
    Q_OBJECT
public:
    explicit ProgressSheet(QWidget* screen);

    // The sink the removal reports to, from any thread: cheap stores that the sheet
    // reads on its own clock, so a removal of 100 000 items posts nothing per item.
    JobControl::Counts counts() const;
    // Shows the last counts and closes the sheet; it deletes itself.
    void finish();

    QString text() const;
    int value() const;
    int maximum() const;

public slots:
    void reject() override { }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Shared {
        std::atomic<int64_t> done{0};
        std::atomic<int64_t> total{0};
    };
    void refresh();

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QTimer* clock_ = nullptr;
    bool finishing_ = false;
};

} // namespace tidvale::gui
