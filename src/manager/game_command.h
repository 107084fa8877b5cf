// The command lines with which the manager starts the game: a double quote, the game folder as
// it stands, then the switch's tail stored whole; the switches that carry values end in a blank
// after which the values follow.
#pragma once
#include <string>
#include <string_view>

namespace manager {

inline constexpr std::string_view kLogTail = "\\Tarn.exe\" Log";
inline constexpr std::string_view kSkipTail = "\\Tarn.exe\" Skip";
inline constexpr std::string_view kWindowTail = "\\Tarn.exe\" Window";
inline constexpr std::string_view kDevmodeTail = "\\Tarn.exe\" Devmode";
inline constexpr std::string_view kHostTail = "\\Tarn.exe\" /H";
inline constexpr std::string_view kAnimateCreditWaterTail = "\\Tarn.exe\" Animatecreditwater";
inline constexpr std::string_view kNoListingTail = "\\Tarn.exe\" NoListing";
inline constexpr std::string_view kJoinTail = "\\Tarn.exe\" /J 1 ";
inline constexpr std::string_view kCustomResTail = "\\Tarn.exe\" CustomRes ";

// The game's executable for the default start, which the shell opens: no quotes, no switch.
inline constexpr std::string_view kGameExe = "\\Tarn.exe";

std::string GameCommandLine(const std::string& gameFolder, std::string_view tail,
                            const std::string& values = {});

// Starts the game with a command line, shown normally; the outcome is not examined.
void StartGame(const std::string& gameFolder, std::string_view tail, const std::string& values = {});

}  // namespace manager
