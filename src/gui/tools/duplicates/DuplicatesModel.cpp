#include "gui/tools/duplicates/DuplicatesModel.h"

#include "engine/fs/PathText.h"
#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"

namespace tidvale::gui {
namespace {

QString keptText(const DuplicateGroup& group)
{
    return QStringLiteral("Se conserva: ") + displayText(group.files.front().path);
}

} // namespace

void DuplicatesModel::setGroups(std::vector<DuplicateGroup> groups)
{
    beginResetModel();
    groups_ = std::move(groups);
    endResetModel();
}

const DuplicateGroup* DuplicatesModel::groupAt(const QModelIndex& index) const
{
    if (!index.isValid())
        return nullptr;
    const size_t group = index.internalId() == 0 ? static_cast<size_t>(index.row())
                                                 : static_cast<size_t>(index.internalId() - 1);
    return group < groups_.size() ? &groups_[group] : nullptr;
}

const DuplicateFile* DuplicatesModel::fileAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.internalId() == 0)
        return nullptr;
    const auto* group = groupAt(index);
    const auto row = static_cast<size_t>(index.row());
    return group && row < group->files.size() ? &group->files[row] : nullptr;
}

QModelIndex DuplicatesModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= columnTotal || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, quintptr(0));
    return createIndex(row, column, quintptr(parent.row()) + 1);
}

QModelIndex DuplicatesModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr(0));
}

int DuplicatesModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return static_cast<int>(groups_.size());
    if (parent.internalId() != 0 || parent.column() != 0)
        return 0; // file rows have no children
    const auto* group = groupAt(parent);
    return group ? static_cast<int>(group->files.size()) : 0;
}

int DuplicatesModel::columnCount(const QModelIndex&) const
{
    return columnTotal;
}

QVariant DuplicatesModel::data(const QModelIndex& index, int role) const
{
    const auto* group = groupAt(index);
    if (!group || group->files.empty())
        return {};
    const int column = index.column();
    const auto* file = fileAt(index);
    const bool isGroup = index.internalId() == 0;
    if (!isGroup && !file)
        return {};
    const auto copies = static_cast<qint64>(group->files.size());
    switch (role) {
    case Qt::DisplayRole:
        if (isGroup) {
            if (column == mainColumn)
                return displayText(lastPathComponent(group->files.front().path))
                    + QStringLiteral(" — %1 copias").arg(copies);
            if (column == sizeColumn)
                return QStringLiteral("−") + fileBytesText(group->size * (copies - 1));
            return fileBytesText(group->size) + QStringLiteral(" c/u");
        }
        if (column == mainColumn)
            return displayText(lastPathComponent(file->path));
        if (column == pathColumn)
            return displayText(parentFolder(file->path));
        // The copy every removal leaves in place, named before the user confirms.
        return index.row() == 0 ? QStringLiteral("Se conserva") : QString();
    case Qt::ToolTipRole:
        // A group names the copy it keeps, the first: the walk's or the user's choice.
        return plainToolTip(isGroup ? keptText(*group) : displayText(file->path));
    case Qt::AccessibleDescriptionRole:
        return isGroup ? keptText(*group) : QVariant();
    case Qt::FontRole:
        if (isGroup && column == mainColumn)
            return uiFont(13, QFont::DemiBold);
        if (isGroup && column == sizeColumn)
            return monospacedDigitFont(12, QFont::DemiBold);
        if (column == sizeColumn)
            return uiFont(11, QFont::Medium);
        return uiFont(12);
    case Qt::ForegroundRole:
        if (isGroup && column == mainColumn)
            return systemColor(SystemColor::indigo);
        if (isGroup && column == sizeColumn)
            return systemColor(SystemColor::red);
        if (column == sizeColumn)
            return systemColor(SystemColor::green);
        return column == pathColumn ? secondaryLabelColor() : labelColor();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant DuplicatesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titles[] = {"Archivo", "Tamaño", "Ruta"};
    return section >= 0 && section < columnTotal ? QString::fromUtf8(titles[section]) : QVariant();
}

} // namespace tidvale::gui
