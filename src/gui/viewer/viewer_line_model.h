#pragma once

#include <QAbstractListModel>

#include <cstdint>
#include <span>

#include "core/viewer/viewer_lines.h"

namespace tagwarden {

// The data viewer's lines, each made when the list draws it: a 16 MiB tag lists
// as fast as a short one.
class ViewerLineModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // Lists `bytes` (kept by the caller while they are shown), the first of them
    // at `startAddress` of the file; with `tagOffsets`, each line also names its
    // offset within the tag.
    void show(std::span<const std::uint8_t> bytes, std::uint64_t startAddress, ViewerLayout layout, bool tagOffsets);
    // The line that shows the byte at `offset` of the tag.
    [[nodiscard]] int lineOf(std::uint64_t offset) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

private:
    std::span<const std::uint8_t> bytes_;
    std::uint64_t startAddress_ = 0;
    ViewerLayout layout_ = ViewerLayout::Hex;
    bool tagOffsets_ = false;
};

}  // namespace tagwarden
