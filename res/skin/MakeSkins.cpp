// Paints the window skins (24-bit BMP) and the application icon (PNG) from a
// handful of simple shapes, so that every picture the program shows is made
// here, at build time, and comes out byte for byte the same on every run.
//
// Usage: vz_make_skins SKIN_DIR ICON_DIR
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace vz::res {
namespace {

// ---------------------------------------------------------------------------
// Colours and the canvas

struct Rgb {
  double r = 0, g = 0, b = 0;
};

constexpr Rgb Hex(std::uint32_t v) {
  return {double((v >> 16) & 0xff), double((v >> 8) & 0xff), double(v & 0xff)};
}

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Premultiplied colour with coverage, so that the icon can be painted onto a
// transparent canvas with the same code that paints the opaque skins.
struct Pixel {
  double r = 0, g = 0, b = 0, a = 0;
};

using Paint = std::function<Rgb(double x, double y)>;

Paint Solid(Rgb c) {
  return [c](double, double) { return c; };
}

Paint Vertical(double y0, Rgb top, double y1, Rgb bottom) {
  return [=](double, double y) { return Mix(top, bottom, (y - y0) / (y1 - y0)); };
}

// A shape is a signed distance in pixels (negative inside) and a box that
// holds it; the distance gives smooth edges without supersampling.
struct Shape {
  std::function<double(double x, double y)> distance;
  double x0, y0, x1, y1;
};

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

Shape RoundRect(double x0, double y0, double x1, double y1, double radius) {
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const double hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
  radius = std::min({radius, hx, hy});
  return {[=](double x, double y) {
            const double qx = std::abs(x - cx) - (hx - radius);
            const double qy = std::abs(y - cy) - (hy - radius);
            return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
          },
          x0, y0, x1, y1};
}

Shape Rect(double x0, double y0, double x1, double y1) { return RoundRect(x0, y0, x1, y1, 0); }

Shape Circle(double cx, double cy, double radius) {
  return {[=](double x, double y) { return Length(x - cx, y - cy) - radius; }, cx - radius, cy - radius,
          cx + radius, cy + radius};
}

// A thick line with round ends: the stroke of an SVG line with round caps.
Shape Capsule(double ax, double ay, double bx, double by, double radius) {
  return {[=](double x, double y) {
            const double dx = bx - ax, dy = by - ay;
            const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
            return Length(x - ax - dx * t, y - ay - dy * t) - radius;
          },
          std::min(ax, bx) - radius, std::min(ay, by) - radius, std::max(ax, bx) + radius,
          std::max(ay, by) + radius};
}

// The band of the given width just inside a shape's edge.
Shape Outline(const Shape& shape, double width) {
  auto inner = shape.distance;
  return {[=](double x, double y) { return std::abs(inner(x, y) + width / 2) - width / 2; }, shape.x0, shape.y0,
          shape.x1, shape.y1};
}

class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), pixels_(std::size_t(width) * height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  const Pixel& At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

  void Fill(const Shape& shape, const Paint& paint, double opacity = 1.0) {
    const int x0 = std::max(0, int(std::floor(shape.x0)) - 1);
    const int y0 = std::max(0, int(std::floor(shape.y0)) - 1);
    const int x1 = std::min(width_, int(std::ceil(shape.x1)) + 1);
    const int y1 = std::min(height_, int(std::ceil(shape.y1)) + 1);
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const double cx = x + 0.5, cy = y + 0.5;
        const double coverage = std::clamp(0.5 - shape.distance(cx, cy), 0.0, 1.0) * opacity;
        if (coverage <= 0) continue;
        const Rgb c = paint(cx, cy);
        Pixel& p = pixels_[std::size_t(y) * width_ + x];
        p.r = c.r * coverage + p.r * (1 - coverage);
        p.g = c.g * coverage + p.g * (1 - coverage);
        p.b = c.b * coverage + p.b * (1 - coverage);
        p.a = coverage + p.a * (1 - coverage);
      }
    }
  }

  void FillAll(const Paint& paint) { Fill(Rect(0, 0, width_, height_), paint); }

 private:
  int width_, height_;
  std::vector<Pixel> pixels_;
};

// ---------------------------------------------------------------------------
// Writing the files

void Put16(std::string& out, std::uint32_t v) {
  out += char(v & 0xff);
  out += char((v >> 8) & 0xff);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xffff);
  Put16(out, v >> 16);
}
void Put32Big(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += char((v >> shift) & 0xff);
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), std::streamsize(bytes.size()));
  file.close();
  if (!file) std::cerr << "vz_make_skins: cannot write " << path << "\n";
  return bool(file);
}

// An ordered dither: the soft gradients would otherwise show steps.
double DitherOffset(int x, int y) {
  static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (kBayer[y & 3][x & 3] + 0.5) / 16.0;
}

std::uint8_t Quantise(double v, int x, int y) { return std::uint8_t(std::clamp(std::floor(v + DitherOffset(x, y)), 0.0, 255.0)); }

using Rgb8 = std::array<std::uint8_t, 3>;

// A shaped window cuts out every pixel of its key colour, so the key is kept
// for the pixels outside the outline and nudged away everywhere else.
struct KeyMask {
  Rgb8 key;
  Shape inside;
};

bool WriteBmp(const std::filesystem::path& path, const Canvas& canvas, const KeyMask* mask = nullptr) {
  const int w = canvas.Width(), h = canvas.Height();
  const std::uint32_t rowBytes = (std::uint32_t(w) * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = rowBytes * std::uint32_t(h);
  std::string out;
  out.reserve(54 + imageBytes);
  out += "BM";
  Put32(out, 54 + imageBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, std::uint32_t(w));
  Put32(out, std::uint32_t(h));  // positive: rows run bottom-up
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, imageBytes);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const Pixel& p = canvas.At(x, y);
      Rgb8 c{Quantise(p.r, x, y), Quantise(p.g, x, y), Quantise(p.b, x, y)};
      if (mask != nullptr) {
        if (mask->inside.distance(x + 0.5, y + 0.5) > 0) {
          c = mask->key;
        } else if (c == mask->key) {
          c[1] = std::uint8_t(c[1] == 0 ? 1 : c[1] - 1);
        }
      }
      out += char(c[2]);
      out += char(c[1]);
      out += char(c[0]);
    }
    out.append(rowBytes - std::uint32_t(w) * 3, '\0');
  }
  return WriteFile(path, out);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  Put32Big(out, std::uint32_t(data.size()));
  std::string body = std::string(type, 4) + data;
  out += body;
  Put32Big(out, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

bool WritePng(const std::filesystem::path& path, const Canvas& canvas) {
  const int w = canvas.Width(), h = canvas.Height();
  std::string raw;
  raw.reserve(std::size_t(h) * (1 + 4 * std::size_t(w)));
  for (int y = 0; y < h; ++y) {
    raw += '\0';  // no row filter: the icons are small
    for (int x = 0; x < w; ++x) {
      const Pixel& p = canvas.At(x, y);
      const double a = std::clamp(p.a, 0.0, 1.0);
      auto channel = [a](double premultiplied) {
        return char(a <= 0 ? 0 : std::lround(std::clamp(premultiplied / a, 0.0, 255.0)));
      };
      raw += channel(p.r);
      raw += channel(p.g);
      raw += channel(p.b);
      raw += char(std::lround(a * 255));
    }
  }
  uLongf packedSize = compressBound(uLong(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                uLong(raw.size()), 9) != Z_OK) {
    std::cerr << "vz_make_skins: cannot compress " << path << "\n";
    return false;
  }
  packed.resize(packedSize);

  std::string out = "\x89PNG\r\n\x1a\n";
  std::string header;
  Put32Big(header, std::uint32_t(w));
  Put32Big(header, std::uint32_t(h));
  header += char(8);  // bits per channel
  header += char(6);  // RGBA
  header += std::string(3, '\0');
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", packed);
  PutChunk(out, "IEND", "");
  return WriteFile(path, out);
}

// ---------------------------------------------------------------------------
// The palette

constexpr Rgb kBandTop = Hex(0x24436a);
constexpr Rgb kBandBottom = Hex(0x3a6492);
constexpr Rgb kBandHighlight = Hex(0x6f95bf);
constexpr Rgb kBodyTop = Hex(0xf6f9fc);
constexpr Rgb kBodyBottom = Hex(0xe0e7ef);
constexpr Rgb kCardFill = Hex(0xffffff);
constexpr Rgb kCardEdge = Hex(0xc5d1de);
constexpr Rgb kFrameEdge = Hex(0x8ea2b9);
constexpr Rgb kTitle = Hex(0xffffff);
constexpr Rgb kTitleShadow = Hex(0x142a45);
constexpr Rgb kSuccess = Hex(0x2f9e5e);
constexpr Rgb kWhite = Hex(0xffffff);

const Rgb8 kGreenKey{0, 255, 0};
const Rgb8 kMagentaKey{255, 0, 240};

// ---------------------------------------------------------------------------
// A small pixel font for the titles: 5 columns at most, 7 rows above the
// baseline and 2 below it for the descenders.

struct Glyph {
  char c;
  std::array<const char*, 9> rows;
};

constexpr Glyph kGlyphs[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", "", ""}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###.", "", ""}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#....", "", ""}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###", "", ""}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#....", "", ""}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####.", "", ""}},
    {'V', {"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "", ""}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####", "", ""}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####", "", ""}},
    {'c', {".....", ".....", ".###.", "#....", "#....", "#....", ".###.", "", ""}},
    {'d', {"....#", "....#", ".####", "#...#", "#...#", "#...#", ".####", "", ""}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", "", ""}},
    {'f', {"..##", ".#..", "####", ".#..", ".#..", ".#..", ".#..", "", ""}},
    {'g', {".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'h', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#", "", ""}},
    {'i', {"#", ".", "#", "#", "#", "#", "#", "", ""}},
    {'l', {"#.", "#.", "#.", "#.", "#.", "#.", ".#", "", ""}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#", "", ""}},
    {'n', {".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#", "", ""}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###.", "", ""}},
    {'p', {".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#....", "", ""}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####.", "", ""}},
    {'t', {".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##", "", ""}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#", "", ""}},
    {'v', {".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#..", "", ""}},
    {'y', {".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
};

const Glyph* FindGlyph(char c) {
  for (const Glyph& g : kGlyphs) {
    if (g.c == c) return &g;
  }
  return nullptr;
}

int GlyphWidth(const Glyph& g) { return int(std::string_view(g.rows[0]).size()); }

// Width in font pixels, with one column between letters and three for a space.
int TextWidth(std::string_view text) {
  int width = 0;
  for (char c : text) {
    const Glyph* g = FindGlyph(c);
    width += g != nullptr ? GlyphWidth(*g) + 1 : 3;
  }
  return width > 0 ? width - 1 : 0;
}

void DrawTextRun(Canvas& canvas, double x, double y, double scale, std::string_view text, Rgb colour,
                 double opacity = 1.0) {
  // Large letters get a little weight to the right, or their strokes look thin.
  const double bold = scale >= 3 ? std::round(scale / 3) : 0;
  for (char c : text) {
    const Glyph* g = FindGlyph(c);
    if (g == nullptr) {
      x += 3 * scale;
      continue;
    }
    for (int row = 0; row < 9; ++row) {
      const std::string_view line = g->rows[std::size_t(row)];
      for (std::size_t col = 0; col < line.size(); ++col) {
        if (line[col] != '#') continue;
        const double px = x + double(col) * scale, py = y + row * scale;
        canvas.Fill(Rect(px, py, px + scale + bold, py + scale), Solid(colour), opacity);
      }
    }
    x += (GlyphWidth(*g) + 1) * scale;
  }
}

// Letters with a soft shadow, so that they read on the gradient bands.
void DrawTitle(Canvas& canvas, double x, double y, double scale, std::string_view text, Rgb colour = kTitle) {
  const double offset = std::max(1.0, std::round(scale / 3));
  DrawTextRun(canvas, x + offset, y + offset, scale, text, kTitleShadow, 0.45);
  DrawTextRun(canvas, x, y, scale, text, colour);
}

// ---------------------------------------------------------------------------
// The zipper motif: a horizontal zipper, closed to the left of its slider
// and opening to the right of it.

struct ZipperStyle {
  Rgb tape = Hex(0x1b3555);
  Rgb tooth = Hex(0xdfe6ee);
  Rgb toothShade = Hex(0x9fb0c3);
  Rgb slider = Hex(0xeef2f6);
  Rgb sliderEdge = Hex(0x7789a0);
  Rgb pull = Hex(0xd3dce6);
};

struct Zipper {
  double x0, x1;       // horizontal extent; pass ends beyond the canvas for an edge-to-edge zipper
  double cy;           // centre line
  double unit;         // tooth pitch
  double sliderX;      // where the slider sits
  double slope = 0.22; // how fast the opened side spreads
  double maxOpen;      // how far each side moves away at most
};

void DrawZipper(Canvas& canvas, const Zipper& z, const ZipperStyle& style = {}) {
  const double p = z.unit;
  const double toothH = p * 1.25;
  const double tapeH = p;
  const double sliderHalf = p * 2.2;
  const double openStart = z.sliderX + sliderHalf * 0.6;
  const double openEnd = openStart + z.maxOpen / z.slope;
  auto openness = [&](double x) { return std::clamp((x - openStart) * z.slope, 0.0, z.maxOpen); };

  // Tapes: one thick line per side, bending where the zipper opens; each
  // tooth sits half on its tape.
  const double tapeOffset = toothH * 0.45 + tapeH / 2;
  for (int side : {-1, 1}) {
    const double y = z.cy + side * tapeOffset;
    canvas.Fill(Capsule(z.x0, y, openStart, y, tapeH / 2), Solid(style.tape));
    canvas.Fill(Capsule(openStart, y, openEnd, y + side * z.maxOpen, tapeH / 2), Solid(style.tape));
    canvas.Fill(Capsule(openEnd, y + side * z.maxOpen, z.x1, y + side * z.maxOpen, tapeH / 2),
                Solid(style.tape));
  }

  // Teeth: alternating from the upper and the lower tape, meshing in the
  // middle while closed.
  const double toothW = p * 0.82;
  int index = 0;
  for (double x = z.x0 + p * 0.2; x + toothW < z.x1 - p * 0.2; x += p, ++index) {
    const int side = index % 2 == 0 ? -1 : 1;
    const double open = openness(x + toothW / 2);
    const double top = side < 0 ? z.cy - toothH * 0.85 - open : z.cy - toothH * 0.15 + open;
    canvas.Fill(RoundRect(x, top, x + toothW, top + toothH, p * 0.22), Solid(style.toothShade));
    canvas.Fill(RoundRect(x, top, x + toothW, top + toothH - std::max(1.0, p * 0.18), p * 0.22),
                Solid(style.tooth));
  }

  // The slider and its pull, lying flat towards the closed side.
  const double sTop = z.cy - tapeOffset - tapeH * 0.55, sBottom = z.cy + tapeOffset + tapeH * 0.55;
  const Shape body = RoundRect(z.sliderX - sliderHalf, sTop, z.sliderX + sliderHalf, sBottom, p * 0.7);
  canvas.Fill(body, Vertical(sTop, style.slider, sBottom, style.pull));
  canvas.Fill(Outline(body, std::max(1.0, p * 0.12)), Solid(style.sliderEdge));
  const double pullR = p * 0.85;
  const Shape pull = Capsule(z.sliderX - p * 0.4, z.cy, z.sliderX - p * 5.2, z.cy, pullR);
  canvas.Fill(pull, Solid(style.pull));
  canvas.Fill(Outline(pull, std::max(1.0, p * 0.12)), Solid(style.sliderEdge));
  canvas.Fill(Capsule(z.sliderX - p * 4.4, z.cy, z.sliderX - p * 3.4, z.cy, pullR * 0.38), Solid(style.tape));
  canvas.Fill(Circle(z.sliderX, z.cy, p * 0.45), Solid(style.sliderEdge));
}

// ---------------------------------------------------------------------------
// The icon, in a 256 by 256 space; res/icons/velmora-zip.svg draws the same.

constexpr Rgb kIconTab = Hex(0x2d5f98);
constexpr Rgb kIconBodyTop = Hex(0x5d9ad6);
constexpr Rgb kIconBodyBottom = Hex(0x3470b0);
constexpr Rgb kIconTape = Hex(0x24466e);
constexpr Rgb kIconTooth = Hex(0xe3e9f0);
constexpr Rgb kIconSlider = Hex(0xeef2f6);
constexpr Rgb kIconPull = Hex(0xd4dde7);

// The green check mark badge, on the icon and the completion dialog.
void DrawCheckBadge(Canvas& canvas, double cx, double cy, double r) {
  canvas.Fill(Circle(cx, cy, r * 50 / 42), Solid(kWhite));
  canvas.Fill(Circle(cx, cy, r), Solid(kSuccess));
  const double s = r / 42;
  canvas.Fill(Capsule(cx - 22 * s, cy + 2 * s, cx - 6 * s, cy + 18 * s, 7 * s), Solid(kWhite));
  canvas.Fill(Capsule(cx - 6 * s, cy + 18 * s, cx + 22 * s, cy - 14 * s, 7 * s), Solid(kWhite));
}

void DrawIcon(Canvas& canvas, double ox, double oy, double size) {
  const double s = size / 256.0;
  auto X = [&](double v) { return ox + v * s; };
  auto Y = [&](double v) { return oy + v * s; };
  auto rect = [&](double x, double y, double w, double h, double rx) {
    return RoundRect(X(x), Y(y), X(x + w), Y(y + h), rx * s);
  };
  canvas.Fill(rect(20, 36, 100, 60, 14), Solid(kIconTab));
  canvas.Fill(rect(20, 60, 216, 168, 20), Vertical(Y(60), kIconBodyTop, Y(228), kIconBodyBottom));
  canvas.Fill(rect(110, 60, 36, 168, 0), Solid(kIconTape));
  // Below 48 pixels the teeth would blur into one; the tape alone reads better.
  if (size >= 48) {
    for (int k = 0; k < 9; ++k) {
      canvas.Fill(rect(114, 68 + 16 * k, 16, 8, 3), Solid(kIconTooth));
      canvas.Fill(rect(126, 76 + 16 * k, 16, 8, 3), Solid(kIconTooth));
    }
  }
  canvas.Fill(rect(108, 64, 40, 30, 8), Solid(kIconSlider));
  canvas.Fill(rect(118, 86, 20, 46, 10), Solid(kIconPull));
  canvas.Fill(Circle(X(128), Y(118), 5 * s), Solid(kIconTape));
  DrawCheckBadge(canvas, X(192), Y(188), 42 * s);
}

// ---------------------------------------------------------------------------
// Pieces the skins share

// The pale body and the dark band of the given height across its top.
void DrawBackdrop(Canvas& canvas, double height) {
  canvas.FillAll(Vertical(height, kBodyTop, canvas.Height(), kBodyBottom));
  canvas.Fill(Rect(0, 0, canvas.Width(), height), Vertical(0, kBandTop, height, kBandBottom));
  canvas.Fill(Rect(0, height - 1, canvas.Width(), height), Solid(kBandHighlight));
  canvas.Fill(Rect(0, height, canvas.Width(), height + 1), Solid(kCardEdge), 0.6);
}

// A faint raised card behind a group of controls.
void DrawCard(Canvas& canvas, double x0, double y0, double x1, double y1) {
  const Shape card = RoundRect(x0, y0, x1, y1, 8);
  canvas.Fill(card, Solid(kCardFill), 0.55);
  canvas.Fill(Outline(card, 1), Solid(kCardEdge));
}

void DrawFrame(Canvas& canvas) { canvas.Fill(Outline(Rect(0, 0, canvas.Width(), canvas.Height()), 1), Solid(kFrameEdge), 0.7); }

// The icon on a pale tile, for the dark bands.
void DrawIconTile(Canvas& canvas, double x, double y, double size) {
  const Shape tile = RoundRect(x, y, x + size, y + size, size * 0.18);
  canvas.Fill(tile, Vertical(y, Hex(0xffffff), y + size, Hex(0xe4ebf3)));
  canvas.Fill(Outline(tile, 1), Solid(kTitleShadow), 0.5);
  DrawIcon(canvas, x + size * 0.1, y + size * 0.1, size * 0.8);
}

// ---------------------------------------------------------------------------
// The skins. Sizes are the client areas at the standard font under GTK; the
// comments give where the controls sit, in pixels, so that nothing busy is
// painted under them.

bool MakeBrowse(const std::filesystem::path& dir) {
  Canvas c(968, 621);
  DrawBackdrop(c, 104);
  DrawTitle(c, 32, 18, 4, "Velmora for Zip");
  DrawZipper(c, {-20, 990, 78, 9, 640, 0.2, 7});
  // List and its buttons: y 123..353; repair mode, skip preview, Repair: y 389..591.
  DrawCard(c, 12, 113, 956, 367);
  DrawCard(c, 12, 377, 956, 607);
  DrawFrame(c);
  return WriteBmp(dir / "Browse.bmp", c);
}

bool MakePreview(const std::filesystem::path& dir) {
  Canvas c(968, 621);
  DrawBackdrop(c, 92);
  DrawTitle(c, 32, 14, 3, "Velmora for Zip");
  DrawZipper(c, {-20, 990, 66, 9, 720, 0.2, 6});
  // Labels from y 106, the list y 168..501, buttons y 518..595.
  DrawCard(c, 12, 98, 956, 510);
  DrawFrame(c);
  return WriteBmp(dir / "preview.bmp", c);
}

bool MakeAbout(const std::filesystem::path& dir) {
  Canvas c(534, 404);
  DrawBackdrop(c, 112);
  DrawIconTile(c, 24, 16, 80);
  DrawTitle(c, 124, 26, 3, "Velmora for Zip");
  DrawZipper(c, {124, 560, 86, 7, 330, 0.2, 6});
  // Version y 127; the three link rows y 191..297; OK y 350..380.
  DrawCard(c, 24, 176, 510, 320);
  DrawFrame(c);
  return WriteBmp(dir / "about.bmp", c);
}

bool MakeAnalysis(const std::filesystem::path& dir) {
  Canvas c(428, 206);
  DrawBackdrop(c, 52);
  DrawZipper(c, {-20, 450, 26, 8, 250, 0.2, 6});
  // Text y 80, progress bar y 106..132, buttons y 164..193.
  DrawCard(c, 60, 68, 368, 146);
  DrawFrame(c);
  return WriteBmp(dir / "analysis.bmp", c);
}

bool MakeFileSaving(const std::filesystem::path& dir) {
  Canvas c(698, 444);
  const Shape outline = RoundRect(0, 0, 698, 444, 24);
  DrawBackdrop(c, 54);
  const std::string_view title = "Saving recovered files";
  DrawTitle(c, 30, 14, 3, title);
  const double zipStart = 30 + TextWidth(title) * 3 + 36;
  DrawZipper(c, {zipStart, 720, 27, 7, zipStart + 90, 0.2, 5});
  // File name, count and path y 64..170; the two bars y 202..321; Pause and Stop y 382..412.
  DrawCard(c, 24, 190, 674, 338);
  c.Fill(Outline(outline, 2), Solid(Hex(0x5b7697)));
  const KeyMask mask{kGreenKey, outline};
  return WriteBmp(dir / "file-saving.bmp", c, &mask);
}

bool MakeViewLog(const std::filesystem::path& dir) {
  Canvas c(400, 170);
  const Shape outline = RoundRect(0, 0, 400, 170, 24);
  DrawBackdrop(c, 22);
  // Text y 32, the check box y 74, OK y 123..153, all from x 80.
  DrawCheckBadge(c, 44, 64, 20);
  c.Fill(Outline(outline, 2), Solid(Hex(0x5b7697)));
  const KeyMask mask{kGreenKey, outline};
  return WriteBmp(dir / "view-log.bmp", c, &mask);
}

// The splash: a folder's outline with the title on it.
bool MakeFlash(const std::filesystem::path& dir) {
  Canvas c(480, 300);
  const Shape tab = RoundRect(0, 0, 200, 80, 24);
  const Shape body = RoundRect(0, 36, 480, 300, 28);
  // The two joined with a small fillet where the tab meets the top edge.
  const Shape outline{[tab, body](double x, double y) {
                        const double a = tab.distance(x, y), b = body.distance(x, y), k = 16;
                        const double h = std::max(k - std::abs(a - b), 0.0) / k;
                        return std::min(a, b) - h * h * k / 4;
                      },
                      0, 0, 480, 300};
  // The back of the folder, painted edge to edge so that the outline's soft
  // edge blends into blue rather than black, then the front panel over it.
  c.FillAll(Vertical(0, Hex(0x2f639e), 300, Hex(0x1f4c80)));
  const Shape front = RoundRect(0, 56, 480, 300, 28);
  c.Fill(front, Vertical(56, Hex(0x5596d4), 300, Hex(0x2f68a6)));
  c.Fill(Outline(RoundRect(0, 56, 480, 340, 28), 1.5), Solid(Hex(0x9cc1e6)), 0.8);
  const double scale = 4;
  DrawTitle(c, (480 - TextWidth("Velmora for Zip") * scale) / 2, 100, scale, "Velmora for Zip");
  DrawTitle(c, (480 - TextWidth("ZIP archive repair") * 2.0) / 2, 156, 2, "ZIP archive repair", Hex(0xd7e6f6));
  DrawZipper(c, {-20, 500, 226, 10, 300, 0.2, 10});
  c.Fill(Outline(outline, 2), Solid(Hex(0x1d4270)));
  const KeyMask mask{kMagentaKey, outline};
  return WriteBmp(dir / "Flash.bmp", c, &mask);
}

bool MakeIcons(const std::filesystem::path& dir) {
  bool ok = true;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    Canvas c(size, size);
    DrawIcon(c, 0, 0, size);
    ok = WritePng(dir / ("velmora-zip-" + std::to_string(size) + ".png"), c) && ok;
  }
  return ok;
}

}  // namespace
}  // namespace vz::res

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vz_make_skins SKIN_DIR ICON_DIR\n";
    return 64;
  }
  using namespace vz::res;
  const std::filesystem::path skins = argv[1], icons = argv[2];
  std::error_code ec;
  std::filesystem::create_directories(skins, ec);
  std::filesystem::create_directories(icons, ec);
  bool ok = MakeBrowse(skins);
  ok = MakeAbout(skins) && ok;
  ok = MakeAnalysis(skins) && ok;
  ok = MakePreview(skins) && ok;
  ok = MakeFileSaving(skins) && ok;
  ok = MakeViewLog(skins) && ok;
  ok = MakeFlash(skins) && ok;
  ok = MakeIcons(icons) && ok;
  return ok ? 0 : 1;
}
