// The files the installer carries inside itself, as RCDATA resources of its own executable.
#pragma once
#include <span>

#include "shared/products.h"

namespace installer {

// One carried file: the resource holding its bytes, and its name in the product folder.
struct PayloadRow {
  const char* resourceName;
  const char* fileName;
};

inline constexpr PayloadRow kPayloadTable[] = {
    {"THENC", shared::kEncyclopaediaExe},       {"THENCUPDATER", shared::kUpdaterExe},
    {"README", shared::kReadmeFile},            {"THENCUNINSTALL", shared::kUninstallExe},
    {"THMANAGER", shared::kManagerExe},         {"PARLEY", shared::kParleyExe},
    {"THMUNINSTALL", shared::kUninstallExe},
};

// Each product set writes its own rows, in table order.
inline constexpr std::span<const PayloadRow> kEncyclopaediaRows{kPayloadTable, 4};
inline constexpr std::span<const PayloadRow> kManagerRows{kPayloadTable + 4, 3};

}  // namespace installer
