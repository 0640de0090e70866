#pragma once

#include "engine/context/Context.h"

#include <QDialog>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSpinBox;
class QStringListModel;
class QTimeEdit;

namespace tidvale::gui {

// The settings, one control per key. Opening and closing it writes nothing; each
// change is written at once, as a preferences window on both desktops does, and the
// schedule is installed or removed with it (on a worker: systemctl or launchctl may
// take a moment). A damaged file is shown with its line and left alone, the controls
// off, until the user asks to start from the defaults.
class PreferencesWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesWindow(const Context& context, QWidget* parent = nullptr);

    QComboBox* scheduleBox() const { return schedule_; }
    QTimeEdit* timeEdit() const { return time_; }
    const std::vector<QCheckBox*>& categoryBoxes() const { return categories_; }
    QSpinBox* trashAgeBox() const { return trashAge_; }
    QStringListModel* keepModel() const { return keep_; }
    QStringListModel* keepSitesModel() const { return keepSites_; }
    QCheckBox* historyBox() const { return history_; }
    QCheckBox* notifyBox() const { return notify_; }
    QLabel* problemLabel() const { return problem_; }
    QPushButton* defaultsButton() const { return defaults_; }
    QLabel* statusLabel() const { return status_; }

    // What "Añadir…" does once a folder was chosen in the file dialog.
    void addKept(const QString& path);
    // "Quitar" on the rows selected.
    void removeSelectedKept();
    // What "Añadir" does with the site typed beside it; a site that is not a domain is
    // refused on the status line.
    void addKeptSite(const QString& site);
    void removeSelectedSites();
    // Whether a change is being written. GUI thread only.
    bool isSaving() const { return saving_; }

signals:
    // A change was written (or refused: see the status line) and the controls show the
    // file as it is now.
    void changeFinished(bool ok);

protected:
    // Each time it is shown it reads the file again: the command line may have
    // changed it meanwhile.
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    using Edit = std::function<void(Settings&)>;
    void build();
    void load();
    void display(const Settings& settings);
    void change(Edit edit, bool replaceDamaged = false);
    void startNext();
    // The hour and the Trash age are taken when their editing ends, or when the
    // window closes with one of them still being typed.
    void takeTypedValues();

    const Context& context_;
    Settings shown_; // what the file holds, as last read or written; GUI thread only
    bool damaged_ = false;
    bool saving_ = false;
    std::vector<std::pair<Edit, bool>> pending_; // changes made while one is saved
    QComboBox* schedule_ = nullptr;
    QTimeEdit* time_ = nullptr;
    std::vector<QCheckBox*> categories_;
    QSpinBox* trashAge_ = nullptr;
    QStringListModel* keep_ = nullptr;
    QStringListModel* keepSites_ = nullptr;
    QListView* keepSitesList_ = nullptr;
    QLineEdit* siteEdit_ = nullptr;
    QListView* keepList_ = nullptr;
    QCheckBox* history_ = nullptr;
    QCheckBox* notify_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* defaults_ = nullptr;
    QLabel* status_ = nullptr;
    QWidget* controls_ = nullptr;
};

// Opens the window over `parent`, or brings forward the one already open.
void showPreferences(QWidget* parent, const Context& context);

} // namespace tidvale::gui
