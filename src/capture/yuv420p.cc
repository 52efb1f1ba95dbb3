#include "capture/yuv420p.h"

namespace {

// The BT.709 matrix (Kr 0.2126, Kb 0.0722) scaled to the limited range and to 16 fraction bits,
// each row rounded so that its sum stays exact: luma 219/255 x (Kr, 1 - Kr - Kb, Kb) sums to
// 219/255, so white is 235; the chroma rows sum to 0, so every grey has chroma 128.
//   luma:  65536 x 219/255 x (0.2126, 0.7152, 0.0722)
//   Cb:    65536 x 224/255 x (-0.2126, -0.7152, 0.9278) / 1.8556
//   Cr:    65536 x 224/255 x (0.7874, -0.7152, -0.0722) / 1.5748
struct Row {
  std::int32_t red, green, blue;
};
constexpr Row luma{11966, 40254, 4064};
constexpr Row blue_difference{-6596, -22189, 28785};
constexpr Row red_difference{28785, -26146, -2639};

constexpr std::int32_t fraction_bits = 16;

std::uint8_t luma_of(const std::uint8_t* bgra) {
  const std::int32_t sum = luma.red * bgra[2] + luma.green * bgra[1] + luma.blue * bgra[0];
  return static_cast<std::uint8_t>(16 + ((sum + (1 << (fraction_bits - 1))) >> fraction_bits));
}

// Chroma from the sums of four pixels' red, green and blue: two more fraction bits.
std::uint8_t chroma_of(const Row& row, std::int32_t red, std::int32_t green, std::int32_t blue) {
  constexpr std::int32_t bits = fraction_bits + 2;
  const std::int32_t sum = row.red * red + row.green * green + row.blue * blue;
  return static_cast<std::uint8_t>((sum + (128 << bits) + (1 << (bits - 1))) >> bits);
}

}  // namespace

void bgra_to_yuv420p(std::span<const std::uint8_t> pixels, std::ptrdiff_t pitch, int width, int height,
                     const Yuv420pPlanes& planes) {
  for (int y = 0; y < height; y += 2) {
    const std::uint8_t* upper = pixels.data() + y * pitch;
    const std::uint8_t* lower = upper + pitch;
    std::uint8_t* luma_upper = planes.y + y * planes.y_pitch;
    std::uint8_t* luma_lower = luma_upper + planes.y_pitch;
    for (int x = 0; x < width; ++x) {
      luma_upper[x] = luma_of(upper + std::ptrdiff_t{4} * x);
      luma_lower[x] = luma_of(lower + std::ptrdiff_t{4} * x);
    }
    std::uint8_t* u = planes.u + (y / 2) * planes.chroma_pitch;
    std::uint8_t* v = planes.v + (y / 2) * planes.chroma_pitch;
    for (int x = 0; x < width / 2; ++x) {
      const std::uint8_t* a = upper + std::ptrdiff_t{8} * x;
      const std::uint8_t* b = lower + std::ptrdiff_t{8} * x;
      const std::int32_t blue = a[0] + a[4] + b[0] + b[4];
      const std::int32_t green = a[1] + a[5] + b[1] + b[5];
      const std::int32_t red = a[2] + a[6] + b[2] + b[6];
      u[x] = chroma_of(blue_difference, red, green, blue);
      v[x] = chroma_of(red_difference, red, green, blue);
    }
  }
}
