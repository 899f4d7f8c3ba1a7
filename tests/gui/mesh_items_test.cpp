// The item editor and its two record forms driven as a user would: list, add,
// edit and delete item types and placed items, save, and load the map again.
#include <QCheckBox>
#include <QImage>
#include <QListWidget>
#include <QUndoStack>
#include <functional>

#include "core/mesh/mesh_code.h"
#include "core/mesh/mesh_format.h"
#include "core/mesh/mesh_model.h"
#include "gui/mesh/item_map_dialog.h"
#include "gui/mesh/item_map_view.h"
#include "gui/mesh/item_type_dialog.h"
#include "gui/mesh/mesh_editor_dialog.h"
#include "gui/mesh/mesh_form_fields.h"
#include "gui/mesh/mesh_item_dialog.h"
#include "gui/mesh/mesh_items_dialog.h"
#include "gui/mesh/mesh_session.h"
#include "form_checks.h"
#include "mesh_test_setup.h"
#include "support/shown.h"

namespace tagwarden {

using namespace test;

namespace {

QListWidget* list(QWidget& form, const char* name) { return child<QListWidget>(form, name); }

QStringList lines(QListWidget& list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts << list.item(row)->text();
    return texts;
}

QString selectedText(QListWidget& list)
{
    const auto selected = list.selectedItems();
    return selected.size() == 1 ? selected.first()->text() : QString();
}

void selectRow(QListWidget& list, int row)
{
    list.setCurrentRow(row);
    QVERIFY(list.item(row)->isSelected());
}

// The editor started on `plugIn` with its item editor open.
struct ItemsSetup : MeshSetup {
    explicit ItemsSetup(const Bytes& plugIn = meshPlugIn()) : MeshSetup(plugIn)
    {
        if (!editor->start())
            return;
        click(*editor->form(), "viewItems");
        items = editor->itemsForm();
        (void)QTest::qWaitForWindowExposed(items);
        prompter.clearRecord();
    }
    MeshModel& model() const { return *editor->model(); }
    QUndoStack& stack() const { return editor->session()->stack(); }
    MeshItemsDialog* items = nullptr;
};

}  // namespace

class MeshItemsTest : public QObject {
    Q_OBJECT

private slots:
    void listsShowEveryRecordSortedWithTheCounters();
    void editAndDeleteWithoutASelectionTellTheUser();
    void addingATypeSelectsItsLineAndOpensItsForm();
    void editingATypeReplacesItsLineEvenWhenItSortsElsewhere();
    void deletingAnItemAsksFirst();
    void addingAnItemToAnEmptyMapEditsItOnce();
    void changesSavedThenLoadedAgainShowTheNewCountsOffsetsAndRecords();
    void itemTypeFormListsThePlacedItemsOfItsType();
    void itemTypeFormKeepsWhatItCannotShow();
    void itemTypeFormStoresTheChosenValues();
    void itemFormShowsPositionAndAngleAndStoresItsFields();
    void everyControlIsNamedAfterItsLabelAndEachFormFits();
    void itemMapDrawsEveryItemAndKeepsInStepWithTheList();
    void eachChangeIsOneStepThatUndoesAndRedoesExactly();
    void deletingAUsedItemTypeAsksWhetherItsItemsGoToo();
};

void MeshItemsTest::listsShowEveryRecordSortedWithTheCounters()
{
    ItemsSetup setup;
    QVERIFY(setup.items);
    QListWidget& types = *list(*setup.items, "typeList");
    QListWidget& items = *list(*setup.items, "itemList");
    QCOMPARE(types.count(), 5);
    QCOMPARE(items.count(), 7);
    QStringList expected;
    for (const ItemType& type : setup.model().itemTypes())
        expected << expandedLine(itemTypeLine(type));
    expected.sort(Qt::CaseInsensitive);
    QCOMPARE(lines(types), expected);
    QVERIFY(lines(items).contains(expandedLine(itemLine(setup.model().items().front()))));
    QCOMPARE(selectedText(types), expandedLine(itemTypeLine(setup.model().itemTypes().back())));
    QCOMPARE(fieldText(*setup.items, "typeCount"), QStringLiteral("5"));
    QCOMPARE(fieldText(*setup.items, "typeLength"), QStringLiteral("160"));
    QCOMPARE(fieldText(*setup.items, "typeOffset"), QString::number(setup.model().header().number(MeshNumber::typeOffset)));
    QCOMPARE(fieldText(*setup.items, "itemCount"), QStringLiteral("7"));
    QCOMPARE(fieldText(*setup.items, "itemLength"), QStringLiteral("448"));
}

void MeshItemsTest::editAndDeleteWithoutASelectionTellTheUser()
{
    ItemsSetup setup(meshPlugIn({1, 1, 0, 0, 10, 0, 0}));
    QVERIFY(setup.items);
    click(*setup.items, "typeEdit");
    click(*setup.items, "typeDelete");
    click(*setup.items, "itemEdit");
    click(*setup.items, "itemDelete");
    const auto& shown = setup.prompter.shown();
    QCOMPARE(shown.size(), std::size_t(4));
    QCOMPARE(shown[0].text, std::string("Select ItemType to Edit"));
    QVERIFY(shown[0].icon == Prompter::Icon::Exclamation);
    QCOMPARE(shown[1].text, std::string("Invalid Listbox Selection (types)"));
    QCOMPARE(shown[2].text, std::string("Select Item to Edit"));
    QVERIFY(shown[2].icon == Prompter::Icon::Exclamation);
    QCOMPARE(shown[3].text, std::string("Invalid Listbox Selection (items)"));
}

void MeshItemsTest::addingATypeSelectsItsLineAndOpensItsForm()
{
    ItemsSetup setup;
    QListWidget& types = *list(*setup.items, "typeList");
    QString lineWhileOpen;
    QString title = QStringLiteral("(none shown)");
    whenModalShows("itemTypeDialog", [&](QDialog& form) {
        title = form.windowTitle();
        lineWhileOpen = selectedText(types);
        clickStandard(form, QDialogButtonBox::Cancel);
    });
    click(*setup.items, "typeAdd");
    QCOMPARE(title, QStringLiteral("Tagwarden - Item Type Editor"));
    QCOMPARE(lineWhileOpen, expandedLine(std::string("Camera  \t....  00000000 0000")));
    QCOMPARE(types.count(), 6);
    QCOMPARE(selectedText(types), lineWhileOpen);
    QCOMPARE(fieldText(*setup.items, "typeCount"), QStringLiteral("6"));
    QCOMPARE(fieldText(*setup.items, "typeLength"), QStringLiteral("192"));
    QCOMPARE(setup.model().header().number(MeshNumber::typeLength), 192);
}

void MeshItemsTest::editingATypeReplacesItsLineEvenWhenItSortsElsewhere()
{
    ItemsSetup setup;
    QListWidget& types = *list(*setup.items, "typeList");
    selectRow(types, types.count() - 1);
    auto* type = static_cast<ItemType*>(recordOf(*types.item(types.count() - 1)));
    bool edited = false;
    whenModalShows("itemTypeDialog", [&edited](QDialog& form) {
        edited = true;
        radio(form, QStringLiteral("Camera"))->click();
        clickStandard(form, QDialogButtonBox::Ok);
    });
    emit types.itemDoubleClicked(types.item(types.count() - 1));
    QVERIFY(edited);
    QCOMPARE(type->category(), std::int16_t(0));
    QCOMPARE(types.count(), 5);
    QCOMPARE(types.item(0)->text(), expandedLine(itemTypeLine(*type)));
    QCOMPARE(selectedText(types), types.item(0)->text());
    QCOMPARE(lines(types).count(types.item(0)->text()), 1);
}

void MeshItemsTest::deletingAnItemAsksFirst()
{
    ItemsSetup setup;
    QListWidget& items = *list(*setup.items, "itemList");
    selectRow(items, 0);
    setup.prompter.queueAnswer(Prompter::Answer::Cancel);
    click(*setup.items, "itemDelete");
    QCOMPARE(items.count(), 7);
    QCOMPARE(setup.prompter.shown().back().text, std::string("Confirm Deletion of selected item"));
    QCOMPARE(setup.prompter.shown().back().caption, std::string("Delete Item"));
    QVERIFY(setup.prompter.shown().back().buttons == Prompter::Buttons::OkCancel);

    auto* doomed = static_cast<MeshItem*>(recordOf(*items.item(0)));
    click(*setup.items, "itemDelete");
    QCOMPARE(items.count(), 6);
    QCOMPARE(setup.model().items().size(), std::size_t(6));
    for (const MeshItem& item : setup.model().items())
        QVERIFY(&item != doomed);
    QCOMPARE(fieldText(*setup.items, "itemCount"), QStringLiteral("6"));
    QCOMPARE(fieldText(*setup.items, "itemLength"), QStringLiteral("384"));
    QVERIFY(items.selectedItems().isEmpty());
}

void MeshItemsTest::addingAnItemToAnEmptyMapEditsItOnce()
{
    ItemsSetup setup(meshPlugIn({1, 1, 1, 0, 10, 0, 0}));
    QListWidget& items = *list(*setup.items, "itemList");
    int formsShown = 0;
    whenModalShows("meshItemDialog", [&](QDialog& form) {
        ++formsShown;
        QCOMPARE(form.windowTitle(), QStringLiteral("Tagwarden - Mesh Item Editor"));
        typeText(form, "x", QStringLiteral("2048"));
        clickStandard(form, QDialogButtonBox::Ok);
    });
    click(*setup.items, "itemAdd");
    QCoreApplication::processEvents();
    QCOMPARE(formsShown, 1);
    QVERIFY(setup.prompter.shown().empty());  // no second edit on an old selection
    QCOMPARE(items.count(), 1);
    QVERIFY(items.selectedItems().isEmpty());
    QCOMPARE(setup.model().items().front().x(), 2048);
    QCOMPARE(items.item(0)->text(), expandedLine(itemLine(setup.model().items().front())));
    QCOMPARE(fieldText(*setup.items, "itemCount"), QStringLiteral("1"));
    QCOMPARE(fieldText(*setup.items, "itemLength"), QStringLiteral("64"));
}

void MeshItemsTest::changesSavedThenLoadedAgainShowTheNewCountsOffsetsAndRecords()
{
    ItemsSetup setup;
    QListWidget& types = *list(*setup.items, "typeList");
    QListWidget& items = *list(*setup.items, "itemList");
    whenModalShows("itemTypeDialog", [](QDialog& form) {
        typeText(form, "itemId", QStringLiteral("zz01"));
        clickStandard(form, QDialogButtonBox::Ok);
    });
    click(*setup.items, "typeAdd");
    selectRow(items, 2);
    click(*setup.items, "itemDelete");
    selectRow(items, 0);
    click(*setup.items, "itemDelete");
    const std::int32_t typesBase = setup.model().header().number(MeshNumber::typesBase);
    QStringList typeLines = lines(types);
    QStringList itemLines = lines(items);
    clickStandard(*setup.editor->form(), QDialogButtonBox::Ok);
    QCOMPARE(setup.prompter.shown().back().text, std::string("Mesh File Successfully written!"));
    // Saving twice in a row gives the same file.
    const Bytes first = setup.onDisk();
    QVERIFY(test::shown(setup.prompter, setup.model().writeMap(setup.prompter)));
    QVERIFY(setup.onDisk() == first);

    setup.editor = std::make_unique<MeshEditor>(setup.settings, setup.prompter);
    setup.prompter.queueFile(setup.path);
    QVERIFY(setup.editor->start());
    click(*setup.editor->form(), "viewItems");
    MeshItemsDialog& again = *setup.editor->itemsForm();
    QCOMPARE(fieldText(again, "typeCount"), QStringLiteral("6"));
    QCOMPARE(fieldText(again, "typeLength"), QStringLiteral("192"));
    QCOMPARE(fieldText(again, "typeOffset"), QString::number(typesBase));
    QCOMPARE(fieldText(again, "itemCount"), QStringLiteral("5"));
    QCOMPARE(fieldText(again, "itemLength"), QStringLiteral("320"));
    QCOMPARE(fieldText(again, "itemOffset"), QString::number(typesBase + 192));
    QCOMPARE(lines(*list(again, "typeList")), typeLines);
    QCOMPARE(lines(*list(again, "itemList")), itemLines);
    QVERIFY(lines(*list(again, "typeList")).join('\n').contains(QStringLiteral("zz01")));
    QCOMPARE(setup.editor->model()->section(1)->size(), MeshLayout{}.section1);
}

void MeshItemsTest::itemTypeFormListsThePlacedItemsOfItsType()
{
    ScriptedPrompter prompter;
    ItemType type;
    type.setCategory(5);
    type.setReference(7);
    std::list<MeshItem> items(4);
    auto it = items.begin();
    it->setCategory(5), it->setReference(7), it->setId1(1);
    (++it)->setCategory(5), it->setReference(8);
    (++it)->setCategory(3), it->setReference(7);
    (++it)->setCategory(5), it->setReference(7), it->setId1(2);
    ItemTypeDialog form(type, items, prompter);
    QListWidget& listed = *list(form, "typeItems");
    QCOMPARE(listed.count(), 2);
    QVERIFY(lines(listed).contains(expandedLine(itemLine(items.front()))));
    QVERIFY(lines(listed).contains(expandedLine(itemLine(items.back()))));
    QVERIFY(radio(form, QStringLiteral("Ambient Sound"))->isChecked());
    QCOMPARE(fieldText(form, "unknown"), QString());
}

void MeshItemsTest::itemTypeFormKeepsWhatItCannotShow()
{
    ScriptedPrompter prompter;
    ItemType type;
    type.setCategory(2);
    type.setTrading(7);
    type.setCode(kNoCode);
    {
        ItemTypeDialog form(type, {}, prompter);
        QCOMPARE(fieldText(form, "itemId"), QStringLiteral("...."));
        QVERIFY(radio(form, QStringLiteral("Other"))->isChecked());
        clickStandard(form, QDialogButtonBox::Ok);
    }
    QCOMPARE(type.code(), kNoCode);
    QCOMPARE(type.category(), std::int16_t(2));
    QCOMPARE(type.trading(), std::int16_t(0));  // only a unit keeps a trading value

    type.setCategory(3);
    type.setTrading(7);
    ItemTypeDialog unit(type, {}, prompter);
    QVERIFY(!radio(unit, QStringLiteral("Tradable"))->isChecked() && !radio(unit, QStringLiteral("Not Visible"))->isChecked());
    clickStandard(unit, QDialogButtonBox::Ok);
    QCOMPARE(type.trading(), std::int16_t(7));  // no button chosen: unchanged
}

void MeshItemsTest::itemTypeFormStoresTheChosenValues()
{
    ScriptedPrompter prompter;
    ItemType type;
    ItemTypeDialog form(type, {}, prompter);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    radio(form, QStringLiteral("Unit"))->click();
    radio(form, QStringLiteral("Not Visible"))->click();
    typeText(form, "itemId", QStringLiteral("ms7"));
    typeText(form, "team", QStringLiteral("-1"));
    typeText(form, "presentCount", QStringLiteral("3"));
    typeText(form, "maxCount", QStringLiteral("12"));
    typeText(form, "reference", QStringLiteral("40000"));
    clickStandard(form, QDialogButtonBox::Ok);
    QCOMPARE(prompter.shown().size(), std::size_t(1));  // the reference does not fit
    QCOMPARE(type.category(), std::int16_t(0));
    typeText(form, "reference", QStringLiteral("44"));
    clickStandard(form, QDialogButtonBox::Ok);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(type.category(), std::int16_t(3));
    QCOMPARE(type.trading(), std::int16_t(8));
    QCOMPARE(type.code(), (Code{'m', 's', '7', 0}));
    QCOMPARE(type.team(), std::int16_t(-1));
    QCOMPARE(type.presentCount(), std::int16_t(3));
    QCOMPARE(type.maxCount(), std::int16_t(12));
    QCOMPARE(type.reference(), std::int16_t(44));
}

void MeshItemsTest::itemFormShowsPositionAndAngleAndStoresItsFields()
{
    ScriptedPrompter prompter;
    MeshItem item;
    item.setPresentAtStart(5);
    item.setCategory(2);
    item.setX(1024);
    item.setY(-512);
    item.setZ(2048);
    item.setFacing(-16384);
    item.bytes()[12] = 0x5A;  // an unused number, carried through
    {
        MeshItemDialog form(item, prompter);
        QVERIFY(child<QCheckBox>(form, "initialItem")->isChecked());
        QVERIFY(radio(form, QStringLiteral("Other"))->isChecked());
        QCOMPARE(fieldText(form, "xValue"), QStringLiteral("1"));
        QCOMPARE(fieldText(form, "yValue"), QStringLiteral("-0.5"));
        QCOMPARE(fieldText(form, "zValue"), QStringLiteral("2"));
        QCOMPARE(fieldText(form, "angle"), QStringLiteral("-90\u00B0"));
        typeText(form, "x", QStringLiteral("3072"));
        QCOMPARE(fieldText(form, "xValue"), QStringLiteral("1"));  // worked out once, when the form opened
        clickStandard(form, QDialogButtonBox::Ok);
    }
    QCOMPARE(item.presentAtStart(), std::int16_t(1));
    QCOMPARE(item.category(), std::int16_t(2));
    QCOMPARE(item.x(), 3072);
    QCOMPARE(item.facing(), std::int16_t(-16384));
    QCOMPARE(item.bytes()[12], std::uint8_t(0x5A));

    MeshItemDialog form(item, prompter);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    child<QCheckBox>(form, "initialItem")->click();
    radio(form, QStringLiteral("Scenery"))->click();
    typeText(form, "facing", QStringLiteral("16384"));
    child<QWidget>(form, "referenceSpin")->findChild<QAbstractButton*>(QStringLiteral("up"))->click();
    typeText(form, "id3", QStringLiteral("-7"));
    clickStandard(form, QDialogButtonBox::Ok);
    QCOMPARE(item.presentAtStart(), std::int16_t(0));
    QCOMPARE(item.category(), std::int16_t(1));
    QCOMPARE(item.facing(), std::int16_t(16384));
    QCOMPARE(item.reference(), std::int16_t(1));
    QCOMPARE(item.id3(), std::int16_t(-7));
}

void MeshItemsTest::everyControlIsNamedAfterItsLabelAndEachFormFits()
{
    ItemsSetup setup;
    QVERIFY(setup.items);
    QStringList itemsForm{"OK", "Cancel", "Item Map", "Undo", "Redo"};
    for (const char* table : {"Item Types ", "Items "}) {
        for (const char* field : {"Count", "Offset", "Length"})
            itemsForm << QString::fromLatin1(table) + field;
        itemsForm << "Add" << "Edit" << "Delete";
    }
    itemsForm << "Item Type List" << "Item List";

    QStringList categories;
    for (const auto& choice : kCategoryChoices)
        categories << choice.label;
    QStringList typeForm = categories + QStringList{"Item ID", "Unknown", "Placed items of this type", "OK", "Cancel"};
    for (const auto& choice : kTradingChoices)
        typeForm << choice.label;
    for (const QString number : {"Team", "# of Item Present", "Max # of item", "Item Reference"})
        typeForm << number << number + " Up" << number + " Down";
    QStringList itemForm = categories + QStringList{"Initial Item", "Item ID1", "Item Reference", "Item Reference Up",
                                                    "Item Reference Down", "Item ID2", "Item ID3", "Facing",
                                                    "Facing Up", "Facing Down", "Facing Degrees", "OK", "Cancel"};
    for (const QString axis : {"X", "Y", "Z"})
        itemForm << axis << axis + " Scaled";

    ScriptedPrompter prompter;
    ItemType type;
    MeshItem item;
    ItemTypeDialog typeDialog(type, {}, prompter);
    MeshItemDialog itemDialog(item, prompter);
    const std::pair<QWidget*, QStringList> forms[] = {
        {setup.items, itemsForm}, {&typeDialog, typeForm}, {&itemDialog, itemForm}};
    for (auto [form, expected] : forms) {
        expected.sort();
        QCOMPARE(controlNames(*form), expected);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QString problem = fitProblem(*form);
        QVERIFY2(problem.isEmpty(), qPrintable(problem + " in " + form->objectName()));
    }
}

// Marks stand for the model's items; a click on one selects its line, a line
// selected highlights its mark, a deletion redraws, the image is a PNG.
void MeshItemsTest::itemMapDrawsEveryItemAndKeepsInStepWithTheList()
{
    ItemsSetup setup;
    click(*setup.items, "itemMapButton");
    ItemMapDialog* map = setup.items->itemMap();
    QVERIFY(map && QTest::qWaitForWindowExposed(map));
    ItemMapView& view = *map->view();
    const auto& marks = view.marks();
    QCOMPARE(marks.size(), setup.model().items().size());
    auto item = setup.model().items().begin();
    for (const ItemMapView::Mark& mark : marks) {
        QCOMPARE(mark.position, QPointF(positionValue(item->x()), positionValue(item->y())));
        QCOMPARE(mark.category, item->category());
        QVERIFY(view.rect().contains(view.toScreen(mark.position).toPoint()));  // all shown at first
        ++item;
    }

    QListWidget& items = *list(*setup.items, "itemList");
    const int last = static_cast<int>(marks.size()) - 1;
    QTest::mouseClick(&view, Qt::LeftButton, {}, view.toScreen(marks[static_cast<std::size_t>(last)].position).toPoint());
    QCOMPARE(recordOf(*items.currentItem()), static_cast<void*>(&setup.model().items().back()));
    selectRow(items, 0);
    QCOMPARE(marks[static_cast<std::size_t>(view.selected())].position,
             QPointF(positionValue(static_cast<MeshItem*>(recordOf(*items.item(0)))->x()),
                     positionValue(static_cast<MeshItem*>(recordOf(*items.item(0)))->y())));

    click(*setup.items, "itemDelete");  // confirmed by the scripted OK
    QCOMPARE(view.marks().size(), setup.model().items().size());
    const std::string image = setup.dir.file("map.png");
    QVERIFY(map->saveImage(image));
    QCOMPARE(QImage(QString::fromStdString(image)).size(), view.size());
}

// Every add, edit and delete through the item editor is one step: undone, the
// lists and the model are as before; redone, as after.
void MeshItemsTest::eachChangeIsOneStepThatUndoesAndRedoesExactly()
{
    const auto okWith = [](const char* form, const char* field, const char* text) {
        whenModalShows(form, [field, text](QDialog& shown) {
            typeText(shown, field, QString::fromLatin1(text));
            clickStandard(shown, QDialogButtonBox::Ok);
        });
    };
    const struct {
        const char* what;
        std::function<void(ItemsSetup&)> change;
        int steps;
    } cases[] = {
        {"add item", [&](ItemsSetup& s) { okWith("meshItemDialog", "x", "4096"), click(*s.items, "itemAdd"); }, 1},
        {"edit item", [&](ItemsSetup& s) { okWith("meshItemDialog", "id3", "9"), click(*s.items, "itemEdit"); }, 1},
        {"delete item", [](ItemsSetup& s) { click(*s.items, "itemDelete"); }, 1},
        {"add type", [&](ItemsSetup& s) { okWith("itemTypeDialog", "team", "4"), click(*s.items, "typeAdd"); }, 2},
        {"edit type", [&](ItemsSetup& s) { okWith("itemTypeDialog", "team", "4"), click(*s.items, "typeEdit"); }, 1},
    };
    for (const auto& row : cases) {
        ItemsSetup setup;
        const auto shown = [&setup] {
            return lines(*list(*setup.items, "typeList")) + lines(*list(*setup.items, "itemList"));
        };
        const auto step = [&setup, &row](const char* button) {
            for (int n = 0; n < row.steps; ++n)
                click(*setup.items, button);
        };
        selectRow(*list(*setup.items, "itemList"), 2);
        const QStringList before = shown();
        row.change(setup);
        const QStringList after = shown();
        QVERIFY2(after != before && setup.stack().count() == row.steps, row.what);
        step("undoButton");
        QVERIFY2(shown() == before && setup.stack().isClean(), row.what);
        QVERIFY2(!setup.model().writeChanges(setup.model().tagHeader(), setup.model().header()), row.what);
        step("redoButton");
        QVERIFY2(shown() == after, row.what);
    }
}

// The sample's "Units" type has placed items: deleting it asks, naming how many;
// Cancel keeps everything, OK takes the type and its items in one step, and the
// saved map holds none of them.
void MeshItemsTest::deletingAUsedItemTypeAsksWhetherItsItemsGoToo()
{
    ItemsSetup setup;
    QListWidget& types = *list(*setup.items, "typeList");
    int row = 0;
    while (row < types.count() && !types.item(row)->text().startsWith(QStringLiteral("Units")))
        ++row;
    QVERIFY(row < types.count());
    selectRow(types, row);
    const auto& units = *static_cast<const ItemType*>(recordOf(*types.item(row)));
    const std::size_t users = setup.model().itemsOnlyOf(units).size();
    QVERIFY(users > 1);
    setup.prompter.queueAnswer(Prompter::Answer::Cancel);
    click(*setup.items, "typeDelete");
    const auto& asked = setup.prompter.shown().back();
    QCOMPARE(asked.text, std::to_string(users) + " placed items use this item type.\nClick on OK to delete these " +
                             std::to_string(users) + " items with it, or Cancel to keep both.");
    QVERIFY(asked.caption == "Delete Item Type" && asked.buttons == Prompter::Buttons::OkCancel);
    QVERIFY(types.count() == 5 && setup.stack().count() == 0);

    click(*setup.items, "typeDelete");  // the scripted OK
    QVERIFY(types.count() == 4 && setup.stack().count() == 1);
    QCOMPARE(fieldText(*setup.items, "itemCount"), QString::number(7 - users));
    clickStandard(*setup.editor->form(), QDialogButtonBox::Ok);
    MeshSetup again(setup.onDisk());
    QVERIFY(again.editor->start());
    const MeshModel& saved = *again.editor->model();
    for (const MeshItem& item : saved.items())  // every item saved has its type
        QVERIFY(std::any_of(saved.itemTypes().begin(), saved.itemTypes().end(),
                            [&item](const ItemType& type) { return item.belongsTo(type); }));
}

}  // namespace tagwarden

QTEST_MAIN(tagwarden::MeshItemsTest)
#include "mesh_items_test.moc"
