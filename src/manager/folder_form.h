// The new-folder dialog: creates a folder in the browsed folder.
#pragma once
#include "manager/dialog_form.h"

namespace manager {

class TFolderForm5 : public DialogForm {
 public:
  TFolderForm5() : DialogForm("FolderForm5", 350, 68) { SetCaption("Folder"); }
};

}  // namespace manager
