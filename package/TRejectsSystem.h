// Unit TRejectsSystem: counts of rejected items by reject number, with their descriptions, in
// the settings file "RejectsSystem.ini", and the five most frequent rejects.
#pragma once

#include "rtl/Classes.h"
#include "vcl/IniFiles.h"

#include <cstdint>

// The file (in the Windows folder) holds the section "Reject Counts" with keys "Reject01" ..
// "Reject99" and integer values (a missing or malformed one counts 0), and the section
// "Reject Descriptions" with the same keys and the texts the user keeps there ("Unknown" when
// missing). Every call opens the file afresh; processes and threads sharing it take turns on a
// mutex named after its full path, and read what is on disk.
class TRejectsSystem : public TComponent {
  ORV_CLASS(TRejectsSystem, TComponent)
public:
  explicit TRejectsSystem(TComponent* AOwner) : TComponent(AOwner) {}

  // Writes 0 over every positive count of rejects 1 to 99; the top five stay as they are.
  void ClearAllRejectTotals();
  // Adds one to the count of Number (any number: 150 gives the key "Reject150"), then
  // recomputes the top five. A value that is not a count, or a count of 2147483647, raises an
  // Exception naming the file, key and value, and stays as it is.
  void IncrementReject(int Number);
  int GetRejectCount(int Number);
  AnsiString GetRejectDescription(int Number);
  // Ranks rejects 1 to 99 by count into TopCounts and TopDescriptions (1 to 5).
  void ComputeTop5Rejects();

  struct TRejectEntry {
    int32_t Id;
    int32_t Count;
  };

  int32_t i = 0, j = 0;
  TRejectEntry Swap{};
  TRejectEntry RejectTable[100]{};
  // The count last read or written.
  int32_t RejectCount = 0;
  // The key last formatted.
  char RejectKey[80]{};
  // The file in use during a call (none between calls).
  TIniFile* IniFile = nullptr;
  AnsiString IniFileName;
  AnsiString RejectDescription;
  int32_t TopCounts[6]{};
  AnsiString TopDescriptions[6];

private:
  // Formats RejectKey for Number.
  void FormatKey(int Number);
};
