#pragma once

#include "engine/context/Context.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tidvale::gui {

// The history of cleans: one row per run, newest first, with when, from where, what it
// freed and how many items; a run opens to show its items and what became of each.
// "Deshacer" puts back what the chosen run moved to the Trash. It reads the file each
// time it is shown and writes nothing; a damaged line is skipped and said.
class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    explicit HistoryWindow(const Context& context, QWidget* parent = nullptr);

    QTreeWidget* runList() const { return runs_; }
    QPushButton* undoButton() const { return undo_; }
    QLabel* noteLabel() const { return note_; }

    // Reads the file again and shows it.
    void reload();
    // "Deshacer" on the run selected.
    void undoSelected();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void selectionChanged();

    const Context& context_;
    QTreeWidget* runs_ = nullptr;
    QPushButton* undo_ = nullptr;
    QLabel* note_ = nullptr;
};

// Shows the window, making it on first use.
void showHistory(QWidget* parent, const Context& context);

} // namespace tidvale::gui
