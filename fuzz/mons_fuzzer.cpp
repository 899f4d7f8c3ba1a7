// The unit editor's file path on arbitrary plug-ins: the file is opened, its
// header and 512-byte block read, the block decoded and encoded again (codes as
// the form shows them, up to a zero byte) and written back. Whatever the bytes,
// a file too short is refused untouched, and a save changes nothing but the
// terrain bytes, which it normalises to 0x0A or 0xFF.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/editors/editor_tag_file.h"
#include "core/editors/mons_block.h"
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
using fuzz::LentBytes;

// What a save of the unchanged form must leave in the block.
Bytes normalised(Bytes block)
{
    for (std::size_t i = 0; i < MonsBlock::kTerrainCount; ++i) {
        std::uint8_t& b = block[MonsBlock::kTerrainOffset + i];
        b = b == MonsBlock::kTerrainBarred ? MonsBlock::kTerrainBarred : MonsBlock::kTerrainAllowed;
    }
    return block;
}

void checkBlock(const Bytes& block)
{
    const MonsBlock decoded = MonsBlock::decode(MonsBlock::ConstData(block.data(), MonsBlock::kSize));
    Bytes raw = block;
    decoded.encodeInto(MonsBlock::Data(raw.data(), MonsBlock::kSize));
    check(raw == normalised(block), "decode and encode changed a byte");
    check(MonsBlock::decode(MonsBlock::ConstData(raw.data(), MonsBlock::kSize)).terrain == decoded.terrain,
          "terrain changed by a round trip");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Bytes input = fuzz::typedInput(data, size, "mons");
    MemoryBytes plugIn(input, "mons_fuzzer");

    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    prompter.queueFile(plugIn.path());
    const auto lend = [&plugIn](const std::string&) { return std::make_unique<LentBytes>(plugIn); };
    EditorTagFile editor(settings, prompter, lend);
    const auto outcome = editor.openPlugIn("mons").value;
    check(outcome != EditorTagFile::OpenOutcome::Cancelled, "chosen file counted as cancelled");
    check((outcome == EditorTagFile::OpenOutcome::Opened) == (size >= 64), "header accepted or refused wrongly");
    const auto block =
        outcome == EditorTagFile::OpenOutcome::Opened ? editor.readData(MonsBlock::kSize).value : std::nullopt;
    check(block.has_value() == (size >= 64 + MonsBlock::kSize), "block accepted or refused wrongly");
    check(block.has_value() || (plugIn.bytes() == input && !editor.fileOpen()), "refused file touched or kept open");
    if (!block)
        return 0;
    checkBlock(*block);

    // Save as the unchanged form would: codes as shown, up to a zero byte.
    MonsBlock shown = MonsBlock::decode(MonsBlock::ConstData(block->data(), MonsBlock::kSize));
    for (std::string* code :
         {&shown.coreCode, &shown.objeCode, &shown.primaryProjCode, &shown.secondaryProjCode, &shown.prgrCode})
        *code = MonsBlock::editedCode(*code, std::string(upToNul(*code)));
    Bytes saved = *block;
    shown.encodeInto(MonsBlock::Data(saved.data(), MonsBlock::kSize));
    check(saved == normalised(*block), "codes shown up to a zero byte changed the block");

    editor.storeHeaderFields();
    const bool written = editor.writeTag(saved).value;
    check(written == (readBigEndian32(input.data() + 52) == MonsBlock::kSize), "length check");
    Bytes expected = input;
    if (written)
        std::copy(saved.begin(), saved.end(), expected.begin() + 64);
    check(plugIn.bytes() == expected, "save wrote other bytes than the block");
    return 0;
}
