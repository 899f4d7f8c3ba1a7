// The string-list editor's file path on arbitrary plug-ins: the file is opened,
// as much data read as its header says, shown as text, saved after an edit of that
// text and opened again. Whatever the bytes, a refused file is left untouched, a
// save of the wrong length is refused, and a save puts down the header with the new
// length, the edited bytes and whatever followed them in the file.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/editors/editor_tag_file.h"
#include "core/editors/stli_text.h"
#include "core/io/byte_order.h"
#include "core/io/memory_bytes.h"
#include "core/prompt/scripted_prompter.h"
#include "core/settings/settings_store.h"
#include "core/tags/tag_text.h"
#include "fuzz_support.h"

namespace {

using namespace tagwarden;
using Bytes = std::vector<std::uint8_t>;
using fuzz::check;

constexpr std::size_t kHeader = 64;
constexpr std::size_t kLengthAt = 52;

// An editor on the plug-in, chosen in its file dialog and lent to it.
struct Session {
    explicit Session(MemoryBytes& plugIn)
        : editor(settings, prompter, [&plugIn](const std::string&) { return std::make_unique<fuzz::LentBytes>(plugIn); })
    {
        prompter.queueFile(plugIn.path());
    }

    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    EditorTagFile editor;
};

// What the text view holds once the user typed the name and a line break at its
// start (when the input's first byte asks for it), as the dialog hands it over.
std::string editedText(const Bytes& data, const std::string& name, bool typed)
{
    const std::string text = stliLoadText(data);
    return typed ? std::string(upToNul(name)) + "\r\n" + text : text;
}

// The bytes that edit must leave: every zero byte and line feed gone.
Bytes expectedBytes(const Bytes& data, const std::string& name, bool typed)
{
    Bytes all;
    if (typed) {
        const std::string_view typedName = upToNul(name);
        all.assign(typedName.begin(), typedName.end());
        all.push_back('\r');
    }
    all.insert(all.end(), data.begin(), data.end());
    std::erase_if(all, [](std::uint8_t b) { return b == 0 || b == '\n'; });
    return all;
}

// The file a save of `saved` must leave: the header with the new length, the
// bytes, then what the file held behind them.
Bytes expectedFile(const Bytes& input, const Bytes& saved)
{
    Bytes file(input.begin(), input.begin() + kHeader);
    writeBigEndian32(file.data() + kLengthAt, static_cast<std::uint32_t>(saved.size()));
    file.insert(file.end(), saved.begin(), saved.end());
    if (input.size() > file.size())
        file.insert(file.end(), input.begin() + static_cast<std::ptrdiff_t>(file.size()), input.end());
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Bytes input = fuzz::typedInput(data, size, "stli");
    MemoryBytes plugIn(input, "stli_file_fuzzer");

    Session first(plugIn);
    EditorTagFile& editor = first.editor;
    const auto started = editor.openAndRead("stli").value;
    check(started.outcome == (size >= kHeader ? EditorTagFile::OpenOutcome::Opened : EditorTagFile::OpenOutcome::Refused),
          "header accepted or refused wrongly");
    const bool whole = size >= kHeader && size - kHeader >= readBigEndian32(input.data() + kLengthAt);
    check(started.data.has_value() == whole, "data accepted or refused wrongly");
    if (!started.data) {
        check(plugIn.bytes() == input && !editor.fileOpen(), "refused file touched or kept open");
        return 0;
    }
    const Bytes& read = *started.data;
    check(std::equal(read.begin(), read.end(), input.begin() + kHeader), "data read is not the file's");

    const bool typed = (input[0] & 1) != 0;
    const StliRebuild rebuilt = rebuildStli(editedText(read, editor.name(), typed));
    check(rebuilt.bytes == expectedBytes(read, editor.name(), typed), "edit lost or changed a byte");
    const StliDrops drops = stliEditDrops(read);
    check(expectedBytes(read, "", false).size() + drops.zeroBytes + drops.lineFeeds == read.size(),
          "dropped bytes miscounted");

    editor.setDataLength(static_cast<std::uint32_t>(rebuilt.bytes.size() + 1));
    check(!editor.writeTag(rebuilt.bytes).value && plugIn.bytes() == input, "a save of the wrong length was written");
    editor.setDataLength(static_cast<std::uint32_t>(rebuilt.bytes.size()));
    editor.storeHeaderFields();
    check(editor.writeTag(rebuilt.bytes).value, "save failed");
    check(plugIn.bytes() == expectedFile(input, rebuilt.bytes), "save wrote other bytes");
    check(!editor.writeChanges(editor.header(), rebuilt.bytes), "saved edit still counted as unsaved");

    Session again(plugIn);
    const auto reopened = again.editor.openAndRead("stli").value;
    check(reopened.data == rebuilt.bytes, "the saved list reads back differently");
    check(rebuildStli(stliLoadText(*reopened.data)).bytes == rebuilt.bytes, "an unedited save of the saved list changes it");
    return 0;
}
