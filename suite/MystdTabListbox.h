// A list box whose items hold tab characters: tab stops in pixels (or from a header), a
// horizontal scroll range that follows the widest item, a change event with the previous
// selection, a scroll event and optional focus on mouse entry.
#pragma once
#include "rtl/SysUtils.h"
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

#include <cstdint>
#include <vector>

enum ScrollDirection { qScrollHor, qScrollVer };
extern const TEnumType ScrollDirectionType;

ORV_EXCEPTION(EqTabListboxError, Exception)

namespace Mystd {
using TChangeEvent = TClosure<TObject* /*Sender*/, int /*PrevItemIndex*/>;
using TScrollEvent = TClosure<TObject* /*Sender*/, int16_t /*Position*/, int16_t /*ScrollCode*/,
                              ScrollDirection /*ScrollDir*/>;
}  // namespace Mystd

class TqTabListbox : public TListBox {
  ORV_CLASS(TqTabListbox, TListBox)
public:
  static constexpr int MaxTabs = 128;

  explicit TqTabListbox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void Loaded() override;

  // Stops in pixels from the left edge (at most 128 are taken). Nothing while the list is
  // empty; EqTabListboxError "TabError" when the list box refuses them (the old ones stay).
  void SetTabStops(const std::vector<int>& Positions);
  // Stop i at the sum of the widths of sections 0 to i.
  void SetFromHeader(THeader* Header);
  // Stop i at the right edge of section i.
  void SetfromHeaderControl(THeaderControl* Header);

  // The stops as sent, in dialog units (one stop of 16 until some were sent), and in pixels.
  const std::vector<int32_t>& TabStops() const { return FTabs; }
  const std::vector<int>& PixelTabStops() const { return FPixelTabs; }
  // The widest item's extent so far (what LB_SETHORIZONTALEXTENT got last).
  int WidestExtent() const { return FWidest; }
  // The pixel width of S with the stops, plus one "Z".
  int TextExtent(const AnsiString& S);

  bool AutoFocus() const { return FAutoFocus; }
  void SetAutoFocus(bool Value) { FAutoFocus = Value; }
  bool SizeAfterDel() const { return FSizeAfterDel; }
  void SetSizeAfterDel(bool Value) { FSizeAfterDel = Value; }

  Mystd::TChangeEvent OnChange;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  Mystd::TScrollEvent OnScroll;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Click() override;

  void LBAddString(TMessage& Message);
  void LBInsertString(TMessage& Message);
  void LBDeleteString(TMessage& Message);
  void LBResetContent(TMessage& Message);
  void wmSetCurSel(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

private:
  void SetTabs(const int* Positions, int Count);
  // The width of the 52 letters in the list box's font (their average width times 52).
  int LettersWidth();
  void Widen(HDC DC, const AnsiString& S);
  void MeasureAll();
  void CheckChange();

  bool FAutoFocus = false;
  bool FSizeAfterDel = true;
  std::vector<int32_t> FTabs{16};
  std::vector<int> FPixelTabs;  // empty while no stops were sent: the list box's default stops
  bool FTabsSent = false;
  uint16_t FWidest = 0;
  int FPrevIndex = -1;
};
