// What the manager's and the installer's windows say in the active language, and what their
// new-folder windows do when their button is pressed.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "shared/language.h"

namespace shared {

// An untitled box owned by the window, in the active language (none when no language is), with
// the system's reason after the text when one is given.
void SayInLanguage(HWND owner, const LanguageItems& lang, std::string_view english, std::string_view polish,
                   unsigned icon, const std::string& reason = {});

// The folder text gains a missing backslash, written back through setFolder; then the folder
// named `name` is made there, one level deep. The outcome is said: "Done!", the name already
// exists, or the system's reason for refusing it (never "Done!" for a refusal); a path longer than
// platform::kMaxPathLength is refused as too long, as a rename to it is.
void MakeNamedFolder(HWND owner, const LanguageItems& lang, const std::string& folder,
                     const std::function<void(const std::string&)>& setFolder, const std::string& name);

}  // namespace shared
