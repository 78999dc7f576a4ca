// The cool string grid, its cell attributes and its editor.
#include "coolctrls/CoolCtrls.h"
#include "coolctrls/CoolGridStream.h"

#include "vcl/Clipbrd.h"
#include "vcl/GdiGuards.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr unsigned CM_ENDEDITING = WM_USER + 404;
constexpr int CellTextLimit = 65536;  // clipboard text buffer of a cell paste

std::atomic<TGridClipboardAlloc> ClipboardAlloc{&GlobalAlloc};

unsigned AlignFormat(TAlignment A) {
  switch (A) {
    case taRightJustify: return DT_WORDBREAK | DT_RIGHT;
    case taCenter: return DT_WORDBREAK | DT_CENTER;
    default: return DT_WORDBREAK;
  }
}

UINT BevelEdges(TBevelCut Inner, TBevelCut Outer) {
  UINT E = 0;
  if (Inner == bvLowered) E |= BDR_SUNKENINNER;
  else if (Inner == bvRaised) E |= BDR_RAISEDINNER;
  if (Outer == bvLowered) E |= BDR_SUNKENOUTER;
  else if (Outer == bvRaised) E |= BDR_RAISEDOUTER;
  return E;
}

// The clipboard open for a scope.
struct TClipboardOpen {
  TClipboardOpen() { Clipboard()->Open(); }
  ~TClipboardOpen() { Clipboard()->Close(); }
  TClipboardOpen(const TClipboardOpen&) = delete;
  TClipboardOpen& operator=(const TClipboardOpen&) = delete;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCellWrapper

TCellWrapper::TCellWrapper(int ACol, int ARow, TCoolStringGrid* Grid)
    : FFont(new TFont()),
      FColor(ACol < Grid->FixedCols() || ARow < Grid->FixedRows() ? Grid->FixedColor() : Grid->Color()),
      FCol(ACol),
      FRow(ARow) {
  FFont->Assign(Grid->Font());
}

TCellWrapper::~TCellWrapper() { TObject::Free(FFont); }

ORV_IMPLEMENT_CLASS(TCellWrapper, TObject)

// ---------------------------------------------------------------------------------------------
// TCoolInplaceEdit

TCoolInplaceEdit::TCoolInplaceEdit(TComponent* AOwner)
    : TInplaceEdit(AOwner),
      FBorderPen(new TPen()),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolInplaceEdit::Repainted>(this),
                 TNotifyEvent::Bind<&TCoolInplaceEdit::Repainted>(this)) {
  FBorderPen->OnChange = TNotifyEvent::Bind<&TCoolInplaceEdit::Repainted>(this);
}

void TCoolInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: CNCtlColor(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: WMFocus(Message); break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: CMMouse(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolInplaceEdit::CreateParams(TCreateParams& Params) {
  static constexpr DWORD Aligns[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  inherited::CreateParams(Params);
  Params.Style = (Params.Style & ~DWORD(ES_LEFT | ES_RIGHT | ES_CENTER)) | Aligns[FTextAlign] | ES_MULTILINE;
}

void TCoolInplaceEdit::SetTextAlign(TAlignment Value) {
  if (FTextAlign == Value) return;
  FTextAlign = Value;
  RecreateWnd();
}

void TCoolInplaceEdit::SetOptions(TCoolOptions Value) {
  Value = ExcludeWallpaperOrSeeThrough(FOptions, Value);
  if (FOptions == Value) return;
  FOptions = Value;
  Invalidate();
}

void TCoolInplaceEdit::SetEdgeBorders(TEdgeBorders Value) {
  if (FEdgeBorders == Value) return;
  FEdgeBorders = Value;
  Invalidate();
}

void TCoolInplaceEdit::SetWallpaper(TBitmap* Value) { FWallpaper.SetWallpaper(Value); }

void TCoolInplaceEdit::ClearWallpaper() {
  if (TBitmap* B = FWallpaper.WallpaperIfAny(); B && !B->Empty()) {
    TBitmap Empty;
    B->Assign(&Empty);
  }
}

void TCoolInplaceEdit::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  Invalidate();
}

void TCoolInplaceEdit::SetCoolImages(TCoolImages* Value) {
  if (FWallpaper.SetCoolImages(Value) && !HasState(csDestroying)) Invalidate();
}

void TCoolInplaceEdit::SetTransparencyLevel(uint8_t Value) {
  if (FTransparencyLevel == Value) return;
  FTransparencyLevel = Value;
  Invalidate();
}

void TCoolInplaceEdit::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

bool TCoolInplaceEdit::SeeThrough() const {
  return ((FOptions & CoolOption(ocPaintWallpaper)) && FWallpaper.Source()) ||
         (FOptions & CoolOption(ocPaintTransparently));
}

void TCoolInplaceEdit::CNCtlColor(TMessage& Message) {
  if (!SeeThrough()) return inherited::Dispatch(Message);
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, COLORREF(ColorToRGB(Font()->Color())));
  Message.Result = reinterpret_cast<intptr_t>(GetStockObject(NULL_BRUSH));
}

void TCoolInplaceEdit::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if ((FOptions & CoolOption(ocPaintWallpaper)) &&
      FWallpaper.Draw(DC, ClientRect(), FOptions & CoolOption(ocTileWallpaper), cmSrcCopy)) {
    Message.Result = 1;
  } else if (FOptions & CoolOption(ocPaintTransparently)) {
    PaintBackground(this, DC, FTransparencyLevel);
    Message.Result = 1;
  } else {
    inherited::Dispatch(Message);
  }
}

void TCoolInplaceEdit::WMPaint(TMessage& Message) {
  inherited::Dispatch(Message);
  DoPaint();
}

void TCoolInplaceEdit::DoPaint() {
  if (SeeThrough() || FEdgeBorders)
    PaintEditOffScreen(this, false, BorderStyle() == bsNone, FEdgeBorders, FBorderPen, FPainting);
}

void TCoolInplaceEdit::WMFocus(TMessage& Message) {
  inherited::Dispatch(Message);
  if ((FOptions & CoolOption(ocFlatBorder)) && HandleAllocated())
    DrawFlatBorder(nullptr, this, Message.Msg == WM_SETFOCUS);
}

void TCoolInplaceEdit::CMMouse(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.LParam != 0) return;
  const TNotifyEvent& E = Message.Msg == CM_MOUSEENTER ? OnMouseEnter : OnMouseLeave;
  if (E) E(this);
}

void TCoolInplaceEdit::KeyPress(char& Key) {
  if (Key == '\r' || Key == '\n') {  // Enter, Ctrl+Enter
    MessageBeep(0);
    Key = 0;
    return;
  }
  inherited::KeyPress(Key);
}

void TCoolInplaceEdit::Change() {
  DoPaint();
  inherited::Change();
}

static constinit const TPropInfo TCoolInplaceEdit_Props[] = {
    PropRef<&TCoolInplaceEdit::CoolImages, &TCoolInplaceEdit::SetCoolImages>("CoolImages"),
    PropSet<&TCoolInplaceEdit::EdgeBorders, &TCoolInplaceEdit::SetEdgeBorders>("EdgeBorders", TEdgeBorderType, 0),
    PropInt<&TCoolInplaceEdit::idWallpaper, &TCoolInplaceEdit::SetIdWallpaper>("idWallpaper", -1),
    PropSet<&TCoolInplaceEdit::Options, &TCoolInplaceEdit::SetOptions>("Options", TCoolOptionType, 0),
    PropEnum<&TCoolInplaceEdit::TextAlign, &TCoolInplaceEdit::SetTextAlign>("TextAlign", TAlignmentType,
                                                                            taLeftJustify),
    PropInt<&TCoolInplaceEdit::TransparencyLevel, &TCoolInplaceEdit::SetTransparencyLevel>("TransparencyLevel", 0),
    PropObject<&TCoolInplaceEdit::Wallpaper, &TCoolInplaceEdit::SetWallpaper>("Wallpaper"),
    PropEvent<&TCoolInplaceEdit::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TCoolInplaceEdit::OnMouseLeave>("OnMouseLeave"),
};
ORV_IMPLEMENT_COMPONENT(TCoolInplaceEdit, TInplaceEdit, TCoolInplaceEdit_Props)

// ---------------------------------------------------------------------------------------------
// TCoolStringGrid

TCoolStringGrid::TCoolStringGrid(TComponent* AOwner)
    : TStringGrid(AOwner),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolStringGrid::Repainted>(this),
                 TNotifyEvent::Bind<&TCoolStringGrid::Repainted>(this)),
      FSelWallpaper(this, TNotifyEvent::Bind<&TCoolStringGrid::Repainted>(this),
                    TNotifyEvent::Bind<&TCoolStringGrid::Repainted>(this)),
      FCaption(this, clInactiveCaption, clInactiveCaptionText, false),
      FGridFormat(RegisterClipboardFormatA("GRID DATA")) {}

TCoolStringGrid::~TCoolStringGrid() {
  for (TCellWrapper* W : FWrappers) TObject::Free(W);
}

void TCoolStringGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDblClk(Message); break;
    case WM_SETTEXT: WMSetText(Message); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: WMFocus(Message); break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: CMMouse(Message); break;
    case CM_PARENTCOLORCHANGED:
      inherited::Dispatch(Message);
      if (FExOptions & CoolOption(ocPaintTransparently)) Invalidate();
      break;
    case CM_ENABLEDCHANGED:
    case WM_MOVE:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    case CM_ENDEDITING: CMEndEditing(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCoolStringGrid::Changed() {
  if (!HasState(csLoading) && !HasState(csDestroying)) Invalidate();
}

void TCoolStringGrid::SetCoolImages(TCoolImages* Value) {
  const bool A = FWallpaper.SetCoolImages(Value), B = FSelWallpaper.SetCoolImages(Value),
             C = FCaption.SetCoolImages(Value);
  if (A || B || C) Changed();
}

void TCoolStringGrid::SetExOptions(TCoolOptions Value) {
  if (FExOptions == Value) return;
  FExOptions = ExcludeWallpaperOrSeeThrough(FExOptions, Value);
  if (!HasState(csLoading)) RecreateWnd();
}

void TCoolStringGrid::SetFixedTextAlign(TAlignment Value) {
  if (FFixedTextAlign == Value) return;
  FFixedTextAlign = Value;
  Changed();
}

void TCoolStringGrid::SetTextAlign(TAlignment Value) {
  if (FTextAlign == Value) return;
  FTextAlign = Value;
  Changed();
}

void TCoolStringGrid::SetInnerCellsBevel(TBevelCut Value) {
  if (FInnerCellsBevel == Value) return;
  FInnerCellsBevel = Value;
  Changed();
}

void TCoolStringGrid::SetOuterCellsBevel(TBevelCut Value) {
  if (FOuterCellsBevel == Value) return;
  FOuterCellsBevel = Value;
  Changed();
}

void TCoolStringGrid::SetIdSelWallpaper(int Value) {
  if (FSelWallpaper.idWallpaper() == Value) return;
  FSelWallpaper.SetIdWallpaper(Value);
  Changed();
}

void TCoolStringGrid::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  Changed();
}

void TCoolStringGrid::SetSelColor(TColor Value) {
  if (FSelColor == Value) return;
  FSelColor = Value;
  Changed();
}

void TCoolStringGrid::SetSelWallpaper(TBitmap* Value) { FSelWallpaper.SetWallpaper(Value); }
void TCoolStringGrid::SetWallpaper(TBitmap* Value) { FWallpaper.SetWallpaper(Value); }

void TCoolStringGrid::SetTransparencyLevel(uint8_t Value) {
  if (FTransparencyLevel == Value) return;
  FTransparencyLevel = Value;
  Changed();
}

void TCoolStringGrid::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == CoolImages()) SetCoolImages(nullptr);
}

// ----- wrappers

TCellWrapper* TCoolStringGrid::ExtractWrapper(int ACol, int ARow) const {
  auto It = FWrapperAt.find(Key(ACol, ARow));
  return It == FWrapperAt.end() ? nullptr : It->second;
}

TCellWrapper* TCoolStringGrid::CreateWrapper(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) throw EInvalidGridOperation("Grid index out of range");
  if (TCellWrapper* W = ExtractWrapper(ACol, ARow)) return W;
  auto* W = new TCellWrapper(ACol, ARow, this);
  W->SetTextAlign(Fixed(ACol, ARow) ? FFixedTextAlign : FTextAlign);
  FWrappers.push_back(W);
  FWrapperAt.emplace(Key(ACol, ARow), W);
  return W;
}

TCellWrapper* TCoolStringGrid::GetWrapper(int ACol, int ARow) {
  if (TCellWrapper* W = ExtractWrapper(ACol, ARow)) return W;
  return CreateWrapper(ACol, ARow);
}

template <class F> void TCoolStringGrid::MoveWrappers(bool Columns, F Map) {
  FWrapperAt.clear();
  for (TCellWrapper* W : FWrappers) {
    (Columns ? W->FCol : W->FRow) = Map(Columns ? W->FCol : W->FRow);
    FWrapperAt[Key(W->FCol, W->FRow)] = W;
  }
}

TColor TCoolStringGrid::Colors(int ACol, int ARow) const {
  if (TCellWrapper* W = ExtractWrapper(ACol, ARow)) return W->Color();
  return Fixed(ACol, ARow) ? FixedColor() : Color();
}

void TCoolStringGrid::SetColors(int ACol, int ARow, TColor Value) {
  GetWrapper(ACol, ARow)->SetColor(Value);
  InvalidateCell(ACol, ARow);
}

bool TCoolStringGrid::ReadOnlyCells(int ACol, int ARow) const {
  TCellWrapper* W = ExtractWrapper(ACol, ARow);
  return W && W->ReadOnly();
}

void TCoolStringGrid::SetReadOnlyCells(int ACol, int ARow, bool Value) {
  GetWrapper(ACol, ARow)->SetReadOnly(Value);
  InvalidateCell(ACol, ARow);
}

bool TCoolStringGrid::WallpaperForCells(int ACol, int ARow) const {
  TCellWrapper* W = ExtractWrapper(ACol, ARow);
  return W && W->WallpaperForCell();
}

void TCoolStringGrid::SetWallpaperForCells(int ACol, int ARow, bool Value) {
  GetWrapper(ACol, ARow)->SetWallpaperForCell(Value);
  InvalidateCell(ACol, ARow);
}

TFont* TCoolStringGrid::Fonts(int ACol, int ARow) { return GetWrapper(ACol, ARow)->Font(); }

void TCoolStringGrid::SetFonts(int ACol, int ARow, TFont* Value) {
  TCellWrapper* W = GetWrapper(ACol, ARow);
  if (Value && W->Font() != Value) W->Font()->Assign(Value);
  InvalidateCell(ACol, ARow);
}

TAlignment TCoolStringGrid::CellTextAligns(int ACol, int ARow) { return GetWrapper(ACol, ARow)->TextAlign(); }

void TCoolStringGrid::SetCellTextAligns(int ACol, int ARow, TAlignment Value) {
  GetWrapper(ACol, ARow)->SetTextAlign(Value);
  InvalidateCell(ACol, ARow);
}

void TCoolStringGrid::SetColumnParameters(int ACol, bool IncludeFixed, TAlignment Align, TFont* Font, bool Wallpaper,
                                          bool ReadOnly, TColor Color) {
  for (int R = IncludeFixed ? 0 : FixedRows(); R < RowCount(); ++R) {
    SetColors(ACol, R, Color);
    SetReadOnlyCells(ACol, R, ReadOnly);
    SetWallpaperForCells(ACol, R, Wallpaper);
    if (Font) SetFonts(ACol, R, Font);
    SetCellTextAligns(ACol, R, Align);
  }
}

void TCoolStringGrid::SetRowParameters(int ARow, bool IncludeFixed, TAlignment Align, TFont* Font, bool Wallpaper,
                                       bool ReadOnly, TColor Color) {
  for (int C = IncludeFixed ? 0 : FixedCols(); C < ColCount(); ++C) {
    SetColors(C, ARow, Color);
    SetReadOnlyCells(C, ARow, ReadOnly);
    SetWallpaperForCells(C, ARow, Wallpaper);
    if (Font) SetFonts(C, ARow, Font);
    SetCellTextAligns(C, ARow, Align);
  }
}

// ----- rows and columns

void TCoolStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
  MoveWrappers(true, [&](int I) { return MovedIndex(I, FromIndex, ToIndex); });
  inherited::ColumnMoved(FromIndex, ToIndex);
}

void TCoolStringGrid::RowMoved(int FromIndex, int ToIndex) {
  MoveWrappers(false, [&](int I) { return MovedIndex(I, FromIndex, ToIndex); });
  inherited::RowMoved(FromIndex, ToIndex);
}

void TCoolStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
  inherited::SizeChanged(OldColCount, OldRowCount);
  // The wrappers of cells cut off go: rows and columns added later start plain.
  const int Cols = ColCount(), Rows = RowCount();
  auto CutOff = [&](const TCellWrapper* W) {
    return (W->Col() >= Cols && W->Col() < OldColCount) || (W->Row() >= Rows && W->Row() < OldRowCount);
  };
  std::vector<TCellWrapper*> Kept;
  for (TCellWrapper* W : FWrappers) {
    if (!CutOff(W)) {
      Kept.push_back(W);
      continue;
    }
    FWrapperAt.erase(Key(W->Col(), W->Row()));
    TObject::Free(W);
  }
  FWrappers = std::move(Kept);
}

void TCoolStringGrid::InsertRows(int Index, int Count) {
  if (Index < 0) throw EInvalidGridOperation("Grid index out of range");
  if (Count <= 0) return;
  SetRowCount(RowCount() + Count);
  for (int T = RowCount() - 1; T >= Index + Count; --T) MoveRow(T - Count, T);
}

void TCoolStringGrid::DeleteRows(int Index, int Count) {
  if (Count < 0) return;
  if (Index < 0 || Index + Count > RowCount()) throw EInvalidGridOperation("Grid index out of range");
  for (int R = Index + Count - 1; R >= Index; --R) DeleteRow(R);
}

void TCoolStringGrid::InsertCols(int Index, int Count) {
  if (Index < 0) throw EInvalidGridOperation("Grid index out of range");
  if (Count <= 0) return;
  SetColCount(ColCount() + Count);
  for (int T = ColCount() - 1; T >= Index + Count; --T) MoveColumn(T - Count, T);
}

void TCoolStringGrid::DeleteCols(int Index, int Count) {
  if (Count < 0) return;
  if (Index < 0 || Index + Count > ColCount()) throw EInvalidGridOperation("Grid index out of range");
  for (int C = Index + Count - 1; C >= Index; --C) DeleteColumn(C);
}

bool TCoolStringGrid::PosCell(const AnsiString& Text, int& ACol, int& ARow) const {
  bool Found = false;
  for (int R = 0; R < RowCount(); ++R)
    for (int C = 0; C < ColCount(); ++C)
      if (CompareText(Cells(C, R), Text) == 0) {
        ACol = C;
        ARow = R;
        Found = true;
        break;
      }
  return Found;
}

// ----- editing

bool TCoolStringGrid::EditAllowed(int ACol, int ARow) const {
  const bool Editing = Options() & (GridOption(goEditing) | GridOption(goAlwaysShowEditor));
  return HaveWrapper(ACol, ARow) && Editing ? !ReadOnlyCells(ACol, ARow) : true;
}

bool TCoolStringGrid::SelectCell(int ACol, int ARow) {
  const bool Result = inherited::SelectCell(ACol, ARow);
  FCanEdit = EditAllowed(ACol, ARow);
  return Result;
}

bool TCoolStringGrid::CanEditShow() {
  // The current cell's rule again: it may have become read-only since it was selected.
  FCanEdit = EditAllowed(Col(), Row());
  return inherited::CanEditShow() && FCanEdit;
}

TInplaceEdit* TCoolStringGrid::CreateEditor() { return TComponent::Create<TCoolInplaceEdit>(this); }

AnsiString TCoolStringGrid::GetEditText(int ACol, int ARow) {
  const AnsiString Text = inherited::GetEditText(ACol, ARow);
  FEditStartText = Text;
  auto* E = dynamic_cast<TCoolInplaceEdit*>(InplaceEditor());
  if (!E) return Text;
  E->SetColor(Color());
  E->SetFont(Font());
  E->SetOptions(FExOptions & ~CoolOption(ocFlatBorder));
  E->ClearWallpaper();
  TCellWrapper* W = ExtractWrapper(ACol, ARow);
  if (W && !W->WallpaperForCell()) {
    E->SetColor(W->Color());
    E->SetFont(W->Font());
  } else if (TBitmap* B = (FExOptions & CoolOption(ocPaintWallpaper)) ? FWallpaper.Source() : nullptr) {
    // The piece of the grid's wallpaper, laid over the whole client area, under the cell.
    const TRect Cell = CellRect(ACol, ARow);
    TBitmap Piece;
    Piece.SetPixelFormat(pf24bit);
    Piece.SetSize(std::max(Cell.Width(), 1), std::max(Cell.Height(), 1));
    TRect Client = ClientRect();
    Client.Offset(-Cell.Left, -Cell.Top);
    DrawWallpaper(Piece.Canvas()->Handle(), B, Client, FExOptions & CoolOption(ocTileWallpaper), cmSrcCopy);
    E->SetWallpaper(&Piece);
  }
  return Text;
}

void TCoolStringGrid::SetEditText(int ACol, int ARow, const AnsiString& Value) {
  inherited::SetEditText(ACol, ARow, Value);
  if (Cells(ACol, ARow) != FEditStartText && HandleAllocated())
    PostMessageA(WindowHandle(), CM_ENDEDITING, WPARAM(ACol), LPARAM(ARow));
}

void TCoolStringGrid::CMEndEditing(TMessage& Message) {
  TInplaceEdit* E = InplaceEditor();
  if (E && E->HandleAllocated() && IsWindowVisible(E->WindowHandle())) return;
  const int ACol = int(Message.WParam), ARow = int(Message.LParam);
  if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) return;
  int Width = DefaultColWidth(), Height = DefaultRowHeight();
  if (OnEndCellEditing) OnEndCellEditing(this, ACol, ARow, Width, Height);
  SetColWidths(ACol, Width);
  SetRowHeights(ARow, Height);
}

// ----- painting

void TCoolStringGrid::FitCell(int ACol, int ARow, const AnsiString& Text, unsigned Format) {
  if (Text.IsEmpty()) return;
  RECT R{0, 0, ColWidths(ACol), 0};
  DrawTextA(Canvas()->Handle(), Text.c_str(), Text.Length(), &R, Format | DT_CALCRECT);
  if (ColWidths(ACol) < R.right - R.left) SetColWidths(ACol, R.right - R.left + 10);
  if (RowHeights(ARow) < R.bottom - R.top) SetRowHeights(ARow, R.bottom - R.top + 10);
}

void TCoolStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas* C = Canvas();
  const bool IsFixed = AState & GridState(gdFixed);
  TAlignment Align;
  TCellWrapper* W = ExtractWrapper(ACol, ARow);
  if (W) {
    C->Brush()->SetColor(W->Color());
    C->SetFont(W->Font());
    Align = W->TextAlign();
  } else {
    Align = AState == GridState(gdFixed) ? FFixedTextAlign : FTextAlign;
  }
  const unsigned Format = AlignFormat(Align);
  const bool Highlight = (AState & GridState(gdSelected)) &&
                         (!(AState & GridState(gdFocused)) ||
                          (Options() & (GridOption(goDrawFocusSelected) | GridOption(goRowSelect))));
  if (Highlight) {
    C->Font()->SetColor(clHighlightText);
    C->Brush()->SetColor(FSelColor);
  }

  HDC DC = C->Handle();
  const bool Tile = FExOptions & CoolOption(ocTileWallpaper);
  const TRect Client = ClientRect();
  C->Brush()->SetStyle(bsSolid);
  if (IsFixed) {
    C->FillRect(ARect);
  } else if (Highlight) {
    TBitmap* B = nullptr;
    if ((FExOptions & CoolOption(ocInvertWallpaperAsSelect)) && (B = FWallpaper.Source()))
      DrawWallpaperEx(DC, B, Client, ARect, Tile, cmNotSrcCopy);
    else if ((FExOptions & CoolOption(ocPaintSelWallpaper)) && (B = FSelWallpaper.Source()))
      DrawWallpaperEx(DC, B, Client, ARect, Tile, cmSrcCopy);
    else
      C->FillRect(ARect);
  } else if (FExOptions & CoolOption(ocPaintTransparently)) {
    TSaveDC Save(DC);
    IntersectClipRect(DC, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
    PaintBackground(this, DC, FTransparencyLevel);
  } else if (TBitmap* B = (FExOptions & CoolOption(ocPaintWallpaper)) && (!W || W->WallpaperForCell())
                              ? FWallpaper.Source()
                              : nullptr) {
    DrawWallpaperEx(DC, B, Client, ARect, Tile, cmSrcCopy);
  } else {
    C->FillRect(ARect);
  }
  if (!IsFixed)
    if (const UINT Edges = BevelEdges(FInnerCellsBevel, FOuterCellsBevel)) {
      RECT E = AsRECT(ARect);
      DrawEdge(C->Handle(), &E, Edges, BF_RECT);
    }

  const AnsiString Text = Cells(ACol, ARow);
  FitCell(ACol, ARow, Text, Format);
  TRect R = ARect;
  R.Left += 2;
  R.Top += 2;
  DC = C->Handle();
  SetBkMode(DC, TRANSPARENT);
  if (Enabled()) DrawTextA(DC, Text.c_str(), Text.Length(), &AsRECT(R), Format);
  else Draw3DText(DC, R, spRightBottom, Text, Format, clBtnShadow, clBtnHighlight, 1);
  C->SetFont(Font());
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TCoolStringGrid::WMPaint(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FExOptions & CoolOption(ocFlatBorder)) DrawFlatBorder(nullptr, this, Focused());
  if (OnPaint) OnPaint(this);
}

void TCoolStringGrid::TopLeftChanged() {
  if (((FExOptions & CoolOption(ocPaintWallpaper)) && FWallpaper.Source()) ||
      (FExOptions & CoolOption(ocPaintTransparently)))
    Invalidate();
  inherited::TopLeftChanged();
}

// ----- frame and caption bar

void TCoolStringGrid::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FExOptions & CoolOption(ocNoCaption)) Params.Style &= ~DWORD(WS_CAPTION);
  else Params.Style |= WS_CAPTION;
  if (FExOptions & CoolOption(ocSmallCaption)) Params.ExStyle |= WS_EX_TOOLWINDOW;
}

void TCoolStringGrid::WMNCPaint(TMessage& Message) {
  if ((FExOptions & CoolOption(ocNoCaption)) ||
      !(FCaption.Coloured() || (FExOptions & CoolOption(ocPaintCaptionWallpaper))))
    return inherited::Dispatch(Message);
  FCaption.Paint(Message, Caption(), FExOptions);
}

void TCoolStringGrid::WMNCHitTest(TMessage& Message) {
  inherited::Dispatch(Message);
  TCoolCaptionBar::HitTest(Message, FExOptions);
}

void TCoolStringGrid::WMNCLButtonDblClk(TMessage& Message) {
  if (Message.WParam == HTCAPTION) return;
  inherited::Dispatch(Message);
}

void TCoolStringGrid::WMSetText(TMessage& Message) {
  inherited::Dispatch(Message);
  FCaption.FrameChanged();
}

void TCoolStringGrid::WMFocus(TMessage& Message) {
  inherited::Dispatch(Message);
  if ((FExOptions & CoolOption(ocFlatBorder)) && HandleAllocated())
    DrawFlatBorder(nullptr, this, Message.Msg == WM_SETFOCUS);
}

void TCoolStringGrid::CMMouse(TMessage& Message) {
  inherited::Dispatch(Message);
  CoolMouseEnterLeave(this, Message, FExOptions & CoolOption(ocFlatBorder), false, OnMouseEnter, OnMouseLeave);
}

// ----- streams, files and the clipboard

void TCoolStringGrid::SaveToStream(TStream* Stream) {
  TGridCellWriter Writer(Stream);
  for (int C = 0; C < ColCount(); ++C)
    for (int R = 0; R < RowCount(); ++R) {
      const AnsiString Text = Cells(C, R);
      if (!Text.IsEmpty()) Writer.Write(C, R, Text);
    }
}

void TCoolStringGrid::LoadFromStream(TStream* Stream) {
  for (const TGridStreamCell& Cell : ReadGridCells(Stream)) SetCells(Cell.Col, Cell.Row, Cell.Text);
}

void TCoolStringGrid::SaveToFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

void TCoolStringGrid::LoadFromFile(const AnsiString& FileName) {
  TFileStream Stream(FileName, fmOpenRead);
  LoadFromStream(&Stream);
}

TGridClipboardAlloc SetGridClipboardAlloc(TGridClipboardAlloc Alloc) {
  return ClipboardAlloc.exchange(Alloc ? Alloc : &GlobalAlloc);
}

void TCoolStringGrid::CopyToClipboard() {
  TMemoryStream Data;
  SaveToStream(&Data);
  // An empty grid puts one zero byte: padding, read as no cells.
  const size_t Size = std::max<size_t>(size_t(Data.Size()), 1);
  HGLOBAL Mem = ClipboardAlloc.load()(GMEM_MOVEABLE, Size);
  if (!Mem) throw EOutOfMemory("Out of memory");
  void* P = GlobalLock(Mem);
  if (!P) {
    GlobalFree(Mem);
    throw EOutOfMemory("Out of memory");
  }
  std::memset(P, 0, Size);
  if (Data.Size() > 0) std::memcpy(P, Data.Memory(), size_t(Data.Size()));
  GlobalUnlock(Mem);
  try {
    Clipboard()->SetAsHandle(FGridFormat, Mem);
  } catch (...) {
    GlobalFree(Mem);
    throw;
  }
}

void TCoolStringGrid::PasteFromClipboard() {
  if (!Clipboard()->HasFormat(FGridFormat)) return;
  TMemoryStream Data;
  {
    TClipboardOpen Open;
    HANDLE Mem = Clipboard()->GetAsHandle(FGridFormat);
    const void* P = Mem ? GlobalLock(Mem) : nullptr;
    if (!P) return;
    Data.WriteBuffer(P, int(GlobalSize(Mem)));
    GlobalUnlock(Mem);
  }
  Data.SetPosition(0);
  LoadFromStream(&Data);
}

void TCoolStringGrid::CopyToClipboardCell(int ACol, int ARow) { Clipboard()->SetTextBuf(Cells(ACol, ARow).c_str()); }

void TCoolStringGrid::CutToClipboardCell(int ACol, int ARow) {
  CopyToClipboardCell(ACol, ARow);
  SetCells(ACol, ARow, AnsiString());
}

void TCoolStringGrid::PasteFromClipboardCell(int ACol, int ARow) {
  std::vector<char> Buffer(CellTextLimit);
  const int N = Clipboard()->GetTextBuf(Buffer.data(), CellTextLimit);
  SetCells(ACol, ARow, AnsiString(Buffer.data(), N));
}

// ----- HTML

void TCoolStringGrid::SaveToHTMLFile(const AnsiString& FileName) {
  static const char* const Aligns[] = {" ALIGN=\"LEFT\"", " ALIGN=\"RIGHT\"", " ALIGN=\"CENTER\""};
  std::string Out;
  auto Line = [&](const std::string& S) { Out += S + "\r\n"; };
  Line("<HTML>");
  Line("<BODY>");
  Line("");
  Line("<TABLE CELLPADDING=\"1\" CELLSPACING=\"1\" WIDTH=" + std::to_string(Width()) +
       " HEIGHT=" + std::to_string(Height()) + " BORDER=\"1\">");
  for (int R = 0; R < RowCount(); ++R) {
    Line("<TR>");
    for (int C = 0; C < ColCount(); ++C) {
      const TColor RGB = ColorToRGB(Colors(C, R));
      char Hex[8];
      std::snprintf(Hex, sizeof Hex, "%02X%02X%02X", unsigned(RGB & 0xFF), unsigned((RGB >> 8) & 0xFF),
                    unsigned((RGB >> 16) & 0xFF));
      const AnsiString Text = Cells(C, R);
      Line(std::string("<TD BGCOLOR=\"#") + Hex + "\" WIDTH=\"" + std::to_string(ColWidths(C)) + "\" HEIGHT=\"" +
           std::to_string(RowHeights(R)) + "\"" + Aligns[Fixed(C, R) ? FFixedTextAlign : FTextAlign] + ">" +
           (Text.IsEmpty() ? std::string("&nbsp;") : Text.str()) + "</TD>");
    }
    Line("</TR>");
  }
  Line("</TABLE>");
  Line("");
  Line("</BODY>");
  Line("</HTML>");
  TFileStream File(FileName, fmCreate);
  File.WriteBuffer(Out.data(), int(Out.size()));
}

// ----- published properties

static constinit const TPropInfo TCoolStringGrid_Props[] = {
    PropObject<&TCoolStringGrid::About, &TCoolStringGrid::SetAbout>("About"),
    TControlProps::Caption(),
    PropColor<&TCoolStringGrid::CaptionColor, &TCoolStringGrid::SetCaptionColor>("CaptionColor", clInactiveCaption),
    PropColor<&TCoolStringGrid::CaptionTextColor, &TCoolStringGrid::SetCaptionTextColor>("CaptionTextColor",
                                                                                       clInactiveCaptionText),
    PropObject<&TCoolStringGrid::CaptionWallpaper, &TCoolStringGrid::SetCaptionWallpaper>("CaptionWallpaper"),
    PropRef<&TCoolStringGrid::CoolImages, &TCoolStringGrid::SetCoolImages>("CoolImages"),
    PropSet<&TCoolStringGrid::ExOptions, &TCoolStringGrid::SetExOptions>("ExOptions", TCoolOptionType,
                                                                       CoolOption(ocNoCaption)),
    PropEnum<&TCoolStringGrid::FixedTextAlign, &TCoolStringGrid::SetFixedTextAlign>("FixedTextAlign", TAlignmentType,
                                                                                  taLeftJustify),
    PropInt<&TCoolStringGrid::idCaptionWallpaper, &TCoolStringGrid::SetIdCaptionWallpaper>("idCaptionWallpaper", -1),
    PropInt<&TCoolStringGrid::idSelWallpaper, &TCoolStringGrid::SetIdSelWallpaper>("idSelWallpaper", -1),
    PropInt<&TCoolStringGrid::idWallpaper, &TCoolStringGrid::SetIdWallpaper>("idWallpaper", -1),
    PropEnum<&TCoolStringGrid::InnerCellsBevel, &TCoolStringGrid::SetInnerCellsBevel>("InnerCellsBevel",
                                                                                    TBevelCutType, bvNone),
    PropEnum<&TCoolStringGrid::OuterCellsBevel, &TCoolStringGrid::SetOuterCellsBevel>("OuterCellsBevel",
                                                                                    TBevelCutType, bvNone),
    PropColor<&TCoolStringGrid::SelColor, &TCoolStringGrid::SetSelColor>("SelColor", clHighlight),
    PropObject<&TCoolStringGrid::SelWallpaper, &TCoolStringGrid::SetSelWallpaper>("SelWallpaper"),
    PropEnum<&TCoolStringGrid::TextAlign, &TCoolStringGrid::SetTextAlign>("TextAlign", TAlignmentType, taLeftJustify),
    PropInt<&TCoolStringGrid::TransparencyLevel, &TCoolStringGrid::SetTransparencyLevel>("TransparencyLevel", 0),
    PropObject<&TCoolStringGrid::Wallpaper, &TCoolStringGrid::SetWallpaper>("Wallpaper"),
    PropEvent<&TCoolStringGrid::OnEndCellEditing>("OnEndCellEditing"),
    PropEvent<&TCoolStringGrid::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TCoolStringGrid::OnMouseLeave>("OnMouseLeave"),
    PropEvent<&TCoolStringGrid::OnPaint>("OnPaint"),
};
ORV_IMPLEMENT_COMPONENT(TCoolStringGrid, TStringGrid, TCoolStringGrid_Props)
