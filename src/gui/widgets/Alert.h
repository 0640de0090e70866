#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;

namespace tidvale::gui {

enum class AlertStyle { warning, informational };

struct AlertRequest {
    AlertStyle style = AlertStyle::warning;
    QString message;         // the bold first line
    QString informativeText; // the explanation under it
    QStringList buttons;     // the confirming button first; the first is the default
    QString detailedText{};  // shown under "Mostrar detalles" when not empty
    // The first button deletes for good (no Trash to take it back from): Enter then
    // answers the second button, "Cancelar", so a reflex key press loses nothing. The
    // order and the texts of the buttons stay as they are.
    bool deletesPermanently = false;
};

// Shows `alert` as a sheet on `screen`'s window (window-modal, the rest of the
// application stays usable) and returns at once. `completion` later gets the index of
// the button pressed (0 = first), or -1 when the alert closed without a button. When
// `screen` is not on screen (no window, or its tool is not the one shown) nothing is
// shown and `completion` is never called; it is also dropped if `screen` is destroyed
// before the answer. GUI thread only.
void showAlert(QWidget* screen, const AlertRequest& alert, std::function<void(int)> completion);

// Test hook: while an AlertAnswerer lives, showAlert shows no window. It records each
// alert that would have been shown and answers it with `answer`, through the event
// loop as a real sheet would (so wait with QTRY_*/QSignalSpy, not immediately).
// Screens that are not visible still get nothing, exactly as without the hook. The
// innermost living answerer answers.
class AlertAnswerer {
public:
    explicit AlertAnswerer(int answer = 0);
    ~AlertAnswerer();
    AlertAnswerer(const AlertAnswerer&) = delete;
    AlertAnswerer& operator=(const AlertAnswerer&) = delete;

    int answer;
    std::vector<AlertRequest> shown;

private:
    AlertAnswerer* previous_; // an outer answerer takes over again when this one goes
};

} // namespace tidvale::gui
