#pragma once

#include <vector>

class QUndoCommand;

namespace tagwarden {

class ItemType;
class MeshItem;
class MeshModel;
struct MeshHeaders;

// The map editor's undoable steps over its model. Each answers a new command for
// QUndoStack::push, which does it at once.

// The map form's fields as `after`. Steps of one field (`field` above 0) that follow
// each other merge into one; a merged step that changes nothing is dropped.
[[nodiscard]] QUndoCommand* headersEdited(MeshModel& model, const MeshHeaders& after, int field);
// A record added at the end of its list, holding `record`'s bytes.
[[nodiscard]] QUndoCommand* itemTypeAdded(MeshModel& model, const ItemType& record);
[[nodiscard]] QUndoCommand* itemAdded(MeshModel& model, const MeshItem& record);
// `record` given `after`'s bytes.
[[nodiscard]] QUndoCommand* recordEdited(ItemType& record, const ItemType& after);
[[nodiscard]] QUndoCommand* recordEdited(MeshItem& record, const MeshItem& after);
// An item type (or none) and placed items taken out together, as one step.
[[nodiscard]] QUndoCommand* recordsDeleted(MeshModel& model, const ItemType* type,
                                           const std::vector<const MeshItem*>& items);

}  // namespace tagwarden
