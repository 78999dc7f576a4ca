// The cool string grid and its editor (part of unit CoolCtrls; include "coolctrls/CoolCtrls.h").
#pragma once

#include "coolctrls/CoolCtrls.h"
#include "vcl/Grids.h"

#include <unordered_map>

class TCoolStringGrid;

// The attributes of one cell, made when one of them is first touched.
class TCellWrapper : public TObject {
  ORV_CLASS(TCellWrapper, TObject)
public:
  // Font: a copy of the grid's; colour: the grid's FixedColor for a fixed cell, else its Color.
  TCellWrapper(int ACol, int ARow, TCoolStringGrid* Grid);
  ~TCellWrapper() override;

  TFont* Font() const { return FFont; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  int Col() const { return FCol; }
  int Row() const { return FRow; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool WallpaperForCell() const { return FWallpaperForCell; }
  void SetWallpaperForCell(bool Value) { FWallpaperForCell = Value; }
  TAlignment TextAlign() const { return FTextAlign; }
  void SetTextAlign(TAlignment Value) { FTextAlign = Value; }

private:
  friend class TCoolStringGrid;
  TFont* FFont;
  TColor FColor;
  int FCol, FRow;
  bool FReadOnly = false;
  bool FWallpaperForCell = true;
  TAlignment FTextAlign = taLeftJustify;
};

// The grid's editor: a system edit with the cool edit's alignment, wallpaper or see-through
// background and edge lines. Enter and Ctrl+Enter only beep, so the text stays one line.
class TCoolInplaceEdit : public TInplaceEdit {
  ORV_CLASS(TCoolInplaceEdit, TInplaceEdit)
public:
  explicit TCoolInplaceEdit(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment TextAlign() const { return FTextAlign; }
  void SetTextAlign(TAlignment Value);
  TCoolOptions Options() const { return FOptions; }
  void SetOptions(TCoolOptions Value);
  TPen* BorderPen() const { return FBorderPen; }
  void SetBorderPen(TPen* Value) { FBorderPen->Assign(Value); }
  TEdgeBorders EdgeBorders() const { return FEdgeBorders; }
  void SetEdgeBorders(TEdgeBorders Value);
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  // Empties the own wallpaper.
  void ClearWallpaper();
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  uint8_t TransparencyLevel() const { return FTransparencyLevel; }
  void SetTransparencyLevel(uint8_t Value);

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(char& Key) override;
  void Change() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool SeeThrough() const;
  // Composes the editor off-screen with its edge lines and copies it to the window in one step.
  void DoPaint();
  void Repainted(TObject*) { Invalidate(); }
  void CNCtlColor(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMFocus(TMessage& Message);
  void CMMouse(TMessage& Message);

  TPen* FBorderPen;
  mutable TCoolWallpaper FWallpaper;
  TAlignment FTextAlign = taLeftJustify;
  TCoolOptions FOptions = 0;
  TEdgeBorders FEdgeBorders = 0;
  uint8_t FTransparencyLevel = 0;
  bool FPainting = false;
};

using TEndCellEditingEvent =
    TClosure<TObject* /*Sender*/, int /*ACol*/, int /*ARow*/, int& /*CellWidth*/, int& /*CellHeight*/>;

// A string grid whose cells each may carry a colour, font, alignment, read-only flag and wallpaper
// switch, with grid wallpapers, selection colours, cell bevels, word-wrapped text that widens
// columns and heightens rows to fit, a caption bar, and three exchange forms: the cell stream
// (also as a file and as the clipboard format "GRID DATA"), cell text on the clipboard, and an
// HTML table.
class TCoolStringGrid : public TStringGrid {
  ORV_CLASS(TCoolStringGrid, TStringGrid)
public:
  explicit TCoolStringGrid(TComponent* AOwner);
  ~TCoolStringGrid() override;
  void Dispatch(TMessage& Message) override;

  TCCAboutBox* About() const { return FAbout; }
  void SetAbout(TCCAboutBox* Value) { FAbout = Value; }
  TColor CaptionColor() const { return FCaption.Color(); }
  void SetCaptionColor(TColor Value) { FCaption.SetColor(Value); }
  TColor CaptionTextColor() const { return FCaption.TextColor(); }
  void SetCaptionTextColor(TColor Value) { FCaption.SetTextColor(Value); }
  TBitmap* CaptionWallpaper() const { return FCaption.Wallpaper(); }
  void SetCaptionWallpaper(TBitmap* Value) { FCaption.SetWallpaper(Value); }
  TCoolImages* CoolImages() const { return FWallpaper.CoolImages(); }
  void SetCoolImages(TCoolImages* Value);
  // ocPaintWallpaper and ocPaintTransparently exclude each other; changing the set makes the
  // window again.
  TCoolOptions ExOptions() const { return FExOptions; }
  void SetExOptions(TCoolOptions Value);
  TAlignment FixedTextAlign() const { return FFixedTextAlign; }
  void SetFixedTextAlign(TAlignment Value);
  TAlignment TextAlign() const { return FTextAlign; }
  void SetTextAlign(TAlignment Value);
  TBevelCut InnerCellsBevel() const { return FInnerCellsBevel; }
  void SetInnerCellsBevel(TBevelCut Value);
  TBevelCut OuterCellsBevel() const { return FOuterCellsBevel; }
  void SetOuterCellsBevel(TBevelCut Value);
  int idCaptionWallpaper() const { return FCaption.idWallpaper(); }
  void SetIdCaptionWallpaper(int Value) { FCaption.SetIdWallpaper(Value); }
  int idSelWallpaper() const { return FSelWallpaper.idWallpaper(); }
  void SetIdSelWallpaper(int Value);
  int idWallpaper() const { return FWallpaper.idWallpaper(); }
  void SetIdWallpaper(int Value);
  TColor SelColor() const { return FSelColor; }
  void SetSelColor(TColor Value);
  TBitmap* SelWallpaper() const { return FSelWallpaper.Wallpaper(); }
  void SetSelWallpaper(TBitmap* Value);
  TBitmap* Wallpaper() const { return FWallpaper.Wallpaper(); }
  void SetWallpaper(TBitmap* Value);
  uint8_t TransparencyLevel() const { return FTransparencyLevel; }
  void SetTransparencyLevel(uint8_t Value);
  using TControl::Caption;
  using TControl::SetCaption;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnPaint;
  TEndCellEditingEvent OnEndCellEditing;

  // Cell attributes. Colors, ReadOnlyCells and WallpaperForCells read without making a
  // wrapper; Fonts and CellTextAligns make one, as every writer does.
  TColor Colors(int ACol, int ARow) const;
  void SetColors(int ACol, int ARow, TColor Value);
  bool ReadOnlyCells(int ACol, int ARow) const;
  void SetReadOnlyCells(int ACol, int ARow, bool Value);
  bool WallpaperForCells(int ACol, int ARow) const;
  void SetWallpaperForCells(int ACol, int ARow, bool Value);
  TFont* Fonts(int ACol, int ARow);
  void SetFonts(int ACol, int ARow, TFont* Value);
  TAlignment CellTextAligns(int ACol, int ARow);
  void SetCellTextAligns(int ACol, int ARow, TAlignment Value);

  // Wrappers, found by column and row at once.
  bool HaveWrapper(int ACol, int ARow) const { return ExtractWrapper(ACol, ARow) != nullptr; }
  TCellWrapper* ExtractWrapper(int ACol, int ARow) const;
  TCellWrapper* CreateWrapper(int ACol, int ARow);
  TCellWrapper* GetWrapper(int ACol, int ARow);
  int WrapperCount() const { return int(FWrappers.size()); }
  // In creation order.
  TCellWrapper* Wrappers(int Index) const { return FWrappers.at(size_t(Index)); }

  // The attributes for every row of a column (from row FixedRows unless IncludeFixed), or
  // every column of a row; a null Font leaves the fonts.
  void SetColumnParameters(int ACol, bool IncludeFixed, TAlignment Align, TFont* Font, bool Wallpaper, bool ReadOnly,
                           TColor Color);
  void SetRowParameters(int ARow, bool IncludeFixed, TAlignment Align, TFont* Font, bool Wallpaper, bool ReadOnly,
                        TColor Color);
  // Count empty rows (columns) at Index, at the end for an Index past the count; Count rows
  // from Index on removed, none for a negative Count.
  void InsertRows(int Index, int Count);
  void DeleteRows(int Index, int Count);
  void InsertCols(int Index, int Count);
  void DeleteCols(int Index, int Count);
  // Every text emptied; the attributes stay.
  void Clear() { ClearCells(); Invalidate(); }
  // The first column matching Text (without regard to case) of the last row that has one.
  bool PosCell(const AnsiString& Text, int& ACol, int& ARow) const;

  void SaveToStream(TStream* Stream);
  // EReadError for a malformed stream, which changes no cell.
  void LoadFromStream(TStream* Stream);
  void SaveToFile(const AnsiString& FileName);
  void LoadFromFile(const AnsiString& FileName);
  // The cell stream as "GRID DATA".
  void CopyToClipboard();
  void PasteFromClipboard();
  // A cell's text as clipboard text; at most 65,535 characters are pasted.
  void CopyToClipboardCell(int ACol, int ARow);
  void CutToClipboardCell(int ACol, int ARow);
  void PasteFromClipboardCell(int ACol, int ARow);
  void SaveToHTMLFile(const AnsiString& FileName);
  // The registered number of "GRID DATA".
  unsigned GridDataFormat() const { return FGridFormat; }

protected:
  // The wallpaper over Rect; false (nothing drawn) without one.
  bool CTLDrawWallpaper(HDC DC, const TRect& Rect, bool Tile, TCopyMode Mode) const {
    return FWallpaper.Draw(DC, Rect, Tile, Mode);
  }
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  bool CanEditShow() override;
  TInplaceEdit* CreateEditor() override;
  AnsiString GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const AnsiString& Value) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void TopLeftChanged() override;
  void SizeChanged(int OldColCount, int OldRowCount) override;

  void WMPaint(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCLButtonDblClk(TMessage& Message);
  void WMSetText(TMessage& Message);
  void WMFocus(TMessage& Message);
  void CMMouse(TMessage& Message);
  void CMEndEditing(TMessage& Message);

private:
  static uint64_t Key(int ACol, int ARow) { return (uint64_t(uint32_t(ACol)) << 32) | uint32_t(ARow); }
  bool Fixed(int ACol, int ARow) const { return ACol < FixedCols() || ARow < FixedRows(); }
  // Gives every wrapper the column or row Map makes of its own and indexes them again.
  template <class F> void MoveWrappers(bool Columns, F Map);
  void Changed();
  void Repainted(TObject*) { Changed(); }
  // Whether the cell may be edited: not a read-only one while editing is on.
  bool EditAllowed(int ACol, int ARow) const;
  void FitCell(int ACol, int ARow, const AnsiString& Text, unsigned Format);

  std::vector<TCellWrapper*> FWrappers;                   // in creation order
  std::unordered_map<uint64_t, TCellWrapper*> FWrapperAt;  // by (column, row)
  mutable TCoolWallpaper FWallpaper, FSelWallpaper;
  TCoolCaptionBar FCaption;
  AnsiString FEditStartText;
  unsigned FGridFormat = 0;
  TCCAboutBox* FAbout = nullptr;
  TColor FSelColor = clHighlight;
  TCoolOptions FExOptions = CoolOption(ocNoCaption);
  TAlignment FFixedTextAlign = taLeftJustify;
  TAlignment FTextAlign = taLeftJustify;
  TBevelCut FInnerCellsBevel = bvNone;
  TBevelCut FOuterCellsBevel = bvNone;
  uint8_t FTransparencyLevel = 0;
  bool FCanEdit = true;
};

// How the grid allocates its clipboard block (GlobalAlloc by default); returns the previous one.
// For tests.
using TGridClipboardAlloc = HGLOBAL(WINAPI*)(UINT Flags, SIZE_T Bytes);
TGridClipboardAlloc SetGridClipboardAlloc(TGridClipboardAlloc Alloc);
