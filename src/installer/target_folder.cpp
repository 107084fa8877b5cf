// The folder page: the parent folder field and its pickers, the disk-space labels and the
// new-folder window.
#include <cmath>

#include "installer/find_form.h"
#include "installer/wizard_form.h"
#include "platform/number_format.h"
#include "platform/text.h"
#include "ui/application.h"

namespace installer {

void TForm1::FormCreate(ui::Object*) { DirEdit.SetText("c"); }

void TForm1::FormShow(ui::Object*) {
  DirectoryListBox1.SetDirectory("C:\\");
  DirEdit.SetText(DirectoryListBox1.Directory());
  UpdateDiskSpaceLabels();
}

void TForm1::DirectoryListBox1Change(ui::Object*) { DirEdit.SetText(DirectoryListBox1.Directory()); }

void TForm1::DiscEditChange(ui::Object*) { UpdateDiskSpaceLabels(); }

void TForm1::DriveComboBox1Change(ui::Object*) { UpdateDiskSpaceLabels(); }

void TForm1::UpdateDiskSpaceLabels() {
  std::wstring text = platform::Widen(DirEdit.Text());
  // An empty field names no drive at all: the labels keep what they show.
  if (text.empty()) return;
  // The drive number is the first character's code minus 64 in 8-bit arithmetic, so "c" and "C"
  // both name drive C and "@" the current drive. A character beyond 8 bits names no drive, as the
  // '?' that an 8-bit code page would turn it into.
  unsigned code = text[0] <= 0xFF ? text[0] : '?';
  auto drive = static_cast<unsigned char>(code - 64);
  std::int64_t free = DiskFree(drive);
  std::int64_t total = DiskSize(drive);
  // Multiplying first keeps an exact half exact, so that it goes to the even neighbour.
  double percent = total != 0 ? std::nearbyint(static_cast<double>(total - free) * 100.0 /
                                               static_cast<double>(total))
                              : 0.0;
  auto number = [](std::int64_t v) { return platform::FormatNumber(static_cast<double>(v), 12, 0); };
  std::string share = std::to_string(static_cast<long long>(percent));
  switch (Lang.Active()) {
    case shared::Language::English:
      FreeSpaceLabel.SetCaption("Free Space: " + number(free));
      TotalSpaceLabel.SetCaption("Total Space: " + number(total));
      ProportionalLabel.SetCaption(share + "% Percent usage.");
      break;
    case shared::Language::Polish:
      FreeSpaceLabel.SetCaption("Wolna przestrzeń: " + number(free));
      TotalSpaceLabel.SetCaption("Całkowita przestrzeń: " + number(total));
      ProportionalLabel.SetCaption(share + "% Użycie procentowe.");
      break;
    case shared::Language::None:
      break;
  }
}

void TForm1::NewFolderButtonClick(ui::Object*) {
  if (FindForm2 && FindForm2->Visible()) {
    FindForm2->BringToFront();
    return;
  }
  // Always a fresh window, so a name typed in an earlier one is gone. The one made at start is
  // never shown; a closed one has freed itself.
  auto& app = ui::Application::Instance();
  if (FindForm2) app.Release(FindForm2);
  FindForm2 = app.CreateForm<TFindForm2>(*this);
  FindForm2->Show();
}

}  // namespace installer
