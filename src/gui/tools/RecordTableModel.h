#pragma once

#include <QAbstractTableModel>
#include <QFont>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace tidvale::gui {

// How a column's text reads when its record does not say otherwise.
enum class Tone { label, secondary, tertiary };
struct CellLook {
    int points = 12;
    QFont::Weight weight = QFont::Normal;
    Tone tone = Tone::label;
    bool digits = false; // monospaced digits, for sizes that must line up
};

// The signals and the pieces that do not depend on the record type.
class RecordTableModelBase : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

signals:
    // The user ticked or unticked a row's box (not the screen through setTicked).
    void ticked(int row, bool on);

protected:
    static QVariant lookFont(const CellLook& look);
    static QVariant toneColor(Tone tone);
};

// A screen's own copy of a list of records, shown one per row, with an optional tick
// box in column 0 and the columns described when the model is made: a screen's model
// is its columns and nothing else. Ticking a row changes only this copy.
// GUI thread only.
template <class Record> class RecordTableModel : public RecordTableModelBase {
public:
    using Cell = std::function<QVariant(const Record&)>;
    struct Column {
        QString title;
        Cell text;
        CellLook look = {};
        Cell color = {};      // by record; the look's tone when it gives nothing
        Cell toolTip = {};    // the row's tooltip when empty
        Cell decoration = {}; // an icon
    };
    struct Tick {
        std::function<bool(const Record&)> isOn;
        std::function<void(Record&, bool)> set;
        std::function<bool(const Record&)> enabled = {}; // always, when empty
    };

    RecordTableModel(std::vector<Column> columns, Cell rowToolTip, QObject* parent = nullptr)
        : RecordTableModelBase(parent)
        , columns_(std::move(columns))
        , rowToolTip_(std::move(rowToolTip))
    {
    }
    RecordTableModel(
        Tick tick, std::vector<Column> columns, Cell rowToolTip, QObject* parent = nullptr)
        : RecordTableModel(std::move(columns), std::move(rowToolTip), parent)
    {
        tick_ = std::move(tick);
    }

    const std::vector<Record>& items() const { return items_; }
    void setItems(std::vector<Record> items)
    {
        beginResetModel();
        items_ = std::move(items);
        endResetModel();
    }
    // Sets a row's tick as the screen decides (select all); no `ticked` signal.
    void setTicked(int row, bool on)
    {
        if (!tick_.set || row < 0 || row >= rowCount())
            return;
        tick_.set(items_[static_cast<size_t>(row)], on);
        const QModelIndex cell = index(row, 0);
        emit dataChanged(cell, cell, {Qt::CheckStateRole});
    }
    // Drops every record `pred` holds true of; the others keep their order. Returns how
    // many went.
    template <class Pred> int removeIf(Pred pred)
    {
        std::vector<std::pair<int, int>> runs; // first and last row of each run to drop
        for (int row = 0; row < rowCount(); ++row) {
            if (!pred(items_[static_cast<size_t>(row)]))
                continue;
            if (!runs.empty() && runs.back().second == row - 1)
                runs.back().second = row;
            else
                runs.emplace_back(row, row);
        }
        int removed = 0;
        for (const auto& [first, last] : runs)
            removed += last - first + 1;
        // Thousands of scattered rows go in one reset: one signal each would lay the
        // view out again each time. A few runs go one by one, so the selection of the
        // rows that stay is kept.
        if (runs.size() > 32) {
            beginResetModel();
            std::erase_if(items_, pred);
            endResetModel();
            return removed;
        }
        for (auto run = runs.rbegin(); run != runs.rend(); ++run)
            removeRows(run->first, run->second - run->first + 1);
        return removed;
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(items_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size()) + (tick_.isOn ? 1 : 0);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        if (const Column* column = columnAt(section))
            return column->title;
        return section == 0 && tick_.isOn ? QVariant(QString()) : QVariant();
    }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override
    {
        if (!holds(index))
            return {};
        const Record& record = items_[static_cast<size_t>(index.row())];
        const Column* column = columnAt(index.column());
        // The tick column holds only its box, drawn by the style in the list's own
        // colours: a text colour here would dim the box with it.
        if (!column) {
            if (role == Qt::CheckStateRole)
                return tick_.isOn(record) ? Qt::Checked : Qt::Unchecked;
            // A screen reader names the box by the row it ticks.
            if (role == Qt::AccessibleTextRole)
                return QStringLiteral("Marcar ") + rowName(record);
            return {};
        }
        switch (role) {
        case Qt::DisplayRole:
            return column->text ? column->text(record) : QVariant();
        case Qt::FontRole:
            return lookFont(column->look);
        case Qt::ForegroundRole:
            if (column->color)
                if (QVariant color = column->color(record); color.isValid())
                    return color;
            return toneColor(column->look.tone);
        case Qt::ToolTipRole:
            if (column->toolTip)
                return column->toolTip(record);
            return rowToolTip_ ? rowToolTip_(record) : QVariant();
        case Qt::DecorationRole:
            return column->decoration ? column->decoration(record) : QVariant();
        case Qt::AccessibleTextRole:
            // A cell that shows only an icon is read out by its row's name.
            return column->text ? QVariant() : QVariant(rowName(record));
        case Qt::TextAlignmentRole:
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
        }
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::CheckStateRole || !holds(index) || columnAt(index.column())
            || !(flags(index) & Qt::ItemIsEnabled))
            return false;
        const bool on = value.value<Qt::CheckState>() == Qt::Checked;
        setTicked(index.row(), on);
        emit ticked(index.row(), on);
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!holds(index))
            return Qt::NoItemFlags;
        const Qt::ItemFlags base = Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
        if (columnAt(index.column()))
            return base | Qt::ItemIsEnabled;
        const Record& record = items_[static_cast<size_t>(index.row())];
        const bool enabled = !tick_.enabled || tick_.enabled(record);
        return base | Qt::ItemIsUserCheckable | (enabled ? Qt::ItemIsEnabled : Qt::NoItemFlags);
    }
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override
    {
        if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
            return false;
        beginRemoveRows(parent, row, row + count - 1);
        items_.erase(items_.begin() + row, items_.begin() + row + count);
        endRemoveRows();
        return true;
    }

private:
    // The description of a column; null for the tick column and outside the table.
    // The text of the row's first column that has one: what the row is called.
    QString rowName(const Record& record) const
    {
        for (const Column& c : columns_)
            if (c.text)
                return c.text(record).toString();
        return {};
    }
    const Column* columnAt(int column) const
    {
        const int at = column - (tick_.isOn ? 1 : 0);
        return at >= 0 && at < static_cast<int>(columns_.size())
            ? &columns_[static_cast<size_t>(at)]
            : nullptr;
    }
    // A valid top-level index of an existing row and column.
    bool holds(const QModelIndex& index) const
    {
        return index.isValid() && !index.parent().isValid() && index.model() == this
            && index.row() < rowCount() && index.column() < columnCount();
    }

    std::vector<Column> columns_;
    Cell rowToolTip_;
    Tick tick_;
    std::vector<Record> items_;
};

} // namespace tidvale::gui
