#include "core/compare/tag_comparison.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <list>
#include <memory>
#include <span>

#include "core/compare/form_values.h"
#include "core/compare/sequence_diff.h"
#include "core/editors/mons_block.h"
#include "core/io/memory_bytes.h"
#include "core/mesh/mesh_format.h"
#include "core/mesh/mesh_model.h"
#include "core/tags/hex.h"
#include "core/tags/tag_text.h"

namespace tagwarden {

namespace {

using Change = Difference::Change;
using Bytes = std::span<const std::uint8_t>;
using Differences = std::vector<Difference>;

// Differing bytes this close together make one range.
constexpr std::size_t kJoinGap = 4;

std::string hexOffset(std::size_t offset)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%zX", offset);
    return text;
}

std::string rangeName(const std::string& prefix, std::size_t from, std::size_t to)
{
    return prefix + " " + hexOffset(from) + (to - from > 1 ? "-" + hexOffset(to - 1) : "");
}

// "0A 0B 0C", or the first bytes and how many there are in all.
std::string shownBytes(Bytes bytes)
{
    std::string text = hexDump(bytes.data(), std::min(bytes.size(), kShownRangeBytes));
    text.pop_back();
    if (bytes.size() > kShownRangeBytes)
        text += " ... (" + std::to_string(bytes.size()) + " bytes)";
    return text;
}

void addByteRanges(Differences& out, const std::string& prefix, Bytes before, Bytes after)
{
    const std::size_t common = std::min(before.size(), after.size());
    for (std::size_t at = 0; at < common;) {
        if (before[at] == after[at]) {
            ++at;
            continue;
        }
        std::size_t last = at;
        for (std::size_t next = at + 1; next < common && next <= last + kJoinGap; ++next)
            if (before[next] != after[next])
                last = next;
        const std::size_t count = last + 1 - at;
        out.push_back({rangeName(prefix, at, last + 1), Change::Changed, shownBytes(before.subspan(at, count)),
                       shownBytes(after.subspan(at, count))});
        at = last + 1;
    }
    if (before.size() > common)
        out.push_back({rangeName(prefix, common, before.size()), Change::Removed, shownBytes(before.subspan(common)), {}});
    if (after.size() > common)
        out.push_back({rangeName(prefix, common, after.size()), Change::Added, {}, shownBytes(after.subspan(common))});
}

// The header's bytes that no form field shows: all but name and id, and but the
// archive's bookkeeping (number, start) and the length, which the data tells.
void addHeaderRanges(Differences& out, const TagHeaderBytes& before, const TagHeaderBytes& after)
{
    const auto unshown = [](TagHeaderBytes header) {
        for (const TagField field : {tag_header::kName, tag_header::kId, tag_header::kNumber,
                                     tag_header::kStartAddress, tag_header::kDataLength})
            setFieldText(header, field, {});
        return header;
    };
    addByteRanges(out, "header", unshown(before), unshown(after));
}

void addFieldChanges(Differences& out, const std::vector<FormValue>& before, const std::vector<FormValue>& after)
{
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i)
        if (before[i].value != after[i].value)
            out.push_back({before[i].key, Change::Changed, before[i].value, after[i].value});
}

bool ofType(const ComparedTag& tag, std::string_view type) { return codeKey(tag.type()) == codeKey(type); }

// ---- units ----------------------------------------------------------------

std::vector<FormValue> unitValues(const ComparedTag& tag, const MonsBlock& block)
{
    return unitFormValues(block, std::string(tag.id()), std::string(fieldText(tag.header, tag_header::kName)));
}

Differences unitDifferences(const ComparedTag& before, const ComparedTag& after)
{
    const MonsBlock old = MonsBlock::decode(MonsBlock::ConstData(before.data.data(), MonsBlock::kSize));
    const MonsBlock now = MonsBlock::decode(MonsBlock::ConstData(after.data.data(), MonsBlock::kSize));
    Differences out;
    addFieldChanges(out, unitValues(before, old), unitValues(after, now));
    addHeaderRanges(out, before.header, after.header);
    // The bytes that differ where the form shows no change.
    std::vector<std::uint8_t> unexplained = after.data;
    old.encodeChangesInto(MonsBlock::Data(unexplained.data(), MonsBlock::kSize), now);
    addByteRanges(out, "bytes", before.data, unexplained);
    return out;
}

// ---- string lists ---------------------------------------------------------

// The strings, each ended by a carriage return (the last one may lack it).
std::vector<std::string> strings(Bytes data)
{
    std::vector<std::string> list;
    auto start = data.begin();
    while (start != data.end()) {
        const auto end = std::find(start, data.end(), std::uint8_t{'\r'});
        list.emplace_back(start, end);
        start = end == data.end() ? end : end + 1;
    }
    return list;
}

// A string as the list's text shows it: zero bytes add nothing.
std::string shownString(std::string text)
{
    std::erase(text, '\0');
    return text;
}

// The tag's id and name under the keys scripts use for them.
std::vector<FormValue> headerValues(const ComparedTag& tag)
{
    return {{"id", std::string(tag.id()), "ID"},
            {"description", std::string(fieldText(tag.header, tag_header::kName)), "Description"}};
}

Differences stringListDifferences(const ComparedTag& before, const ComparedTag& after)
{
    Differences out;
    addFieldChanges(out, headerValues(before), headerValues(after));
    addHeaderRanges(out, before.header, after.header);
    const std::vector<std::string> old = strings(before.data);
    const std::vector<std::string> now = strings(after.data);
    const std::vector<SequenceEdit> edits = sequenceEdits(old, now);
    for (const SequenceEdit& edit : edits) {
        const std::string what = "string " + std::to_string(edit.position + 1);
        if (edit.step == SequenceEdit::Step::Remove)
            out.push_back({what, Change::Removed, shownString(old[edit.position]), {}});
        else
            out.push_back({what, Change::Added, {}, shownString(now[edit.position])});
    }
    // Strings alike but for a final carriage return still differ.
    if (edits.empty() && before.data != after.data)
        addByteRanges(out, "bytes", before.data, after.data);
    return out;
}

// ---- maps -----------------------------------------------------------------

// A map tag laid out as a plug-in in memory, read as the map editor reads it.
struct LoadedMap {
    explicit LoadedMap(std::vector<std::uint8_t> plugIn)
        : bytes(std::move(plugIn)), model(std::make_unique<BufferedFile>(bytes, BufferedFile::kMeshBufferSize))
    {
    }
    MemoryBytes bytes;
    MeshModel model;
};

std::unique_ptr<LoadedMap> loadMap(const ComparedTag& tag)
{
    TagHeaderBytes header = tag.header;
    setFieldNumber(header, tag_header::kStartAddress, kTagHeaderSize);
    std::vector<std::uint8_t> plugIn(header.begin(), header.end());
    plugIn.insert(plugIn.end(), tag.data.begin(), tag.data.end());
    auto map = std::make_unique<LoadedMap>(std::move(plugIn));
    if (map->model.load())
        return nullptr;
    return map;
}

std::string tabsAsBlanks(std::string line)
{
    std::replace(line.begin(), line.end(), '\t', ' ');
    return line;
}

std::string recordText(const ItemType& type)
{
    return tabsAsBlanks(itemTypeLine(type)) + ", trading " + std::to_string(type.trading()) + ", present " +
           std::to_string(type.presentCount()) + ", max " + std::to_string(type.maxCount());
}

std::string recordText(const MeshItem& item)
{
    return tabsAsBlanks(itemLine(item)) + ", facing " + decimalText(facingDegrees(item.facing())) + ", at start " +
           (item.presentAtStart() != 0 ? "yes" : "no");
}

template <typename Record>
std::string recordKey(const Record& record)
{
    return {record.bytes().begin(), record.bytes().end()};
}

// Records removed, added, or (a removal paired with the addition that follows it) changed.
template <typename Record>
void addRecordChanges(Differences& out, const std::string& name, const std::list<Record>& before,
                      const std::list<Record>& after)
{
    const std::vector<Record> old(before.begin(), before.end());
    const std::vector<Record> now(after.begin(), after.end());
    std::vector<std::string> oldKeys;
    std::vector<std::string> nowKeys;
    std::transform(old.begin(), old.end(), std::back_inserter(oldKeys), recordKey<Record>);
    std::transform(now.begin(), now.end(), std::back_inserter(nowKeys), recordKey<Record>);
    const std::vector<SequenceEdit> edits = sequenceEdits(oldKeys, nowKeys);
    for (std::size_t at = 0; at < edits.size();) {
        std::size_t removals = 0;
        while (at + removals < edits.size() && edits[at + removals].step == SequenceEdit::Step::Remove)
            ++removals;
        std::size_t additions = 0;
        while (at + removals + additions < edits.size() &&
               edits[at + removals + additions].step == SequenceEdit::Step::Add)
            ++additions;
        for (std::size_t k = 0; k < std::max(removals, additions); ++k) {
            const bool removed = k < removals;
            const bool added = k < additions;
            const std::size_t position = edits[at + (removed ? k : removals + k)].position;
            const std::string what = name + " " + std::to_string(position + 1);
            if (removed && added) {
                const Record& was = old[position];
                const Record& is = now[edits[at + removals + k].position];
                const bool alike = recordText(was) == recordText(is);
                out.push_back({what, Change::Changed,
                               alike ? shownBytes(was.bytes()) : recordText(was),
                               alike ? shownBytes(is.bytes()) : recordText(is)});
            } else if (removed) {
                out.push_back({what, Change::Removed, recordText(old[position]), {}});
            } else {
                out.push_back({what, Change::Added, {}, recordText(now[position])});
            }
        }
        at += removals + additions;
    }
}

// "4096 cells" against "4096 cells, 3 differ": parts of the map no form shows.
void addBlockChange(Differences& out, const std::string& what, Bytes before, Bytes after)
{
    if (std::equal(before.begin(), before.end(), after.begin(), after.end()))
        return;
    std::size_t differing = std::max(before.size(), after.size()) - std::min(before.size(), after.size());
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i)
        differing += before[i] != after[i] ? 1 : 0;
    out.push_back({what, Change::Changed, std::to_string(before.size()) + " bytes",
                   std::to_string(after.size()) + " bytes, " + std::to_string(differing) + " differ"});
}

Bytes sectionBytes(const MeshModel& model, int number)
{
    const auto& section = model.section(number);
    return section ? Bytes(*section) : Bytes();
}

Bytes cellBytes(const MeshModel& model)
{
    return {reinterpret_cast<const std::uint8_t*>(model.cells().data()), model.cells().size() * MeshCell::kSize};
}

Differences mapDifferences(LoadedMap& before, LoadedMap& after)
{
    Differences out;
    addFieldChanges(out, mapFormValues(before.model), mapFormValues(after.model));
    addHeaderRanges(out, before.model.tagHeader(), after.model.tagHeader());
    addRecordChanges(out, "item type", before.model.itemTypes(), after.model.itemTypes());
    addRecordChanges(out, "item", before.model.items(), after.model.items());
    addBlockChange(out, "cells", cellBytes(before.model), cellBytes(after.model));
    for (int number = 1; number <= 3; ++number)
        addBlockChange(out, "section " + std::to_string(number), sectionBytes(before.model, number),
                       sectionBytes(after.model, number));
    addBlockChange(out, "bytes behind the map", before.model.tail(), after.model.tail());
    if (out.empty() && before.bytes.bytes() != after.bytes.bytes())
        addByteRanges(out, "map header", before.bytes.bytes(), after.bytes.bytes());
    return out;
}

// ---- any other tag ----------------------------------------------------------

Differences byteDifferences(const ComparedTag& before, const ComparedTag& after)
{
    Differences out;
    addFieldChanges(out, headerValues(before), headerValues(after));
    addHeaderRanges(out, before.header, after.header);
    addByteRanges(out, "bytes", before.data, after.data);
    return out;
}

}  // namespace

Comparison compareTags(const ComparedTag& before, const ComparedTag& after)
{
    const bool sameType = codeKey(before.type()) == codeKey(after.type());
    if (sameType && ofType(before, "mons") && before.data.size() == MonsBlock::kSize &&
        after.data.size() == MonsBlock::kSize)
        return {ComparisonKind::Unit, unitDifferences(before, after)};
    if (sameType && ofType(before, "stli"))
        return {ComparisonKind::StringList, stringListDifferences(before, after)};
    if (sameType && ofType(before, "mesh")) {
        const auto old = loadMap(before);
        const auto now = loadMap(after);
        if (old && now)
            return {ComparisonKind::Map, mapDifferences(*old, *now)};
    }
    return {ComparisonKind::Bytes, byteDifferences(before, after)};
}

const char* comparisonKindName(ComparisonKind kind)
{
    switch (kind) {
    case ComparisonKind::Unit:
        return "unit";
    case ComparisonKind::StringList:
        return "string list";
    case ComparisonKind::Map:
        return "map";
    case ComparisonKind::Bytes:
        break;
    }
    return "bytes";
}

const char* changeName(Difference::Change change)
{
    switch (change) {
    case Change::Changed:
        return "changed";
    case Change::Removed:
        return "removed";
    case Change::Added:
        break;
    }
    return "added";
}

std::string differenceLine(const Difference& difference, ComparisonKind kind, const ShownText& shown)
{
    const bool listed = kind == ComparisonKind::StringList && difference.what.starts_with("string ");
    switch (difference.change) {
    case Change::Removed:
        return listed ? "-" + shown(difference.before) : "- " + difference.what + ": " + shown(difference.before);
    case Change::Added:
        return listed ? "+" + shown(difference.after) : "+ " + difference.what + ": " + shown(difference.after);
    case Change::Changed:
        break;
    }
    return difference.what + ": " + shown(difference.before) + " -> " + shown(difference.after);
}

}  // namespace tagwarden
