// The save-file dialog as a component of a form: it keeps the last confirmed file as the next
// proposal. It passes the dialog seam, so tests answer it.
#pragma once
#include <string>

#include "ui/types.h"

namespace ui {

class Form;

class SaveDialog : public Object {
 public:
  SaveDialog(Form* owner, std::string name) : Object(std::move(name)), owner_(owner) {}

  std::string FileName;
  std::string Filter;  // pairs of "text|pattern", separated by "|"
  std::string DefaultExt;
  std::string Title;

  // Shows the dialog over the owner's window; true when the user confirmed a file, which then
  // is FileName.
  bool Execute();

 private:
  Form* owner_;
};

}  // namespace ui
