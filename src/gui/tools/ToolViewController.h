#pragma once

#include "engine/core/Job.h"
#include "engine/fs/Removal.h"
#include "engine/history/Undo.h"
#include "gui/jobs/JobRunner.h"
#include "gui/tools/ItemMenu.h"
#include "gui/tools/ScreenServices.h"
#include "gui/widgets/ProgressSheet.h"

#include <QColor>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

class QAbstractButton;
class QAbstractItemView;
class QBoxLayout;
class QComboBox;
class QLabel;
class QMenu;
class QModelIndex;
class QScrollArea;
class QVBoxLayout;

namespace tidvale::gui {

class ActivityIndicator;
class PrimaryButton;
class ScreenHeader;
class WrappingRow;

// What the header of a screen shows; its colour is also the start button's.
struct ScreenTitle {
    QString title;
    QString subtitle;
    QString symbol;
    QColor color;
};

// Where the toolbar puts its controls and the status line.
enum class ToolbarStyle {
    row,           // buttons, pop-ups, spinner and status in one row that wraps
    rowThenStatus, // the controls in a row, the spinner and status on a line under it
    centred,       // one control under the other, centred, then the spinner and status
    none,          // no toolbar and no status line: a screen of figures
};

// Whether a content fills the pane to its edges or sits inside the screen's margins.
enum class ContentInset { margins, edgeToEdge };

// A borderless vertical scroll area showing `column` (figures, cards) on the screen's
// background, for a content taller than a short window.
QScrollArea* makeScrollColumn(QWidget* column);

// The base and the skeleton of the eleven tool screens. A screen is built one way,
// from top to bottom: the header, a toolbar with its start button, other buttons and
// pop-ups, the spinner and status line, then its content (a list, a tree, cards or
// figures) and an optional footer that stays in view. Its long job (a scan, a listing)
// is started through runJob, which owns the start button, the spinner and the status
// line while the job runs; its removals go through runRemoval.
//
//   void XyzViewController::loadView()
//   {
//       setUpScreen({"Xyz", "Limpia lo que sobra", "trash.fill", color});
//       addStartButton("Escanear", [this] { doScan(); });
//       cleanButton_ = addButton("Limpiar", systemColor(SystemColor::red), [this] { doClean(); });
//       setList(makeTableList(model_, {44, {30, 220, 90}, 1}), ContentInset::margins,
//           "Pulsa «Escanear» para buscar.");
//   }
//   void XyzViewController::doScan()
//   {
//       if (!readyForJob())
//           return;
//       auto before = model_->items(); // what "Detener" puts back
//       model_->setItems({});
//       runJob([](const JobControl& job) { return scanXyz(job); },
//           [this](std::vector<Xyz> found) { model_->setItems(std::move(found)); },
//           [this, before] { model_->setItems(before); });
//   }
//   void XyzViewController::doClean() // once the user confirmed
//   {
//       runRemoval([items = model_->items()](const JobControl& job) { return removeXyz(items, job);
//       },
//           [this](XyzRemoval outcome) { model_->removeGone(outcome); });
//   }
//
// Each screen gets what it works with (the context, the scan and system services) when
// it is built, and reaches nothing else. The content container creates every screen at
// once, but each builds its controls only when it is first shown (loadView), so
// starting the application costs eleven empty widgets. A screen is kept alive while the
// window lives; viewDidAppear/viewDidDisappear tell it when the user brings it into
// view or leaves it.
class ToolViewController : public QWidget {
    Q_OBJECT
public:
    explicit ToolViewController(const ScreenServices& services, QWidget* parent = nullptr);
    ~ToolViewController() override;

    const ScreenServices& services() const { return services_; }

    // Builds the controls now if they are not built yet. The container calls it
    // before showing the screen; tests may call it to inspect a screen unshown.
    void ensureViewLoaded();
    bool isViewLoaded() const { return loaded_; }

    // The skeleton's parts; null until the view is loaded, and where a screen has none.
    ScreenHeader* header() const { return header_; }
    QAbstractButton* startButton() const { return startButton_; }
    ActivityIndicator* progress() const { return progress_; }
    QLabel* statusLabel() const { return status_; }
    QAbstractItemView* listView() const { return list_; }
    QLabel* listHint() const { return hint_; }
    // The sheet over the window while a removal runs; null otherwise.
    ProgressSheet* progressSheet() const { return sheet_; }

    // Whether the screen's long job or a removal is running. GUI thread only.
    bool isBusy() const { return jobs_->isBusy(); }
    // What the start button's "Detener" does: the running job is asked to stop at its
    // next check and its late result is dropped, while the screen goes back at once to
    // what it showed before the job (its status line and hint here, its content through
    // the job's `stopped`). A removal cannot be stopped: nothing happens then.
    void stopJob();

    // Says on the status line what an undo put back, and in an alert what it could not
    // (while the screen is in view). The rows come back with the next scan.
    void showUndo(const UndoReport& report);

    // Fills the list's context menu for the row clicked (invalid: no row, and the menu
    // stays empty). Screens with a menu override it.
    virtual void menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked);

signals:
    // Every text the status line shows, in order.
    void statusChanged(const QString& text);
    // A job's result is on the screen.
    void jobFinished();
    // The user stopped the job; the screen shows again what it had before.
    void jobStopped();
    // A job that can be stopped started (true) or ended either way (false).
    void stoppableChanged(bool stoppable);

protected:
    const Context& context() const { return services_.context; }
    // A row's context menu whose entries act through the context's workspace.
    // A request the file manager did not take is said on the status line.
    ItemMenu itemMenu(QMenu* menu, std::string path);

    // Builds the screen's controls through the calls below. Called once.
    virtual void loadView() = 0;
    virtual void viewDidAppear() { }
    virtual void viewDidDisappear() { }

    // The header and the toolbar frame; the controls follow in the order they are added.
    void setUpScreen(const ScreenTitle& title, ToolbarStyle style = ToolbarStyle::row);
    // The button that starts the screen's job, in the header's colour.
    PrimaryButton* addStartButton(const QString& title, std::function<void()> action);
    // A start button the screen drew itself; `action` runs on its clicks while no job
    // runs, and its title reads "Detener" while one does.
    void setStartButton(QAbstractButton* button, std::function<void()> action);
    // A further button, disabled until the screen enables it.
    PrimaryButton* addButton(
        const QString& title, const QColor& color, std::function<void()> action);
    // A label and a pop-up of `titles` with `current` chosen.
    QComboBox* addPopUp(const QString& label, const QStringList& titles, int current,
        std::function<void()> changed);
    void addToolbarWidget(QWidget* widget);
    // The content under the toolbar, taking the room left. A list shows `hint` in its
    // empty box until the first job starts.
    void setContent(QWidget* content, ContentInset inset = ContentInset::margins);
    void setList(QAbstractItemView* list, ContentInset inset, const QString& hint);
    // Puts `content` where the old one was and destroys the old one.
    void replaceContent(QWidget* content);
    // Under the content, always in view.
    void addFooter(QWidget* footer);

    void setStatus(const QString& text);
    // A status line the screen placed itself (in a column of figures).
    void setStatusLabel(QLabel* label) { status_ = label; }
    // Keeps the spinner turning for a wait that is not the job (counted; GUI thread).
    void holdSpinner();
    void releaseSpinner();

    // Loads the view and says whether a job may start now; what the status line shows
    // at this moment is what a stopped job puts back.
    bool readyForJob();

    // Runs `work(job)` on a worker and hands its result to `done` on the GUI thread,
    // unless the screen is gone by then. Meanwhile the start button reads "Detener", the
    // spinner turns and each text the job says is shown on the status line; they are
    // restored before `done` runs, and jobFinished follows it. Stopped (see stopJob), the
    // job's texts and result are dropped and `stopped` puts back the content the screen
    // cleared for the job. Does nothing while a job runs. The work must not touch widgets.
    template <class Work, class Done>
    void runJob(Work work, Done done, std::function<void()> stopped = {})
    {
        jobs_->start(std::move(work), std::move(done), std::move(stopped));
    }

    // Runs a removal the user confirmed on a worker, behind a modal sheet that says
    // "Eliminando… N de M" from the counts the work reports, and hands its outcome to
    // `done` on the GUI thread once the sheet is gone; jobFinished follows it. The
    // sheet takes every click and key of the window meanwhile, so the list the removal
    // acts on cannot change under it; it cannot be stopped. Does nothing while a job
    // runs. The work must not touch widgets.
    template <class Work, class Done> void runRemoval(Work work, Done done)
    {
        if (jobs_->isBusy())
            return;
        const JobControl::Counts counts = openSheet();
        jobs_->startRemoval(
            std::move(work),
            [this, done = std::move(done)](auto result) mutable {
                if constexpr (std::is_same_v<decltype(result), RemovalReport>)
                    noteRemoval(result);
                done(std::move(result));
            },
            counts, sheet_->units());
    }

    // The one way a list screen removes what the user chose: `work` answers with a
    // removal report (see runRemoval); the rows of `model` whose key (`keyOf(row)`) the
    // report says is gone leave, `after` updates what depends on the rows (buttons, a
    // filter), and the status line reads `success` with what was freed and what stayed
    // and why.
    template <class Work, class Model, class KeyOf>
    void runListRemoval(Work work, Model* model, KeyOf keyOf, const QString& success,
        std::function<void(const RemovalReport&)> after = {})
    {
        runRemoval(std::move(work),
            [this, model, keyOf, success, after = std::move(after)](const RemovalReport& report) {
                const auto gone = report.goneKeys();
                model->removeIf([&](const auto& row) { return gone.count(keyOf(row)) > 0; });
                if (after)
                    after(report);
                showRemovalStatus(success, report);
            });
    }
    // The same for one row the user chose from its menu, moved at once with no
    // confirmation: a refusal of the Trash is silent and leaves the row and the status
    // line as they were.
    template <class Work, class Model, class KeyOf>
    void runRowRemoval(Work work, Model* model, KeyOf keyOf, const QString& success,
        std::function<void(const RemovalReport&)> after = {})
    {
        runRemoval(std::move(work),
            [this, model, keyOf, success, after = std::move(after)](const RemovalReport& report) {
                if (report.any(RemovalStatus::failed))
                    return;
                const auto gone = report.goneKeys();
                model->removeIf([&](const auto& row) { return gone.count(keyOf(row)) > 0; });
                if (after)
                    after(report);
                showRemovalStatus(success, report);
            });
    }
    // Hands a finished removal to the window's log (the undo, the history); runRemoval
    // does it for every removal that answers with a report.
    void noteRemoval(const RemovalReport& report);
    // The status line after `report`: `success` followed by the bytes freed, then what
    // failed and what changed since it was listed.
    void showRemovalStatus(const QString& success, const RemovalReport& report);
    // A warning that lists what a removal could not do (`text`), then `next` once it is
    // dismissed. With nothing to say, or the screen not in view to say it, `next` runs
    // at once.
    void reportFailures(
        const QString& title, const std::string& text, std::function<void()> next = {});
    // How the screen writes a byte count; the junk screens have their own form.
    virtual QString bytesText(int64_t bytes) const;

    // Runs `work()` on a worker while the spinner turns and hands its result to `done`
    // on the GUI thread, unless the screen is gone by then. For a wait on the system
    // (the password dialog, a second between two memory readings): it takes neither the
    // start button nor the window, cannot be stopped, and the screen keeps its own flag
    // for it meanwhile. The work must not touch widgets.
    template <class Work, class Done> void runWait(Work work, Done done)
    {
        jobs_->wait(std::move(work), std::move(done));
    }

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What the screen shows while its runner works.
    void jobStarted(bool stoppable);
    void jobEnded(bool stoppable);
    void jobWasStopped();
    JobControl::Counts openSheet();
    void startClicked(const std::function<void()>& action);
    void placeStatus();
    void updateHint();

    const ScreenServices services_;
    bool loaded_ = false;
    ToolbarStyle style_ = ToolbarStyle::row;
    QVBoxLayout* layout_ = nullptr; // the whole screen, top to bottom
    QBoxLayout* toolbar_ = nullptr; // the centred style's column
    WrappingRow* row_ = nullptr;    // the row styles' controls
    QVBoxLayout* contentBox_ = nullptr;
    QWidget* content_ = nullptr;
    ScreenHeader* header_ = nullptr;
    QAbstractButton* startButton_ = nullptr;
    ActivityIndicator* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QAbstractItemView* list_ = nullptr;
    QLabel* hint_ = nullptr;
    int spinnerHolds_ = 0;
    bool jobStarted_ = false;
    JobRunner* jobs_ = nullptr;
    // What a stopped job puts back, and the start button's own title meanwhile.
    QString statusBeforeJob_;
    bool jobStartedBefore_ = false;
    QString startTitle_;
    int startWidth_ = 0;
    QPointer<ProgressSheet> sheet_;
    QString title_;       // the header's, naming the screen in the history
    QString historyNote_; // why the last removal is not in the history, until shown
};

} // namespace tidvale::gui
