// Bad input, failing streams, warnings, progress and abort: every failure is an exception with
// its text, the library object is aborted and reusable, and nothing leaks.
#include "jpegtest.h"

#include <algorithm>
#include <cstring>

using namespace jpegtest;

namespace {

// Records warnings; optionally aborts the component at the first one.
struct TWarnings : TObject {
  std::vector<std::string> Texts;
  TJPEGBase* AbortOn = nullptr;
  void Warn(const AnsiString& Msg) {
    Texts.push_back(Msg.str());
    if (AbortOn) AbortOn->Abort();
  }
  void Attach(TJPEGBase* C) { C->OnWarning = TWarningEvent::Bind<&TWarnings::Warn>(this); }
};

size_t FindMarker(const Bytes& J, int Code) {
  for (size_t I = 0; I + 1 < J.size(); ++I)
    if (J[I] == 0xFF && J[I + 1] == Code) return I;
  ADD_FAILURE() << "no marker " << Code;
  return 0;
}

const Bytes& Sample() {
  static const Bytes J = [] {
    auto B = PhotoBitmap(64, 48, 21);
    return Encode(B.get(), [](TJPEGStreamCompressor* C) { C->SetComment("sample"); });
  }();
  return J;
}

// Entropy data of the sample: after the SOS segment.
size_t ScanStart(const Bytes& J) {
  const size_t Sos = FindMarker(J, 0xDA);
  return Sos + 2 + ((size_t(J[Sos + 2]) << 8) | J[Sos + 3]);
}

enum TOutcome { Fails, Decodes, DecodesWithWarning };

struct TBadInput {
  const char* Name;
  std::function<Bytes()> Make;
  TOutcome Outcome;
  const char* Message;  // prefix of the exception text (Fails) or of the first warning
};

Bytes Cut(size_t N) { return Bytes(Sample().begin(), Sample().begin() + std::min(N, Sample().size())); }
Bytes With(size_t Offset, uint8_t Value) {
  Bytes J = Sample();
  J[Offset] = Value;
  return J;
}
Bytes InsertAfterSOI(const Bytes& Segment) {
  Bytes J = Sample();
  J.insert(J.begin() + 2, Segment.begin(), Segment.end());
  return J;
}

const TBadInput BadInputs[] = {
    {"ZeroLength", [] { return Bytes(); }, Fails, "Empty input file"},
    {"OneByte", [] { return Cut(1); }, Fails, "Not a JPEG file: starts with 0xff 0xff"},
    {"OnlySOI", [] { return Cut(2); }, Fails, "JPEG datastream contains no image"},
    {"InQuantTable", [] { return Cut(FindMarker(Sample(), 0xDB) + 30); }, Fails, "JPEG datastream contains no image"},
    {"BeforeScan", [] { return Cut(FindMarker(Sample(), 0xDA)); }, Fails,
     "Invalid JPEG file structure: missing SOS marker"},
    {"InScanHeader", [] { return Cut(FindMarker(Sample(), 0xDA) + 6); }, Fails, "Invalid component ID 217 in SOS"},
    {"EarlyInEntropy", [] { return Cut(ScanStart(Sample()) + 10); }, DecodesWithWarning, "Premature end of JPEG file"},
    {"MidEntropy", [] { return Cut((ScanStart(Sample()) + Sample().size()) / 2); }, DecodesWithWarning,
     "Premature end of JPEG file"},
    {"NoEOI", [] { return Cut(Sample().size() - 2); }, DecodesWithWarning, "Premature end of JPEG file"},
    {"BadSOI", [] { return With(1, 0xD9); }, Fails, "Not a JPEG file: starts with 0xff 0xd9"},
    {"NotJPEGAtAll", [] { return Bytes{'B', 'M', 0, 0, 0, 0}; }, Fails, "Not a JPEG file: starts with 0x42 0x4d"},
    {"PrecisionTwelve", [] { return With(FindMarker(Sample(), 0xC0) + 4, 12); }, Fails,
     "Unsupported JPEG data precision 12"},
    {"ZeroHeight", [] {
       Bytes J = With(FindMarker(Sample(), 0xC0) + 5, 0);
       J[FindMarker(J, 0xC0) + 6] = 0;
       return J;
     }, Fails, "Empty JPEG image (DNL not supported)"},
    {"FiveComponents", [] { return With(FindMarker(Sample(), 0xC0) + 9, 5); }, Fails, "Bogus marker length"},
    {"QuantIndex", [] { return With(FindMarker(Sample(), 0xDB) + 4, 0x05); }, Fails, "Bogus DQT index 5"},
    {"HuffmanCounts", [] {
       Bytes J = Sample();
       const size_t H = FindMarker(J, 0xC4);
       for (int I = 0; I < 16; ++I) J[H + 5 + I] = 0xFF;
       return J;
     }, Fails, "Bogus Huffman table definition"},
    {"SegmentLengthOne", [] { return With(FindMarker(Sample(), 0xDB) + 3, 1); }, Fails, "Bogus marker length"},
    {"EntropyBytesFlipped", [] {
       Bytes J = Sample();
       const size_t S = ScanStart(J);
       for (size_t I = S + 20; I < J.size() - 2; I += 97) J[I] ^= 0x5A;
       for (size_t I = S; I < J.size() - 2; ++I)
         if (J[I] == 0xFF && J[I + 1] != 0x00) J[I] = 0x7F;  // no accidental markers
       // 32 one bits: no Huffman code is that long.
       const size_t Mid = (S + J.size()) / 2;
       for (size_t I = 0; I < 8; I += 2) {
         J[Mid + I] = 0xFF;
         J[Mid + I + 1] = 0x00;
       }
       return J;
     }, DecodesWithWarning, "Corrupt JPEG data"},
    {"CommentLengthZero", [] { return InsertAfterSOI({0xFF, 0xFE, 0x00, 0x00}); }, Fails, "Bogus marker length"},
    {"CommentLengthOne", [] { return InsertAfterSOI({0xFF, 0xFE, 0x00, 0x01}); }, Fails, "Bogus marker length"},
    {"CommentLengthTwo", [] { return InsertAfterSOI({0xFF, 0xFE, 0x00, 0x02}); }, Decodes, ""},
    {"AppLengthOne", [] { return InsertAfterSOI({0xFF, 0xE5, 0x00, 0x01}); }, Fails, "Bogus marker length"},
    {"CommentBeyondTheEnd", [] { return Bytes{0xFF, 0xD8, 0xFF, 0xFE, 0x10, 0x00, 'a', 'b'}; }, Fails,
     "JPEG datastream contains no image"},
    {"TablesOnly", [] {
       Bytes J = Cut(FindMarker(Sample(), 0xC0));
       J.push_back(0xFF);
       J.push_back(0xD9);
       return J;
     }, Fails, "JPEG datastream contains no image"},
    {"CMYK", [] { return DirectJPEG(24, 16, JCS_CMYK); }, Fails, "Unsupported JPEG colour space (CMYK)"},
    {"YCCK", [] { return DirectJPEG(24, 16, JCS_YCCK); }, Fails, "Unsupported JPEG colour space (YCCK)"},
};

class BadInput : public ::testing::TestWithParam<TBadInput> {};

TEST_P(BadInput, GivesItsErrorOrWarning) {
  const TBadInput& C = GetParam();
  const Bytes Data = C.Make();
  auto D = Make<TJPEGStreamDecompressor>();
  TWarnings W;
  W.Attach(D.get());
  TMemoryStream S;
  LoadBytes(S, Data);
  std::string Error;
  Owned<TBitmap> Out;
  try {
    Out.reset(D->ReadBitMapFromStream(&S));
  } catch (const Exception& E) {
    Error = E.Message().str();
  }
  const std::string First = W.Texts.empty() ? "" : W.Texts.front();
  switch (C.Outcome) {
    case Fails:
      EXPECT_FALSE(Out) << "decoded, warnings: " << W.Texts.size();
      EXPECT_FALSE(Error.empty());
      EXPECT_EQ(Error.rfind(C.Message, 0), 0u) << "got \"" << Error << "\"";
      break;
    case Decodes:
      EXPECT_EQ(Error, "");
      ASSERT_TRUE(Out);
      EXPECT_EQ(Out->Width(), 64);
      EXPECT_TRUE(W.Texts.empty()) << First;
      break;
    case DecodesWithWarning:
      EXPECT_EQ(Error, "");
      ASSERT_TRUE(Out);
      EXPECT_EQ(Out->Width(), 64);
      EXPECT_EQ(Out->Height(), 48);
      EXPECT_GE(D->Warnings(), 1);
      EXPECT_EQ(First.rfind(C.Message, 0), 0u) << "first warning \"" << First << "\"";
      break;
  }
  EXPECT_EQ(D->PercentDone(), 0);
  // The object was returned to its start state: the good sample decodes with it.
  TMemoryStream Good;
  LoadBytes(Good, Sample());
  Owned<TBitmap> Again(D->ReadBitMapFromStream(&Good));
  EXPECT_EQ(Again->Width(), 64);
}

INSTANTIATE_TEST_SUITE_P(Table, BadInput, ::testing::ValuesIn(BadInputs),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(JPEGDecompressor, EmptyWhereverTheStreamStarts) {
  auto D = Make<TJPEGStreamDecompressor>();
  TMemoryStream S;
  S.WriteBuffer("0123456789", 10);  // positioned at its end: nothing left to read
  EXPECT_EQ(ErrorOf([&] { Owned<TBitmap> B(D->ReadBitMapFromStream(&S)); }), "Empty input file");
  EXPECT_EQ(D->Warnings(), 0) << "empty, not truncated";
  // A second image in the same stream after a first one.
  TMemoryStream Two;
  Two.WriteBuffer(Sample().data(), int(Sample().size()));
  Two.SetPosition(0);
  Owned<TBitmap> First(D->ReadBitMapFromStream(&Two));
  EXPECT_EQ(ErrorOf([&] { Owned<TBitmap> B(D->ReadBitMapFromStream(&Two)); }), "Empty input file");
}

TEST(JPEGDecompressor, FrontEndErrors) {
  auto D = Make<TJPEGFileDecompressor>();
  TMemoryStream S;
  LoadBytes(S, Sample());
  EXPECT_EQ(ErrorOf([&] { D->LoadPictureFromStream(nullptr, &S); }), "The Image Property is empty!");
  TPicture P;
  EXPECT_EQ(ErrorOf([&] { D->LoadPictureFromFile(&P, "no such file.jpg"); }), "Cannot open file no such file.jpg");
  // Header first, then abandoned: the object is ready for the next image.
  D->OpenStream(&S);
  D->CloseStream();
  S.SetPosition(0);
  D->LoadPictureFromStream(&P, &S);
  EXPECT_EQ(P.Width(), 64);
  // Outside a conversion Abort returns the object to its start at once.
  S.SetPosition(0);
  D->OpenStream(&S);
  D->Abort();
  EXPECT_EQ(ErrorOf([&] { Owned<TBitmap> B(D->ReadBitmap()); }), "Improper call to JPEG library in state 200");
  D->CloseStream();
}

// ---------------------------------------------------------------------------------------------
// Warnings by trace level

Bytes WithBrokenRestarts() {
  auto B = PhotoBitmap(128, 64, 22);
  Bytes J = Encode(B.get(), [](TJPEGStreamCompressor* C) { C->SetRestartInterval(2); });
  // Renumber every third restart marker: each is a corrupt-data warning with a resync.
  int Seen = 0;
  for (size_t I = ScanStart(J); I + 1 < J.size(); ++I)
    if (J[I] == 0xFF && J[I + 1] >= 0xD0 && J[I + 1] <= 0xD7 && ++Seen % 3 == 0) J[I + 1] = 0xD0 | ((J[I + 1] + 3) & 7);
  return J;
}

TEST(JPEGWarnings, WithoutAHandlerAWarningDialogShowsTheFirst) {
  const Bytes J = WithBrokenRestarts();
  auto D = Make<TJPEGStreamDecompressor>();
  D->OnWarning = nullptr;
  TMemoryStream S;
  LoadBytes(S, J);
  ExpectMessageBoxes(true);
  Owned<TBitmap> Out(D->ReadBitMapFromStream(&S));
  ExpectMessageBoxes(false);
  const std::vector<std::string> Boxes = TakeMessageBoxes();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].rfind("Warning: Corrupt JPEG data", 0), 0u) << Boxes[0];
  EXPECT_GE(D->Warnings(), 2);
}

// What a user sees of a message dialog on this thread: found by a timer, read, and answered
// with its OK button.
struct TDialogWatch {
  struct TSeen {
    HWND Wnd = nullptr;
    std::string Caption;
    std::vector<std::string> Buttons;
  };
  static inline std::vector<TSeen> Seen;
  static inline HWND Open = nullptr;
  UINT_PTR Timer;
  TDialogWatch() {
    Seen.clear();
    Open = nullptr;
    AnswerMessageDialogs(true);
    Timer = SetTimer(nullptr, 0, 50, &Tick);
  }
  ~TDialogWatch() {
    KillTimer(nullptr, Timer);
    AnswerMessageDialogs(false);
  }
  static BOOL CALLBACK FindForm(HWND W, LPARAM) {
    char Cls[32] = {};
    GetClassNameA(W, Cls, sizeof Cls);
    if (std::strcmp(Cls, "TMessageForm") == 0 && IsWindowVisible(W)) Open = W;
    return Open == nullptr;
  }
  static BOOL CALLBACK ReadButton(HWND W, LPARAM P) {
    char Cls[32] = {}, Text[64] = {};
    GetClassNameA(W, Cls, sizeof Cls);
    GetWindowTextA(W, Text, sizeof Text);
    if ((GetWindowLongA(W, GWL_STYLE) & 0x0F) <= BS_DEFPUSHBUTTON && std::strstr(Cls, "Button"))
      reinterpret_cast<TSeen*>(P)->Buttons.push_back(Text);
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Open = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindForm, 0);
    if (!Open) return;
    TSeen S;
    S.Wnd = Open;
    char Caption[128] = {};
    GetWindowTextA(Open, Caption, sizeof Caption);
    S.Caption = Caption;
    EnumChildWindows(Open, &ReadButton, LPARAM(&S));
    Seen.push_back(S);
    if (HWND Ok = FindWindowExA(Open, nullptr, nullptr, "OK")) PostMessageA(Ok, BM_CLICK, 0, 0);
  }
};

TEST(JPEGWarnings, TheWarningDialogHasAnOKButtonThatContinues) {
  const Bytes J = WithBrokenRestarts();
  TWarnings Quiet;
  auto Handled = Make<TJPEGStreamDecompressor>();
  Quiet.Attach(Handled.get());
  TMemoryStream S1;
  LoadBytes(S1, J);
  Owned<TBitmap> Want(Handled->ReadBitMapFromStream(&S1));

  auto D = Make<TJPEGStreamDecompressor>();
  D->OnWarning = nullptr;
  TMemoryStream S;
  LoadBytes(S, J);
  Owned<TBitmap> Out;
  {
    TDialogWatch Watch;
    Out.reset(D->ReadBitMapFromStream(&S));
  }
  ASSERT_EQ(TDialogWatch::Seen.size(), 1u);
  EXPECT_EQ(TDialogWatch::Seen[0].Caption, "Warning");
  EXPECT_EQ(TDialogWatch::Seen[0].Buttons, std::vector<std::string>{"OK"});
  EXPECT_FALSE(IsWindow(TDialogWatch::Seen[0].Wnd));
  // Pressing OK let the decode run to its end.
  ASSERT_EQ(Out->Width(), Want->Width());
  ASSERT_EQ(Out->Height(), Want->Height());
  EXPECT_EQ(Compare(Out.get(), Want.get()).WorstMax(), 0);
  EXPECT_EQ(D->Warnings(), Handled->Warnings());
  EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST(JPEGWarnings, TraceLevels) {
  const Bytes J = WithBrokenRestarts();
  for (int Level : {0, 3}) {
    SCOPED_TRACE(Level);
    auto D = Make<TJPEGStreamDecompressor>();
    TWarnings W;
    W.Attach(D.get());
    D->SetTrace_Level(Level);
    TMemoryStream S;
    LoadBytes(S, J);
    Owned<TBitmap> Out(D->ReadBitMapFromStream(&S));
    ASSERT_GE(D->Warnings(), 2) << "the sample must hold several corrupt-data warnings";
    const auto Corrupt = std::count_if(W.Texts.begin(), W.Texts.end(),
                                       [](const std::string& T) { return T.rfind("Corrupt JPEG data", 0) == 0; });
    if (Level == 0) {
      EXPECT_EQ(W.Texts.size(), 1u);
      EXPECT_EQ(Corrupt, 1);
    } else {
      EXPECT_EQ(Corrupt, D->Warnings());
      EXPECT_NE(std::find(W.Texts.begin(), W.Texts.end(), "Start of Image"), W.Texts.end()) << "trace messages too";
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Progress and abort

struct TProgress : TObject {
  TJPEGBase* C = nullptr;
  std::vector<int> Percents;
  int AbortAt = -1;      // call number that aborts
  int ThrowAt = -1;      // call number that raises
  void Report(TObject* Sender) {
    EXPECT_EQ(Sender, C);
    EXPECT_TRUE(C->InProgress());
    Percents.push_back(C->PercentDone());
    const int N = int(Percents.size()) - 1;
    if (N == AbortAt) {
      C->Abort();
      EXPECT_TRUE(C->AbortRequested());
    }
    if (N == ThrowAt) throw Exception("Stopped by the handler");
  }
  void Attach(TJPEGBase* Comp) {
    C = Comp;
    C->OnProgressReport = TNotifyEvent::Bind<&TProgress::Report>(this);
  }
};

TEST(JPEGProgress, PercentDoneRunsToOneHundredAndBackToZero) {
  auto Big = PhotoBitmap(200, 160, 23);
  for (bool Progressive : {false, true}) {
    SCOPED_TRACE(Progressive);
    auto C = Make<TJPEGStreamCompressor>();
    C->SetProgressiveJPEG(Progressive);
    TProgress P;
    P.Attach(C.get());
    EXPECT_EQ(C->PercentDone(), 0);
    TMemoryStream S;
    C->SaveBitMapToStream(Big.get(), &S);
    EXPECT_EQ(C->PercentDone(), 0) << "between conversions";
    ASSERT_GE(P.Percents.size(), 10u);
    // Multi-pass estimates may step back; a single pass only grows.
    if (!Progressive) {
      EXPECT_TRUE(std::is_sorted(P.Percents.begin(), P.Percents.end()));
    }
    EXPECT_GE(*std::min_element(P.Percents.begin(), P.Percents.end()), 0);
    EXPECT_EQ(P.Percents.back(), 100);
    EXPECT_LT(P.Percents.front(), 10);

    auto D = Make<TJPEGStreamDecompressor>();
    TProgress Q;
    Q.Attach(D.get());
    EXPECT_EQ(D->PercentDone(), 0);
    S.SetPosition(0);
    Owned<TBitmap> Out(D->ReadBitMapFromStream(&S));
    EXPECT_EQ(D->PercentDone(), 0);
    ASSERT_GE(Q.Percents.size(), 10u);
    EXPECT_TRUE(std::is_sorted(Q.Percents.begin(), Q.Percents.end()));
    EXPECT_EQ(Q.Percents.back(), 100);
  }
}

// The progress record as the library fills it, to check the percentage it gives.
struct TProgressProbe : TJPEGStreamDecompressor {
  using TJPEGStreamDecompressor::TJPEGStreamDecompressor;
  using TJPEGBase::ProgressRecord;
};

TEST(JPEGProgress, PercentDoneRoundsHalvesToEven) {
  const struct {
    long Counter, Limit;
    int Completed, Total;
    int Percent;
  } Cases[] = {
      {1, 8, 0, 1, 12},  {3, 8, 0, 1, 38},  {5, 8, 0, 1, 62}, {7, 8, 0, 1, 88},
      {1, 4, 0, 2, 12},  {1, 2, 1, 4, 38},  {2, 3, 0, 1, 67}, {8, 8, 1, 2, 100},
      {0, 0, 1, 2, 50},  {0, 0, 0, 0, 0},
      // Halves whose fractions have no exact binary form.
      {9, 10, 19, 20, 100}, {1, 10, 1, 4, 28}, {3, 10, 0, 4, 8},
  };
  Owned<TProgressProbe> P(New<TProgressProbe>(nullptr));
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Counter) + "/" + std::to_string(C.Limit) + " + " + std::to_string(C.Completed) +
                 " of " + std::to_string(C.Total));
    jpeg_progress_mgr* R = P->ProgressRecord();
    R->pass_counter = C.Counter;
    R->pass_limit = C.Limit;
    R->completed_passes = C.Completed;
    R->total_passes = C.Total;
    EXPECT_EQ(P->PercentDone(), C.Percent);
  }
  P->Abort();  // outside a conversion: the record is cleared with the object
  EXPECT_EQ(P->PercentDone(), 0);
}

TEST(JPEGProgress, AbortFromTheProgressEventStopsTheConversion) {
  auto Big = PhotoBitmap(200, 160, 24);
  const Bytes J = Encode(Big.get());
  auto D = Make<TJPEGStreamDecompressor>();
  TProgress P;
  P.Attach(D.get());
  P.AbortAt = 3;
  TMemoryStream S;
  LoadBytes(S, J);
  EXPECT_EQ(ErrorOf([&] { Owned<TBitmap> B(D->ReadBitMapFromStream(&S)); }), "User Interrupt");
  EXPECT_EQ(P.Percents.size(), 4u) << "stopped after the current step";
  EXPECT_FALSE(D->AbortRequested());
  EXPECT_EQ(D->PercentDone(), 0);
  P.AbortAt = -1;
  P.ThrowAt = 2;
  P.Percents.clear();
  S.SetPosition(0);
  EXPECT_EQ(ErrorOf([&] { Owned<TBitmap> B(D->ReadBitMapFromStream(&S)); }), "Stopped by the handler");
  P.ThrowAt = -1;
  S.SetPosition(0);
  Owned<TBitmap> Out(D->ReadBitMapFromStream(&S));
  EXPECT_EQ(Out->Width(), 200);

  auto C = Make<TJPEGStreamCompressor>();
  TProgress Q;
  Q.Attach(C.get());
  Q.AbortAt = 5;
  TMemoryStream Dst;
  EXPECT_EQ(ErrorOf([&] { C->SaveBitMapToStream(Big.get(), &Dst); }), "User Interrupt");
  EXPECT_EQ(Q.Percents.size(), 6u);
  Q.AbortAt = -1;
  TMemoryStream Dst2;
  C->SaveBitMapToStream(Big.get(), &Dst2);
  EXPECT_EQ(StreamBytes(Dst2), J);
}

TEST(JPEGProgress, AbortFromOtherHandlersIsARequest) {
  struct THandlers : TObject {
    TJPEGBase* C = nullptr;
    int Calls = 0;
    void Comment(TObject*, const char*) { ++Calls; C->Abort(); }
    void Markers(TObject*) { ++Calls; C->Abort(); }
  };
  // During the header: the comment handler.
  auto D = Make<TJPEGStreamDecompressor>();
  THandlers H;
  H.C = D.get();
  D->OnJPEGComment = TJPEGCommentEvent::Bind<&THandlers::Comment>(&H);
  TMemoryStream S;
  LoadBytes(S, Sample());
  EXPECT_EQ(ErrorOf([&] { Owned<TBitmap> B(D->ReadBitMapFromStream(&S)); }), "User Interrupt");
  EXPECT_EQ(H.Calls, 1);
  D->OnJPEGComment = nullptr;
  S.SetPosition(0);
  Owned<TBitmap> B(D->ReadBitMapFromStream(&S));
  EXPECT_EQ(B->Width(), 64);
  // During the decode: the warning handler of a truncated file.
  TWarnings W;
  W.Attach(D.get());
  W.AbortOn = D.get();
  TMemoryStream T;
  LoadBytes(T, Bytes(Sample().begin(), Sample().begin() + (ScanStart(Sample()) + Sample().size()) / 2));
  EXPECT_EQ(ErrorOf([&] { Owned<TBitmap> X(D->ReadBitMapFromStream(&T)); }), "User Interrupt");
  EXPECT_EQ(W.Texts.size(), 1u);
  // During the finish: the warning of junk bytes before the end marker. The request is honoured
  // there and does not carry over to the next image.
  Bytes Junk = Sample();
  // More junk than a 64-bit entropy decoder's bit buffer reads ahead past the last block.
  Junk.insert(Junk.end() - 2, 16, 0x5A);
  W.Texts.clear();
  TMemoryStream U;
  LoadBytes(U, Junk);
  EXPECT_EQ(ErrorOf([&] { Owned<TBitmap> X(D->ReadBitMapFromStream(&U)); }), "User Interrupt");
  ASSERT_EQ(W.Texts.size(), 1u);
  EXPECT_NE(W.Texts[0].find("extraneous bytes"), std::string::npos) << W.Texts[0];
  EXPECT_FALSE(D->AbortRequested());
  W.AbortOn = nullptr;
  S.SetPosition(0);
  Owned<TBitmap> Next(D->ReadBitMapFromStream(&S));
  EXPECT_EQ(Next->Width(), 64);
  // After jpeg_start_compress: the marker handler.
  auto C = Make<TJPEGStreamCompressor>();
  H.C = C.get();
  C->OnWriteMarkers = TNotifyEvent::Bind<&THandlers::Markers>(&H);
  TMemoryStream Out;
  auto Small = PhotoBitmap(16, 16, 25);
  EXPECT_EQ(ErrorOf([&] { C->SaveBitMapToStream(Small.get(), &Out); }), "User Interrupt");
  C->OnWriteMarkers = nullptr;
  TMemoryStream Out2;
  C->SaveBitMapToStream(Small.get(), &Out2);
  EXPECT_EQ(Decode(StreamBytes(Out2))->Width(), 16);
}

// ---------------------------------------------------------------------------------------------
// Streams that fail

class TFailingStream : public TMemoryStream {
public:
  enum TMode { ShortWrite, ThrowOnWrite, ThrowOnRead };
  TFailingStream(TMode Mode, int64_t Limit) : FMode(Mode), FLimit(Limit) {}
  int Write(const void* Buffer, int Count) override {
    if (FMode == ThrowOnRead) return TMemoryStream::Write(Buffer, Count);
    const int64_t Room = std::max<int64_t>(FLimit - Size(), 0);
    if (Count > Room) {
      if (FMode == ThrowOnWrite) throw EWriteError("The disk is full");
      return TMemoryStream::Write(Buffer, int(Room));
    }
    return TMemoryStream::Write(Buffer, Count);
  }
  int Read(void* Buffer, int Count) override {
    if (FMode == ThrowOnRead && Position() + Count > FLimit) throw EReadError("The device is not ready");
    return TMemoryStream::Read(Buffer, Count);
  }
private:
  TMode FMode;
  int64_t FLimit;
};

struct TStreamCase {
  const char* Name;
  TFailingStream::TMode Mode;
  int Limit;  // bytes accepted; negative: that many short of the whole file
  const char* Message;
};

class FailingStream : public ::testing::TestWithParam<TStreamCase> {};

TEST_P(FailingStream, RaisesAndStaysUsable) {
  const TStreamCase& C = GetParam();
  auto Big = PhotoBitmap(300, 200, 26, 24, 40);
  const Bytes Whole = Encode(Big.get());
  ASSERT_GT(Whole.size(), 3 * 4096u);
  const int64_t Limit = C.Limit >= 0 ? C.Limit : int64_t(Whole.size()) + C.Limit;
  if (C.Mode == TFailingStream::ThrowOnRead) {
    auto D = Make<TJPEGStreamDecompressor>();
    TFailingStream S(C.Mode, Limit);
    S.WriteBuffer(Whole.data(), int(Whole.size()));
    S.SetPosition(0);
    EXPECT_EQ(ErrorOf([&] { Owned<TBitmap> B(D->ReadBitMapFromStream(&S)); }), C.Message);
    TMemoryStream Good;
    LoadBytes(Good, Whole);
    Owned<TBitmap> B(D->ReadBitMapFromStream(&Good));
    EXPECT_EQ(B->Width(), 300);
    return;
  }
  auto Comp = Make<TJPEGStreamCompressor>();
  TFailingStream S(C.Mode, Limit);
  EXPECT_EQ(ErrorOf([&] { Comp->SaveBitMapToStream(Big.get(), &S); }), C.Message);
  EXPECT_LE(S.Size(), Limit);
  EXPECT_EQ(Comp->Stream(), nullptr);
  TMemoryStream Good;
  Comp->SaveBitMapToStream(Big.get(), &Good);
  EXPECT_EQ(StreamBytes(Good), Whole) << "the next save is complete";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailingStream,
    ::testing::Values(TStreamCase{"ShortWriteHalfWay", TFailingStream::ShortWrite, 6000, "Stream write error"},
                      TStreamCase{"ShortWriteAtTheFirstBuffer", TFailingStream::ShortWrite, 0, "Stream write error"},
                      TStreamCase{"ShortFinalWrite", TFailingStream::ShortWrite, -1, "Stream write error"},
                      TStreamCase{"WriteRaises", TFailingStream::ThrowOnWrite, 6000, "The disk is full"},
                      TStreamCase{"ReadRaises", TFailingStream::ThrowOnRead, 5000, "The device is not ready"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// ---------------------------------------------------------------------------------------------

TEST(JPEGLeaks, FailuresReleaseTheLibraryMemory) {
  auto Small = PhotoBitmap(96, 64, 27);
  const Bytes Good = Encode(Small.get());
  const Bytes Truncated(Good.begin(), Good.begin() + Good.size() / 2);
  const Bytes Cmyk = DirectJPEG(16, 16, JCS_CMYK);
  auto Round = [&] {
    for (const Bytes* In : {&Truncated, &Cmyk}) {
      auto D = Make<TJPEGStreamDecompressor>();
      TWarnings W;
      W.Attach(D.get());
      TMemoryStream S;
      LoadBytes(S, *In);
      try {
        Owned<TBitmap> B(D->ReadBitMapFromStream(&S));
      } catch (const Exception&) {
      }
    }
    auto C = Make<TJPEGStreamCompressor>();
    TFailingStream S(TFailingStream::ShortWrite, 100);
    try {
      C->SaveBitMapToStream(Small.get(), &S);
    } catch (const Exception&) {
    }
  };
  for (int I = 0; I < 3; ++I) Round();  // settle the heaps
  const int64_t Before = HeapInUse();
  for (int I = 0; I < 60; ++I) Round();
  const int64_t After = HeapInUse();
  // One leaked library object alone is tens of kilobytes; sixty would be megabytes.
  EXPECT_LT(After - Before, 64 * 1024) << Before << " -> " << After;
}

}  // namespace
