#include "ui/save_dialog.h"

#include "ui/dialogs.h"
#include "ui/form.h"

namespace ui {

bool SaveDialog::Execute() {
  SaveRequest request{FileName, Filter, DefaultExt, Title, owner_ ? owner_->Handle() : nullptr};
  if (!ShowSaveDialog(request)) return false;
  FileName = request.fileName;
  return true;
}

}  // namespace ui
