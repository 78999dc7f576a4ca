// Region-shaped forms and controls: a stored region from a form resource becomes the window's
// region (clicks in its holes reach the window beneath), an empty one the client rectangle, and
// a shaped control of another owner is forgotten when freed.
#include "suite/Std2.h"
#include "suite/tests/suitetest.h"
#include "vcl/GdiGuards.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

// A form of 240 x 180 client pixels at (160, 120) whose TqcFancyForm holds a 200 x 150 rectangle
// with a hole (80, 50)-(120, 90).
class TShapedTestForm : public TForm {
  ORV_CLASS(TShapedTestForm, TForm)
public:
  explicit TShapedTestForm(TComponent* AOwner) : TForm(AOwner) {}
  TqcFancyForm* Shape = nullptr;
};
static constinit const TPublishedField TShapedTestForm_Fields[] = {
    PublishedField<&TShapedTestForm::Shape>("Shape"),
};
ORV_IMPLEMENT_FORM(TShapedTestForm, TForm, nullptr, TShapedTestForm_Fields, nullptr)

// The same with an inverted rectangle in its region data.
class TBadRegionTestForm : public TForm {
  ORV_CLASS(TBadRegionTestForm, TForm)
public:
  explicit TBadRegionTestForm(TComponent* AOwner) : TForm(AOwner) {}
  TqcFancyForm* Shape = nullptr;
};
static constinit const TPublishedField TBadRegionTestForm_Fields[] = {
    PublishedField<&TBadRegionTestForm::Shape>("Shape"),
};
ORV_IMPLEMENT_FORM(TBadRegionTestForm, TForm, nullptr, TBadRegionTestForm_Fields, nullptr)

namespace {

using namespace suitetest;

// The window's region, or null without one.
TRgnOwner WindowRegion(HWND Wnd) {
  TRgnOwner R(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(Wnd, R) == ERROR) return TRgnOwner();
  return R;
}

TRect BoxOf(HRGN R) {
  RECT Box{};
  GetRgnBox(R, &Box);
  return Rect(Box.left, Box.top, Box.right, Box.bottom);
}

struct TMouseLog : TObject {
  int Downs = 0;
  void Down(TObject*, TMouseButton, TShiftState, int, int) { ++Downs; }
};

TEST(FancyForm, TheStoredRegionShapesTheFormAndItsHoleLetsClicksThrough) {
  TFormScene Beneath(320, 260);
  Beneath.Form->SetBounds(140, 100, 320, 260);
  TMouseLog BeneathLog, ShapedLog;
  Beneath.Form->OnMouseDown = EVENT(&BeneathLog, TMouseLog::Down);
  Beneath.Show();

  TFormPtr Form(TComponent::Create<TShapedTestForm>(nullptr));
  auto* F = static_cast<TShapedTestForm*>(Form.get());
  ASSERT_NE(F->Shape, nullptr);
  EXPECT_EQ(F->BorderStyle(), bsNone);
  EXPECT_EQ(F->BoundsRect(), Rect(160, 120, 360, 270)) << "sized to the region's box, not moved";
  F->OnMouseDown = EVENT(&ShapedLog, TMouseLog::Down);
  F->Show();
  Foreground(F);
  AppPumpRounds(3);
  TRgnOwner Applied = WindowRegion(F->Handle());
  ASSERT_TRUE(Applied);
  TRgnOwner Stored(F->Shape->Region()->Handle());
  EXPECT_TRUE(EqualRgn(Applied, Stored));

  // The hole at (100, 70) of the form shows the window beneath; (20, 20) is the form's own.
  const POINT Hole{160 + 100, 120 + 70}, Solid{160 + 20, 120 + 20};
  EXPECT_EQ(WindowFromPoint(Hole), Beneath.Form->Handle());
  EXPECT_EQ(WindowFromPoint(Solid), F->Handle());
  // The solid point first: the click in the hole brings the window beneath forward.
  for (POINT P : {Solid, Hole}) {
    vcltest::MoveMouse(GetDesktopWindow(), P.x, P.y);
    MouseButton(true);
    MouseButton(false);
  }
  EXPECT_EQ(BeneathLog.Downs, 1);
  EXPECT_EQ(ShapedLog.Downs, 1);
}

TEST(FancyForm, BadRegionDataFailsTheFormResource) {
  try {
    TFormPtr Form(TComponent::Create<TBadRegionTestForm>(nullptr));
    ADD_FAILURE() << "the form loaded";
  } catch (const EReadError& E) {
    EXPECT_STREQ(E.what(), "Invalid region data");
  }
}

TEST(FancyForm, AnEmptyRegionIsTheClientAndABoxAwayFromTheOriginOnlySizes) {
  TFormScene Scene(300, 200);
  Scene.Show();
  auto* Shape = TComponent::Create<TqcFancyForm>(Scene.Form.get());
  Shape->DoUpdate();
  EXPECT_EQ(Scene.Form->BorderStyle(), bsSizeable) << "nothing before Loaded";
  Shape->Loaded();
  EXPECT_EQ(Scene.Form->BorderStyle(), bsNone);
  EXPECT_EQ(Scene.Form->BoundsRect(), Rect(120, 90, 420, 290));
  TRgnOwner Applied = WindowRegion(Scene.Form->Handle());
  ASSERT_TRUE(Applied);
  EXPECT_EQ(BoxOf(Applied), Rect(0, 0, 300, 200));

  // A region (5, 5)-(65, 45): the form is 60 x 40 where it stood.
  TBitmap Picture;
  Picture.SetPixelFormat(pf24bit);
  Picture.SetSize(70, 50);
  Picture.Canvas()->Brush()->SetColor(clWhite);
  Picture.Canvas()->FillRect(Rect(0, 0, 70, 50));
  Picture.Canvas()->Brush()->SetColor(clRed);
  Picture.Canvas()->FillRect(Rect(5, 5, 65, 45));
  Shape->SerRgnFromBmp(&Picture, clWhite);
  EXPECT_EQ(Scene.Form->BoundsRect(), Rect(120, 90, 180, 130));
  Applied = WindowRegion(Scene.Form->Handle());
  EXPECT_EQ(BoxOf(Applied), Rect(5, 5, 65, 45));
}

TEST(FancyControl, ShapesItsControlAndForgetsOneOfAnotherOwnerWhenFreed) {
  TFormScene Scene;
  Scene.Show();
  TFormPtr Other(TCustomForm::CreateNew<TForm>(nullptr));
  auto* Edit = TComponent::Create<TMemo>(Other.get());
  Edit->SetBounds(10, 10, 120, 30);
  Edit->SetParent(Scene.Form.get());
  auto* Shape = TComponent::Create<TqcFancyControl>(Scene.Form.get());
  Shape->Loaded();
  Shape->SetControlComponent(Edit);
  TRgnOwner Applied = WindowRegion(Edit->Handle());
  ASSERT_TRUE(Applied);
  EXPECT_EQ(BoxOf(Applied), Rect(0, 0, 120, 30));

  TqcRgn Circle;
  {
    TRgnOwner R(CreateEllipticRgn(0, 0, 60, 20));
    const DWORD N = GetRegionData(R, 0, nullptr);
    std::vector<uint8_t> B(N);
    GetRegionData(R, N, reinterpret_cast<RGNDATA*>(B.data()));
    Circle.SetRgn(B.data(), int(N));
  }
  Shape->SetRgn(&Circle);
  TRgnOwner Wanted(Circle.Handle());
  const TRect Box = BoxOf(Wanted);
  EXPECT_EQ(Edit->BoundsRect(), Rect(10, 10, 10 + Box.Width(), 10 + Box.Height()));
  Applied = WindowRegion(Edit->Handle());
  EXPECT_TRUE(EqualRgn(Applied, Wanted));

  TObject::Free(Edit);
  EXPECT_EQ(Shape->ControlComponent(), nullptr);
  Shape->Clear();  // nothing to shape
}

}  // namespace
