#pragma once

// A tags directory with one map plug-in and a map editor whose chooser picks it;
// shared by the map editor's GUI tests.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "core/io/byte_order.h"
#include "core/prompt/scripted_prompter.h"
#include "core/sample/sample_tags.h"
#include "core/settings/settings_store.h"
#include "gui/mesh/mesh_editor.h"
#include "gui/support/gui_test_support.h"
#include "support/temp_dir.h"

namespace tagwarden::test {

inline constexpr std::size_t kMeshData = 64;  // where the map's data starts in its plug-in

inline Bytes meshPlugIn(const MeshLayout& layout = {})
{
    return buildPlugIn({"Sample Map 1", "mesh", "mpaa", 0, sampleMeshData(layout)});
}

inline Bytes withHeader16(Bytes plugIn, std::size_t offset, std::uint16_t value)
{
    writeBigEndian16(plugIn.data() + kMeshData + offset, value);
    return plugIn;
}

struct MeshSetup {
    // The sample tags directory of "make-sample", its map plug-in chosen.
    MeshSetup()
    {
        writeSampleDirectory(dir.path().string());
        choose(dir.file("local/mesh/mpaa"));
    }
    explicit MeshSetup(const Bytes& plugIn) { choose(dir.write("local/mesh/mpaa", plugIn)); }

    void choose(const std::string& plugInPath)
    {
        settings.writeString(settings::kSection, settings::kTagsDirectory, dir.path().string());
        settings.writeString(settings::kSection, settings::kBackupDirectory, dir.file("Backup"));
        path = plugInPath;
        original = readAll(path);
        prompter.queueFile(path);
    }

    [[nodiscard]] Bytes onDisk() const { return readAll(path); }

    TempDir dir;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    std::unique_ptr<MeshEditor> editor = std::make_unique<MeshEditor>(settings, prompter);
    std::string path;
    Bytes original;
};

// Buttons are clicked through click(): simulated mouse clicks in quick succession
// on one window can be taken for double clicks and get lost.
inline void click(QWidget& form, const char* buttonName) { child<QPushButton>(form, buttonName)->click(); }

inline void clickStandard(QWidget& form, QDialogButtonBox::StandardButton which)
{
    form.findChild<QDialogButtonBox*>()->button(which)->click();
}

inline void typeText(QWidget& form, const char* fieldName, const QString& text)
{
    QLineEdit* field = child<QLineEdit>(form, fieldName);
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
}

inline QString fieldText(QWidget& form, const char* fieldName) { return child<QLineEdit>(form, fieldName)->text(); }

inline QRadioButton* radio(QWidget& form, const QString& text)
{
    for (QRadioButton* button : form.findChildren<QRadioButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

}  // namespace tagwarden::test
