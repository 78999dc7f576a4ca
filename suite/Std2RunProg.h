// TqcRunProg: starts a program from a command line, optionally waits for it, and reports a
// failed start as a result code with the system's error number. It never raises.
#pragma once
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

enum TqcRunShow {
  qrs_HIDE, qrs_SHOWNORMAL, qrs_SHOWMINIMIZED, qrs_SHOWMAXIMIZED, qrs_SHOWNOACTIVATE, qrs_SHOW,
  qrs_MINIMIZE, qrs_SHOWMINNOACTIVE, qrs_SHOWNA, qrs_RESTORE, qrs_SHOWDEFAULT
};
extern const TEnumType TqcRunShowType;

enum TqcRunError {
  qre_OK, qre_MemoryError, qre_FileNotFound, qre_PathNotFound, qre_TaskError, qre_WrongOpSystem,
  qre_WrongFileFormat, qre_networkerror, qre_FileError, qre_UnknownError
};
extern const TEnumType TqcRunErrorType;

using TqcError = TClosure<TObject* /*Sender*/, TqcRunError /*Error*/, int /*RealErrorCode*/>;

// The result code of a system error number.
TqcRunError RunErrorOf(int SystemError);

class TqcRunProg : public TComponent {
  ORV_CLASS(TqcRunProg, TComponent)
public:
  explicit TqcRunProg(TComponent* AOwner) : TComponent(AOwner) {}

  virtual void Run() { RunThis(FCmdLine); }
  // Starts CommandLine. An unquoted program path with blanks is quoted at the longest run of
  // leading words that names an existing file (as given or with ".exe").
  virtual void RunThis(const AnsiString& CommandLine);
  // The system's error number of the last failed start; 0 after a successful one.
  virtual int SavedErrorCode() const { return FSavedError; }

  TqcRunError LastResultCode() const { return FLastResultCode; }
  void SetLastResultCode(TqcRunError) {}
  const AnsiString& CmdLine() const { return FCmdLine; }
  void SetCmdLine(const AnsiString& Value) { FCmdLine = Value; }
  TqcRunShow Visiblility() const { return FVisiblility; }
  void SetVisiblility(TqcRunShow Value) { FVisiblility = Value; }
  bool Wait() const { return FWait; }
  void SetWait(bool Value) { FWait = Value; }
  // The exit code after a polling wait (259 while it runs), else 0.
  int ReturnCode() const { return FReturnCode; }
  void SetReturnCode(int) {}
  bool HardWait() const { return FHardWait; }
  void SetHardWait(bool Value) { FHardWait = Value; }

  TqcError OnError;
  TNotifyEvent OnBeforeRun;
  TNotifyEvent OnBeforeWait;
  TNotifyEvent OnFinish;

private:
  TqcRunError FLastResultCode = qre_OK;
  AnsiString FCmdLine;
  int FReturnCode = 0;
  TqcRunShow FVisiblility = qrs_SHOWNORMAL;
  bool FWait = true;
  bool FHardWait = false;
  int FSavedError = 0;
};
