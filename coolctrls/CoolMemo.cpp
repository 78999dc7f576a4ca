// The cool memo.
#include "coolctrls/CoolCtrls.h"

#include "vcl/GdiGuards.h"

TCoolMemo::TCoolMemo(TComponent* AOwner)
    : TCoolEditControl(AOwner, CoolOption(ocNoCaption)),
      FCaptionBar(this, clActiveCaption, clCaptionText, true),
      FCaption(Name()) {
  IncludeStyle(csSetCaption);
}

void TCoolMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDblClk(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolMemo::SetCaption(const TCaption& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  NCCtlChanged();
}

void TCoolMemo::SetCoolImages(TCoolImages* Value) {
  inherited::SetCoolImages(Value);
  FCaptionBar.SetCoolImages(Value);
}

void TCoolMemo::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FCaptionBar.CoolImages()) SetCoolImages(nullptr);
}

void TCoolMemo::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= AlignStyle();
  if (Options() & CoolOption(ocNoCaption)) Params.Style &= ~DWORD(WS_CAPTION);
  else Params.Style |= WS_CAPTION;
  if (Options() & CoolOption(ocSmallCaption)) Params.ExStyle |= WS_EX_TOOLWINDOW;
  else Params.ExStyle &= ~DWORD(WS_EX_TOOLWINDOW);
}

// ----- caption bar

void TCoolMemo::WMNCPaint(TMessage& Message) {
  if (Options() & CoolOption(ocNoCaption)) return inherited::Dispatch(Message);
  FCaptionBar.Paint(Message, FCaption, Options());
}

void TCoolMemo::WMNCHitTest(TMessage& Message) {
  inherited::Dispatch(Message);
  TCoolCaptionBar::HitTest(Message, Options());
}

void TCoolMemo::WMNCLButtonDblClk(TMessage& Message) {
  if (Message.WParam == HTCAPTION) return;  // no maximising by the caption
  inherited::Dispatch(Message);
}

// ----- mouse and keys

int TCoolMemo::CharFromPos(TPoint P) {
  const HWND Wnd = Handle();
  const LRESULT R = SendMessageA(Wnd, EM_CHARFROMPOS, 0, LPARAM(PointToLParam(P)));
  // The answer carries the character's index in 16 bits only: the line's first character gives
  // the rest (a line is shorter than 65,536 characters).
  const int LineStart = int(SendMessageA(Wnd, EM_LINEINDEX, WPARAM(HIWORD(R)), 0));
  if (LineStart < 0) return int(LOWORD(R));
  return LineStart + int((LOWORD(R) - unsigned(LineStart)) & 0xFFFFu);
}

void TCoolMemo::WndProc(TMessage& Message) {
  if (!(Options() & CoolOption(ocNoCaption)) && HandleAllocated()) {
    if (Message.Msg == WM_LBUTTONDOWN) {
      SetFocus();
      FSelAnchor = CharFromPos(MessagePoint(Message));
      SetSelStart(FSelAnchor);
    } else if (Message.Msg == WM_MOUSEMOVE && (Message.WParam & MK_LBUTTON) && FSelAnchor >= 0) {
      // From the press point to the mouse, either way; the caret goes with the mouse.
      SendMessageA(WindowHandle(), EM_SETSEL, WPARAM(FSelAnchor), LPARAM(CharFromPos(MessagePoint(Message))));
    }
  }
  inherited::WndProc(Message);
}

bool TCoolMemo::LastLineVisible() {
  const HWND Wnd = Handle();
  RECT R{};
  SendMessageA(Wnd, EM_GETRECT, 0, LPARAM(&R));
  TEXTMETRICA TM{};
  {
    TWindowDC DC(nullptr);
    TSelectGuard Sel(DC, Font()->Handle());
    GetTextMetricsA(DC, &TM);
  }
  const int Visible = TM.tmHeight > 0 ? (R.bottom - R.top) / TM.tmHeight : 0;
  const int First = int(SendMessageA(Wnd, EM_GETFIRSTVISIBLELINE, 0, 0));
  return First + Visible >= int(SendMessageA(Wnd, EM_GETLINECOUNT, 0, 0));
}

void TCoolMemo::KeyDown(unsigned short& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (!(Options() & CoolOption(ocFlatBorder)) || !HandleAllocated()) return;
  if (Key == VK_PRIOR && SendMessageA(WindowHandle(), EM_GETFIRSTVISIBLELINE, 0, 0) == 0) Key = 0;
  else if (Key == VK_NEXT && LastLineVisible()) Key = 0;
}

static constinit const TPropInfo TCoolMemo_Props[] = {
    ORV_COOL_EDIT_PROPS(TCoolMemo),
    TControlProps::Align(),
    PropEnum<&TCustomMemo::Alignment, &TCustomMemo::SetAlignment>("Alignment", TAlignmentType, taLeftJustify),
    TControlProps::Anchors(),
    PropEnum<&TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle>("BorderStyle", TBorderStyleType, bsSingle),
    PropStr<&TCoolMemo::Caption, &TCoolMemo::SetCaption>("Caption"),
    PropColor<&TCoolMemo::CaptionColor, &TCoolMemo::SetCaptionColor>("CaptionColor", clActiveCaption),
    PropColor<&TCoolMemo::CaptionTextColor, &TCoolMemo::SetCaptionTextColor>("CaptionTextColor", clCaptionText),
    PropObject<&TCoolMemo::CaptionWallpaper, &TCoolMemo::SetCaptionWallpaper>("CaptionWallpaper"),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragKind(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropBool<&TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection>("HideSelection", true),
    TControlProps::ImeMode(),
    TControlProps::ImeName(),
    PropInt<&TCoolMemo::idCaptionWallpaper, &TCoolMemo::SetIdCaptionWallpaper>("idCaptionWallpaper", -1),
    PropObject<&TCustomMemo::Lines, &TCustomMemo::SetLines>("Lines"),
    PropInt<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>("MaxLength", 0),
    PropBool<&TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert>("OEMConvert", false),
    PropSet<&TCoolMemo::Options, &TCoolMemo::SetOptions>("Options", TCoolOptionType, CoolOption(ocNoCaption)),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::BiDiMode(),
    TControlProps::ParentBiDiMode(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    PropBool<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>("ReadOnly", false),
    PropEnum<&TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars>("ScrollBars", TScrollStyleType, ssNone),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    PropBool<&TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns>("WantReturns", true),
    PropBool<&TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs>("WantTabs", false),
    PropBool<&TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap>("WordWrap", true),
    ORV_COOL_EDIT_EVENTS,
};
ORV_IMPLEMENT_COMPONENT(TCoolMemo, TCustomMemo, TCoolMemo_Props)
