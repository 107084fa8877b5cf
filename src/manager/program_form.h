// The about-program dialog: version, build, makers, licence and where to send comments.
#pragma once
#include "manager/dialog_form.h"
#include "ui/group_box.h"
#include "ui/label.h"

namespace manager {

class TAbProgramForm8 : public DialogForm {
 public:
  TAbProgramForm8();

  ui::Label Label1{this, "Label1", 37, 8, "Tarnholm Manager"};
  ui::GroupBox GroupBox1{this, "GroupBox1"};
  ui::Label Label2{&GroupBox1, "Label2", 40, 24, "Version:"};
  ui::Label Label3{&GroupBox1, "Label3", 89, 24, "1.1"};
  ui::Label Label4{&GroupBox1, "Label4", 120, 24, "Build:"};
  ui::Label Label5{&GroupBox1, "Label5", 156, 24, "11"};
  ui::Label Label6{&GroupBox1, "Label6", 48, 51, "Written by"};
  ui::Label Label7{&GroupBox1, "Label7", 132, 51, "TH Team"};
  ui::Label Label8{&GroupBox1, "Label8", 68, 70, "Art by"};
  ui::Label Label9{&GroupBox1, "Label9", 120, 70, "TH Team"};
  ui::Label Label10{&GroupBox1, "Label10", 13, 89, std::string(31, '_')};
  ui::Label Label11{&GroupBox1, "Label11", 55, 108, "License:"};
  ui::Label Label13{&GroupBox1, "Label13", 21, 127, "Free to use and to pass on."};
  ui::Label Label14{&GroupBox1, "Label14", 13, 146, std::string(31, '_')};
  ui::Label Label15{&GroupBox1, "Label15", 22, 165, "For comments:"};
  ui::Label Label16{&GroupBox1, "Label16", 97, 165};

  void FormCreate(ui::Object* Sender);
  void FormShow(ui::Object* Sender);
};

}  // namespace manager
