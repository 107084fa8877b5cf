#include "manager/game_command.h"

#include <windows.h>

#include "platform/shell.h"

namespace manager {

std::string GameCommandLine(const std::string& gameFolder, std::string_view tail,
                            const std::string& values) {
  return "\"" + gameFolder + std::string(tail) + values;
}

void StartGame(const std::string& gameFolder, std::string_view tail, const std::string& values) {
  platform::RunCommandLine(GameCommandLine(gameFolder, tail, values), SW_SHOWNORMAL);
}

}  // namespace manager
