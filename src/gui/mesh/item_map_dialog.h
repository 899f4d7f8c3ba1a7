#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QHBoxLayout;

namespace tagwarden {

class ItemMapView;
class MeshItem;
class MeshModel;
class Prompter;

// "Item Map": every placed item of a map drawn where it stands, marked by
// category with a legend; the item editor keeps its selection and the map's in step.
class ItemMapDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Tagwarden - Item Map";

    ItemMapDialog(const MeshModel& model, Prompter& prompter, QWidget* parent = nullptr);

    // Draws the model's items afresh (after Add, Edit or Delete), keeping the selection.
    void refresh();
    void selectItem(const MeshItem* item);
    // Writes the map as drawn now to a PNG file; false when it could not be written.
    [[nodiscard]] bool saveImage(const std::string& path) const;
    [[nodiscard]] ItemMapView* view() const { return view_; }

signals:
    void itemClicked(const MeshItem* item);

private:
    void fillLegend();
    void onSaveImage();

    const MeshModel& model_;
    Prompter& prompter_;
    ItemMapView* view_ = nullptr;
    QHBoxLayout* legend_ = nullptr;
    std::vector<const MeshItem*> shown_;  // the item of each mark, in mark order
};

}  // namespace tagwarden
