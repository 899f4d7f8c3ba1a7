#pragma once

#include <deque>
#include <vector>

#include "core/prompt/prompter.h"

namespace tagwarden {

// Answers from a script and records everything it was shown: used by tests and
// fuzzers. Unscripted messages answer Ok (Cancel for a save-or-discard
// question, which keeps everything as it is); unscripted file requests cancel.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        std::string text;
        Buttons buttons;
        Icon icon;
        std::string caption;
    };

    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    void queueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }

    Answer message(const std::string& text, Buttons buttons, Icon icon, const std::string& caption) override
    {
        shown_.push_back({text, buttons, icon, caption});
        if (answers_.empty())
            return buttons == Buttons::SaveDiscardCancel ? Answer::Cancel : Answer::Ok;
        const Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::optional<std::string> chooseFile(const FileRequest& request) override
    {
        requests_.push_back(request);
        if (files_.empty())
            return std::nullopt;
        auto path = files_.front();
        files_.pop_front();
        return path;
    }

    [[nodiscard]] const std::vector<Shown>& shown() const { return shown_; }
    [[nodiscard]] const std::vector<FileRequest>& fileRequests() const { return requests_; }
    [[nodiscard]] std::size_t pendingAnswers() const { return answers_.size() + files_.size(); }
    void clearRecord()
    {
        shown_.clear();
        requests_.clear();
    }

private:
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> files_;
    std::vector<Shown> shown_;
    std::vector<FileRequest> requests_;
};

}  // namespace tagwarden
