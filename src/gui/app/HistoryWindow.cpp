#include "gui/app/HistoryWindow.h"

#include "engine/format/ByteText.h"
#include "engine/format/DateText.h"
#include "engine/history/CleanHistory.h"
#include "engine/history/RemovalJournal.h"
#include "engine/history/Undo.h"
#include "gui/text/DisplayText.h"
#include "gui/widgets/Alert.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

namespace tidvale::gui {
namespace {

constexpr int kRunIdRole = Qt::UserRole + 1;
constexpr int kUndoableRole = Qt::UserRole + 2; // the run moved something to the Trash

} // namespace

HistoryWindow::HistoryWindow(const Context& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
{
    setWindowTitle(QStringLiteral("Historial"));
    resize(720, 440);
    auto* layout = new QVBoxLayout(this);
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(note_);

    runs_ = new QTreeWidget(this);
    runs_->setHeaderLabels({QStringLiteral("Fecha"), QStringLiteral("Origen"),
        QStringLiteral("Liberado"), QStringLiteral("Elementos")});
    runs_->setAccessibleName(QStringLiteral("Limpiezas guardadas"));
    runs_->setSelectionMode(QAbstractItemView::SingleSelection);
    runs_->setRootIsDecorated(true);
    runs_->setAlternatingRowColors(true);
    runs_->header()->setStretchLastSection(false);
    runs_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(runs_, 1);
    connect(runs_, &QTreeWidget::itemSelectionChanged, this, &HistoryWindow::selectionChanged);

    auto* buttons = new QDialogButtonBox(this);
    undo_ = buttons->addButton(QStringLiteral("Deshacer"), QDialogButtonBox::ActionRole);
    undo_->setEnabled(false);
    undo_->setToolTip(
        QStringLiteral("Devuelve a su sitio lo que esta limpieza movió a la Papelera"));
    connect(undo_, &QPushButton::clicked, this, &HistoryWindow::undoSelected);
    QPushButton* close = buttons->addButton(QStringLiteral("Cerrar"), QDialogButtonBox::RejectRole);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void HistoryWindow::showEvent(QShowEvent* event)
{
    reload();
    QDialog::showEvent(event);
}

void HistoryWindow::reload()
{
    runs_->clear();
    const UserSettings& user = context_.settings;
    QStringList notes;
    HistoryRead history;
    if (user.historyPath.empty()) {
        notes << displayText(user.historyRefusal);
    } else {
        history = readHistory(user.historyPath);
        if (history.error)
            notes << QStringLiteral("⚠️ ") + displayText(*history.error);
        if (!history.damagedLines.empty())
            notes << QStringLiteral("⚠️ ")
                    + displayText(damagedLinesText(user.historyPath, history.damagedLines));
    }
    if (!keepsHistory(user))
        notes << QStringLiteral("No se guarda un historial de limpiezas. Actívalo en "
                                "Preferencias («Guardar un historial de las limpiezas»).");
    else if (history.runs.empty())
        notes << QStringLiteral("Aún no hay limpiezas en el historial.");
    note_->setText(notes.join(QLatin1Char('\n')));
    note_->setVisible(!notes.isEmpty());

    for (auto run = history.runs.rbegin(); run != history.runs.rend(); ++run) {
        auto* row = new QTreeWidgetItem(runs_,
            {displayText(formatShortDateTime(run->when)), displayText(run->source),
                displayText(formatJunkBytes(run->freed)), QString::number(run->items.size())});
        row->setData(0, kRunIdRole, QString::fromStdString(run->id));
        const auto undoable = run->undoable();
        row->setData(0, kUndoableRole,
            std::any_of(undoable.begin(), undoable.end(),
                [](const RemovalOutcome& o) { return !o.trashedAs.empty(); }));
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        for (const auto& item : run->items) {
            // The path takes the wide column; what became of it reads first.
            auto* child = new QTreeWidgetItem(row,
                {displayText(historyItemText(item)), displayText(item.path),
                    displayText(formatJunkBytes(item.size))});
            child->setToolTip(1, displayText(item.path));
            child->setToolTip(0, displayText(historyItemText(item)));
            child->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    for (int column = 0; column < runs_->columnCount(); ++column)
        if (column != 1)
            runs_->resizeColumnToContents(column);
    if (runs_->topLevelItemCount() > 0)
        runs_->setCurrentItem(runs_->topLevelItem(0));
    selectionChanged();
}

void HistoryWindow::selectionChanged()
{
    const auto selected = runs_->selectedItems();
    QTreeWidgetItem* row = selected.isEmpty() ? nullptr : selected.front();
    while (row && row->parent())
        row = row->parent();
    undo_->setEnabled(row && row->data(0, kUndoableRole).toBool());
}

void HistoryWindow::undoSelected()
{
    const auto selected = runs_->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* row = selected.front();
    while (row->parent())
        row = row->parent();
    const std::string id = row->data(0, kRunIdRole).toString().toStdString();
    const HistoryRead history = readHistory(context_.settings.historyPath);
    const HistoryRun* run = findRun(history, id);
    if (!run)
        return;
    const UndoReport report = undoRemoval(run->undoable());
    const std::string details = undoDetails(report);
    AlertRequest alert;
    alert.style = details.empty() ? AlertStyle::informational : AlertStyle::warning;
    alert.message = displayText(undoSummary(report));
    alert.informativeText = displayText(details);
    alert.buttons = {QStringLiteral("OK")};
    showAlert(this, alert, {});
}

void showHistory(QWidget* parent, const Context& context)
{
    auto* window = parent->findChild<HistoryWindow*>();
    if (!window)
        window = new HistoryWindow(context, parent);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace tidvale::gui
