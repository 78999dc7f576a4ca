// The subrange types of the suite's published properties: each property names its type, the
// bounds are taken as they are, and a value outside is clamped to the nearer bound or rejected
// with a range error that leaves the value as it was.
#include "suite/Mystd.h"
#include "suite/Std2.h"
#include "suite/Std2ShapeBtn.h"
#include "suite/qAnimate.h"
#include "suite/qPanel2.h"
#include "suite/tests/suitetest.h"

#include <gtest/gtest.h>

#include <string>

using namespace suitetest;

namespace {

template <class T> TComponent* Make(TComponent* Owner) { return TComponent::Create<T>(Owner); }

TEST(Subranges, PublishedPropertiesNameTheirTypeAndKeepItsBounds) {
  enum TOutside { Clamps, Raises };
  const struct {
    const char* Class;
    TComponent* (*New)(TComponent*);
    const char* Property;
    const TSubrangeType& Type;
    TOutside Outside;
  } Cases[] = {
      {"TqHint", &Make<TqHint>, "PartOfScreen", TqHintDivRange, Raises},
      {"TqHint", &Make<TqHint>, "MoveBeforeOff", TqMoveDistRange, Raises},
      {"TqAngleLabel", &Make<TqAngleLabel>, "Angle", TqAngleRange, Raises},
      {"TqNWColorBtn", &Make<TqNWColorBtn>, "GlassValue", TqGlassValueRange, Clamps},
      {"TqBitColBtn", &Make<TqBitColBtn>, "NumGlyphs", tBitNumberRange, Clamps},
      {"TqNWBitColBtn", &Make<TqNWBitColBtn>, "NumGlyphs", tBitNumberRange, Clamps},
      {"TqcShapeBitColBtn", &Make<TqcShapeBitColBtn>, "NumGlyphs", tBitNumberRange, Clamps},
      {"TqcAnalogClock", &Make<TqcAnalogClock>, "DotSize", qcClockDotRange, Clamps},
      {"TqcAnalogClock", &Make<TqcAnalogClock>, "OffSetNumbers", qcOffSetNumberRange, Clamps},
      {"TqcAnalogClock", &Make<TqcAnalogClock>, "OffSetDots", qcOffSetDotRange, Clamps},
      {"TqcAnalogClock", &Make<TqcAnalogClock>, "OffSetTime", qcOffSetTimeRange, Clamps},
      {"TqcDinMeter", &Make<TqcDinMeter>, "DigitsAfterPoint", qcDecNumRange, Clamps},
      {"TqcDinMeter", &Make<TqcDinMeter>, "OffSetNumbers", qcOffSetNumberRange, Clamps},
      {"TqcDinMeter", &Make<TqcDinMeter>, "OffSetDots", qcOffSetDotRange, Clamps},
      {"TqcDinMeter", &Make<TqcDinMeter>, "DotLength", qcOffSetDotRange, Clamps},
      {"TqcDinMeter", &Make<TqcDinMeter>, "FrameWidth", qcFrameWidthRange, Clamps},
      {"TqcSpectrum", &Make<TqcSpectrum>, "TopSize", SpectrumTopRange, Clamps},
      {"TqcSpectrum", &Make<TqcSpectrum>, "NumberOfChannels", SpectrumNumberRange, Clamps},
  };
  // The bounds as the units give them.
  const struct {
    const TSubrangeType& Type;
    const char* Name;
    int Min, Max;
  } Types[] = {
      {TqHintDivRange, "TqHintDiv", 1, 10},         {TqMoveDistRange, "TqMoveDist", 2, 20},
      {TqAngleRange, "TqAngle", 0, 359},             {TqGlassValueRange, "TqGlassValue", 0, 255},
      {tBitNumberRange, "tBitNumber", 1, 4},         {qcClockDotRange, "qcClockDot", 1, 10},
      {qcOffSetNumberRange, "qcOffSetNumber", 0, 50}, {qcOffSetDotRange, "qcOffSetDot", 0, 50},
      {qcOffSetTimeRange, "qcOffSetTime", -1440, 1440}, {qcDecNumRange, "qcDecNum", 0, 5},
      {qcFrameWidthRange, "qcFrameWidth", 4, 25},    {SpectrumTopRange, "SpectrumTop", 2, 10},
      {SpectrumNumberRange, "SpectrumNumber", 1, 100}, {TPercentTypeRange, "TPercentType", 0, 100},
  };
  for (const auto& T : Types) {
    SCOPED_TRACE(T.Name);
    EXPECT_STREQ(T.Type.Name, T.Name);
    EXPECT_EQ(T.Type.Min, T.Min);
    EXPECT_EQ(T.Type.Max, T.Max);
  }
  TFormScene S;
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.Class) + "." + C.Property);
    TComponent* Obj = C.New(S.Form.get());
    if (auto* Ctl = dynamic_cast<TControl*>(Obj)) Ctl->SetParent(S.Form.get());
    const TPropInfo* P = GetPropInfo(Obj, C.Property);
    ASSERT_NE(P, nullptr);
    EXPECT_STREQ(P->Type(), C.Type.Name);
    for (int V : {C.Type.Min, C.Type.Max}) {
      SetOrdProp(Obj, C.Property, V);
      EXPECT_EQ(GetOrdProp(Obj, C.Property), V);
    }
    for (int V : {C.Type.Min - 1, C.Type.Max + 1}) {
      SCOPED_TRACE(V);
      const int64_t Before = GetOrdProp(Obj, C.Property);
      if (C.Outside == Raises) {
        EXPECT_THROW(SetOrdProp(Obj, C.Property, V), ERangeError);
        EXPECT_EQ(GetOrdProp(Obj, C.Property), Before);
      } else {
        SetOrdProp(Obj, C.Property, V);
        EXPECT_EQ(GetOrdProp(Obj, C.Property), V < C.Type.Min ? C.Type.Min : C.Type.Max);
      }
    }
    TObject::Free(Obj);
  }
}

}  // namespace
