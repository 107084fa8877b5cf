// What differs between the manager's and the encyclopaedia's build of the uninstaller.
#pragma once
#include "shared/products.h"

namespace uninstaller {

struct UninstallProductData {
  shared::Product product;  // its key under the vendor key and its uninstall entry
  const char* captionEnglish;
  const char* captionPolish;
  const char* title;  // never translated
  const char* welcomeEnglish;
  const char* welcomePolish;
};

inline constexpr UninstallProductData kManagerUninstall{
    shared::kManager,
    "Tarnholm Manager - Deinstaller v1.0",
    "Tarnholm Manager - Deinstalator v1.0",
    "Tarnholm Manager 1.0",
    "This wizard will guide you through the uninstallation of Tarnholm Manager.",
    "Ten program pomoże ci usunąć Tarnholm Manager.",
};

inline constexpr UninstallProductData kEncyclopaediaUninstall{
    shared::kEncyclopaedia,
    "Tarnholm Encyclopaedia - Deinstaller v1.0",
    "Tarnholm Encyclopaedia - Deinstalator v1.0",
    "Tarnholm Encyclopaedia v3.0",
    "This wizard will guide you through the uninstallation of Tarnholm Encyclopaedia.",
    "Ten program pomoże ci usunąć Tarnholm Encyclopaedia.",
};

}  // namespace uninstaller
