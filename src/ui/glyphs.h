// The suite's pictures, drawn in code: button glyphs, the logo and the banners.
#pragma once
#include <string>

#include "ui/types.h"

namespace ui::glyphs {

Picture Close(Color c = kWhite);       // a cross
Picture FullScreen(Color c = kWhite);  // a window frame
Picture MainMenu(Color c = kWhite);    // three bars
Picture DropDown(Color c = kBlack);    // a small triangle pointing down
Picture Back(Color c = kWhite);        // an arrow to the left
Picture Enter(Color c = kWhite);       // an arrow to the right
Picture NewFolder(Color c = kWhite);   // a folder with a plus

// Menu pictures, in colour on the menu's own background.
Picture Folder(bool open = false);  // a yellow folder
Picture Tree();                      // a folder tree
Picture ViewStyles();                // four tiles
Picture Book();                      // the encyclopaedia
Picture SpeechBubble();              // the chat program
Picture Download();                  // an arrow into a tray: the updater
Picture Globe();                     // the community site
Picture Servers();                   // a stack of servers
Picture Archive();                   // a box of files
Picture Lifebuoy();                  // the support site
Picture Pennant();                   // the game's official site
Picture Monitor();                   // the visitor's own address
Picture Plus();                      // a green plus
Picture Disc();                      // a disc
Picture Person();                    // head and shoulders
Picture Blocks();                    // two building blocks: the mods
Picture Checks();                    // a checked pattern: the textures
Picture Warning();                   // a red sign with an exclamation mark: the error logs
Picture Page();                      // a written page: the game's settings
Picture EnglishFlag();               // a red cross on white
Picture PolishFlag();                // white over red
Picture Information();               // a blue round sign with an "i"
Picture Emblem();                    // the suite's emblem, filling a menu picture's area
// A picture with a smaller one over its lower right quarter.
Picture Badge(Picture base, Picture emblem);

// The suite's emblem: a tower on a shield, sized to the area.
Picture Logo();
// A picture drawn inside the area less the given margins.
Picture Inset(Picture picture, int left, int top, int right, int bottom);
// A dark banner with a title, centred.
Picture Banner(std::string title);

}  // namespace ui::glyphs
