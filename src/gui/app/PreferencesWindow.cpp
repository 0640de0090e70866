#include "gui/app/PreferencesWindow.h"

#include "engine/schedule/SettingsChange.h"
#include "gui/jobs/Background.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringListModel>
#include <QTimeEdit>

#include <algorithm>

namespace tidvale::gui {
namespace {

QStringList qStrings(const std::vector<std::string>& items)
{
    QStringList out;
    for (const auto& item : items)
        out << QString::fromStdString(item);
    return out;
}

QString joined(const std::vector<std::string>& notes)
{
    QStringList lines;
    for (const auto& note : notes)
        lines << QString::fromStdString(note);
    return lines.join(QLatin1Char(' '));
}

QLabel* wrapping(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

PreferencesWindow::PreferencesWindow(const Context& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
{
    setWindowTitle(QStringLiteral("Preferencias"));
    build();
    load();
}

void PreferencesWindow::build()
{
    auto* layout = new QVBoxLayout(this);
    problem_ = wrapping(this);
    problem_->setStyleSheet(QStringLiteral("color: rgb(255, 59, 48);"));
    layout->addWidget(problem_);
    defaults_ = new QPushButton(QStringLiteral("Empezar con los valores por omisión"), this);
    layout->addWidget(defaults_, 0, Qt::AlignLeft);
    connect(defaults_, &QPushButton::clicked, this, [this] { change([](Settings&) {}, true); });

    controls_ = new QWidget(this);
    auto* form = new QFormLayout(controls_);
    form->setContentsMargins(0, 0, 0, 0);

    auto* when = new QHBoxLayout;
    schedule_ = new QComboBox(controls_);
    schedule_->addItems({QStringLiteral("Desactivada"), QStringLiteral("Cada día"),
        QStringLiteral("Cada semana (los lunes)"), QStringLiteral("Cada mes (el día 1)")});
    time_ = new QTimeEdit(controls_);
    time_->setDisplayFormat(QStringLiteral("HH:mm"));
    when->addWidget(schedule_);
    when->addWidget(new QLabel(QStringLiteral("a las"), controls_));
    when->addWidget(time_);
    when->addStretch();
    form->addRow(QStringLiteral("Limpieza programada:"), when);
    connect(schedule_, &QComboBox::currentIndexChanged, this, [this](int index) {
        change([index](Settings& s) { s.schedule = static_cast<Schedule>(index); });
    });
    connect(time_, &QTimeEdit::editingFinished, this, [this] { takeTypedValues(); });

    auto* grid = new QGridLayout;
    const auto names = Settings::allCategoryNames();
    for (size_t i = 0; i < names.size(); ++i) {
        auto* box = new QCheckBox(QString::fromStdString(names[i]), controls_);
        grid->addWidget(box, static_cast<int>(i / 2), static_cast<int>(i % 2));
        categories_.push_back(box);
        connect(box, &QCheckBox::toggled, this, [this] {
            std::vector<std::string> chosen;
            for (QCheckBox* b : categories_)
                if (b->isChecked())
                    chosen.push_back(b->text().toStdString());
            change([chosen](Settings& s) { s.categories = chosen; });
        });
    }
    form->addRow(QStringLiteral("Qué limpia:"), grid);

    trashAge_ = new QSpinBox(controls_);
    trashAge_->setRange(0, 36500);
    trashAge_->setSpecialValueText(QStringLiteral("No vaciar por antigüedad"));
    trashAge_->setPrefix(QStringLiteral("Vaciar lo tirado hace más de "));
    trashAge_->setSuffix(QStringLiteral(" días"));
    form->addRow(QStringLiteral("Papelera:"), trashAge_);
    connect(trashAge_, &QSpinBox::editingFinished, this, [this] { takeTypedValues(); });

    auto* keepColumn = new QVBoxLayout;
    keep_ = new QStringListModel(this);
    keepList_ = new QListView(controls_);
    keepList_->setModel(keep_);
    keepList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    keepList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    keepList_->setMaximumHeight(110);
    auto* keepButtons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Añadir…"), controls_);
    auto* remove = new QPushButton(QStringLiteral("Quitar"), controls_);
    keepButtons->addWidget(add);
    keepButtons->addWidget(remove);
    keepButtons->addStretch();
    keepColumn->addWidget(keepList_);
    keepColumn->addLayout(keepButtons);
    form->addRow(QStringLiteral("No limpiar nunca:"), keepColumn);
    connect(add, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this,
            QStringLiteral("Carpeta que ninguna limpieza debe tocar"),
            QString::fromStdString(context_.folders.home));
        if (!folder.isEmpty())
            addKept(folder);
    });
    connect(remove, &QPushButton::clicked, this, [this] { removeSelectedKept(); });

    // Typed in place: a site is a name the user knows, not a file to pick.
    auto* sitesColumn = new QVBoxLayout;
    keepSites_ = new QStringListModel(this);
    keepSitesList_ = new QListView(controls_);
    keepSitesList_->setModel(keepSites_);
    keepSitesList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    keepSitesList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    keepSitesList_->setMaximumHeight(90);
    auto* siteRow = new QHBoxLayout;
    siteEdit_ = new QLineEdit(controls_);
    siteEdit_->setPlaceholderText(QStringLiteral("mail.example.org"));
    auto* addSite = new QPushButton(QStringLiteral("Añadir"), controls_);
    auto* removeSite = new QPushButton(QStringLiteral("Quitar"), controls_);
    siteRow->addWidget(siteEdit_, 1);
    siteRow->addWidget(addSite);
    siteRow->addWidget(removeSite);
    sitesColumn->addWidget(keepSitesList_);
    sitesColumn->addLayout(siteRow);
    auto* sitesNote = wrapping(controls_);
    sitesNote->setText(QStringLiteral("Sus cookies y datos se conservan al limpiar la "
                                      "privacidad, con sus subdominios."));
    sitesColumn->addWidget(sitesNote);
    form->addRow(QStringLiteral("Sitios que conservar:"), sitesColumn);
    const auto takeSite = [this] {
        if (!siteEdit_->text().trimmed().isEmpty())
            addKeptSite(siteEdit_->text().trimmed());
    };
    connect(addSite, &QPushButton::clicked, this, takeSite);
    connect(siteEdit_, &QLineEdit::returnPressed, this, takeSite);
    connect(removeSite, &QPushButton::clicked, this, [this] { removeSelectedSites(); });

    history_ = new QCheckBox(QStringLiteral("Guardar un historial de las limpiezas"), controls_);
    notify_
        = new QCheckBox(QStringLiteral("Avisar cuando termine una limpieza programada"), controls_);
    form->addRow(QString(), history_);
    form->addRow(QString(), notify_);
    connect(history_, &QCheckBox::toggled, this,
        [this](bool on) { change([on](Settings& s) { s.history = on; }); });
    connect(notify_, &QCheckBox::toggled, this,
        [this](bool on) { change([on](Settings& s) { s.notify = on; }); });
    layout->addWidget(controls_);

    status_ = wrapping(this);
    // Room for what a schedule change says, so the window never has to grow for it.
    status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * 4);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(status_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Cerrar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

// The file as it is now, not as it was when the application started: the command
// line may have changed it since.
void PreferencesWindow::load()
{
    const UserSettings& user = context_.settings;
    SettingsRead read;
    if (!user.path.empty())
        read = readSettings(user.path);
    damaged_ = read.damage.has_value();
    QString problem = QString::fromStdString(user.refusal);
    if (read.damage)
        problem = QString::fromStdString(damageText(user.path, *read.damage));
    problem_->setText(problem);
    status_->clear();
    problem_->setVisible(!problem.isEmpty());
    defaults_->setVisible(damaged_);
    controls_->setEnabled(!user.path.empty() && !damaged_);
    display(read.values);
}

void PreferencesWindow::display(const Settings& settings)
{
    shown_ = settings;
    const std::vector<QObject*> quiet{schedule_, time_, trashAge_, history_, notify_};
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QObject* o : quiet)
        blockers.push_back(std::make_unique<QSignalBlocker>(o));
    for (QCheckBox* box : categories_)
        blockers.push_back(std::make_unique<QSignalBlocker>(box));
    schedule_->setCurrentIndex(static_cast<int>(settings.schedule));
    time_->setTime(QTime(settings.scheduleAt.hour, settings.scheduleAt.minute));
    for (QCheckBox* box : categories_) {
        const std::string name = box->text().toStdString();
        box->setChecked(std::find(settings.categories.begin(), settings.categories.end(), name)
            != settings.categories.end());
    }
    trashAge_->setValue(settings.trashMaxAgeDays);
    keep_->setStringList(qStrings(settings.keep));
    keepSites_->setStringList(qStrings(settings.keepSites));
    history_->setChecked(settings.history);
    notify_->setChecked(settings.notify);
}

void PreferencesWindow::addKept(const QString& path)
{
    const std::string added = path.toStdString();
    change([added](Settings& s) {
        if (std::find(s.keep.begin(), s.keep.end(), added) == s.keep.end())
            s.keep.push_back(added);
    });
}

void PreferencesWindow::removeSelectedKept()
{
    std::vector<std::string> gone;
    for (const QModelIndex& index : keepList_->selectionModel()->selectedRows())
        gone.push_back(index.data().toString().toStdString());
    if (gone.empty())
        return;
    change([gone](Settings& s) {
        std::erase_if(s.keep, [&](const std::string& path) {
            return std::find(gone.begin(), gone.end(), path) != gone.end();
        });
    });
}

void PreferencesWindow::addKeptSite(const QString& site)
{
    std::vector<std::string> typed{site.toStdString()};
    // Checked here too, so that a slip is said at once and the text stays to be mended.
    if (auto refusal = normalizeKeepSites(typed)) {
        status_->setText(QString::fromStdString(*refusal));
        return;
    }
    siteEdit_->clear();
    change([added = typed.front()](Settings& s) {
        if (std::find(s.keepSites.begin(), s.keepSites.end(), added) == s.keepSites.end())
            s.keepSites.push_back(added);
    });
}

void PreferencesWindow::removeSelectedSites()
{
    std::vector<std::string> gone;
    for (const QModelIndex& index : keepSitesList_->selectionModel()->selectedRows())
        gone.push_back(index.data().toString().toStdString());
    if (gone.empty())
        return;
    change([gone](Settings& s) {
        std::erase_if(s.keepSites, [&](const std::string& site) {
            return std::find(gone.begin(), gone.end(), site) != gone.end();
        });
    });
}

void PreferencesWindow::takeTypedValues()
{
    const QTime time = time_->time();
    const TimeOfDay at{time.hour(), time.minute()};
    if (at != shown_.scheduleAt)
        change([at](Settings& s) { s.scheduleAt = at; });
    const int days = trashAge_->value();
    if (days != shown_.trashMaxAgeDays)
        change([days](Settings& s) { s.trashMaxAgeDays = days; });
}

void PreferencesWindow::change(Edit edit, bool replaceDamaged)
{
    if (context_.settings.path.empty() || (damaged_ && !replaceDamaged))
        return;
    pending_.emplace_back(std::move(edit), replaceDamaged);
    if (!saving_)
        startNext();
}

// One change at a time, each on the file as the one before left it.
void PreferencesWindow::startNext()
{
    if (pending_.empty())
        return;
    auto [edit, replaceDamaged] = std::move(pending_.front());
    pending_.erase(pending_.begin());
    saving_ = true;
    status_->setText(QStringLiteral("Guardando…"));
    const Context* context = &context_;
    runInBackground(
        this,
        [context, edit = std::move(edit), replaceDamaged](
            const ProgressSink&) { return changeSettings(*context, edit, replaceDamaged); },
        [this](SettingsChange result) {
            saving_ = false;
            status_->setText(result.ok && result.notes.empty() ? QStringLiteral("Guardado.")
                                                               : joined(result.notes));
            if (result.ok) {
                damaged_ = false;
                problem_->hide();
                defaults_->hide();
                controls_->setEnabled(true);
                display(result.settings);
            } else {
                pending_.clear();
                load();
                status_->setText(joined(result.notes));
            }
            emit changeFinished(result.ok);
            startNext();
        });
}

void PreferencesWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!saving_)
        load();
}

void PreferencesWindow::done(int result)
{
    takeTypedValues();
    QDialog::done(result);
}

void showPreferences(QWidget* parent, const Context& context)
{
    // Closed, it is hidden rather than destroyed, so that a change still being saved
    // when it closed finishes in order.
    auto* window = parent->findChild<PreferencesWindow*>();
    if (!window)
        window = new PreferencesWindow(context, parent);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace tidvale::gui
