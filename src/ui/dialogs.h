// The one seam for every box the user answers: message boxes, the "Confirm" question, the
// standard error box and the save dialog. The programs use the real dialogs; a test installs a
// responder that answers and records them.
#pragma once
#include <windows.h>

#include <string>

namespace ui {

enum class BoxKind { Message, Confirm, Error };

struct BoxRequest {
  BoxKind kind = BoxKind::Message;
  std::string text;
  std::string caption;
  unsigned flags = MB_OK;  // MB_ icon and button flags
  HWND owner = nullptr;
};

struct SaveRequest {
  std::string fileName;  // proposed; the chosen file on return
  std::string filter;
  std::string defaultExt;
  std::string title;
  HWND owner = nullptr;
};

class DialogResponder {
 public:
  virtual ~DialogResponder() = default;
  virtual int Box(const BoxRequest& request) = 0;   // IDOK, IDYES, IDNO ...
  virtual bool Save(SaveRequest& request) = 0;      // true when the user confirmed a file
};

// Installs a responder (nullptr: the real dialogs); returns the previous one.
DialogResponder* SetDialogResponder(DialogResponder* responder);

int ShowBox(HWND owner, BoxKind kind, const std::string& text, const std::string& caption,
            unsigned flags);
bool ShowSaveDialog(SaveRequest& request);

// The class library's confirmation question: caption "Confirm", question icon, "&Yes" (default)
// and "&No" (also Escape), centred on the screen. True on Yes.
bool Confirm(const std::string& question);

}  // namespace ui
