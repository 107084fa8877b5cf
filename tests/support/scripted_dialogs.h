// Answers and records every box and save dialog while it is installed.
#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace testing_support {

class ScriptedDialogs : public ui::DialogResponder {
 public:
  ScriptedDialogs() { previous_ = ui::SetDialogResponder(this); }
  ~ScriptedDialogs() override { ui::SetDialogResponder(previous_); }

  // Answers for the boxes to come, in order; without one a box gets its first button (OK or Yes).
  void Answer(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }
  // Files that the save dialogs to come confirm; nullopt cancels one.
  void AnswerSave(std::optional<std::string> file) { saveAnswers_.push_back(std::move(file)); }

  std::vector<ui::BoxRequest> boxes;
  std::vector<ui::SaveRequest> saves;
  // Runs while a box is up, as the user could act then.
  std::function<void(const ui::BoxRequest&)> onBox;

  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& b : boxes) out.push_back(b.text);
    return out;
  }

  int Box(const ui::BoxRequest& request) override {
    boxes.push_back(request);
    if (onBox) onBox(request);
    if (!answers_.empty()) {
      int a = answers_.front();
      answers_.pop_front();
      return a;
    }
    unsigned buttons = request.flags & MB_TYPEMASK;
    return (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
  }

  bool Save(ui::SaveRequest& request) override {
    saves.push_back(request);
    std::optional<std::string> answer;
    if (!saveAnswers_.empty()) {
      answer = saveAnswers_.front();
      saveAnswers_.pop_front();
    }
    if (!answer) return false;
    request.fileName = *answer;
    return true;
  }

 private:
  ui::DialogResponder* previous_;
  std::deque<int> answers_;
  std::deque<std::optional<std::string>> saveAnswers_;
};

}  // namespace testing_support
