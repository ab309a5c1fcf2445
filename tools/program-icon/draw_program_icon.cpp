// Draws the programs' icon and writes it as a Windows .ico: the archive (a cylinder) carried by an
// arrow into the transfer file (a written page), on a blue tile. Each size is drawn afresh from the
// shapes, not scaled from another, with every pixel's cover sampled on a fine grid, so that the
// small sizes stay sharp.
//
//   draw-program-icon OUT.ico
//
// The icon both Windows programs carry is this program's output, committed beside it
// (program.ico); the test program_icon fails while the two differ.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Color {
  double r, g, b, a;
};

// Straight alpha over straight alpha.
Color Over(Color top, Color under) {
  const double a = top.a + under.a * (1 - top.a);
  if (a <= 0) return {0, 0, 0, 0};
  auto mix = [&](double t, double u) { return (t * top.a + u * under.a * (1 - top.a)) / a; };
  return {mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b), a};
}

Color Rgb(int hex, double alpha = 1) {
  return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0, alpha};
}

bool InRoundedBox(double x, double y, double x0, double y0, double x1, double y1, double radius) {
  if (x < x0 || x > x1 || y < y0 || y > y1) return false;
  const double cx = std::clamp(x, x0 + radius, x1 - radius), cy = std::clamp(y, y0 + radius, y1 - radius);
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry) {
  const double dx = (x - cx) / rx, dy = (y - cy) / ry;
  return dx * dx + dy * dy <= 1;
}

// The picture at one point of the unit square (y downwards), before sampling.
Color Paint(double x, double y) {
  Color c{0, 0, 0, 0};
  // The tile, a shade darker towards the bottom.
  if (InRoundedBox(x, y, 0.03, 0.03, 0.97, 0.97, 0.18)) {
    const Color top = Rgb(0x2A6FBF), bottom = Rgb(0x184C8C);
    c = {top.r + (bottom.r - top.r) * y, top.g + (bottom.g - top.g) * y, top.b + (bottom.b - top.b) * y, 1};
  }
  // The archive: a cylinder with a lighter lid and one band.
  const double cyl_x0 = 0.12, cyl_x1 = 0.47, cyl_top = 0.22, cyl_bottom = 0.76, lid = 0.075;
  const double cyl_cx = (cyl_x0 + cyl_x1) / 2, cyl_rx = (cyl_x1 - cyl_x0) / 2;
  const bool body = (x >= cyl_x0 && x <= cyl_x1 && y >= cyl_top && y <= cyl_bottom) ||
                    InEllipse(x, y, cyl_cx, cyl_bottom, cyl_rx, lid);
  if (body) {
    c = Over(Rgb(0xE4ECF5), c);
    if (std::fabs(y - (0.49 + lid * std::sqrt(std::max(0.0, 1 - std::pow((x - cyl_cx) / cyl_rx, 2))))) < 0.025)
      c = Over(Rgb(0x9DB3CC), c);
  }
  if (InEllipse(x, y, cyl_cx, cyl_top, cyl_rx, lid)) c = Over(Rgb(0xC4D4E6), c);
  // The transfer file: a page with a folded corner and lines of text.
  const double page_x0 = 0.53, page_x1 = 0.88, page_y0 = 0.20, page_y1 = 0.82, fold = 0.11;
  const bool on_page = x >= page_x0 && x <= page_x1 && y >= page_y0 && y <= page_y1 &&
                       (x - (page_x1 - fold)) + (page_y0 - y) <= 0;
  if (on_page) {
    c = Over(Rgb(0xFFFFFF), c);
    for (double line = 0.42; line < 0.78; line += 0.09)
      if (y >= line && y <= line + 0.035 && x >= page_x0 + 0.06 && x <= page_x1 - 0.06) c = Over(Rgb(0x7A8FA8), c);
  }
  if (x >= page_x1 - fold && x <= page_x1 && y >= page_y0 && y <= page_y0 + fold &&
      (x - (page_x1 - fold)) + (page_y0 - y) >= 0)
    c = Over(Rgb(0xC9D3DF), c);
  // The arrow from the archive into the file: a shaft and its head.
  const double arrow_y = 0.50, shaft = 0.065, head_x0 = 0.58, head_x1 = 0.76, head_half = 0.17;
  const bool in_shaft = x >= 0.28 && x <= head_x0 && std::fabs(y - arrow_y) <= shaft;
  const bool in_head =
      x >= head_x0 && x <= head_x1 && std::fabs(y - arrow_y) <= head_half * (head_x1 - x) / (head_x1 - head_x0);
  if (in_shaft || in_head) c = Over(Rgb(0xF39A1E), c);
  return c;
}

// One size: straight-alpha BGRA rows, top row first. Each pixel averages a grid of samples.
std::vector<std::uint8_t> Draw(int size) {
  const int grid = size <= 32 ? 8 : 4;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size) * size * 4);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < grid; ++sy) {
        for (int sx = 0; sx < grid; ++sx) {
          const Color c = Paint((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size);
          r += c.r * c.a, g += c.g * c.a, b += c.b * c.a, a += c.a;  // premultiplied while summing
        }
      }
      const double n = grid * grid;
      auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
      std::uint8_t* p = &pixels[(static_cast<std::size_t>(py) * size + px) * 4];
      p[0] = a > 0 ? byte(b / a) : 0;
      p[1] = a > 0 ? byte(g / a) : 0;
      p[2] = a > 0 ? byte(r / a) : 0;
      p[3] = byte(a / n);
    }
  }
  return pixels;
}

void Put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One image as an icon file holds it: a BITMAPINFOHEADER of twice the height (colour and mask),
// 32-bit rows bottom-up, then the 1-bit mask, all clear since the alpha channel decides.
std::string IconImage(int size) {
  const std::vector<std::uint8_t> pixels = Draw(size);
  const std::uint32_t mask_row = static_cast<std::uint32_t>((size + 31) / 32 * 4);
  std::string out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(size));
  Put32(out, static_cast<std::uint32_t>(size * 2));
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits per pixel
  Put32(out, 0);   // BI_RGB
  Put32(out, static_cast<std::uint32_t>(size * size * 4) + mask_row * static_cast<std::uint32_t>(size));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int row = size - 1; row >= 0; --row)
    out.append(reinterpret_cast<const char*>(&pixels[static_cast<std::size_t>(row) * size * 4]),
               static_cast<std::size_t>(size) * 4);
  out.append(static_cast<std::size_t>(mask_row) * size, '\0');
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("uso: draw-program-icon OUT.ico\n", stderr);
    return 64;
  }
  // The sizes Windows asks for: the small and large icons at 100% to 200% and Explorer's views.
  const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 128};
  const std::size_t count = sizeof sizes / sizeof sizes[0];
  std::string header, images;
  Put16(header, 0);
  Put16(header, 1);  // an icon
  Put16(header, static_cast<unsigned>(count));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * count);
  for (int size : sizes) {
    const std::string image = IconImage(size);
    header += static_cast<char>(size);  // width and height; 256 would be 0
    header += static_cast<char>(size);
    header += '\0';  // no palette
    header += '\0';
    Put16(header, 1);
    Put16(header, 32);
    Put32(header, static_cast<std::uint32_t>(image.size()));
    Put32(header, offset);
    offset += static_cast<std::uint32_t>(image.size());
    images += image;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << header << images;
  out.close();
  if (!out) {
    std::fprintf(stderr, "draw-program-icon: impossibile scrivere %s\n", argv[1]);
    return 1;
  }
  return 0;
}
