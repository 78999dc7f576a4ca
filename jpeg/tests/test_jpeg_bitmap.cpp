// TJPEGBitmap: the picture formats, files by extension, progress relay, default components,
// stored "Data", and JPEG resources.
#include "jpegtest.h"

#include <cstdio>
#include <cstring>

using namespace jpegtest;

namespace {

Bytes FileBytes(const AnsiString& Name) {
  TMemoryStream S;
  S.LoadFromFile(Name);
  return StreamBytes(S);
}

void WriteFile(const AnsiString& Name, const Bytes& Data) {
  TMemoryStream S;
  LoadBytes(S, Data);
  S.SaveToFile(Name);
}

struct TEvents : TObject {
  struct TEvent {
    TObject* Sender;
    TProgressStage Stage;
    int Percent;
    std::string Msg;
  };
  std::vector<TEvent> Events;
  int OwnReports = 0;
  void Progress(TObject* Sender, TProgressStage Stage, unsigned char Percent, bool Redraw, const TRect& R,
                const AnsiString& Msg) {
    EXPECT_FALSE(Redraw);
    EXPECT_TRUE(R.IsEmpty());
    Events.push_back({Sender, Stage, Percent, Msg.str()});
  }
  void Own(TObject*) { ++OwnReports; }
  void Warn(const AnsiString&) {}
};

TEST(JPEGBitmap, RegisteredPictureFormats) {
  EXPECT_TRUE(TPicture::FindExtension("jpg"));
  EXPECT_TRUE(TPicture::FindExtension("JPEG"));
  EXPECT_TRUE(TPicture::FindGraphicClass("TJPEGBitmap"));
  const std::string Filter = TPicture::GraphicFilter(TGraphic::StaticClass()).str();
  EXPECT_NE(Filter.find("JPEG Image (*.jpg)|*.jpg"), std::string::npos) << Filter;
  EXPECT_NE(Filter.find("JPEG Image (*.jpeg)|*.jpeg"), std::string::npos) << Filter;
  TGraphic* G = TPicture::FindExtension("jpg")();
  EXPECT_TRUE(G->Is<TJPEGBitmap>());
  TObject::Free(G);
}

TEST(JPEGBitmap, PictureLoadsAndSavesByExtension) {
  TTempFiles Files;
  auto Source = PhotoBitmap(90, 70, 31);
  const Bytes J = Encode(Source.get());
  const AnsiString In = Files.Add("x.jpg");
  WriteFile(In, J);

  TPicture P;
  P.LoadFromFile(In);
  ASSERT_TRUE(P.Graphic());
  EXPECT_TRUE(P.Graphic()->Is<TJPEGBitmap>());
  EXPECT_EQ(P.Width(), 90);
  EXPECT_EQ(P.Height(), 70);
  EXPECT_LE(Compare(Source.get(), static_cast<TBitmap*>(P.Graphic())).WorstMean(), 3);

  const AnsiString Bmp = Files.Add("y.bmp"), Jpg = Files.Add("y.JPG"), Jpeg = Files.Add("y.jpeg");
  P.SaveToFile(Bmp);
  P.SaveToFile(Jpg);
  P.Graphic()->SaveToFile(Jpeg);
  const Bytes B = FileBytes(Bmp), JB = FileBytes(Jpg), JE = FileBytes(Jpeg);
  ASSERT_GE(B.size(), 54u);
  EXPECT_EQ(B[0], 'B');
  EXPECT_EQ(B[1], 'M');
  ASSERT_GE(JB.size(), 2u);
  EXPECT_EQ(JB[0], 0xFF);
  EXPECT_EQ(JB[1], 0xD8);
  EXPECT_EQ(JB, JE);
  TBitmap Plain;
  Plain.LoadFromFile(Bmp);
  EXPECT_EQ(Plain.Width(), 90);
  // After a BMP file the stream form is JPEG again.
  TMemoryStream S;
  P.Graphic()->SaveToStream(&S);
  EXPECT_EQ(StreamBytes(S), JB);

  const AnsiString Fake = Files.Add("bmp_inside.jpg");
  WriteFile(Fake, B);
  TPicture Q;
  EXPECT_EQ(ErrorOf([&] { Q.LoadFromFile(Fake); }), "Not a JPEG file: starts with 0x42 0x4d");
  EXPECT_FALSE(Q.Graphic());
}

TEST(JPEGFileComponents, FileFrontEnds) {
  TTempFiles Files;
  auto Source = PhotoBitmap(64, 40, 36);
  auto C = Make<TJPEGFileCompressor>();
  auto D = Make<TJPEGFileDecompressor>();
  const AnsiString A = Files.Add("a.jpg"), B = Files.Add("b.jpg"), P = Files.Add("p.jpg"), Q = Files.Add("q.jpg"),
                   M = Files.Add("m.jpg");
  C->SaveBitmapToFile(Source.get(), A);
  C->SaveStretchedBitmapToFile(Source.get(), 32, 20, B);
  TPicture Pic;
  Pic.SetBitmap(Source.get());
  C->SavePictureToFile(&Pic, P);
  C->SaveStretchedPictureToFile(&Pic, 16, 10, Q);
  HDC DC = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  Rectangle(DC, 0, 0, 50, 50);
  TMetafile Emf;
  Emf.SetHandle(CloseEnhMetaFile(DC));
  C->SaveMetafileToFile(&Emf, 24, 24, M);
  const struct {
    AnsiString Name;
    int W, H;
  } Want[] = {{A, 64, 40}, {B, 32, 20}, {P, 64, 40}, {Q, 16, 10}, {M, 24, 24}};
  for (const auto& F : Want) {
    SCOPED_TRACE(F.Name.str());
    TPicture Out;
    D->LoadPictureFromFile(&Out, F.Name);
    EXPECT_EQ(Out.Width(), F.W);
    EXPECT_EQ(Out.Height(), F.H);
  }
  TPicture Out;
  D->LoadPictureFromFile(&Out, A);
  EXPECT_LE(Compare(Source.get(), static_cast<TBitmap*>(Out.Graphic())).WorstMean(), 3);
  EXPECT_EQ(FileBytes(A), FileBytes(P));
}

TEST(JPEGBitmap, StoredDataIsTheBitmapItself) {
  auto Source = PhotoBitmap(30, 20, 32);
  TPicture P;
  {
    TJPEGBitmap J;
    J.Assign(Source.get());
    P.SetGraphic(&J);
  }
  ASSERT_TRUE(P.Graphic()->Is<TJPEGBitmap>());
  TMemoryStream S;
  P.WriteData(&S);
  const Bytes D = StreamBytes(S);
  ASSERT_GT(D.size(), 12u + 4 + 54);
  EXPECT_EQ(D[0], 11);
  EXPECT_EQ(std::string(D.begin() + 1, D.begin() + 12), "TJPEGBitmap");
  const uint32_t Count = D[12] | D[13] << 8 | D[14] << 16 | uint32_t(D[15]) << 24;
  EXPECT_EQ(Count, D.size() - 16);
  EXPECT_EQ(D[16], 'B');
  EXPECT_EQ(D[17], 'M');

  // Reading it back decodes no JPEG: a registered default decompressor sees nothing.
  auto Dec = Make<TJPEGStreamDecompressor>();
  Dec->SetDefaultDecompressor(true);
  TEvents E;
  Dec->OnProgressReport = TNotifyEvent::Bind<&TEvents::Own>(&E);
  TPicture Back;
  Back.OnProgress = TProgressEvent::Bind<&TEvents::Progress>(&E);
  S.SetPosition(0);
  Back.ReadData(&S);
  ASSERT_TRUE(Back.Graphic());
  EXPECT_TRUE(Back.Graphic()->Is<TJPEGBitmap>());
  EXPECT_EQ(E.OwnReports, 0);
  EXPECT_TRUE(E.Events.empty());
  EXPECT_EQ(Compare(Source.get(), static_cast<TBitmap*>(Back.Graphic())).WorstMax(), 0);
}

TEST(JPEGBitmap, ProgressIsRelayedAndComponentsRestored) {
  auto Source = PhotoBitmap(160, 120, 33);
  const Bytes J = Encode(Source.get());
  for (bool WithDefault : {false, true}) {
    SCOPED_TRACE(WithDefault);
    Owned<TJPEGStreamDecompressor> Dec;
    TEvents E;
    if (WithDefault) {
      Dec = Make<TJPEGStreamDecompressor>();
      Dec->SetDefaultDecompressor(true);
      Dec->OnProgressReport = TNotifyEvent::Bind<&TEvents::Own>(&E);
    }
    TJPEGBitmap B;
    B.OnProgress = TProgressEvent::Bind<&TEvents::Progress>(&E);
    TMemoryStream S;
    LoadBytes(S, J);
    B.LoadFromStream(&S);
    EXPECT_EQ(B.Width(), 160);
    ASSERT_GE(E.Events.size(), 4u);
    EXPECT_EQ(E.Events.front().Stage, psStarting);
    EXPECT_EQ(E.Events.front().Msg, "Opening JPEG Image");
    EXPECT_EQ(E.Events.front().Sender, &B);
    EXPECT_EQ(E.Events.back().Stage, psEnding);
    EXPECT_EQ(E.Events.back().Msg, "Decompression completed");
    for (size_t I = 1; I + 1 < E.Events.size(); ++I) {
      EXPECT_EQ(E.Events[I].Stage, psRunning);
      EXPECT_EQ(E.Events[I].Msg, "Decompressing Image");
      EXPECT_NE(E.Events[I].Sender, &B);
      if (WithDefault) {
        EXPECT_EQ(E.Events[I].Sender, Dec.get());
      }
    }
    EXPECT_EQ(E.Events[E.Events.size() - 2].Percent, 100);
    if (WithDefault) {
      EXPECT_EQ(E.OwnReports, int(E.Events.size()) - 2) << "the component's own event runs too";
      EXPECT_TRUE(Dec->OnProgressReport == TNotifyEvent::Bind<&TEvents::Own>(&E)) << "and is put back";
    }
  }
}

TEST(JPEGBitmap, SavesThroughTheDefaultCompressor) {
  auto Source = PhotoBitmap(120, 90, 34);
  TJPEGBitmap B;
  B.Assign(Source.get());
  TMemoryStream Plain;
  B.SaveToStream(&Plain);
  EXPECT_EQ(StreamBytes(Plain), Encode(Source.get())) << "a temporary compressor has the defaults";

  auto Comp = Make<TJPEGStreamCompressor>();
  Comp->SetDefaultCompressor(true);
  Comp->SetQuality(10);
  TEvents E;
  Comp->OnProgressReport = TNotifyEvent::Bind<&TEvents::Own>(&E);
  B.OnProgress = TProgressEvent::Bind<&TEvents::Progress>(&E);
  TMemoryStream Low;
  B.SaveToStream(&Low);
  EXPECT_LT(Low.Size() * 4, Plain.Size() * 3);
  ASSERT_GE(E.Events.size(), 3u);
  EXPECT_EQ(E.Events.front().Msg, "Opening JPEG Image");
  EXPECT_EQ(E.Events[1].Msg, "Compressing Image");
  EXPECT_EQ(E.Events[1].Sender, Comp.get());
  EXPECT_EQ(E.Events.back().Stage, psEnding);
  EXPECT_GT(E.OwnReports, 0);
  EXPECT_TRUE(Comp->OnProgressReport == TNotifyEvent::Bind<&TEvents::Own>(&E));
}

TEST(JPEGBitmap, FailedLoadCleansUp) {
  auto Dec = Make<TJPEGStreamDecompressor>();
  Dec->SetDefaultDecompressor(true);
  TEvents E;
  Dec->OnProgressReport = TNotifyEvent::Bind<&TEvents::Own>(&E);
  Dec->OnWarning = TWarningEvent::Bind<&TEvents::Warn>(&E);
  TJPEGBitmap B;
  B.OnProgress = TProgressEvent::Bind<&TEvents::Progress>(&E);
  TMemoryStream S;
  LoadBytes(S, Bytes{0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02});
  EXPECT_FALSE(ErrorOf([&] { B.LoadFromStream(&S); }).empty());
  EXPECT_TRUE(B.Empty());
  ASSERT_FALSE(E.Events.empty());
  EXPECT_EQ(E.Events.back().Stage, psEnding);
  EXPECT_TRUE(Dec->OnProgressReport == TNotifyEvent::Bind<&TEvents::Own>(&E));
  // The default decompressor still works.
  auto Source = PhotoBitmap(20, 20, 35);
  LoadBytes(S, Encode(Source.get()));
  B.LoadFromStream(&S);
  EXPECT_EQ(B.Width(), 20);
}

TEST(JPEGBitmap, Resources) {
  const HINSTANCE Self = GetModuleHandleA(nullptr);
  HRSRC Res = FindResourceA(Self, "TINYGREY", "JPEG");
  ASSERT_TRUE(Res) << "the test program carries its JPEG resource";
  const auto* Data = static_cast<const uint8_t*>(LockResource(LoadResource(Self, Res)));
  EXPECT_EQ(Bytes(Data, Data + SizeofResource(Self, Res)), TinyGrey());

  auto D = Make<TJPEGStreamDecompressor>();
  TPicture P;
  D->LoadPictureFromResource(&P, Self, "TINYGREY");
  ASSERT_EQ(P.Width(), 8);
  ASSERT_EQ(P.Height(), 8);
  auto* B = static_cast<TBitmap*>(P.Graphic());
  EXPECT_EQ(B->BitsPerPixel(), 8);
  // Level 192 is index 48 of the grey palette.
  EXPECT_EQ(static_cast<const uint8_t*>(B->ScanLine(4))[4], 48);
  EXPECT_EQ(ColourAt(B, 7, 7).rgbGreen, JPEGGreyPalette()[48].rgbGreen);
  TPicture Q;
  D->LoadPictureFromResID(&Q, Self, 100);
  EXPECT_EQ(Q.Width(), 8);
  EXPECT_EQ(ErrorOf([&] { D->LoadPictureFromResource(&P, Self, "NOPE"); }), "Resource NOPE not found");
  EXPECT_EQ(ErrorOf([&] { D->LoadPictureFromResID(&P, Self, 999); }), "Resource 999 not found");
  EXPECT_EQ(P.Width(), 8) << "a failed load keeps the picture";
}

}  // namespace
