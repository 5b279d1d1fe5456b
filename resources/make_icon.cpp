// Draws icon 101, a small twisted ribbon in rose and green on a transparent ground, and writes
// it as ribbon.ico (32x32 at 16 and at 256 colours, each with its AND mask) for the Windows
// resource compiler, as icon_pixels.cpp (the 256-colour image as 0xAARRGGBB pixels) for
// platforms without resource files, and as PNG files for desktop menus: the 256-colour image at
// whole multiples of 32 pixels, each pixel repeated as a square block so that nothing blurs.
//
// Usage: make_icon <ribbon.ico> <icon_pixels.cpp> [<size> <ribbon.png>]...
// Runs on the build machine. Only plain arithmetic is used, so the output is the same on every
// run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kSubsamples = 4;  // per pixel side
constexpr double kPi = 3.14159265358979323846;

// The ribbon's axis runs from the lower left to the upper right; its flat band turns one and a
// half times around the axis on the way, showing its rose front and its green back in turn.
constexpr double kStartX = 4.5, kStartY = 27.5;
constexpr double kEndX = 27.5, kEndY = 4.5;
constexpr double kHalfWidth = 6.0;
constexpr double kTurns = 1.5;
constexpr double kMinShade = 0.45;

struct Rgb {
  int red, green, blue;
};
constexpr Rgb kSideColour[2] = {{232, 96, 138}, {70, 176, 96}};  // rose front, green back

// One pixel of the drawing: covered or not, which side shows, how brightly lit (0 to 1).
struct Sample {
  bool covered;
  int side;
  double light;
};

Sample SampleRibbon(double x, double y) {
  double axisX = kEndX - kStartX, axisY = kEndY - kStartY;
  double length = std::sqrt(axisX * axisX + axisY * axisY);
  double along = ((x - kStartX) * axisX + (y - kStartY) * axisY) / (length * length);
  double across = ((x - kStartX) * -axisY + (y - kStartY) * axisX) / length;
  if (along < 0.0 || along > 1.0) {
    return {false, 0, 0.0};
  }
  double facing = std::cos(kPi / 4.0 + 2.0 * kPi * kTurns * along);
  if (std::fabs(across) > kHalfWidth * std::fabs(facing) + 0.35) {
    return {false, 0, 0.0};
  }
  // Light falls on the band where it faces the viewer, and a little more on its upper edge.
  double edge = across / (kHalfWidth + 0.35);
  double light = std::fabs(facing) * (0.85 + 0.15 * edge);
  return {true, facing < 0.0 ? 1 : 0, std::fmin(std::fmax(light, 0.0), 1.0)};
}

// The pixel at (column, row), supersampled: covered when most of it is, lit as its covered
// part of the majority side is on average.
Sample SamplePixel(int column, int row) {
  int covered[2] = {0, 0};
  double light[2] = {0.0, 0.0};
  for (int i = 0; i < kSubsamples * kSubsamples; ++i) {
    double x = column + (i % kSubsamples + 0.5) / kSubsamples;
    double y = row + (i / kSubsamples + 0.5) / kSubsamples;
    Sample s = SampleRibbon(x, y);
    if (s.covered) {
      covered[s.side] += 1;
      light[s.side] += s.light;
    }
  }
  int side = covered[1] > covered[0] ? 1 : 0;
  if (2 * (covered[0] + covered[1]) < kSubsamples * kSubsamples) {
    return {false, 0, 0.0};
  }
  return {true, side, light[side] / covered[side]};
}

// An indexed image: palette, one index per pixel (row 0 at the top), and the transparency mask.
struct IndexedImage {
  int bitsPerPixel;
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> indices;
  std::vector<bool> transparent;
};

// Palette entry 0 is black (what transparent pixels hold); then `levels` shades of the rose
// side followed by `levels` shades of the green side; any rest stays black.
IndexedImage Quantise(const std::vector<Sample>& picture, int bitsPerPixel, int levels) {
  IndexedImage image{bitsPerPixel, std::vector<Rgb>(1u << bitsPerPixel, Rgb{0, 0, 0}), {}, {}};
  for (int side = 0; side < 2; ++side) {
    for (int level = 0; level < levels; ++level) {
      double shade = kMinShade + (1.0 - kMinShade) * level / (levels - 1);
      const Rgb& base = kSideColour[side];
      image.palette[1 + side * levels + level] = {static_cast<int>(std::lround(base.red * shade)),
                                                  static_cast<int>(std::lround(base.green * shade)),
                                                  static_cast<int>(std::lround(base.blue * shade))};
    }
  }
  for (const Sample& s : picture) {
    int level = static_cast<int>(std::lround(s.light * (levels - 1)));
    image.indices.push_back(s.covered ? static_cast<std::uint8_t>(1 + s.side * levels + level) : 0);
    image.transparent.push_back(!s.covered);
  }
  return image;
}

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
}

// The image as an icon file stores it: BITMAPINFOHEADER (height doubled for the two masks),
// the palette as RGBQUADs, the colour (XOR) rows and then the 1-bit AND rows, bottom row first,
// each row padded to 4 bytes.
std::vector<std::uint8_t> IconImageBytes(const IndexedImage& image) {
  int xorRow = (kSize * image.bitsPerPixel + 31) / 32 * 4;
  int andRow = (kSize + 31) / 32 * 4;
  std::vector<std::uint8_t> out;
  PutLittleEndian(out, 40, 4);
  PutLittleEndian(out, kSize, 4);
  PutLittleEndian(out, 2 * kSize, 4);
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, image.bitsPerPixel, 2);
  PutLittleEndian(out, 0, 4);  // BI_RGB
  PutLittleEndian(out, (xorRow + andRow) * kSize, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 0, 4);
  for (const Rgb& c : image.palette) {
    out.insert(out.end(), {static_cast<std::uint8_t>(c.blue), static_cast<std::uint8_t>(c.green),
                           static_cast<std::uint8_t>(c.red), 0});
  }
  for (int row = kSize - 1; row >= 0; --row) {
    std::vector<std::uint8_t> bits(xorRow, 0);
    for (int column = 0; column < kSize; ++column) {
      int bit = column * image.bitsPerPixel;
      int shift = 8 - image.bitsPerPixel - bit % 8;
      bits[bit / 8] |= static_cast<std::uint8_t>(image.indices[row * kSize + column] << shift);
    }
    out.insert(out.end(), bits.begin(), bits.end());
  }
  for (int row = kSize - 1; row >= 0; --row) {
    std::vector<std::uint8_t> bits(andRow, 0);
    for (int column = 0; column < kSize; ++column) {
      if (image.transparent[row * kSize + column]) {
        bits[column / 8] |= static_cast<std::uint8_t>(0x80 >> (column % 8));
      }
    }
    out.insert(out.end(), bits.begin(), bits.end());
  }
  return out;
}

// ICONDIR, one ICONDIRENTRY per image, then the images.
std::vector<std::uint8_t> IconFileBytes(const std::vector<IndexedImage>& images) {
  std::vector<std::uint8_t> out;
  PutLittleEndian(out, 0, 2);
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, static_cast<std::uint32_t>(images.size()), 2);
  std::vector<std::vector<std::uint8_t>> bodies;
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (const IndexedImage& image : images) {
    bodies.push_back(IconImageBytes(image));
    int colours = image.bitsPerPixel < 8 ? 1 << image.bitsPerPixel : 0;
    out.insert(out.end(), {kSize, kSize, static_cast<std::uint8_t>(colours), 0});
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, image.bitsPerPixel, 2);
    PutLittleEndian(out, static_cast<std::uint32_t>(bodies.back().size()), 4);
    PutLittleEndian(out, offset, 4);
    offset += static_cast<std::uint32_t>(bodies.back().size());
  }
  for (const auto& body : bodies) {
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

std::uint32_t Argb(const IndexedImage& image, int pixel) {
  if (image.transparent[pixel]) {
    return 0;
  }
  const Rgb& c = image.palette[image.indices[pixel]];
  return 0xFF000000u | static_cast<std::uint32_t>(c.red << 16 | c.green << 8 | c.blue);
}

bool WriteBinaryFile(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    return false;
  }
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

bool WritePixelSource(const char* path, const IndexedImage& image) {
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) {
    return false;
  }
  std::fprintf(file,
               "// Generated by resources/make_icon.cpp: icon 101's 256-colour image.\n"
               "#include \"resources/icon.h\"\n\n"
               "namespace {\n\n"
               "constexpr std::uint32_t kPixels[kIconSize * kIconSize] = {\n");
  for (int pixel = 0; pixel < kSize * kSize; ++pixel) {
    std::fprintf(file, "%s0x%08X,%s", pixel % 8 == 0 ? "    " : "", Argb(image, pixel),
                 pixel % 8 == 7 ? "\n" : " ");
  }
  std::fprintf(file,
               "};\n\n"
               "}  // namespace\n\n"
               "const std::uint32_t* RibbonIconPixels() { return kPixels; }\n");
  return std::fclose(file) == 0;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
  }
  return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void PutPngChunk(std::vector<std::uint8_t>& out, const char* type,
                 const std::vector<std::uint8_t>& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks: the icons are small, and this needs no
// compressor on the build machine.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out = {0x78, 0x01};
  std::size_t offset = 0;
  do {
    std::size_t length = std::min<std::size_t>(data.size() - offset, 0xFFFF);
    out.push_back(offset + length == data.size() ? 1 : 0);
    PutLittleEndian(out, static_cast<std::uint32_t>(length), 2);
    PutLittleEndian(out, static_cast<std::uint32_t>(~length & 0xFFFF), 2);
    out.insert(out.end(), data.begin() + offset, data.begin() + offset + length);
    offset += length;
  } while (offset < data.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(out, b << 16 | a);
  return out;
}

// The image as an 8-bit RGBA PNG of size x size pixels, scaled up by repeating pixels.
std::vector<std::uint8_t> PngBytes(const IndexedImage& image, int size) {
  int scale = size / kSize;
  std::vector<std::uint8_t> rows;
  for (int y = 0; y < size; ++y) {
    rows.push_back(0);  // filter type: none
    for (int x = 0; x < size; ++x) {
      std::uint32_t argb = Argb(image, y / scale * kSize + x / scale);
      rows.insert(rows.end(),
                  {static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
                   static_cast<std::uint8_t>(argb), static_cast<std::uint8_t>(argb >> 24)});
    }
  }
  std::vector<std::uint8_t> header;
  PutBigEndian(header, static_cast<std::uint32_t>(size));
  PutBigEndian(header, static_cast<std::uint32_t>(size));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutPngChunk(out, "IHDR", header);
  PutPngChunk(out, "IDAT", StoredZlib(rows));
  PutPngChunk(out, "IEND", {});
  return out;
}

// Writes one PNG per <size> <file> pair of arguments; sizes are whole multiples of kSize.
bool WritePngFiles(int count, char** pairs, const IndexedImage& image) {
  for (int i = 0; i + 1 < count; i += 2) {
    int size = std::atoi(pairs[i]);
    if (size < kSize || size % kSize != 0 || size > 32 * kSize) {
      std::fprintf(stderr, "make_icon: size %s is not a multiple of %d up to %d\n", pairs[i], kSize,
                   32 * kSize);
      return false;
    }
    if (!WriteBinaryFile(pairs[i + 1], PngBytes(image, size))) {
      std::fprintf(stderr, "make_icon: cannot write %s\n", pairs[i + 1]);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr,
                 "usage: make_icon <ribbon.ico> <icon_pixels.cpp> [<size> <ribbon.png>]...\n");
    return 2;
  }
  std::vector<Sample> picture;
  for (int row = 0; row < kSize; ++row) {
    for (int column = 0; column < kSize; ++column) {
      picture.push_back(SamplePixel(column, row));
    }
  }
  IndexedImage sixteen = Quantise(picture, 4, 7);
  IndexedImage full = Quantise(picture, 8, 64);
  if (!WriteBinaryFile(argv[1], IconFileBytes({sixteen, full})) ||
      !WritePixelSource(argv[2], full)) {
    std::fprintf(stderr, "make_icon: cannot write the output files\n");
    return 1;
  }
  return WritePngFiles(argc - 3, argv + 3, full) ? 0 : 1;
}
