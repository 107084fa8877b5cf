// The about-author dialog: who made the manager, and a link to the community site.
#pragma once
#include "manager/dialog_form.h"
#include "ui/group_box.h"
#include "ui/image.h"
#include "ui/label.h"

namespace manager {

class TAuthorForm7 : public DialogForm {
 public:
  TAuthorForm7();

  ui::Image Image1{this, "Image1"};
  ui::Label Label12{this, "Label12", 56, 8, "Tarnholm Manager"};
  ui::GroupBox GroupBox1{this, "GroupBox1"};
  ui::Label Label1{&GroupBox1, "Label1", 11, 16, "Name:"};
  ui::Label Label2{&GroupBox1, "Label2", 11, 35, "Nick:"};
  ui::Label Label3{&GroupBox1, "Label3", 11, 54, "Birth:"};
  ui::Label Label4{&GroupBox1, "Label4", 11, 73, "E-mail:"};
  ui::Label Label5{&GroupBox1, "Label5", 11, 92, std::string(27, '_')};
  ui::Label Label6{&GroupBox1, "Label6", 11, 111, "Home site:"};
  ui::Label Label7{&GroupBox1, "Label7", 50, 16, "TH Team"};
  ui::Label Label8{&GroupBox1, "Label8", 44, 35, "thteam"};
  ui::Label Label9{&GroupBox1, "Label9", 46, 54};
  ui::Label Label10{&GroupBox1, "Label10", 55, 73};
  ui::Label Label11{&GroupBox1, "Label11", 24, 130};

  void FormCreate(ui::Object* Sender);
  void FormShow(ui::Object* Sender);
  void Label11Click(ui::Object* Sender);
  void Label11MouseMove(ui::Object* Sender);
  void Label11MouseLeave(ui::Object* Sender);
};

}  // namespace manager
