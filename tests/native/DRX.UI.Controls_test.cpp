// The control tree without windows: ownership and names, parents and their
// aligned children, scaling, mouse hit tests and accelerators.
#include "DRX.UI.Controls.h"

#include <gtest/gtest.h>

namespace {

// A control that counts its destruction and may refuse points.
class TProbe : public TDRXCustomControl {
 public:
  TProbe(TDRXComponent* owner, int* destroyed = nullptr) : TDRXCustomControl(owner), destroyed_(destroyed) {}
  ~TProbe() override {
    if (destroyed_) ++*destroyed_;
  }
  bool HasCaption() const override { return true; }
  bool HitTest(TPoint point) const override { return !refuseLeftHalf || point.X >= Width() / 2; }
  bool refuseLeftHalf = false;

 private:
  int* destroyed_;
};

TEST(Components, OwnerFindsByNameIgnoringCaseAndDestroysWhatItOwns) {
  int destroyed = 0;
  {
    TDRXComponent owner;
    auto* first = new TProbe(&owner, &destroyed);
    first->SetName(u"bNext");
    auto* second = new TProbe(&owner, &destroyed);
    second->SetName(u"L1");
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.FindComponent(u"BNEXT"), first);
    EXPECT_EQ(owner.FindComponent(u"l1"), second);
    EXPECT_EQ(owner.FindComponent(u""), nullptr);
    EXPECT_EQ(owner.FindComponent(u"L2"), nullptr);
    delete first;  // leaves its owner
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(destroyed, 1);
  }
  EXPECT_EQ(destroyed, 2);
}

TEST(Components, LocalisationSetsCaptionsByWalkingTheOwnedComponents) {
  TDRXCustomControl page;
  auto* label = new TProbe(&page);
  label->SetName(u"L1");
  auto* captionless = new TDRXCustomControl(&page);
  captionless->SetName(u"P1");
  for (int i = 0; i < page.ComponentCount(); ++i) {
    TDRXComponent* component = page.Components(i);
    if (component->HasCaption()) component->SetCaption(u"Welcome");
  }
  EXPECT_EQ(label->Caption(), u"Welcome");
  EXPECT_EQ(captionless->Caption(), u"");
}

TEST(Controls, AParentDestroysItsChildrenAndAnOwnerWhatIsLeft) {
  int destroyed = 0;
  auto* owner = new TDRXComponent;
  auto* parent = new TProbe(owner, &destroyed);
  auto* child = new TProbe(owner, &destroyed);
  auto* grandChild = new TProbe(owner, &destroyed);
  child->SetParent(parent);
  grandChild->SetParent(child);
  delete parent;
  EXPECT_EQ(destroyed, 3);
  EXPECT_EQ(owner->ComponentCount(), 0);
  delete owner;
  EXPECT_EQ(destroyed, 3);
}

TEST(Controls, AControlCannotBecomeItsOwnAncestor) {
  TDRXCustomControl parent;
  auto* child = new TDRXCustomControl(&parent);
  child->SetParent(&parent);
  parent.SetParent(child);
  EXPECT_EQ(parent.Parent(), nullptr);
  EXPECT_EQ(child->Parent(), &parent);
}

TEST(Controls, AlignedChildrenFollowPaddingResizeVisibilityAndScale) {
  TDRXCustomControl page;
  page.SetBounds(0, 0, 640, 400);
  page.SetPadding({40, 20, 40, 20});
  auto* warning = new TDRXCustomControl(&page);
  warning->SetBounds(0, 0, 10, 30);
  warning->SetAlign(alBottom);
  warning->SetParent(&page);
  auto* anchored = new TDRXCustomControl(&page);
  anchored->SetBounds(500, 350, 100, 25);
  anchored->SetAnchors(akRight | akBottom);
  anchored->SetParent(&page);
  EXPECT_EQ(warning->BoundsRect(), Rect(40, 350, 600, 380));

  page.SetBounds(0, 0, 700, 500);
  EXPECT_EQ(warning->BoundsRect(), Rect(40, 450, 660, 480));
  EXPECT_EQ(anchored->BoundsRect(), Bounds(560, 450, 100, 25));

  page.ChangeScale(144, 96);
  EXPECT_EQ(page.BoundsRect(), Rect(0, 0, 1050, 750));
  EXPECT_EQ(page.Padding(), (TDRXMargins{60, 30, 60, 30}));
  EXPECT_EQ(warning->BoundsRect(), Rect(60, 675, 990, 720));  // scaled height, aligned again
  EXPECT_EQ(anchored->BoundsRect(), Rect(840, 675, 990, 713));  // scaled, not anchored twice

  warning->SetVisible(false);
  auto* filler = new TDRXCustomControl(&page);
  filler->SetAlign(alClient);
  filler->SetParent(&page);
  EXPECT_EQ(filler->BoundsRect(), Rect(60, 30, 990, 720));
}

TEST(Controls, FontsComeFromTheParentUntilSetAndScaleWithIt) {
  TDRXCustomControl form;
  TFont font;
  font.Height = -11;
  form.SetFont(font);
  auto* child = new TDRXCustomControl(&form);
  child->SetParent(&form);
  EXPECT_EQ(child->Font().Height, -11);
  form.ChangeScale(144, 96);
  EXPECT_EQ(child->Font().Height, -17);
  font.Height = -20;
  child->SetFont(font);
  form.ChangeScale(96, 144);
  EXPECT_EQ(form.Font().Height, -11);
  EXPECT_EQ(child->Font().Height, -13);
}

TEST(Controls, TheTopmostAcceptingWindowlessControlGetsThePoint) {
  TDRXCustomControl form;
  form.SetBounds(0, 0, 300, 200);
  auto* page = new TDRXCustomControl(&form);
  page->SetBounds(10, 10, 200, 100);
  page->SetParent(&form);
  auto* below = new TProbe(&form);
  below->SetBounds(20, 20, 40, 20);
  below->SetParent(page);
  auto* above = new TProbe(&form);
  above->SetBounds(20, 20, 40, 20);
  above->SetParent(page);
  above->refuseLeftHalf = true;
  TPoint local;
  EXPECT_EQ(form.WindowlessControlAt({50, 35}, local), above);  // the right half is above's
  EXPECT_EQ(local, (TPoint{20, 5}));
  EXPECT_EQ(form.WindowlessControlAt({35, 35}, local), below);  // above lets the left half through
  EXPECT_EQ(form.WindowlessControlAt({15, 15}, local), page);
  EXPECT_EQ(form.WindowlessControlAt({250, 150}, local), nullptr);
  below->SetEnabled(false);
  EXPECT_EQ(form.WindowlessControlAt({35, 35}, local), page);
  page->SetVisible(false);
  EXPECT_EQ(form.WindowlessControlAt({50, 35}, local), nullptr);
  EXPECT_EQ(above->OriginInParentWindow(), (TPoint{30, 30}));
}

TEST(Accelerators, TheCharacterAfterASingleAmpersand) {
  EXPECT_EQ(AcceleratorOf(u"&Next >"), u'N');
  EXPECT_EQ(AcceleratorOf(u"Save && &quit"), u'Q');
  EXPECT_EQ(AcceleratorOf(u"Tom && Jerry"), 0);
  EXPECT_EQ(AcceleratorOf(u"Trailing &"), 0);
  EXPECT_EQ(AcceleratorOf(u""), 0);
  EXPECT_TRUE(IsAccelerator(u'n', u"&Next >"));
  EXPECT_FALSE(IsAccelerator(u'e', u"&Next >"));
  EXPECT_EQ(StripAccelerator(u"&Next >"), u"Next >");
  EXPECT_EQ(StripAccelerator(u"Tom && &Jerry"), u"Tom & Jerry");
  EXPECT_EQ(StripAccelerator(u"&"), u"");
  EXPECT_EQ(AcceleratorShortcut(u"I &accept the agreement"), u"Alt+A");
  EXPECT_EQ(AcceleratorShortcut(u"&\u0414\u0430\u043B\u0435\u0435"), u"Alt+\u0414");
  EXPECT_EQ(AcceleratorShortcut(u"Tom && Jerry"), u"");
  EXPECT_EQ(AcceleratorShortcut(u"& space"), u"");
  EXPECT_EQ(StripAccelerator(u"Save && &quit"), u"Save & quit");
}

}  // namespace
