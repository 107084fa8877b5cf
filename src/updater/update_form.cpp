#include "updater/update_form.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/files.h"
#include "platform/ini_file.h"
#include "shared/products.h"
#include "shared/window_buttons.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/glyphs.h"

namespace updater {

const char kUpdateHost[] = TH_UPDATE_HOST;

namespace {

constexpr char kVersionFile[] = "thencversion.ini";

// A version as the version file gives it: a digit, any one character, a digit; the rest is
// ignored. Nothing when the text has no such form.
std::optional<std::pair<int, int>> ReadVersion(std::string_view text) {
  auto digit = [](char ch) { return ch >= '0' && ch <= '9'; };
  if (text.size() < 3 || !digit(text[0]) || !digit(text[2])) return std::nullopt;
  return std::make_pair(text[0] - '0', text[2] - '0');
}

// What the version file publishes.
struct PublishedUpdate {
  std::string version;
  std::string url;
};

// Reads the version file and deletes it, however the reading ends, before the user is asked
// anything: the package may then be saved under the same name, and must not go with it.
PublishedUpdate ReadVersionFile(const std::string& file) {
  struct Remove {
    const std::string& file;
    ~Remove() { platform::DeleteFileAt(file); }
  } remove{file};
  platform::IniFile ini(file);
  return {ini.ReadString("update", "version", ""), ini.ReadString("update", "url", "")};
}

// A magnifying glass, the picture of the search button.
ui::Picture Magnifier(ui::Color c) {
  return [c](HDC dc, const RECT& r) {
    int side = std::min(r.right - r.left, r.bottom - r.top);
    int x = r.left + (r.right - r.left - side) / 2, y = r.top + (r.bottom - r.top - side) / 2;
    HPEN pen = CreatePen(PS_SOLID, std::max(1, side / 8), ui::Resolve(c));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, x + 1, y + 1, x + side * 2 / 3, y + side * 2 / 3);
    MoveToEx(dc, x + side * 3 / 5, y + side * 3 / 5, nullptr);
    LineTo(dc, x + side - 1, y + side - 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  };
}

}  // namespace

TForm1::TForm1() : Form("Form1") {
  SetClientSize(632, 453);
  SetBorderStyle(ui::BorderStyle::Single);
  SetCaption("Program Update");
  SetColor(ui::kBlack);
  SetFontColor(ui::kWhite);

  Panel1.Dock(ui::Align::Bottom, 36);
  Panel1.SetColor(ui::kButtonFace);
  Panel1.SetFontColor(ui::kBlack);
  // Wide enough for the Polish caption beside its picture; the right edge stays where it was.
  SpeedButton1.SetBounds(472, 6, 152, 25);
  SpeedButton1.SetCaption("Find New Version");
  SpeedButton1.SetGlyph(Magnifier(ui::kBlack), 14);
  LangButton.SetBounds(8, 6, 90, 25);
  LangButton.SetCaption("English");
  LangButton.SetGlyph(ui::glyphs::DropDown(), 12, true);

  Panel2.Dock(ui::Align::Client);
  LeftPanel2.Dock(ui::Align::Left, 185);
  Image1.SetBounds(0, 0, 80, 80);
  // It has no picture of its own; hidden, its window paints nothing over the emblem.
  Image1.SetVisible(false);
  Image2.SetBounds(32, 24, 130, 143);
  Image2.SetPicture(ui::glyphs::Logo());
  shared::SetUpWindowButtons(WindowButton, CloseButton, "Full Screen/Window");
  LeftBottomPanel2.Dock(ui::Align::Bottom, 47);
  ProgressBar1.SetBounds(19, 20, 150, 16);

  ClientPanel2.Dock(ui::Align::Client);
  TopPanel2.Dock(ui::Align::Top, 73);
  Image3.Dock(ui::Align::Top, 55);
  Image3.SetPicture(ui::glyphs::Banner("Tarnholm Encyclopaedia"));
  Memo1.Dock(ui::Align::Client);
  Memo1.SetEnabled(false);
  Memo1.SetReadOnly(true);
  Memo1.SetFontColor(ui::kBlack);
  BottomPanel2.Dock(ui::Align::Bottom, 10);
  RightPanel2.Dock(ui::Align::Right, 10);
  for (auto* panel :
       {&Panel2, &LeftPanel2, &LeftBottomPanel2, &ClientPanel2, &TopPanel2, &BottomPanel2, &RightPanel2})
    panel->SetColor(ui::kBlack);

  English1.SetEnabled(false);
  Lang.ShowFlags();
  SaveDialog1.FileName = "thenc.zip";

  SpeedButton1.OnClick = [this](ui::Object* s) { SpeedButton1Click(s); };
  LangButton.OnClick = [this](ui::Object* s) { LangButtonClick(s); };
  WindowButton.OnClick = [this](ui::Object* s) { WindowButtonClick(s); };
  CloseButton.OnClick = [this](ui::Object* s) { CloseButtonClick(s); };
  English1.OnClick = [this](ui::Object* s) { English1Click(s); };
  Polski1.OnClick = [this](ui::Object* s) { Polski1Click(s); };
  HTTPGet1.OnDoneFile = [this](ui::Object* s, const std::string& f, int n) { HTTPGet1DoneFile(s, f, n); };
  HTTPGet1.OnError = [this](ui::Object* s) { HTTPGet1Error(s); };
  HTTPGet2.OnProgress = [this](ui::Object* s, int total, int readed) { HTTPGet2Progress(s, total, readed); };
  HTTPGet2.OnDoneFile = [this](ui::Object* s, const std::string& f, int n) { HTTPGet2DoneFile(s, f, n); };
  HTTPGet2.OnError = [this](ui::Object* s) { HTTPGet2Error(s); };
  OnCloseQuery = [this](ui::Object* s, bool& canClose) { FormCloseQuery(s, canClose); };
}

TForm1::~TForm1() {
  // A version check still writing its file leaves no part of it behind; a file of that name that
  // it has not made yet (a package the user saved under it) stays.
  HTTPGet1.Discard();
}

void TForm1::Log(std::string_view english, std::string_view polish) {
  if (auto line = Lang.Pick(english, polish)) Memo1.AddLine(*line);
}

void TForm1::SpeedButton1Click(ui::Object*) {
  HTTPGet1.URL = "http://" + UpdateHost + "/" + kVersionFile;
  HTTPGet1.FileName = platform::ExeFolder() + kVersionFile;
  HTTPGet1.GetFile();
  Log("Downloading informations...", "Pobieranie informacji...");
}

void TForm1::HTTPGet1DoneFile(ui::Object*, const std::string& FileName, int) {
  Log("Checking new version", "Sprawdzanie, czy jest nowa wersja");
  const PublishedUpdate update = ReadVersionFile(FileName);
  auto published = ReadVersion(update.version);
  if (!published) {
    Log("The version file could not be read", "Nie można odczytać pliku wersji");
    return;
  }
  auto installed = ReadVersion(shared::kEncyclopaedia.version);
  if (*published <= *installed) {
    Log("The new program version was not found", "Nie znaleziono nowej wersji programu");
    return;
  }
  Log("You can download new program version", "Możesz ściągnąć nową wersję programu");
  if (ui::ShowBox(Handle(), ui::BoxKind::Message, "Czy chcesz pobrać nową wersję programu?",
                  "Informacja", MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  // One package at a time: the running download goes on into its own file.
  if (HTTPGet2.Busy()) {
    Log("The file is already being downloaded", "Plik jest już pobierany");
    return;
  }
  // The user did not choose a file this time: none is written, not even an earlier one.
  if (!SaveDialog1.Execute()) return;
  HTTPGet2.URL = update.url;
  HTTPGet2.FileName = SaveDialog1.FileName;
  HTTPGet2.GetFile();
  Log("File downloading", "Pobieranie pliku");
}

void TForm1::HTTPGet1Error(ui::Object*) {
  // What the failed check wrote of its file goes; a file of that name that it did not make stays.
  HTTPGet1.Discard();
  Log("Error", "Błąd");
}

void TForm1::HTTPGet2Progress(ui::Object*, int TotalSize, int Readed) {
  ProgressBar1.SetMax(TotalSize);
  ProgressBar1.SetPosition(Readed);
}

void TForm1::HTTPGet2DoneFile(ui::Object*, const std::string&, int) {
  Log("The program finished downloading the file", "Program zakończył pobieranie pliku");
}

void TForm1::HTTPGet2Error(ui::Object*) {
  Log("Problem with file downloading", "Problem z pobraniem pliku");
}

void TForm1::Polski1Click(ui::Object*) { SwitchLanguage(shared::Language::Polish); }

void TForm1::English1Click(ui::Object*) { SwitchLanguage(shared::Language::English); }

void TForm1::SwitchLanguage(shared::Language language) {
  Lang.Activate(language);
  const shared::Texts text(language);
  SpeedButton1.SetCaption(text("Find New Version", "Szukaj nową wersję"));
  LangButton.SetCaption(text("English", "Polski"));
  Label1.SetCaption(text("Progress:", "Postęp:"));
  WindowButton.SetHint(text("Full screen/Window", "Pełen ekran/Okno"));
  CloseButton.SetHint(text("Close", "Zamknij"));
  SetCaption(text("Program Update", "Update Programu"));
}

void TForm1::LangButtonClick(ui::Object*) {
  ui::Point at{LangButton.Left(), Panel2.Height() - Panel1.Height() - LangButton.Top()};
  PopupMenu1.Popup(ClientToScreen(at));
}

void TForm1::WindowButtonClick(ui::Object*) {
  if (GetBorderStyle() == ui::BorderStyle::None) {
    ShowCommand(SW_RESTORE);
    SetBorderStyle(ui::BorderStyle::Single);
  } else if (GetBorderStyle() == ui::BorderStyle::Single) {
    SetBorderStyle(ui::BorderStyle::None);
    ShowCommand(SW_SHOWMAXIMIZED);
  }
}

void TForm1::CloseButtonClick(ui::Object*) { Close(); }

void TForm1::FormCloseQuery(ui::Object*, bool& CanClose) {
  if (auto question = Lang.Pick("Are you sure you want to quit the program?",
                                "Na pewno zakończyć program?"))
    CanClose = ui::Confirm(*question);
}

TForm1* CreateUpdaterWindow() {
  auto& app = ui::Application::Instance();
  app.SetTitle(kTitle);
  return app.CreateForm<TForm1>();
}

}  // namespace updater
