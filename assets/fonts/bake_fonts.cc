// Bakes the demo's two fonts into constant glyph records.
//
//   bake_fonts SOURCE_DIR FACE_DIR OUTPUT_DIR
//
// SOURCE_DIR holds main_font.txt (the pixel-grid face, drawn as characters on its grid) and
// logo_font.txt (the boxes of the logo face and the outline font each glyph is taken from).
// FACE_DIR holds the outline fonts named there. The tool writes main_font_records.inc and
// logo_font_records.inc into OUTPUT_DIR. Its output depends on nothing but its inputs, so
// the committed records can be checked against a fresh bake.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& why) {
  std::cerr << "bake_fonts: " << why << "\n";
  std::exit(1);
}

struct Record {
  char key;
  std::uint16_t width;
  std::int32_t offset_x;
  std::int32_t offset_y;
  float advance;
  std::vector<std::uint8_t> coverage;  // width x height bytes, without the closing 0
};

std::vector<std::uint8_t> record_bytes(const Record& r) {
  std::vector<std::uint8_t> out;
  auto put = [&out](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  put(r.width, 2);
  put(static_cast<std::uint32_t>(r.offset_x), 4);
  put(static_cast<std::uint32_t>(r.offset_y), 4);
  put(std::bit_cast<std::uint32_t>(r.advance), 4);
  out.insert(out.end(), r.coverage.begin(), r.coverage.end());
  out.push_back(0);
  return out;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) fail("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

char key_of(const std::string& name) {
  if (name == "space") return ' ';
  if (name.size() != 1) fail("bad glyph name " + name);
  return name[0];
}

// ---------------------------------------------------------------------------------------------
// Main font: a pixel-grid face at 10/7 pixel per grid unit.
//
// Measured in sevenths of a pixel a grid unit is exactly 10, so every grid line falls on a
// seventh and the area a grid cell covers of a pixel is an exact number of 49ths. The grid
// starts 1/7 pixel right of the pen, and its baseline lies 10 pixels (7 units) below the pen.

constexpr int sub_per_pixel = 7;
constexpr int sub_per_unit = 10;
constexpr int grid_origin_x = 1;                     // in sevenths of a pixel, right of the pen
constexpr int grid_baseline_y = 10 * sub_per_pixel;  // in sevenths of a pixel, below the pen

int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int ceil_div(int a, int b) { return -floor_div(-a, b); }

// The advance of a glyph `units` grid units wide: one unit in the last place above the nearest
// f32, so that a run of advances never falls short of the grid.
float grid_advance(int units) { return std::nextafter(static_cast<float>(units * 10.0 / 7.0), INFINITY); }

struct GridGlyph {
  char key;
  int advance = 0;                // grid units
  int left = 0;                   // grid units from the pen to the first column
  int bottom = 0;                 // grid units from the baseline up to the bottom row (negative: descends)
  std::vector<std::string> rows;  // top row first; '#' is ink, '.' is empty
};

std::vector<GridGlyph> parse_main_font(const std::string& text) {
  std::vector<GridGlyph> glyphs;
  int line_number = 0;
  for (const std::string& line : lines_of(text)) {
    ++line_number;
    if (line.empty() || line.rfind("//", 0) == 0) continue;
    if (line.rfind("glyph ", 0) == 0) {
      std::istringstream in(line.substr(6));
      std::string name, word;
      GridGlyph glyph;
      in >> name;
      glyph.key = key_of(name);
      while (in >> word) {
        int value = 0;
        if (!(in >> value)) fail("line " + std::to_string(line_number) + ": missing value");
        if (word == "advance")
          glyph.advance = value;
        else if (word == "left")
          glyph.left = value;
        else if (word == "bottom")
          glyph.bottom = value;
        else
          fail("line " + std::to_string(line_number) + ": unknown field " + word);
      }
      glyphs.push_back(glyph);
      continue;
    }
    if (glyphs.empty()) fail("line " + std::to_string(line_number) + ": row before any glyph");
    std::string row = line;
    while (!row.empty() && row.back() == ' ') row.pop_back();
    if (row.find_first_not_of("#.") != std::string::npos)
      fail("line " + std::to_string(line_number) + ": bad row");
    if (!glyphs.back().rows.empty() && glyphs.back().rows.front().size() != row.size())
      fail("line " + std::to_string(line_number) + ": ragged row");
    glyphs.back().rows.push_back(row);
  }
  return glyphs;
}

Record bake_grid_glyph(const GridGlyph& g) {
  Record r{g.key, 0, 0, 0, grid_advance(g.advance), {}};
  if (g.rows.empty()) {
    // An empty glyph (the space) is a box as wide as its whole pixels of advance, no rows high,
    // standing on the baseline.
    r.width = static_cast<std::uint16_t>(g.advance * sub_per_unit / sub_per_pixel);
    r.offset_y = grid_baseline_y / sub_per_pixel;
    return r;
  }
  const int columns = static_cast<int>(g.rows.front().size());
  const int rows = static_cast<int>(g.rows.size());
  // The grid box in sevenths of a pixel, y growing down from the pen.
  const int box_x0 = grid_origin_x + g.left * sub_per_unit;
  const int box_x1 = box_x0 + columns * sub_per_unit;
  const int box_y1 = grid_baseline_y - g.bottom * sub_per_unit;
  const int box_y0 = box_y1 - rows * sub_per_unit;
  const int px0 = floor_div(box_x0, sub_per_pixel), px1 = ceil_div(box_x1, sub_per_pixel);
  const int py0 = floor_div(box_y0, sub_per_pixel), py1 = ceil_div(box_y1, sub_per_pixel);
  r.width = static_cast<std::uint16_t>(px1 - px0);
  r.offset_x = px0;
  r.offset_y = py0;
  const int width = px1 - px0, height = py1 - py0;
  std::vector<int> area(static_cast<std::size_t>(width * height), 0);  // in 49ths of a pixel
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      if (g.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] != '#') continue;
      const int cx0 = box_x0 + column * sub_per_unit, cx1 = cx0 + sub_per_unit;
      const int cy0 = box_y0 + row * sub_per_unit, cy1 = cy0 + sub_per_unit;
      for (int py = floor_div(cy0, sub_per_pixel); py < ceil_div(cy1, sub_per_pixel); ++py) {
        const int oy = std::min(cy1, (py + 1) * sub_per_pixel) - std::max(cy0, py * sub_per_pixel);
        for (int px = floor_div(cx0, sub_per_pixel); px < ceil_div(cx1, sub_per_pixel); ++px) {
          const int ox = std::min(cx1, (px + 1) * sub_per_pixel) - std::max(cx0, px * sub_per_pixel);
          area[(static_cast<std::size_t>(py - py0) * width) + static_cast<std::size_t>(px - px0)] += ox * oy;
        }
      }
    }
  }
  for (int a : area) {
    // coverage = round(255 x area / 49); a half never occurs for areas from 0 to 49.
    r.coverage.push_back(static_cast<std::uint8_t>((510 * a + 49) / 98));
  }
  return r;
}

// ---------------------------------------------------------------------------------------------
// Logo font: glyphs of an outline font, rendered large by FreeType and reduced into the chosen
// boxes by averaging, so the edges keep their exact antialiasing.

constexpr int supersample = 16;

struct LogoGlyph {
  char key;
  std::string face;      // file name in FACE_DIR
  std::uint32_t source;  // character taken from the face
  int width = 0, height = 0, offset_y = 0;
  float advance = 0;
  // Where the ink goes, in box pixels. With only its rows given, the ink keeps the face's own
  // proportions narrowed by `condense` and is centred in the box, so the sides of the box are
  // the glyph's spacing.
  double ink_x0 = 0, ink_y0 = 0, ink_x1 = 0, ink_y1 = 0;
  bool ink_columns_given = false;
  double condense = 1.0;
};

std::vector<LogoGlyph> parse_logo_font(const std::string& text) {
  std::vector<LogoGlyph> glyphs;
  int line_number = 0;
  for (const std::string& line : lines_of(text)) {
    ++line_number;
    if (line.empty() || line.rfind("//", 0) == 0) continue;
    std::istringstream in(line);
    std::string word, name;
    in >> word >> name;
    if (word != "glyph") fail("logo line " + std::to_string(line_number) + ": expected glyph");
    LogoGlyph g;
    g.key = key_of(name);
    g.source = static_cast<unsigned char>(g.key);
    while (in >> word) {
      auto value = [&]() -> std::string {
        std::string v;
        if (!(in >> v)) fail("logo line " + std::to_string(line_number) + ": missing value");
        return v;
      };
      if (word == "face")
        g.face = value();
      else if (word == "from")
        g.source = static_cast<unsigned char>(key_of(value()));
      else if (word == "box") {
        g.width = std::stoi(value());
        g.height = std::stoi(value());
      } else if (word == "top")
        g.offset_y = std::stoi(value());
      else if (word == "advance")
        g.advance = std::bit_cast<float>(static_cast<std::uint32_t>(std::stoul(value(), nullptr, 16)));
      else if (word == "ink") {
        g.ink_x0 = std::stod(value());
        g.ink_y0 = std::stod(value());
        g.ink_x1 = std::stod(value());
        g.ink_y1 = std::stod(value());
        g.ink_columns_given = true;
      } else if (word == "rows") {
        g.ink_y0 = std::stod(value());
        g.ink_y1 = std::stod(value());
      } else if (word == "condense")
        g.condense = std::stod(value());
      else
        fail("logo line " + std::to_string(line_number) + ": unknown field " + word);
    }
    glyphs.push_back(g);
  }
  return glyphs;
}

struct Bitmap {
  int width = 0, height = 0;
  std::vector<double> value;  // 0..1
  double at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return value[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width)) +
                 static_cast<std::size_t>(x)];
  }
};

// The glyph's ink at a large size, cropped to its bounding box.
Bitmap render_large(const std::string& face_path, std::uint32_t character) {
  FT_Library library;
  if (FT_Init_FreeType(&library) != 0) fail("FreeType does not start");
  FT_Face face;
  if (FT_New_Face(library, face_path.c_str(), 0, &face) != 0) fail("cannot open " + face_path);
  if (FT_Set_Pixel_Sizes(face, 0, 40 * supersample / 4) != 0) fail("cannot size " + face_path);
  if (FT_Load_Char(face, character, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) fail("cannot render glyph");
  const FT_Bitmap& bm = face->glyph->bitmap;
  Bitmap out;
  out.width = static_cast<int>(bm.width);
  out.height = static_cast<int>(bm.rows);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.value.push_back(bm.buffer[y * bm.pitch + x] / 255.0);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  // Crop to the ink.
  int x0 = out.width, y0 = out.height, x1 = 0, y1 = 0;
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      if (out.at(x, y) > 0) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x + 1), y1 = std::max(y1, y + 1);
      }
  if (x1 <= x0) fail("glyph has no ink");
  Bitmap cropped;
  cropped.width = x1 - x0;
  cropped.height = y1 - y0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) cropped.value.push_back(out.at(x, y));
  return cropped;
}

// Each box pixel gets the mean of the large ink over the part of it that the pixel covers,
// integrated on a fine grid of sample points.
Record bake_logo_glyph(LogoGlyph g, const std::string& face_dir) {
  const Bitmap ink = render_large(face_dir + "/" + g.face, g.source);
  if (!g.ink_columns_given) {
    const double width = ink.width * (g.ink_y1 - g.ink_y0) / ink.height * g.condense;
    g.ink_x0 = (g.width - width) / 2;
    g.ink_x1 = g.ink_x0 + width;
  }
  std::printf("logo '%c': box %d x %d, ink x %.2f to %.2f, y %.2f to %.2f\n", g.key, g.width, g.height,
              g.ink_x0, g.ink_x1, g.ink_y0, g.ink_y1);
  Record r{g.key, static_cast<std::uint16_t>(g.width), 0, g.offset_y, g.advance, {}};
  constexpr int samples = 16;
  const double sx = ink.width / (g.ink_x1 - g.ink_x0);
  const double sy = ink.height / (g.ink_y1 - g.ink_y0);
  for (int py = 0; py < g.height; ++py) {
    for (int px = 0; px < g.width; ++px) {
      double sum = 0;
      for (int j = 0; j < samples; ++j) {
        const double y = py + (j + 0.5) / samples;
        const double iy = (y - g.ink_y0) * sy;
        for (int i = 0; i < samples; ++i) {
          const double x = px + (i + 0.5) / samples;
          const double ix = (x - g.ink_x0) * sx;
          if (ix < 0 || iy < 0 || ix >= ink.width || iy >= ink.height) continue;
          sum += ink.at(static_cast<int>(ix), static_cast<int>(iy));
        }
      }
      r.coverage.push_back(static_cast<std::uint8_t>(std::lround(255.0 * sum / (samples * samples))));
    }
  }
  return r;
}

// ---------------------------------------------------------------------------------------------
// Output.

// Two lower-case hex digits.
std::string hex_byte(std::uint8_t byte) {
  constexpr std::string_view digits = "0123456789abcdef";
  return {digits[byte >> 4], digits[byte & 15]};
}

std::string record_name(const std::string& font, char key) {
  return font + "_glyph_" + hex_byte(static_cast<std::uint8_t>(key));
}

std::string records_source(const std::string& font, const std::vector<Record>& records) {
  std::ostringstream out;
  out << "// Generated by assets/fonts/bake_fonts from the font sources; edit those, not this file.\n";
  out << "// Each record: u16 width, i32 x offset, i32 y offset, f32 advance (little-endian), then\n";
  out << "// width x height coverage bytes and a closing 0.\n";
  out << "#pragma once\n\n#include <array>\n#include <cstdint>\n\n";
  std::size_t total = 0;
  for (const Record& r : records) {
    const std::vector<std::uint8_t> bytes = record_bytes(r);
    total += bytes.size();
    out << "// '" << r.key << "'\n";
    out << "inline constexpr std::array<std::uint8_t, " << bytes.size() << "> " << record_name(font, r.key)
        << " = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (i % 16 == 0) out << "\n   ";
      out << " 0x" << hex_byte(bytes[i]) << ',';
    }
    out << "\n};\n\n";
  }
  out << "// " << records.size() << " records, " << total << " bytes.\n";
  return out.str();
}

std::string main_table_source(const std::vector<Record>& records) {
  std::ostringstream out;
  out << records_source("main", records);
  out << "\n// Dense over the keys 32 (space) to 122 ('z'); an empty record is a character the font lacks.\n";
  out << "inline constexpr std::uint8_t main_font_first_key = 32;\n";
  out << "inline constexpr std::array<GlyphRecord, 91> main_font_table = {{\n";
  std::map<char, const Record*> by_key;
  for (const Record& r : records) by_key[r.key] = &r;
  for (int key = 32; key <= 122; ++key) {
    const auto found = by_key.find(static_cast<char>(key));
    if (found == by_key.end()) {
      out << "    {{}, 0},\n";
    } else {
      const Record& r = *found->second;
      out << "    {" << record_name("main", r.key) << ", " << r.coverage.size() + 1 << "},\n";
    }
  }
  out << "}};\n";
  return out.str();
}

std::string logo_table_source(const std::vector<Record>& records) {
  std::ostringstream out;
  out << records_source("logo", records);
  out << "\ninline constexpr std::array<KeyedGlyphRecord, " << records.size() << "> logo_font_table = {{\n";
  for (const Record& r : records) {
    out << "    {'" << r.key << "', {" << record_name("logo", r.key) << ", " << r.coverage.size() + 1
        << "}},\n";
  }
  out << "}};\n";
  return out.str();
}

void write_file(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) fail("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) fail("usage: bake_fonts SOURCE_DIR FACE_DIR OUTPUT_DIR");
  const std::string source_dir = argv[1], face_dir = argv[2], output_dir = argv[3];

  std::vector<Record> main_records;
  for (const GridGlyph& g : parse_main_font(read_file(source_dir + "/main_font.txt")))
    main_records.push_back(bake_grid_glyph(g));
  std::sort(main_records.begin(), main_records.end(),
            [](const Record& a, const Record& b) { return a.key < b.key; });
  write_file(output_dir + "/main_font_records.inc", main_table_source(main_records));

  std::vector<Record> logo_records;
  for (const LogoGlyph& g : parse_logo_font(read_file(source_dir + "/logo_font.txt")))
    logo_records.push_back(bake_logo_glyph(g, face_dir));
  write_file(output_dir + "/logo_font_records.inc", logo_table_source(logo_records));
  return 0;
}
