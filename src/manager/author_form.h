// The about-author dialog.
#pragma once
#include "manager/dialog_form.h"

namespace manager {

class TAuthorForm7 : public DialogForm {
 public:
  TAuthorForm7() : DialogForm("AuthorForm7", 279, 188) { SetCaption("Author"); }
};

}  // namespace manager
