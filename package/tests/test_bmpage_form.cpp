// A form with a page control, three sheets and a wave their sounds name, compiled from its text
// form by the form compiler: it loads as written and writes back byte for byte.
#include "package/tests/pkgtest.h"

class TPageTestForm : public TForm {
  ORV_CLASS(TPageTestForm, TForm)
public:
  explicit TPageTestForm(TComponent* AOwner) : TForm(AOwner) {}
  TBMPageControl* Pages = nullptr;
  TBMTabSheet* First = nullptr;
  TBMTabSheet* Second = nullptr;
  TBMTabSheet* Third = nullptr;
  TBMWave* Chime = nullptr;
};

static constinit const TPublishedField TPageTestForm_Fields[] = {
    PublishedField<&TPageTestForm::Pages>("Pages"),   PublishedField<&TPageTestForm::First>("First"),
    PublishedField<&TPageTestForm::Second>("Second"), PublishedField<&TPageTestForm::Third>("Third"),
    PublishedField<&TPageTestForm::Chime>("Chime"),
};
ORV_IMPLEMENT_FORM(TPageTestForm, TForm, nullptr, TPageTestForm_Fields, nullptr)

namespace {

using namespace pkgtest;

TEST(PageForm, LoadsAsWrittenAndWritesBackTheSame) {
  TFormPtr Form(TComponent::Create<TPageTestForm>(nullptr));
  auto* F = static_cast<TPageTestForm*>(Form.get());
  ASSERT_NE(F->Pages, nullptr);
  ASSERT_NE(F->Chime, nullptr);
  ASSERT_EQ(F->Pages->PageCount(), 3);
  EXPECT_EQ(F->Pages->Pages(1), F->Second);
  EXPECT_EQ(F->Pages->ActivePage(), F->Second);
  EXPECT_EQ(F->Pages->TabColorization(), tcActive);
  EXPECT_EQ(F->Pages->Styles(), 1u << tabCenterText);
  EXPECT_EQ(F->Pages->FlashingDelay(), 12);
  EXPECT_EQ(F->Pages->HighlightSound(), F->Chime);
  EXPECT_EQ(F->Pages->SelectSound(), F->Chime);
  EXPECT_EQ(F->Pages->PulseSound(), nullptr);
  EXPECT_EQ(F->Third->PulseSound(), F->Chime);
  EXPECT_EQ(F->Third->BackgroundStyle(), bgsTailed);
  EXPECT_EQ(F->Second->TransparentLevel(), 40);
  EXPECT_TRUE(F->Second->Transparent());
  EXPECT_EQ(F->First->Glyph()->Width(), 4);
  EXPECT_EQ(F->First->TabGlyph(0)->Canvas()->Pixels(1, 1), clRed);
  Bytes Pcm(24);
  for (int I = 0; I < 24; ++I) Pcm[size_t(I)] = uint8_t(I * 7 + 5);
  const Bytes Image = WaveImage(Pcm);
  ASSERT_EQ(F->Chime->Wave()->Length(), int(Image.size()));
  EXPECT_EQ(Bytes(F->Chime->Wave()->Data(), F->Chime->Wave()->Data() + Image.size()), Image);
  // Written back: the form compiler's bytes exactly.
  HRSRC Res = FindResourceA(nullptr, "TPAGETESTFORM", MAKEINTRESOURCEA(10));
  ASSERT_NE(Res, nullptr);
  const auto* Compiled = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, Res)));
  const Bytes Original(Compiled, Compiled + SizeofResource(nullptr, Res));
  TMemoryStream Out;
  WriteComponentRes(&Out, Form.get());
  const auto* W = static_cast<const uint8_t*>(Out.Memory());
  EXPECT_EQ(Bytes(W, W + Out.Size()), Original);
}

}  // namespace
