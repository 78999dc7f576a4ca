// Masked edit boxes: an edit whose text follows an edit mask.
#pragma once

#include "vcl/StdCtrls.h"
#include <vector>

ORV_EXCEPTION(EDBEditError, Exception)

// Edit masks: "mask;save;blank". Mask characters: L l (letter), A a (letter or digit),
// C c (any character), 0 9 (digit), # (digit or sign); upper case = required, lower case and
// 9 # = optional. '\' makes the next character a literal, '>' '<' '<>' switch case conversion,
// '!' fills optional positions from the right. Every other character is a literal.
// The second field ('0' = no) says whether Text keeps the literals; the third is the blank
// character shown for empty positions ('_' by default).
class TMaskFormat {
public:
  explicit TMaskFormat(const AnsiString& EditMask = AnsiString());

  bool Empty() const { return FPositions.empty(); }
  int Length() const { return int(FPositions.size()); }
  bool SaveLiterals() const { return FSaveLiterals; }
  char Blank() const { return FBlank; }
  bool Reverse() const { return FReverse; }

  // Positions are 0-based indexes into the edit text.
  bool IsLiteral(int Pos) const;
  char LiteralAt(int Pos) const;           // 0 when Pos is an input position
  bool IsRequired(int Pos) const;
  // Whether C may be typed at the input position (blank counts for optional positions).
  bool Accepts(int Pos, char C) const;
  // C with the case conversion in force at Pos.
  char Convert(int Pos, char C) const;
  int NextInput(int Pos) const;            // first input position >= Pos, or Length()
  int PrevInput(int Pos) const;            // last input position < Pos, or -1

  // Edit text with nothing entered: literals and blanks.
  AnsiString EmptyEditText() const;
  // The characters entered (literals removed, trailing blanks - leading with '!' - dropped,
  // other blanks as spaces).
  AnsiString RemoveFormat(const AnsiString& EditText) const;
  // Lays Value's characters over the input positions (spaces shown as BlankChar).
  AnsiString AddFormat(const AnsiString& Value, char BlankChar) const;
  // Edit text from a text that holds the literals at their places.
  AnsiString PadLiterals(const AnsiString& Value, char BlankChar) const;

  AnsiString TextFromEditText(const AnsiString& EditText) const;
  AnsiString EditTextFromText(const AnsiString& Text) const;
  // Index of the first required position left blank, -1 when the edit text is complete.
  int FirstMissing(const AnsiString& EditText) const;

private:
  enum TCase : unsigned char { caNone, caUpper, caLower };
  struct TPos {
    bool Literal;
    char Ch;      // the literal, or the mask character
    TCase Case;
  };
  std::vector<TPos> FPositions;
  bool FSaveLiterals = true;
  bool FReverse = false;
  char FBlank = '_';
};

// Formats Value as the mask's Text would read (literals per the save field, blanks as spaces).
AnsiString FormatMaskText(const AnsiString& EditMask, const AnsiString& Value);

// An edit box with an EditMask. EditText is the text in the box (literals and blanks as shown);
// Text is that text with the mask applied: without the literals when the mask says so, blanks as
// spaces. With an empty mask both are the window text.
class TCustomMaskEdit : public TCustomEdit {
  ORV_CLASS(TCustomMaskEdit, TCustomEdit)
public:
  explicit TCustomMaskEdit(TComponent* AOwner);

  const AnsiString& EditMask() const { return FEditMask; }
  void SetEditMask(const AnsiString& Value);
  bool IsMasked() const { return !FMask.Empty(); }
  const TMaskFormat& Mask() const { return FMask; }

  AnsiString EditText() const { return GetText(); }
  void SetEditText(const AnsiString& Value);
  AnsiString Text() const;
  void SetText(const AnsiString& Value);

  // EDBEditError "Invalid input value.  Use escape key to abandon changes" when a required
  // position is blank (only for a masked box whose text was changed).
  virtual void ValidateEdit();
  // Back to the text the box had when it took the focus.
  void Reset();

  void Dispatch(TMessage& Message) override;
  void Loaded() override;

protected:
  void CreateWnd() override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  // Puts C at the first input position at or after the caret (replacing a selection first);
  // false when the mask does not take it there.
  bool InsertChar(char C);
  // Blanks the input positions in [Start, End).
  void BlankRange(int Start, int End);

  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void WMCut(TMessage& Message);
  void WMPaste(TMessage& Message);
  void WMClear(TMessage& Message);

private:
  void ApplyLimit();
  void GetSel(int& Start, int& End);
  void SetSel(int Start, int End);

  AnsiString FEditMask;
  TMaskFormat FMask;
  AnsiString FOldValue;
  AnsiString FLoadedText;
  bool FHasLoadedText = false;
};

class TMaskEdit : public TCustomMaskEdit {
  ORV_CLASS(TMaskEdit, TCustomMaskEdit)
public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
  using TControl::AutoSize;
  using TControl::ParentColor;
  using TControl::SetParentColor;
  using TControl::ParentFont;
  using TControl::SetParentFont;
  using TWinControl::Ctl3D;
  using TWinControl::SetCtl3D;
};
