// TqShowApp: dropped on the main form, it makes the application's settings and events settable
// from the form (mirrored into the application and screen objects at run time), shows system
// information (folders, names, colours, environment, Windows version, processor, host), applies
// the start-up show state and the taskbar presence, and keeps one running instance per program
// path, bringing the first to the front when a second one starts.
#pragma once
#include "suite/MystdRoutines.h"
#include "suite/Qhelper.h"
#include "suite/Std2FormHook.h"
#include "vcl/Forms.h"

enum TqShortDateFormat { sdfDontTouch, sdf4DigitYear, sdf2DigitYear };
extern const TEnumType TqShortDateFormatType;

using TEndSession = TClosure<>;
using TOneInstance = TClosure<TObject* /*Sender*/, bool& /*BringFirstInstanceToFront*/>;

// "Windows NT 4.0 (Build: 1381)" and the like, by kind; empty for an unknown kind.
AnsiString WindowsDescription(WTypes Type, int Major, int Minor, int Build);
// The processor's name from its family (CpuID), model and type bits and vendor, or from the
// family alone without CPUID.
AnsiString CpuDescription(const TProcessorData& Data, int Family);
// Format with its year run made four letters long (sdf4DigitYear) or every run two (sdf2DigitYear).
AnsiString ShortDateWithYear(const AnsiString& Format, TqShortDateFormat Style);

class TqShowApp : public TComponent {
  ORV_CLASS(TqShowApp, TComponent)
public:
  explicit TqShowApp(TComponent* AOwner);
  ~TqShowApp() override;
  void Loaded() override;

  // The entry's value (after the equals sign), empty when there is none.
  AnsiString GetEnvironmentString(const AnsiString& Name) const;
  // Sets the process's variable; true when the system took it. The lines follow.
  bool SetEnvironmentString(const AnsiString& Name, const AnsiString& Value);
  // Reads the environment block into EnvironmentLines again.
  void UpdateEnvironment();

  // Information; writes are ignored. A call the system fails gives an empty text.
  int BitsPerColor() const;
  long double NumberOfColors() const;
  AnsiString WinDir() const;
  AnsiString SystemDir() const;
  AnsiString TempDir() const;
  AnsiString ComputerName() const;
  AnsiString UserName() const;
  TStringList* EnvironmentLines() const { return FEnvironmentLines; }
  WTypes WindowKind() const { return WindowsType(); }
  int WinVerMajor() const { return MajorVersion(); }
  int WinVerMinor() const { return MinorVersion(); }
  int WinVerBuild() const { return BuildVersion(); }
  AnsiString WindowsString() const;
  int CPUType() const { return FCPUType; }
  AnsiString CPUString() const { return CpuDescription(ProcessorData(), FCPUType); }
  AnsiString CPUVendor() const;
  bool CPUMMX() const;
  int CPUStepping() const;
  int CPUModel() const;
  int CPUSpeed() const { return ProcessorData().Speed; }
  // From GetHostInfo on every read with EnabledHostInfo, else "-Unknown-".
  AnsiString IPHostName() const;
  AnsiString IPHostAddress() const;
  void IgnoreText(const AnsiString&) {}
  void IgnoreInt(int) {}
  void IgnoreFloat(long double) {}
  void IgnoreBool(bool) {}
  void IgnoreKind(WTypes) {}
  void IgnoreStrings(TStringList*) {}

  // Settings.
  TqShortDateFormat ShortDate() const { return FShortDate; }
  // Changes the process's short date format (sdfDontTouch: back to the one saved at creation).
  void SetShortDate(TqShortDateFormat Value);
  bool EnabledHostInfo() const { return FEnabledHostInfo; }
  void SetEnabledHostInfo(bool Value) { FEnabledHostInfo = Value; }
  bool UseCmdShow() const { return FUseCmdShow; }
  void SetUseCmdShow(bool Value) { FUseCmdShow = Value; }
  bool OnlyOneInstance() const { return FOnlyOneInstance; }
  void SetOnlyOneInstance(bool Value) { FOnlyOneInstance = Value; }
  bool ShowOnStatusBar() const { return FShowOnStatusBar; }
  void SetShowOnStatusBar(bool Value) { FShowOnStatusBar = Value; }
  bool ShowNonOnStatusBar() const { return FShowNonOnStatusBar; }
  void SetShowNonOnStatusBar(bool Value) { FShowNonOnStatusBar = Value; }
  // This process found itself a second instance (and ends).
  bool SecondInstance() const { return FSecondInstance; }

  // The application's settings: kept here while designing, the application's at run time.
  AnsiString HelpFile() const { return Running() ? Application->HelpFile() : FHelpFile; }
  void SetHelpFile(const AnsiString& Value);
  AnsiString Hint() const { return Running() ? Application->Hint() : FHint; }
  void SetHint(const AnsiString& Value);
  TColor HintColor() const { return Running() ? Application->HintColor() : FHintColor; }
  void SetHintColor(TColor Value);
  int HintPause() const { return Running() ? Application->HintPause() : FHintPause; }
  void SetHintPause(int Value);
  int HintHidePause() const { return Running() ? Application->HintHidePause() : FHintHidePause; }
  void SetHintHidePause(int Value);
  bool ShowMainForm() const { return Running() ? Application->ShowMainForm() : FShowMainForm; }
  void SetShowMainForm(bool Value);
  TIcon* Icon() const { return Running() ? Application->Icon() : FIcon; }
  void SetIcon(TIcon* Value);
  bool ShowHint() const { return Running() ? Application->ShowHint() : FShowHint; }
  void SetShowHint(bool Value);
  AnsiString Title() const { return Running() ? Application->Title() : FTitle; }
  void SetTitle(const AnsiString& Value);

  // The application's and the screen's events, read and written straight through.
  template <auto M> auto AppEvent() const { return Application->*M; }
  template <auto M> void SetAppEvent(std::remove_cvref_t<decltype(Application->*M)> Value) { Application->*M = Value; }
  template <auto M> auto ScreenEvent() const { return Screen->*M; }
  template <auto M> void SetScreenEvent(std::remove_cvref_t<decltype(Screen->*M)> Value) { Screen->*M = Value; }

  TAskEndSession OnAskEndSession;
  TEndSession OnEndSession;
  TOneInstance OnSecondInstance;
  TNotifyEvent OnAnotherInstance;

private:
  bool Running() const { return !HasState(csDesigning); }
  TForm* OwnerForm() const;
  bool OnMainForm() const;
  void ApplyCmdShow();
  void CheckInstance();
  void AppRestored(TObject* Sender);
  void HookMessage(TMessage& Message, bool& Handled);
  void BringToFront();
  void ApplyTaskBar();
  void TaskBarHooked(TObject* Sender);

  AnsiString FHelpFile, FHint, FTitle;
  TColor FHintColor = clInfoBk;
  TIcon* FIcon = nullptr;
  int FHintPause = 500, FHintHidePause = 2500;
  bool FShowHint = true, FShowMainForm = true;
  TqShortDateFormat FShortDate = sdfDontTouch;
  AnsiString FSavedShortDate;
  bool FEnabledHostInfo = false, FUseCmdShow = false, FOnlyOneInstance = false;
  bool FShowOnStatusBar = true, FShowNonOnStatusBar = false;
  int FCPUType = 0;
  TStringList* FEnvironmentLines = nullptr;
  TNotifyEvent FSavedRestore;
  bool FRestoreHooked = false;
  UINT FInstanceMessage = 0;
  bool FSecondInstance = false;
  TqFormHook FTaskBarHook;  // follows the main form's windows while off the taskbar
};
