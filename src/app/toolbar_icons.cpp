#include "app/toolbar_icons.h"

#include <QPixmap>

#include "app/command_ids.h"

namespace wk {
namespace {

// 16x15 button pictures in XPM form, one per toolbar command.
// clang-format off
const char* const kNewIcon[] = {
    "16 15 3 1",
    ". c None",
    "k c #000000",
    "w c #FFFFFF",
    "................",
    "..kkkkkkkk......",
    "..kwwwwwwkk.....",
    "..kwwwwwwkwk....",
    "..kwwwwwwkkkk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kkkkkkkkkkk...",
    "................"};
const char* const kOpenIcon[] = {
    "16 15 4 1",
    ". c None",
    "d c #808080",
    "k c #000000",
    "y c #FFFF00",
    "................",
    "................",
    "..........kkk...",
    ".........k...k.k",
    "..kkkk........kk",
    ".kyyyyk......kkk",
    ".kyyyyykkkkk....",
    ".kyyyyyyyyyk....",
    ".kyyyykkkkkkkkkk",
    ".kyyykddddddddk.",
    ".kyykddddddddk..",
    ".kykddddddddk...",
    ".kkddddddddk....",
    ".kkkkkkkkkkk....",
    "................"};
const char* const kSaveIcon[] = {
    "16 15 4 1",
    ". c None",
    "b c #000080",
    "k c #000000",
    "w c #FFFFFF",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kbkwwwwwwwwkbk.",
    ".kbkwwwwwwwwkbk.",
    ".kbkwwwwwwwwkbk.",
    ".kbkwwwwwwwwkbk.",
    ".kbbkkkkkkkkbbk.",
    ".kbbbbbbbbbbbbk.",
    ".kbbkkkkkkkkbbk.",
    ".kbbkwwkkkkkbbk.",
    ".kbbkwwkkkkkbbk.",
    ".kbbkwwkkkkkbbk.",
    "..kkkkkkkkkkkkk.",
    "................",
    "................"};
const char* const kCutIcon[] = {
    "16 15 3 1",
    ". c None",
    "b c #000080",
    "k c #000000",
    "................",
    "....k.....k.....",
    "....k.....k.....",
    "....k.....k.....",
    "....kk...kk.....",
    ".....k...k......",
    ".....kk.kk......",
    "......kkk.......",
    ".......k........",
    "......bkb.......",
    "....bbb.bbb.....",
    "...b..b.b..b....",
    "...b..b.b..b....",
    "...b..b.b..b....",
    "....bb...bb....."};
const char* const kCopyIcon[] = {
    "16 15 3 1",
    ". c None",
    "k c #000000",
    "w c #FFFFFF",
    "................",
    "kkkkkk..........",
    "kwwwwkk.........",
    "kwkkwkwk........",
    "kwwwwkkkkkkk....",
    "kwkkkwkwwwwkk...",
    "kwwwwwkwkkwkwk..",
    "kwkkkkkwwwwkkkk.",
    "kwwwwwkwkkkwwwk.",
    "kwkkkkkwwwwwwwk.",
    "kwwwwwkwkkkkkwk.",
    "kkkkkkkwwwwwwwk.",
    ".......wkkkkkwk.",
    ".......kwwwwwwk.",
    ".......kkkkkkkk."};
const char* const kPasteIcon[] = {
    "16 15 5 1",
    ". c None",
    "d c #808080",
    "k c #000000",
    "w c #FFFFFF",
    "y c #FFFF00",
    "................",
    ".....kkkk.......",
    ".kkkkyyyykkkk...",
    ".kdddkkkkdddk...",
    ".kddddddddddk...",
    ".kddddddddddk...",
    ".kddddkkkkkkkk..",
    ".kddddkwwwwwkwk.",
    ".kddddkwkkkwkkkk",
    ".kddddkwwwwwwwwk",
    ".kddddkwkkkkkkwk",
    ".kddddkwwwwwwwwk",
    ".kkkkkkwkkkkkkwk",
    "......kwwwwwwwwk",
    "......kkkkkkkkkk"};
const char* const kConnIcon[] = {
    "16 15 4 1",
    ". c None",
    "G c #00A000",
    "g c #C0C0C0",
    "k c #000000",
    "................",
    ".....kkkkkk.....",
    "....kggggggk....",
    "...kgkgkgkggk...",
    "...kgggggggggk..",
    "....kgkgkgkgk...",
    ".....kkkkkkk....",
    "........k.......",
    "........k.......",
    "........k.......",
    ".......kkk......",
    "......kGGGk.....",
    "......kGGGk.....",
    ".......kkk......",
    "................"};
const char* const kReadIcon[] = {
    "16 15 5 1",
    ". c None",
    "G c #00A000",
    "b c #000080",
    "g c #C0C0C0",
    "k c #000000",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kggggggggggggk.",
    ".kgGGgggggggggk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    ".......bb.......",
    ".......bb.......",
    ".......bb.......",
    "....bbbbbbbb....",
    ".....bbbbbb.....",
    "......bbbb......",
    ".......bb.......",
    "..kkkkkkkkkkkk..",
    "................"};
const char* const kWriteIcon[] = {
    "16 15 5 1",
    ". c None",
    "b c #000080",
    "g c #C0C0C0",
    "k c #000000",
    "r c #C00000",
    "................",
    ".......bb.......",
    "......bbbb......",
    ".....bbbbbb.....",
    "....bbbbbbbb....",
    ".......bb.......",
    ".......bb.......",
    ".......bb.......",
    ".kkkkkkkkkkkkkk.",
    ".kggggggggggggk.",
    ".kgrrgggggggggk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................"};
const char* const kPrintIcon[] = {
    "16 15 5 1",
    ". c None",
    "G c #00A000",
    "g c #C0C0C0",
    "k c #000000",
    "w c #FFFFFF",
    "................",
    "....kkkkkkkk....",
    "....kwwwwwwk....",
    "....kwkkkkwk....",
    "....kwwwwwwk....",
    "..kkkkkkkkkkkk..",
    ".kggggggggggggk.",
    ".kggggggggggGgk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    ".kgkwwwwwwwwkgk.",
    "..kkwkkkkkkwkk..",
    "....kwwwwwwk....",
    "....kkkkkkkk....",
    "................"};
const char* const kAboutIcon[] = {
    "16 15 4 1",
    ". c None",
    "b c #000080",
    "k c #000000",
    "w c #FFFFFF",
    "................",
    ".....kkkkkk.....",
    "....kbbbbbbk....",
    "...kbbwwwwbbk...",
    "...kbwwbbwwbk...",
    "...kbbbbbwwbk...",
    "....kbbbwwbk....",
    ".....kbwwbbk....",
    "......kbbbk.....",
    ".......kbk......",
    "......kwwwk.....",
    "......kwwwk.....",
    ".......kkk......",
    "................",
    "................"};
const char* const kOptionsIcon[] = {
    "16 15 4 1",
    ". c None",
    "G c #00A000",
    "k c #000000",
    "w c #FFFFFF",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwwk.",
    ".kwkkkkkwwwwwwk.",
    ".kwkwwwkwkkkkwk.",
    ".kwkwGGkwwwwwwk.",
    ".kwkGwGkwkkkwwk.",
    ".kwkkkkkwwwwwwk.",
    ".kwkkkkkwwwwwwk.",
    ".kwkwwwkwkkkkwk.",
    ".kwkwwwkwwwwwwk.",
    ".kwkkkkkwkkwwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkk.",
    "................"};
const char* const kHealthIcon[] = {
    "16 15 3 1",
    ". c None",
    "r c #C00000",
    "w c #FFFFFF",
    "................",
    "...rrr....rrr...",
    "..rrrrr..rrrrr..",
    ".rrrrrrrrrrrrrr.",
    ".rrrrrrrrrrrrrr.",
    ".rrrrrrwrrrrrrr.",
    ".wwwwrrwrrwwwww.",
    ".rrrrwrwrwrrrrr.",
    "..rrrwwrwwrrrr..",
    "...rrrwrwrrrr...",
    "....rrrwrrrr....",
    ".....rrrrrr.....",
    "......rrrr......",
    ".......rr.......",
    "................"};
// clang-format on

}  // namespace

QIcon toolbarIcon(int id) {
  const char* const* xpm = nullptr;
  switch (id) {
    case cmd::FileNew: xpm = kNewIcon; break;
    case cmd::FileOpen: xpm = kOpenIcon; break;
    case cmd::FileSave: xpm = kSaveIcon; break;
    case cmd::EditCut: xpm = kCutIcon; break;
    case cmd::EditCopy: xpm = kCopyIcon; break;
    case cmd::EditPaste: xpm = kPasteIcon; break;
    case cmd::ConnectionSetup: xpm = kConnIcon; break;
    case cmd::ReadAllData: xpm = kReadIcon; break;
    case cmd::WriteAllData: xpm = kWriteIcon; break;
    case cmd::FilePrint: xpm = kPrintIcon; break;
    case cmd::AppAbout: xpm = kAboutIcon; break;
    case cmd::Options: xpm = kOptionsIcon; break;
    case cmd::HealthStatus: xpm = kHealthIcon; break;
    default: return {};
  }
  return QIcon(QPixmap(xpm));
}

}  // namespace wk
