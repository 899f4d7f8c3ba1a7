#include "gui/viewer/viewer_line_model.h"

#include "gui/common/latin1_text.h"

namespace tagwarden {

void ViewerLineModel::show(std::span<const std::uint8_t> bytes, std::uint64_t startAddress, ViewerLayout layout,
                           bool tagOffsets)
{
    beginResetModel();
    bytes_ = bytes;
    startAddress_ = startAddress;
    layout_ = layout;
    tagOffsets_ = tagOffsets;
    endResetModel();
}

int ViewerLineModel::lineOf(std::uint64_t offset) const
{
    return static_cast<int>(offset / viewerBytesPerLine(layout_));
}

int ViewerLineModel::rowCount(const QModelIndex& parent) const
{
    // A list view counts rows in an int: 4 GiB of data at 20 bytes a line stays below it.
    return parent.isValid() ? 0 : static_cast<int>(viewerLineCount(bytes_.size(), layout_));
}

QVariant ViewerLineModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return latin1Text(viewerLine(bytes_, static_cast<std::size_t>(index.row()), startAddress_, layout_, tagOffsets_));
}

}  // namespace tagwarden
