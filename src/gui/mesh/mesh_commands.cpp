#include "gui/mesh/mesh_commands.h"

#include <QUndoCommand>
#include <optional>

#include "core/mesh/mesh_model.h"

namespace tagwarden {

namespace {

class HeadersEdit : public QUndoCommand {
public:
    HeadersEdit(MeshModel& model, const MeshHeaders& after, int field)
        : QUndoCommand(QStringLiteral("Edit Map")), model_(model), before_(model.headers()), after_(after),
          field_(field > 0 ? field : -1)
    {
    }
    void redo() override { model_.setHeaders(after_); }
    void undo() override { model_.setHeaders(before_); }
    [[nodiscard]] int id() const override { return field_; }
    bool mergeWith(const QUndoCommand* other) override
    {
        after_ = static_cast<const HeadersEdit*>(other)->after_;
        setObsolete(after_ == before_);
        return true;
    }

private:
    MeshModel& model_;
    MeshHeaders before_;
    MeshHeaders after_;
    int field_;
};

// Add: done the first time by adding a record, afterwards by putting the same one back.
template <typename Record>
class RecordAdd : public QUndoCommand {
public:
    RecordAdd(MeshModel& model, const Record& record, const QString& text)
        : QUndoCommand(text), model_(model), record_(record)
    {
    }
    void redo() override
    {
        if (taken_) {
            model_.putBack(*taken_);
            return;
        }
        Record& added = add();
        added = record_;
        added_ = &added;
    }
    void undo() override { taken_ = take(*added_); }

private:
    Record& add();
    std::optional<TakenRecord<Record>> take(const Record& record);

    MeshModel& model_;
    Record record_;
    const Record* added_ = nullptr;
    std::optional<TakenRecord<Record>> taken_;
};

template <>
ItemType& RecordAdd<ItemType>::add() { return model_.addItemType(); }
template <>
MeshItem& RecordAdd<MeshItem>::add() { return model_.addItem(); }
template <>
std::optional<TakenRecord<ItemType>> RecordAdd<ItemType>::take(const ItemType& record)
{
    return model_.takeItemType(record);
}
template <>
std::optional<TakenRecord<MeshItem>> RecordAdd<MeshItem>::take(const MeshItem& record)
{
    return model_.takeItem(record);
}

template <typename Record>
class RecordEdit : public QUndoCommand {
public:
    RecordEdit(Record& record, const Record& after, const QString& text)
        : QUndoCommand(text), record_(record), before_(record), after_(after)
    {
    }
    void redo() override { record_ = after_; }
    void undo() override { record_ = before_; }

private:
    Record& record_;
    Record before_;
    Record after_;
};

class RecordsDelete : public QUndoCommand {
public:
    RecordsDelete(MeshModel& model, const ItemType* type, std::vector<const MeshItem*> items)
        : QUndoCommand(type ? QStringLiteral("Delete Item Type") : QStringLiteral("Delete Item")), model_(model),
          type_(type), items_(std::move(items))
    {
    }
    void redo() override
    {
        takenItems_.clear();
        for (const MeshItem* item : items_)
            if (auto taken = model_.takeItem(*item))
                takenItems_.push_back(std::move(*taken));
        if (type_)
            takenType_ = model_.takeItemType(*type_);
    }
    void undo() override
    {
        // In reverse, so that every record goes back to the place it had.
        if (takenType_)
            model_.putBack(*takenType_);
        takenType_.reset();
        for (auto taken = takenItems_.rbegin(); taken != takenItems_.rend(); ++taken)
            model_.putBack(*taken);
        takenItems_.clear();
    }

private:
    MeshModel& model_;
    const ItemType* type_;
    std::vector<const MeshItem*> items_;
    std::optional<TakenRecord<ItemType>> takenType_;
    std::vector<TakenRecord<MeshItem>> takenItems_;
};

}  // namespace

QUndoCommand* headersEdited(MeshModel& model, const MeshHeaders& after, int field)
{
    return new HeadersEdit(model, after, field);
}

QUndoCommand* itemTypeAdded(MeshModel& model, const ItemType& record)
{
    return new RecordAdd<ItemType>(model, record, QStringLiteral("Add Item Type"));
}

QUndoCommand* itemAdded(MeshModel& model, const MeshItem& record)
{
    return new RecordAdd<MeshItem>(model, record, QStringLiteral("Add Item"));
}

QUndoCommand* recordEdited(ItemType& record, const ItemType& after)
{
    return new RecordEdit<ItemType>(record, after, QStringLiteral("Edit Item Type"));
}

QUndoCommand* recordEdited(MeshItem& record, const MeshItem& after)
{
    return new RecordEdit<MeshItem>(record, after, QStringLiteral("Edit Item"));
}

QUndoCommand* recordsDeleted(MeshModel& model, const ItemType* type, const std::vector<const MeshItem*>& items)
{
    return new RecordsDelete(model, type, items);
}

}  // namespace tagwarden
