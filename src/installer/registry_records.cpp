// Each installed product's key under the vendor key and its entry in the system's list of
// installed programs. Every value is written in a key opened just for it.
#include "installer/wizard_form.h"
#include "platform/registry.h"

namespace installer {

void TForm1::WriteEncyclopaediaKey() { WriteProductKey(shared::kEncyclopaedia, THENCPathLabel1); }

void TForm1::WriteManagerKey() { WriteProductKey(shared::kManager, THManagerPathLabel1); }

void TForm1::WriteEncyclopaediaUninstallEntry() {
  WriteUninstallEntry(shared::kEncyclopaedia, THENCPathLabel1);
}

void TForm1::WriteManagerUninstallEntry() { WriteUninstallEntry(shared::kManager, THManagerPathLabel1); }

void TForm1::WriteProductKey(const shared::Product& product, ui::Label& pathLabel) {
  platform::Registry registry(HKEY_LOCAL_MACHINE, KEY_ALL_ACCESS);
  registry.OpenKey(shared::kSoftwareKey, true);
  registry.CreateKey(shared::kVendorKey);
  registry.CloseKey();
  registry.OpenKey(shared::kVendorKey, true);
  registry.CreateKey(product.KeyPath());
  registry.CloseKey();
  registry.OpenKey(product.KeyPath(), true);
  registry.WriteString(shared::kPathValue, pathLabel.Caption());
  registry.CloseKey();
  registry.OpenKey(product.KeyPath(), true);
  registry.WriteString(shared::kVerValue, product.version);
  registry.CloseKey();
}

void TForm1::WriteUninstallEntry(const shared::Product& product, ui::Label& pathLabel) {
  platform::Registry registry(HKEY_LOCAL_MACHINE, KEY_ALL_ACCESS);
  registry.OpenKey(shared::kUninstallKey, true);
  registry.CreateKey(product.EntryPath());
  registry.CloseKey();
  registry.OpenKey(product.EntryPath(), true);
  registry.WriteString(shared::kDisplayNameValue, product.entryName);
  registry.CloseKey();
  registry.OpenKey(product.EntryPath(), true);
  // Quoted: the system would otherwise try the folder's name up to its first blank as a program
  // first ("C:\Games\Tarnholm.exe"), with the rights of whoever uninstalls.
  registry.WriteString(shared::kUninstallStringValue,
                       "\"" + pathLabel.Caption() + shared::kUninstallExe + "\"");
  registry.CloseKey();
}

}  // namespace installer
