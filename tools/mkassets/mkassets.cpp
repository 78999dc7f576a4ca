// Makes the program's pictures: the About dialog's picture and OK glyph, and the program icon.
//   mkassets APPDIR
// writes APPDIR/res/about.bmp, okglyph.bmp and orvalen.ico, and puts the two bitmaps into the
// Picture.Data and Glyph.Data blocks of APPDIR/About.dfm.
//   mkassets --test-bitmaps DIR
// writes the suite tests' resource bitmaps: DIR/resbmp24.bmp and DIR/resbmp8.bmp, one picture
// in 24 bits and with an 8-bit palette. The output is the same on every run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct TRgb {
  uint8_t R, G, B;
};

TRgb Mix(TRgb A, TRgb B, double T) {
  T = std::clamp(T, 0.0, 1.0);
  auto L = [T](uint8_t X, uint8_t Y) { return uint8_t(std::lround(X + (Y - X) * T)); };
  return {L(A.R, B.R), L(A.G, B.G), L(A.B, B.B)};
}

// A top-down RGB image.
struct TImage {
  int W, H;
  std::vector<TRgb> Px;
  TImage(int AW, int AH, TRgb Fill) : W(AW), H(AH), Px(size_t(AW) * AH, Fill) {}
  TRgb& At(int X, int Y) { return Px[size_t(Y) * W + X]; }
  bool Inside(int X, int Y) const { return X >= 0 && Y >= 0 && X < W && Y < H; }
  // Blends Colour over the pixel by Coverage (0..1).
  void Plot(int X, int Y, TRgb Colour, double Coverage = 1.0) {
    if (Inside(X, Y)) At(X, Y) = Mix(At(X, Y), Colour, Coverage);
  }
};

// Coverage of pixel (X, Y) by a rounded rectangle, from the signed distance to its edge.
double RoundRectCoverage(double X, double Y, double L, double T, double R, double B, double Radius) {
  const double Cx = std::clamp(X, L + Radius, R - Radius), Cy = std::clamp(Y, T + Radius, B - Radius);
  const double D = std::hypot(X - Cx, Y - Cy) - Radius;
  return std::clamp(0.5 - D, 0.0, 1.0);
}

void FillRoundRect(TImage& Img, double L, double T, double R, double B, double Radius, TRgb Colour) {
  for (int Y = std::max(0, int(T) - 1); Y <= std::min(Img.H - 1, int(B) + 1); ++Y)
    for (int X = std::max(0, int(L) - 1); X <= std::min(Img.W - 1, int(R) + 1); ++X)
      Img.Plot(X, Y, Colour, RoundRectCoverage(X + 0.5, Y + 0.5, L, T, R, B, Radius));
}

// Outline of a rounded rectangle, Width pixels wide.
void FrameRoundRect(TImage& Img, double L, double T, double R, double B, double Radius, double Width,
                    TRgb Colour) {
  for (int Y = std::max(0, int(T) - 1); Y <= std::min(Img.H - 1, int(B) + 1); ++Y)
    for (int X = std::max(0, int(L) - 1); X <= std::min(Img.W - 1, int(R) + 1); ++X) {
      const double Outer = RoundRectCoverage(X + 0.5, Y + 0.5, L, T, R, B, Radius);
      const double Inner = RoundRectCoverage(X + 0.5, Y + 0.5, L + Width, T + Width, R - Width, B - Width,
                                             std::max(0.0, Radius - Width));
      Img.Plot(X, Y, Colour, Outer - Inner);
    }
}

// Distance of the centre of pixel (X, Y) from the segment (X0, Y0)-(X1, Y1).
double SegmentDistance(int X, int Y, double X0, double Y0, double X1, double Y1) {
  const double Dx = X1 - X0, Dy = Y1 - Y0, Len2 = Dx * Dx + Dy * Dy;
  const double Px = X + 0.5, Py = Y + 0.5;
  const double T = Len2 > 0 ? std::clamp(((Px - X0) * Dx + (Py - Y0) * Dy) / Len2, 0.0, 1.0) : 0.0;
  return std::hypot(Px - (X0 + T * Dx), Py - (Y0 + T * Dy));
}

// A thick anti-aliased line segment.
void Line(TImage& Img, double X0, double Y0, double X1, double Y1, double Width, TRgb Colour) {
  for (int Y = std::max(0, int(std::min(Y0, Y1) - Width)); Y <= std::min(Img.H - 1, int(std::max(Y0, Y1) + Width)); ++Y)
    for (int X = std::max(0, int(std::min(X0, X1) - Width)); X <= std::min(Img.W - 1, int(std::max(X0, X1) + Width));
         ++X) {
      const double D = SegmentDistance(X, Y, X0, Y0, X1, Y1) - Width / 2;
      Img.Plot(X, Y, Colour, std::clamp(0.5 - D, 0.0, 1.0));
    }
}

// The About picture: a tag card with its chip, antenna loops and a bar code, over a dusk sky.
TImage AboutPicture() {
  TImage Img(225, 133, {0, 0, 0});
  const TRgb Top{0x3A, 0x1C, 0x5C}, Bottom{0xE8, 0x9C, 0xC4};
  for (int Y = 0; Y < Img.H; ++Y)
    for (int X = 0; X < Img.W; ++X) Img.At(X, Y) = Mix(Top, Bottom, (Y + 0.3 * X) / (Img.H + 0.3 * Img.W));
  // Soft glow behind the card.
  for (int Y = 0; Y < Img.H; ++Y)
    for (int X = 0; X < Img.W; ++X) {
      const double D = std::hypot((X - 112.0) / 110.0, (Y - 66.0) / 70.0);
      Img.Plot(X, Y, {0xFF, 0xF4, 0xE0}, std::clamp(0.45 * (1 - D), 0.0, 1.0));
    }
  FillRoundRect(Img, 26, 20, 203, 117, 9, {0x40, 0x20, 0x50});    // shadow
  FillRoundRect(Img, 22, 16, 199, 113, 9, {0xFA, 0xF8, 0xF4});    // card
  FrameRoundRect(Img, 22, 16, 199, 113, 9, 1.2, {0x69, 0x27, 0x67});
  // Antenna: rectangular loops around the chip.
  const TRgb Copper{0xC0, 0x70, 0x30};
  for (int K = 0; K < 5; ++K) {
    const double I = 6.0 * K;
    FrameRoundRect(Img, 34 + I, 26 + I, 120 - I, 103 - I, 6, 2.0, Copper);
  }
  // Chip with its two bond wires.
  FillRoundRect(Img, 68, 55, 86, 74, 2, {0x30, 0x30, 0x38});
  Line(Img, 86, 60, 96, 52, 1.2, {0x90, 0x90, 0x98});
  Line(Img, 68, 69, 58, 77, 1.2, {0x90, 0x90, 0x98});
  // Bar code, from a fixed bit pattern.
  const char* Bars = "1101001110101100111010110011101001101110100110110011101";
  int X = 132;
  for (const char* P = Bars; *P && X < 190; ++P, X += 1)
    if (*P == '1')
      for (int Y = 34; Y < 84; ++Y) Img.At(X, Y) = {0x20, 0x18, 0x28};
  for (int Y = 88; Y < 96; ++Y)
    for (int Bx = 132; Bx < 187; Bx += 6)
      for (int Dx = 0; Dx < 4; ++Dx) Img.At(Bx + Dx, Y) = {0x69, 0x27, 0x67};
  return Img;
}

// The OK button's two 18 by 18 glyphs (normal, disabled) on the olive transparent colour.
TImage OkGlyph() {
  const TRgb Olive{0x80, 0x80, 0x00};
  TImage Img(36, 18, Olive);
  auto Check = [&](int Ox, TRgb Colour, TRgb Edge) {
    const int Pts[][2] = {{3, 9}, {7, 13}, {15, 4}};
    for (int Pass = 0; Pass < 2; ++Pass) {
      const double W = Pass == 0 ? 4.0 : 2.4;
      const TRgb C = Pass == 0 ? Edge : Colour;
      for (int S = 0; S < 2; ++S) {
        const double X0 = Ox + Pts[S][0], Y0 = Pts[S][1], X1 = Ox + Pts[S + 1][0], Y1 = Pts[S + 1][1];
        // Hard-edged: edge pixels blended with olive would show where the button draws the glyph
        // transparent.
        for (int Y = 0; Y < 18; ++Y)
          for (int X = Ox; X < Ox + 18; ++X)
            if (SegmentDistance(X, Y, X0, Y0, X1, Y1) <= W / 2) Img.At(X, Y) = C;
      }
    }
  };
  Check(0, {0x00, 0xA0, 0x00}, {0x00, 0x50, 0x00});
  Check(18, {0x80, 0x80, 0x80}, {0xFF, 0xFF, 0xFF});
  return Img;
}

void Put16(std::string& S, unsigned V) { S += char(V & 0xFF); S += char((V >> 8) & 0xFF); }
void Put32(std::string& S, uint32_t V) { for (int I = 0; I < 4; ++I) S += char((V >> (8 * I)) & 0xFF); }

// A BMP file's two headers for an uncompressed W x H picture of Bits per pixel with Colors
// entries in its colour table and ImageSize bytes of rows.
std::string BmpHeaders(int W, int H, int Bits, uint32_t Colors, uint32_t ImageSize) {
  const uint32_t Offset = 54 + 4 * Colors;
  std::string S = "BM";
  Put32(S, Offset + ImageSize);
  Put32(S, 0);
  Put32(S, Offset);
  Put32(S, 40);
  Put32(S, W);
  Put32(S, H);
  Put16(S, 1);
  Put16(S, Bits);
  Put32(S, 0);
  Put32(S, ImageSize);
  Put32(S, 0);
  Put32(S, 0);
  Put32(S, Colors);
  Put32(S, 0);
  return S;
}

// A 24-bit uncompressed BMP file, rows bottom-up and padded to four bytes.
std::string Bmp24(const TImage& Img) {
  const uint32_t Stride = (uint32_t(Img.W) * 3 + 3) & ~3u;
  std::string S = BmpHeaders(Img.W, Img.H, 24, 0, Stride * Img.H);
  for (int Y = Img.H - 1; Y >= 0; --Y) {
    for (int X = 0; X < Img.W; ++X) {
      const TRgb& P = Img.Px[size_t(Y) * Img.W + X];
      S += char(P.B);
      S += char(P.G);
      S += char(P.R);
    }
    S.append(Stride - Img.W * 3, '\0');
  }
  return S;
}

// An 8-bit BMP file with a colour table of the image's colours (at most 256), in order of first
// appearance from the top-left; rows bottom-up and padded to four bytes.
std::string Bmp8(const TImage& Img) {
  std::vector<TRgb> Table;
  std::vector<uint8_t> Index(Img.Px.size());
  for (size_t I = 0; I < Img.Px.size(); ++I) {
    const TRgb P = Img.Px[I];
    auto It = std::find_if(Table.begin(), Table.end(), [&](TRgb T) { return T.R == P.R && T.G == P.G && T.B == P.B; });
    if (It == Table.end()) {
      if (Table.size() == 256) throw std::runtime_error("more than 256 colours for an 8-bit bitmap");
      It = Table.insert(Table.end(), P);
    }
    Index[I] = uint8_t(It - Table.begin());
  }
  const uint32_t Stride = (uint32_t(Img.W) + 3) & ~3u;
  std::string S = BmpHeaders(Img.W, Img.H, 8, uint32_t(Table.size()), Stride * Img.H);
  for (const TRgb& T : Table) {
    S += char(T.B);
    S += char(T.G);
    S += char(T.R);
    S += char(0);
  }
  for (int Y = Img.H - 1; Y >= 0; --Y) {
    for (int X = 0; X < Img.W; ++X) S += char(Index[size_t(Y) * Img.W + X]);
    S.append(Stride - Img.W, '\0');
  }
  return S;
}

// The resource bitmaps' picture, 21 x 13 (rows of odd length in both depths): four quadrants of
// their own colours, split at (8, 5), and a white diagonal from the top-left corner, so a picture
// read upside down, mirrored or shifted differs.
TImage ResourcePicture() {
  TImage Img(21, 13, {0, 0, 0});
  const TRgb Quadrant[4] = {{0xC0, 0x20, 0x20}, {0x20, 0xA0, 0x40}, {0x30, 0x40, 0xD0}, {0xF0, 0xC0, 0x10}};
  for (int Y = 0; Y < Img.H; ++Y)
    for (int X = 0; X < Img.W; ++X) Img.At(X, Y) = Quadrant[(Y >= 5) * 2 + (X >= 8)];
  for (int K = 0; K < Img.H; ++K) Img.At(K, K) = {0xFF, 0xFF, 0xFF};
  return Img;
}

// The program icon at Size pixels: a purple rounded square holding a white tag with its loops.
TImage IconImage(int Size, std::vector<uint8_t>& Alpha) {
  TImage Img(Size, Size, {0, 0, 0});
  TImage Cover(Size, Size, {0, 0, 0});  // coverage of the rounded square in R
  const double S = Size / 32.0;
  FillRoundRect(Cover, 1 * S, 1 * S, 31 * S, 31 * S, 6 * S, {255, 255, 255});
  for (int Y = 0; Y < Size; ++Y)
    for (int X = 0; X < Size; ++X) Img.At(X, Y) = Mix({0x69, 0x27, 0x67}, {0xEF, 0x9C, 0xC8}, (X + Y) / (2.0 * Size));
  FillRoundRect(Img, 6 * S, 9 * S, 26 * S, 23 * S, 2 * S, {0xFA, 0xF8, 0xF4});
  FrameRoundRect(Img, 9 * S, 11.5 * S, 19 * S, 20.5 * S, 1.5 * S, 1.3 * S, {0xC0, 0x70, 0x30});
  FillRoundRect(Img, 12.5 * S, 14.5 * S, 15.5 * S, 17.5 * S, 0.5 * S, {0x30, 0x30, 0x38});
  for (int K = 0; K < 3; ++K) Line(Img, (21 + 1.6 * K) * S, 12 * S, (21 + 1.6 * K) * S, 20 * S, 0.9 * S, {0x20, 0x18, 0x28});
  Alpha.resize(size_t(Size) * Size);
  for (int I = 0; I < Size * Size; ++I) Alpha[I] = Cover.Px[I].R;
  return Img;
}

// An icon file with 32-bit images (colour with alpha, and the AND mask) at the given sizes.
std::string Icon(const std::vector<int>& Sizes) {
  std::vector<std::string> Images;
  for (int Size : Sizes) {
    std::vector<uint8_t> Alpha;
    const TImage Img = IconImage(Size, Alpha);
    const uint32_t MaskStride = ((Size + 31) / 32) * 4;
    std::string D;
    Put32(D, 40);
    Put32(D, Size);
    Put32(D, Size * 2);
    Put16(D, 1);
    Put16(D, 32);
    Put32(D, 0);
    Put32(D, Size * Size * 4 + MaskStride * Size);
    for (int I = 0; I < 4; ++I) Put32(D, 0);
    for (int Y = Size - 1; Y >= 0; --Y)
      for (int X = 0; X < Size; ++X) {
        const TRgb& P = Img.Px[size_t(Y) * Size + X];
        const uint8_t A = Alpha[size_t(Y) * Size + X];
        // Premultiplied-free BGRA; fully transparent pixels are black.
        D += char(A ? P.B : 0);
        D += char(A ? P.G : 0);
        D += char(A ? P.R : 0);
        D += char(A);
      }
    for (int Y = Size - 1; Y >= 0; --Y) {
      std::string Row(MaskStride, '\0');
      for (int X = 0; X < Size; ++X)
        if (Alpha[size_t(Y) * Size + X] < 128) Row[X / 8] = char(Row[X / 8] | (0x80 >> (X % 8)));
      D += Row;
    }
    Images.push_back(D);
  }
  std::string S;
  Put16(S, 0);
  Put16(S, 1);
  Put16(S, unsigned(Sizes.size()));
  uint32_t Offset = 6 + 16 * uint32_t(Sizes.size());
  for (size_t I = 0; I < Sizes.size(); ++I) {
    S += char(Sizes[I] == 256 ? 0 : Sizes[I]);
    S += char(Sizes[I] == 256 ? 0 : Sizes[I]);
    S += char(0);
    S += char(0);
    Put16(S, 1);
    Put16(S, 32);
    Put32(S, uint32_t(Images[I].size()));
    Put32(S, Offset);
    Offset += uint32_t(Images[I].size());
  }
  for (const std::string& D : Images) S += D;
  return S;
}

void WriteFile(const std::string& Path, const std::string& Data) {
  std::ofstream F(Path, std::ios::binary);
  F.write(Data.data(), std::streamsize(Data.size()));
  if (!F) throw std::runtime_error("cannot write " + Path);
}

std::string ReadFile(const std::string& Path) {
  std::ifstream F(Path, std::ios::binary);
  if (!F) throw std::runtime_error("cannot read " + Path);
  std::ostringstream S;
  S << F.rdbuf();
  return S.str();
}

// A binary property block of a text form: hexadecimal digits, 64 to a line.
std::string HexBlock(const std::string& Data, const std::string& Indent) {
  static const char Digits[] = "0123456789ABCDEF";
  std::string S = "{";
  for (size_t I = 0; I < Data.size(); ++I) {
    if (I % 32 == 0) S += "\n" + Indent;
    S += Digits[uint8_t(Data[I]) >> 4];
    S += Digits[uint8_t(Data[I]) & 15];
  }
  return S + "}";
}

// Replaces the block after "Name = " in Form with Block.
void ReplaceBlock(std::string& Form, const std::string& Name, const std::string& Block) {
  const std::string Key = Name + " = {";
  const size_t At = Form.find(Key);
  if (At == std::string::npos) throw std::runtime_error("no " + Name + " block in the form");
  const size_t End = Form.find('}', At);
  if (End == std::string::npos) throw std::runtime_error("unterminated " + Name + " block");
  Form.replace(At + Key.size() - 1, End + 1 - (At + Key.size() - 1), Block);
}

// The indentation of the block's lines: two more than its property's.
std::string Indent(const std::string& Form, const std::string& Name) {
  const size_t At = Form.find(Name + " = {");
  const size_t LineStart = Form.rfind('\n', At) + 1;
  return std::string(At - LineStart + 2, ' ');
}

}  // namespace

int main(int argc, char** argv) {
  const bool TestBitmaps = argc == 3 && std::string(argv[1]) == "--test-bitmaps";
  if (argc != 2 && !TestBitmaps) {
    std::fprintf(stderr, "usage: mkassets APPDIR | mkassets --test-bitmaps DIR\n");
    return 2;
  }
  try {
    if (TestBitmaps) {
      const std::string Dir = argv[2];
      WriteFile(Dir + "/resbmp24.bmp", Bmp24(ResourcePicture()));
      WriteFile(Dir + "/resbmp8.bmp", Bmp8(ResourcePicture()));
      return 0;
    }
    const std::string App = argv[1];
    const std::string Picture = Bmp24(AboutPicture()), Glyph = Bmp24(OkGlyph());
    WriteFile(App + "/res/about.bmp", Picture);
    WriteFile(App + "/res/okglyph.bmp", Glyph);
    WriteFile(App + "/res/orvalen.ico", Icon({16, 32, 48}));

    // Picture.Data: the graphic class as a short string, then the bitmap's own data (a 32-bit
    // byte count and the BMP file). Glyph.Data: the bitmap's data alone.
    std::string PictureData = std::string(1, char(11)) + "TJPEGBitmap", GlyphData;
    Put32(PictureData, uint32_t(Picture.size()));
    PictureData += Picture;
    Put32(GlyphData, uint32_t(Glyph.size()));
    GlyphData += Glyph;
    std::string Form = ReadFile(App + "/About.dfm");
    ReplaceBlock(Form, "Picture.Data", HexBlock(PictureData, Indent(Form, "Picture.Data")));
    ReplaceBlock(Form, "Glyph.Data", HexBlock(GlyphData, Indent(Form, "Glyph.Data")));
    WriteFile(App + "/About.dfm", Form);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "mkassets: %s\n", E.what());
    return 1;
  }
  return 0;
}
