// Settings files on disk through the profile functions: values of any length, integers as the
// classic reader parses them, and write failures.
#include "vcl/IniFiles.h"
#include "vcl/Win.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

// A fresh file name in the temporary folder, removed with the object.
struct TTempIni {
  std::string Path;
  explicit TTempIni(const char* Name) {
    char Dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, Dir);
    Path = std::string(Dir) + Name;
    Remove();
  }
  ~TTempIni() { Remove(); }
  void Remove() {
    SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(Path.c_str());
  }
  void Write(const std::string& Text) {
    std::FILE* F = std::fopen(Path.c_str(), "wb");
    ASSERT_NE(F, nullptr);
    std::fwrite(Text.data(), 1, Text.size(), F);
    std::fclose(F);
  }
};

TEST(IniFile, ValuesOfAnyLengthReadBackWhole) {
  TTempIni T("orvalen-lengths.ini");
  TIniFile Ini(T.Path.c_str());
  EXPECT_EQ(Ini.ReadString("S", "Missing", "dflt").str(), "dflt");
  for (int N : {0, 1, 1022, 1023, 1024, 1025, 2047, 2048, 4095, TIniFile::MaxWriteLength}) {
    SCOPED_TRACE(N);
    std::string V(size_t(N), 'x');
    for (int I = 0; I < N; ++I) V[size_t(I)] = char('a' + I % 26);
    const std::string Key = "K" + std::to_string(N);
    Ini.WriteString("S", Key.c_str(), V.c_str());
    EXPECT_EQ(Ini.ReadString("S", Key.c_str(), "dflt").str(), V);
    // A new object reads the same from the file.
    TIniFile Again(T.Path.c_str());
    EXPECT_EQ(Again.ReadString("s", Key.c_str(), "").str(), V) << "sections are found in any case";
  }
  // Longer texts cannot pass the system's write whole: an error, and the file keeps its values.
  const std::string TooLong(size_t(TIniFile::MaxWriteLength) + 1, 'z');
  EXPECT_THROW(Ini.WriteString("S", "K1", TooLong.c_str()), EIniFileException);
  EXPECT_THROW(Ini.WriteString("S", TooLong.c_str(), "v"), EIniFileException);
  EXPECT_EQ(Ini.ReadString("S", "K1", "").str(), "a");
  // Written by another hand, a longer value still reads whole.
  std::string Huge(70000, 'h');
  Huge[69999] = 'e';
  T.Write("[S]\r\nHuge=" + Huge + "\r\nAfter=1\r\n");
  Ini.UpdateFile();
  EXPECT_EQ(Ini.ReadString("S", "Huge", "").str(), Huge);
  EXPECT_EQ(Ini.ReadInteger("S", "After", 0), 1);
}

TEST(IniFile, ReadIntegerParsesAsTheClassicReader) {
  TTempIni T("orvalen-integers.ini");
  TIniFile Ini(T.Path.c_str());
  const struct {
    const char* Text;
    int Value;
  } Cases[] = {
      {"12", 12},          {"-12", -12},         {"+7", 7},
      {"$1F", 31},         {"0x1F", 31},         {"0X1f", 31},
      {"0xFFFFFFFF", -1},  {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
      {"2147483648", 99},  {"4294967296", 99},   {"0x1FFFFFFFF", 99},
      {"0x", 99},          {"$", 99},            {"12abc", 99},
      {"abc", 99},         {"", 99},             {"1.5", 99},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    Ini.WriteString("Numbers", "Value", C.Text);
    EXPECT_EQ(Ini.ReadInteger("Numbers", "Value", 99), C.Value);
  }
  EXPECT_EQ(Ini.ReadInteger("Numbers", "Missing", -4), -4);
  Ini.WriteInteger("Numbers", "Written", -2147483647 - 1);
  EXPECT_EQ(Ini.ReadString("Numbers", "Written", "").str(), "-2147483648");
  EXPECT_EQ(Ini.ReadInteger("Numbers", "Written", 0), INT_MIN);
}

TEST(IniFile, AFailedWriteRaises) {
  // A file another program holds open without sharing, and one in a folder that does not exist.
  TTempIni Held("orvalen-held.ini");
  Held.Write("[S]\r\nK=1\r\n");
  HANDLE H = CreateFileA(Held.Path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(H, INVALID_HANDLE_VALUE);
  char Dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, Dir);
  const std::string NoFolder = std::string(Dir) + "orvalen-no-such-folder\\settings.ini";
  for (const std::string& Path : {Held.Path, NoFolder}) {
    SCOPED_TRACE(Path);
    TIniFile Ini(Path.c_str());
    try {
      Ini.WriteString("S", "K", "2");
      ADD_FAILURE() << "no exception";
    } catch (const EIniFileException& E) {
      EXPECT_EQ(E.Message().str(), "Unable to write to " + Path);
    }
    EXPECT_THROW(Ini.WriteInteger("S", "K", 3), EIniFileException);
  }
  CloseHandle(H);
  EXPECT_EQ(TIniFile(Held.Path.c_str()).ReadString("S", "K", "").str(), "1") << "the file kept its value";
  EXPECT_EQ(GetFileAttributesA((std::string(Dir) + "orvalen-no-such-folder").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
