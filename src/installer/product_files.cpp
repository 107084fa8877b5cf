// The product folders and the carried files written into them.
#include <string>
#include <vector>

#include "installer/wizard_form.h"
#include "platform/files.h"
#include "platform/full_path.h"
#include "platform/resources.h"
#include "ui/application.h"

namespace installer {

void TForm1::CreateEncyclopaediaFolder() { CreateProductFolder(shared::kEncyclopaedia); }

void TForm1::CreateManagerFolder() { CreateProductFolder(shared::kManager); }

void TForm1::ExtractEncyclopaediaFiles() {
  ExtractFiles(shared::kEncyclopaedia, THENCPathLabel1, kEncyclopaediaRows);
}

void TForm1::ExtractManagerFiles() { ExtractFiles(shared::kManager, THManagerPathLabel1, kManagerRows); }

void TForm1::ApplyBackslashRule() {
  std::string text = DirEdit.Text();
  if (!text.empty() && text.back() != '\\') DirEdit.SetText(text + "\\");
}

void TForm1::CreateProductFolder(const shared::Product& product) {
  ApplyBackslashRule();
  std::string folder = DirEdit.Text() + product.folderName;
  newProductFolder_.clear();
  if (platform::DirectoryExists(folder)) {
    if (auto text = Lang.Pick("Folder of the program was changed during setup.",
                              "Katalog programu został podmieniony w czasie instalacji."))
      ChangeLabel.SetCaption(*text);
    ChangeLabel.Show();
  } else {
    // Not checked: a folder that could not be made stops the first file written into it.
    if (platform::CreateDir(folder)) newProductFolder_ = platform::FullPath(folder);
  }
}

void TForm1::ExtractFiles(const shared::Product& product, ui::Label& pathLabel,
                          std::span<const PayloadRow> rows) {
  // Held as a full path: the registry records and the links built from it are used later by
  // programs whose current folder is another one.
  pathLabel.SetCaption(
      platform::FullPath(platform::WithTrailingBackslash(DirEdit.Text()) + product.folderName) + "\\");
  // Each file is written whole or not at all; a failed run takes back the files and the folder
  // that it made anew, and leaves the files that it replaced, each one whole, old or new.
  std::vector<std::string> newFiles;
  try {
    for (const PayloadRow& row : rows) {
      ui::Application::Instance().ProcessMessages();
      FillProgressBar();
      std::string target = pathLabel.Caption() + row.fileName;
      bool isNew = !platform::FileExists(target);
      platform::ResourceStream(row.resourceName).SaveToFile(target);
      if (isNew) newFiles.push_back(target);
    }
  } catch (...) {
    for (const std::string& file : newFiles) platform::DeleteFileAt(file);
    if (!newProductFolder_.empty()) platform::RemoveDir(newProductFolder_);
    throw;
  }
}

// Purely visual, before each file: it says nothing about the write that follows.
void TForm1::FillProgressBar() {
  auto& app = ui::Application::Instance();
  for (int step = 0; step <= 100; ++step) {
    app.ProcessMessages();
    Sleep(3);
    ProgressBar1.SetPosition(step);
  }
}

}  // namespace installer
