// Unit qAnimate, what the windowed colour buttons and their non-windowed twins share: the look
// types, the 3-D edge, the caption, the glyph state images and the icon fill-in.
#pragma once
#include "suite/Std2.h"
#include "vcl/Controls.h"

// How a button shows that it is the focused or default one.
enum TqcDefLook { dlBold, dlFrame, dlNone };
extern const TEnumType TqcDefLookType;
using TqGlassValue = int;  // 0..255

namespace qanimate {

// The raised edge of a button whose last pixel is (R, B), inset by D; pushed in when Pressed.
void DrawButtonEdge(TCanvas* C, int R, int B, int D, bool Pressed, TColor Shadow, TColor HighLight);
// One pass of a caption in Color, moved by (Shift, Shift); clear brush, DrawTextA with Flags.
void DrawCaptionPass(TCanvas* C, const AnsiString& Text, TRect R, unsigned Flags, TColor Color, int Shift);
// The caption in the font colour, or, disabled, in white one pixel down-right and grey on top.
void DrawCaption(TCanvas* C, const AnsiString& Text, const TRect& R, unsigned Flags, bool Enabled);

// The four state images cut from a strip of NumGlyphs images side by side: up, disabled, down,
// hot. One image: all but the disabled one are it, the disabled one is its dark pixels embossed
// on the face colour; two: up and disabled; three: up, disabled, down (hot is up); four: all.
class TGlyphStates {
public:
  TBitmap* Up() { return &FUp; }
  TBitmap* Down() { return &FDown; }
  TBitmap* Disabled() { return &FDisabled; }
  TBitmap* Hot() { return &FHot; }
  void Split(TBitmap* Strip, int NumGlyphs, TColor FaceColor);
  // The colour of the up image's bottom-left pixel (clNone when it is empty).
  TColor AutoTransparentColor();

private:
  TBitmap FUp, FDown, FDisabled, FHot;
};

// Fills empty icons from the others, in this order: disabled and down from enabled, enabled and
// down from disabled, disabled and enabled from down.
void FillInIcons(TIcon* Enabled, TIcon* Down, TIcon* Disabled);

// The glyph strip's number of images, kept to 1..4.
inline int GlyphCount(int Value) { return Value < 1 ? 1 : Value > 4 ? 4 : Value; }

}  // namespace qanimate
