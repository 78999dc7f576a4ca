// The rejects counter on the real "RejectsSystem.ini" in the Windows folder: the counts and
// descriptions, the ranking with its ties, a file the user edited, values that are no counts, a
// file that cannot be read, and processes and threads counting into one file at once.
#include "package/TRejectsSystem.h"
#include "package/tests/pkgtest.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <thread>
#include <vector>

namespace {

using pkgtest::Bytes;

std::string RejectsPath() {
  char Dir[MAX_PATH] = {};
  UINT N = GetWindowsDirectoryA(Dir, MAX_PATH);
  std::string P(Dir, N);
  if (P.back() != '\\') P += '\\';
  return P + "RejectsSystem.ini";
}

// The real file, absent at the start of each test and removed after it.
class Rejects : public ::testing::Test {
protected:
  const std::string Path = RejectsPath();
  void SetUp() override { Remove(); }
  void TearDown() override { Remove(); }
  void Remove() {
    SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(Path.c_str());
  }
  bool Exists() const { return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  void Write(const std::string& Text) { pkgtest::WriteFileBytes(Path, Bytes(Text.begin(), Text.end())); }
  Bytes Contents() const { return pkgtest::ReadFileBytes(Path); }
  // What the system reads for a key ("<none>" when missing).
  std::string Value(const char* Section, const std::string& Key) const {
    char Buf[4096] = {};
    GetPrivateProfileStringA(Section, Key.c_str(), "<none>", Buf, sizeof Buf, Path.c_str());
    return Buf;
  }
  std::string Count(int Number) const { return Value("Reject Counts", Key(Number)); }
  static std::string Key(int Number) {
    char K[32];
    std::snprintf(K, sizeof K, "Reject%02d", Number);
    return K;
  }
  // Every value of a section as the system reads it, in file order.
  std::vector<std::string> Section(const char* Name) const {
    std::vector<char> Buf(65536);
    DWORD N = GetPrivateProfileSectionA(Name, Buf.data(), DWORD(Buf.size()), Path.c_str());
    std::vector<std::string> Lines;
    for (DWORD I = 0; I < N;) {
      std::string L(&Buf[I]);
      Lines.push_back(L);
      I += DWORD(L.size()) + 1;
    }
    return Lines;
  }
  TRejectsSystem R{nullptr};
};

TEST_F(Rejects, WithNoFileEverythingReadsAsTheDefaults) {
  EXPECT_EQ(R.GetRejectCount(5), 0);
  EXPECT_EQ(R.GetRejectDescription(5).str(), "Unknown");
  EXPECT_EQ(R.RejectDescription.str(), "Unknown");
  EXPECT_EQ(R.IniFileName.str(), "RejectsSystem.ini");
  EXPECT_EQ(R.IniFile, nullptr) << "no file is held between calls";
  R.ComputeTop5Rejects();
  EXPECT_EQ(R.TopCounts[0], 0);
  EXPECT_EQ(R.TopDescriptions[0].str(), "");
  for (int K = 1; K <= 5; ++K) {
    EXPECT_EQ(R.TopCounts[K], 0);
    EXPECT_EQ(R.TopDescriptions[K].str(), "Unknown");
    EXPECT_EQ(R.RejectTable[K].Id, K) << "equal counts keep the table's order";
  }
  EXPECT_FALSE(Exists()) << "reading makes no file";
}

TEST_F(Rejects, IncrementsCountIntoTheWindowsFolder) {
  for (int I = 0; I < 3; ++I) R.IncrementReject(7);
  R.IncrementReject(3);
  ASSERT_TRUE(Exists()) << Path;
  EXPECT_EQ(Count(7), "3");
  EXPECT_EQ(Count(3), "1");
  EXPECT_EQ(R.RejectCount, 1);
  EXPECT_EQ(R.TopCounts[1], 3);
  EXPECT_EQ(R.TopCounts[2], 1);
  EXPECT_EQ(R.GetRejectCount(7), 3);
  EXPECT_EQ(R.IniFile, nullptr);

  // Numbers are not range-checked: the key grows; the ranking reads only 1 to 99.
  const struct {
    int Number;
    const char* Key;
  } Keys[] = {{150, "Reject150"}, {0, "Reject00"}, {-5, "Reject-5"}, {99, "Reject99"}};
  for (const auto& K : Keys) {
    SCOPED_TRACE(K.Number);
    R.IncrementReject(K.Number);
    EXPECT_STREQ(R.RejectKey, "Reject05") << "the ranking formatted the last key";
    EXPECT_EQ(Value("Reject Counts", K.Key), "1");
    EXPECT_EQ(R.GetRejectCount(K.Number), 1);
    EXPECT_STREQ(R.RejectKey, K.Key);
  }
  R.IncrementReject(150);
  R.IncrementReject(150);
  EXPECT_EQ(Count(150), "3");
  EXPECT_EQ(R.TopCounts[1], 3);
  EXPECT_EQ(R.RejectTable[1].Id, 7) << "reject 150 is never ranked";
  EXPECT_EQ(R.TopCounts[3], 1);
  EXPECT_EQ(R.RejectTable[3].Id, 99);
}

TEST_F(Rejects, ClearWritesOnlyPositiveCountsAndKeepsTheDescriptions) {
  Write("[Reject Counts]\r\nReject07=3\r\nReject03=1\r\nReject05=0\r\nReject12=-4\r\nReject150=6\r\n"
        "[Reject Descriptions]\r\nReject07=Bent lid\r\nReject03=Scratch\r\n");
  R.ComputeTop5Rejects();
  R.ClearAllRejectTotals();
  EXPECT_EQ(Count(7), "0");
  EXPECT_EQ(Count(3), "0");
  EXPECT_EQ(Count(5), "0");
  EXPECT_EQ(Count(12), "-4") << "only positive counts are cleared";
  EXPECT_EQ(Count(150), "6") << "only rejects 1 to 99";
  EXPECT_EQ(Count(9), "<none>") << "the file gains no keys";
  EXPECT_EQ(Section("Reject Counts").size(), 5u);
  EXPECT_EQ(Value("Reject Descriptions", "Reject07"), "Bent lid");
  EXPECT_EQ(Value("Reject Descriptions", "Reject03"), "Scratch");
  EXPECT_EQ(R.TopCounts[1], 3) << "the top five are not recomputed";
  EXPECT_EQ(R.TopDescriptions[1].str(), "Bent lid");
}

TEST_F(Rejects, EqualCountsRankInTheExchangeSortsOrder) {
  Write("[Reject Descriptions]\r\nReject01=Crack\r\nReject03=Scratch\r\nReject04=Dent\r\nReject05=Stain\r\n"
        "Reject07=Bent lid\r\n");
  for (int I = 0; I < 3; ++I) R.IncrementReject(7);
  R.IncrementReject(3);
  const int Ids[] = {7, 3, 1, 4, 5};
  const int Counts[] = {3, 1, 0, 0, 0};
  const char* Texts[] = {"Bent lid", "Scratch", "Crack", "Dent", "Stain"};
  for (int K = 1; K <= 5; ++K) {
    SCOPED_TRACE(K);
    EXPECT_EQ(R.RejectTable[K].Id, Ids[K - 1]);
    EXPECT_EQ(R.TopCounts[K], Counts[K - 1]);
    EXPECT_EQ(R.TopDescriptions[K].str(), Texts[K - 1]);
  }
  EXPECT_EQ(R.RejectTable[6].Id, 6);
  EXPECT_EQ(R.RejectTable[7].Id, 2) << "the exchanges moved reject 2 down";
  EXPECT_EQ(R.GetRejectDescription(4).str(), "Dent");
  EXPECT_EQ(R.GetRejectDescription(2).str(), "Unknown");
}

TEST_F(Rejects, AHandEditedFileReadsTheSameAfterAnIncrementAndAClear) {
  Write("; counts of the packing line\r\n"
        "[Operators]\r\nReject07=99\r\nShift=Night\r\n\r\n"
        "[Reject Counts]\r\n; by hand\r\nreject07=2\r\nthis line is no key\r\nReject04 = 5 \r\n\r\n"
        "[Reject Descriptions]\r\nReject07=Bent lid ; not a comment\r\nReject04=Dent\r\n");
  const auto Operators = Section("Operators");
  const auto Descriptions = Section("Reject Descriptions");
  ASSERT_EQ(Operators.size(), 2u);
  EXPECT_EQ(R.GetRejectCount(7), 2) << "keys are found in any case";
  EXPECT_EQ(R.GetRejectCount(4), 5);

  R.IncrementReject(7);
  EXPECT_EQ(R.GetRejectCount(7), 3);
  EXPECT_EQ(R.GetRejectCount(4), 5);
  EXPECT_EQ(Section("Operators"), Operators);
  EXPECT_EQ(Section("Reject Descriptions"), Descriptions);
  EXPECT_EQ(R.TopDescriptions[1].str(), "Dent");
  EXPECT_EQ(R.TopDescriptions[2].str(), "Bent lid ; not a comment");

  const size_t CountLines = Section("Reject Counts").size();
  R.ClearAllRejectTotals();
  EXPECT_EQ(R.GetRejectCount(7), 0);
  EXPECT_EQ(R.GetRejectCount(4), 0);
  EXPECT_EQ(Section("Operators"), Operators);
  EXPECT_EQ(Section("Reject Descriptions"), Descriptions);
  EXPECT_EQ(Value("Operators", "Reject07"), "99");
  EXPECT_EQ(Section("Reject Counts").size(), CountLines) << "the clear rewrote the keys the file had";
}

TEST_F(Rejects, ValuesThatAreNoCountsAreNeverOverwritten) {
  const struct {
    const char* Name;
    const char* File;
    int Reads;          // GetRejectCount(4)
    bool Increments;    // or raises, leaving the file as it was
    const char* After;  // the value after a successful increment
  } Cases[] = {
      {"garbage", "[Reject Counts]\r\nReject04=lots\r\n", 0, false, nullptr},
      {"beyond 32 bits", "[Reject Counts]\r\nReject04=4294967296\r\n", 0, false, nullptr},
      {"negative beyond 32 bits", "[Reject Counts]\r\nReject04=-2147483649\r\n", 0, false, nullptr},
      {"the largest count", "[Reject Counts]\r\nReject04=2147483647\r\n", INT_MAX, false, nullptr},
      {"hexadecimal", "[Reject Counts]\r\nReject04=0x10\r\n", 16, true, "17"},
      {"an empty value", "[Reject Counts]\r\nReject04=\r\n", 0, true, "1"},
      {"a missing section", "[Reject Descriptions]\r\nReject04=Dent\r\n", 0, true, "1"},
  };
  const std::string MissingSection = Cases[6].File;
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Remove();
    Write(C.File);
    const Bytes Before = Contents();
    const std::string Old = Count(4);
    EXPECT_EQ(R.GetRejectCount(4), C.Reads);
    if (C.Increments) {
      EXPECT_NO_THROW(R.IncrementReject(4));
      EXPECT_EQ(Count(4), C.After);
      EXPECT_EQ(R.RejectCount, std::stoi(C.After));
      EXPECT_EQ(Value("Reject Descriptions", "Reject04"), C.File == MissingSection ? "Dent" : "<none>");
      continue;
    }
    try {
      R.IncrementReject(4);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& E) {
      const std::string M = E.Message().str();
      EXPECT_NE(M.find(Path), std::string::npos) << M;
      EXPECT_NE(M.find("Reject04"), std::string::npos) << M;
      EXPECT_NE(M.find(Old), std::string::npos) << M;
    }
    EXPECT_EQ(Contents(), Before) << "the file is unchanged";
    EXPECT_EQ(R.IniFile, nullptr);
    // The clear leaves what reads as 0 alone.
    R.ClearAllRejectTotals();
    EXPECT_EQ(Count(4), C.Reads > 0 ? "0" : Old);
  }
}

TEST_F(Rejects, AFileThatCannotBeReadIsAnError) {
  Write("[Reject Counts]\r\nReject02=4\r\n");
  const Bytes Before = Contents();
  HANDLE H = CreateFileA(Path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(H, INVALID_HANDLE_VALUE);
  const std::vector<std::pair<const char*, std::function<void()>>> Calls = {
      {"GetRejectCount", [&] { R.GetRejectCount(2); }},
      {"GetRejectDescription", [&] { R.GetRejectDescription(2); }},
      {"IncrementReject", [&] { R.IncrementReject(2); }},
      {"ClearAllRejectTotals", [&] { R.ClearAllRejectTotals(); }},
      {"ComputeTop5Rejects", [&] { R.ComputeTop5Rejects(); }},
  };
  for (const auto& [Name, Call] : Calls) {
    SCOPED_TRACE(Name);
    try {
      Call();
      ADD_FAILURE() << "no exception";
    } catch (const Exception& E) {
      EXPECT_NE(E.Message().str().find(Path), std::string::npos) << E.Message().str();
    }
    EXPECT_EQ(R.IniFile, nullptr);
  }
  CloseHandle(H);
  EXPECT_EQ(Contents(), Before);
  EXPECT_EQ(R.GetRejectCount(2), 4);
  // The file's turn was given back each time: another call goes ahead at once.
  R.IncrementReject(2);
  EXPECT_EQ(Count(2), "5");
}

std::string ProgramDir() {
  char P[MAX_PATH] = {};
  DWORD N = GetModuleFileNameA(nullptr, P, MAX_PATH);
  std::string S(P, N);
  return S.substr(0, S.find_last_of("\\/") + 1);
}

TEST_F(Rejects, ProcessesAndThreadsCountingAtOnceLoseNothing) {
  constexpr int Times = 200;
  const std::string EventName = "OrvalenRejectsStart" + std::to_string(GetCurrentProcessId());
  HANDLE Start = CreateEventA(nullptr, TRUE, FALSE, EventName.c_str());
  ASSERT_NE(Start, nullptr);
  R.IncrementReject(8);  // the file exists, with other counts beside the shared one

  std::vector<PROCESS_INFORMATION> Children;
  for (int C = 0; C < 2; ++C) {
    STARTUPINFOA Si{};
    Si.cb = sizeof Si;
    PROCESS_INFORMATION Pi{};
    std::string Cmd = "\"" + ProgramDir() + ORVALEN_REJECTSINC_EXE + "\" 9 " + std::to_string(Times) + " " + EventName;
    ASSERT_TRUE(CreateProcessA(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Si, &Pi)) << Cmd;
    Children.push_back(Pi);
  }
  std::vector<std::string> Errors(2);
  std::vector<std::thread> Threads;
  for (int T = 0; T < 2; ++T)
    Threads.emplace_back([&, T] {
      WaitForSingleObject(Start, INFINITE);
      try {
        TRejectsSystem Mine(nullptr);
        for (int I = 0; I < Times; ++I) Mine.IncrementReject(9);
      } catch (const std::exception& E) {
        Errors[size_t(T)] = E.what();
      }
    });
  Sleep(200);
  SetEvent(Start);
  for (auto& T : Threads) T.join();
  for (auto& Pi : Children) {
    const DWORD Wait = WaitForSingleObject(Pi.hProcess, 240000);
    DWORD Code = 99;
    if (Wait == WAIT_OBJECT_0) GetExitCodeProcess(Pi.hProcess, &Code);
    else TerminateProcess(Pi.hProcess, 99);
    CloseHandle(Pi.hThread);
    CloseHandle(Pi.hProcess);
    EXPECT_EQ(Wait, DWORD(WAIT_OBJECT_0)) << "a child did not end";
    EXPECT_EQ(Code, 0u);
  }
  CloseHandle(Start);
  for (const auto& E : Errors) EXPECT_EQ(E, "");
  EXPECT_EQ(R.GetRejectCount(9), 4 * Times);
  EXPECT_EQ(R.GetRejectCount(8), 1);
  R.ComputeTop5Rejects();
  EXPECT_EQ(R.TopCounts[1], 4 * Times);
  EXPECT_EQ(R.RejectTable[1].Id, 9);
}

}  // namespace
