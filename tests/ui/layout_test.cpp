#include <gtest/gtest.h>

#include "ui/form.h"
#include "ui/panel.h"

namespace {

struct Box {
  int l, t, w, h;
  bool operator==(const Box&) const = default;
};
Box BoundsOf(const ui::Control& c) { return {c.Left(), c.Top(), c.Width(), c.Height()}; }
void PrintTo(const Box& b, std::ostream* os) { *os << b.l << "," << b.t << " " << b.w << "x" << b.h; }

class LayoutForm : public ui::Form {
 public:
  LayoutForm() : Form("LayoutForm") { SetClientSize(400, 300); }
  ui::Panel top{this, "top"}, bottom{this, "bottom"}, left{this, "left"}, right{this, "right"},
      client{this, "client"}, placed{this, "placed"};
};

TEST(Layout, AlignedChildrenShareTheClientAreaInCreationOrder) {
  LayoutForm f;
  f.top.SetBounds(0, 0, 10, 50);
  f.top.SetAlign(ui::Align::Top);
  f.bottom.SetBounds(0, 0, 10, 30);
  f.bottom.SetAlign(ui::Align::Bottom);
  f.left.SetBounds(0, 0, 100, 10);
  f.left.SetAlign(ui::Align::Left);
  f.right.SetBounds(0, 0, 20, 10);
  f.right.SetAlign(ui::Align::Right);
  f.client.SetAlign(ui::Align::Client);
  f.placed.SetBounds(7, 9, 11, 13);

  EXPECT_EQ(BoundsOf(f.top), (Box{0, 0, 400, 50}));
  EXPECT_EQ(BoundsOf(f.bottom), (Box{0, 270, 400, 30}));
  EXPECT_EQ(BoundsOf(f.left), (Box{0, 50, 100, 220}));
  EXPECT_EQ(BoundsOf(f.right), (Box{380, 50, 20, 220}));
  EXPECT_EQ(BoundsOf(f.client), (Box{100, 50, 280, 220}));
  EXPECT_EQ(BoundsOf(f.placed), (Box{7, 9, 11, 13}));

  // A hidden panel gives its space to the client; a larger window grows the client only.
  f.top.Hide();
  EXPECT_EQ(BoundsOf(f.client), (Box{100, 0, 280, 270}));
  f.SetClientSize(500, 400);
  EXPECT_EQ(BoundsOf(f.client), (Box{100, 0, 380, 370}));
  EXPECT_EQ(BoundsOf(f.right), (Box{480, 0, 20, 370}));
}

TEST(Layout, PaddingKeepsAMarginForAlignedChildrenOnly) {
  LayoutForm f;
  f.client.SetAlign(ui::Align::Client);
  f.client.SetPadding(10);
  ui::Panel inner(&f.client, "inner");
  inner.SetAlign(ui::Align::Client);
  ui::Panel corner(&f.client, "corner");
  corner.SetBounds(0, 0, 5, 5);
  EXPECT_EQ(BoundsOf(inner), (Box{10, 10, 380, 280}));
  EXPECT_EQ(BoundsOf(corner), (Box{0, 0, 5, 5}));
}

}  // namespace
