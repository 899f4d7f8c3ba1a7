#pragma once

#include <string>
#include <vector>

#include "core/tags/tag_directory.h"

namespace tagwarden::test {

// A directory owner that records which entries were listed and every status text.
class RecordingObserver : public DirectoryObserver {
public:
    void addListLine(std::size_t index) override { indexes.push_back(index); }
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void refillTypeFilter() override {}

    std::vector<std::size_t> indexes;
    std::vector<std::string> statuses;
};

}  // namespace tagwarden::test
