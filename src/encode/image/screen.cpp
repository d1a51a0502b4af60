#include "encode/image/screen.h"

#include <algorithm>
#include <set>
#include <unordered_map>

#include "encode/image/data_text.h"
#include "encode/image/image_file.h"
#include "format/bytes.h"
#include "format/tiles.h"

namespace granvel {
namespace {

constexpr int kMaxSide = 512;
constexpr std::size_t kMaxTiles = 1024;  // the cell's tile number has 10 bits
constexpr std::size_t kPaletteColours = 15;
constexpr std::size_t kPalettes = 16;

Tile Flipped(const Tile& tile, bool horizontal, bool vertical) {
  Tile out{};
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x)
      out[8 * y + x] = tile[8 * (vertical ? 7 - y : y) + (horizontal ? 7 - x : x)];
  }
  return out;
}

std::string Key(const Tile& tile) {
  return std::string(tile.begin(), tile.end());
}

std::string Cell(int x, int y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// The source indices of the cell at (cx, cy).
std::array<std::uint8_t, 64> CellIndices(const BmpImage& image, int cx, int cy) {
  std::array<std::uint8_t, 64> cell{};
  for (int y = 0; y < 8; ++y) {
    const std::uint8_t* row = &image.Pixels[static_cast<std::size_t>((8 * cy + y) * image.Width + 8 * cx)];
    std::copy(row, row + 8, cell.begin() + 8 * y);
  }
  return cell;
}

// Indexed pictures: the bank is the high nibble every visible pixel shares; the tile keeps the low nibbles.
bool IndexedTile(const std::array<std::uint8_t, 64>& cell, int cx, int cy, const ConvertContext& ctx,
                 Tile& tile, int& bank) {
  std::set<int> banks;
  for (std::size_t i = 0; i < 64; ++i) {
    tile[i] = cell[i] & 0x0F;
    if (tile[i] != 0)
      banks.insert(cell[i] >> 4);
  }
  if (banks.size() > 1) {
    std::string list;
    for (const int b : banks)
      list += (list.empty() ? "" : ", ") + std::to_string(b);
    return ctx.Fail("the tile at cell " + Cell(cx, cy) + " mixes palette banks " + list);
  }
  bank = banks.empty() ? 0 : *banks.begin();
  return true;
}

// True-colour pictures: each tile's colours go to the first palette they fit with the ones it holds.
bool PackPalettes(const BmpImage& image, int columns, int rows, const ConvertContext& ctx,
                  std::vector<Tile>& cellTiles, std::vector<int>& cellBanks, ResourcePayload& col) {
  std::vector<std::vector<std::uint8_t>> palettes;  // image indices, slots 1 to 15
  for (int cy = 0; cy < rows; ++cy) {
    for (int cx = 0; cx < columns; ++cx) {
      const auto cell = CellIndices(image, cx, cy);
      std::set<std::uint8_t> colours;
      for (const std::uint8_t index : cell) {
        if (!(image.ZeroIsTransparent && index == 0))
          colours.insert(index);
      }
      if (colours.size() > kPaletteColours)
        return ctx.Fail("the tile at cell " + Cell(cx, cy) + " has " + std::to_string(colours.size()) +
                        " colours; a palette holds 15 and the transparent one");
      std::size_t p = 0;
      for (; p < palettes.size(); ++p) {
        std::set<std::uint8_t> both(palettes[p].begin(), palettes[p].end());
        both.insert(colours.begin(), colours.end());
        if (both.size() <= kPaletteColours)
          break;
      }
      if (p == palettes.size())
        palettes.emplace_back();
      for (const std::uint8_t colour : colours) {
        if (std::find(palettes[p].begin(), palettes[p].end(), colour) == palettes[p].end())
          palettes[p].push_back(colour);
      }
      Tile tile{};
      for (std::size_t i = 0; i < 64; ++i) {
        const auto at = std::find(palettes[p].begin(), palettes[p].end(), cell[i]);
        tile[i] = at == palettes[p].end() ? 0 : static_cast<std::uint8_t>(at - palettes[p].begin() + 1);
      }
      cellTiles.push_back(tile);
      cellBanks.push_back(static_cast<int>(p));
    }
  }
  if (palettes.size() > kPalettes)
    return ctx.Fail("the picture's colours need " + std::to_string(palettes.size()) +
                    " palettes of 15 colours; a screen has 16");
  col = NewPayload(kTagCol, kColPayloadSize);
  const std::uint16_t transparent = GetU16LE(&image.ColPayload[kTagSize]);
  for (std::size_t p = 0; p < palettes.size(); ++p) {
    PutU16LE(&col[kTagSize + 32 * p], image.ZeroIsTransparent ? transparent : 0);
    for (std::size_t c = 0; c < palettes[p].size(); ++c)
      PutU16LE(&col[kTagSize + 32 * p + 2 * (c + 1)],
               GetU16LE(&image.ColPayload[kTagSize + 2 * palettes[p][c]]));
  }
  return true;
}

}  // namespace

bool BuildScreenPicture(const BmpImage& image, const ConvertContext& ctx, ScreenPicture& screen) {
  if (image.Width % 8 != 0 || image.Height % 8 != 0)
    return ctx.Fail("a screen is cut into 8 x 8 cells: " + std::to_string(image.Width) + " x " +
                    std::to_string(image.Height) + " is not a multiple of 8");
  if (image.Width > kMaxSide || image.Height > kMaxSide)
    return ctx.Fail("the picture of " + std::to_string(image.Width) + " x " + std::to_string(image.Height) +
                    " pixels is larger than the 512 x 512 screen");
  const int columns = image.Width / 8, rows = image.Height / 8;
  std::vector<Tile> cellTiles;
  std::vector<int> cellBanks;
  if (image.TrueColour) {
    if (!PackPalettes(image, columns, rows, ctx, cellTiles, cellBanks, screen.ColPayload))
      return false;
  } else {
    for (int cy = 0; cy < rows; ++cy) {
      for (int cx = 0; cx < columns; ++cx) {
        Tile tile{};
        int bank = 0;
        if (!IndexedTile(CellIndices(image, cx, cy), cx, cy, ctx, tile, bank))
          return false;
        cellTiles.push_back(tile);
        cellBanks.push_back(bank);
      }
    }
    screen.ColPayload = image.ColPayload;
  }

  // Each tile once: a cell takes an earlier tile when it equals that tile or one of its flips.
  screen.Tiles.assign(1, Tile{});
  std::unordered_map<std::string, std::size_t> seen{{Key(Tile{}), 0}};
  screen.Map.fill(0);
  for (std::size_t i = 0; i < cellTiles.size(); ++i) {
    const Tile& tile = cellTiles[i];
    std::uint16_t cell = 0;
    bool found = false;
    for (int flips = 0; flips < 4 && !found; ++flips) {
      const auto at = seen.find(Key(Flipped(tile, flips & 1, flips & 2)));
      if (at != seen.end()) {
        cell = static_cast<std::uint16_t>(at->second + 1024 * flips);
        found = true;
      }
    }
    if (!found) {
      cell = static_cast<std::uint16_t>(screen.Tiles.size() & 0x3FF);
      seen.emplace(Key(tile), screen.Tiles.size());
      screen.Tiles.push_back(tile);
    }
    const std::size_t cx = i % static_cast<std::size_t>(columns), cy = i / static_cast<std::size_t>(columns);
    screen.Map[cy * kScreenSide + cx] = static_cast<std::uint16_t>(cell + 4096 * cellBanks[i]);
  }
  if (screen.Tiles.size() > kMaxTiles)
    return ctx.Fail("the picture has " + std::to_string(screen.Tiles.size()) +
                    " unique tiles with the empty one; a screen holds 1024");
  return true;
}

bool ConvertBmpToScreen(ConvertJob job, const ConvertContext& ctx) {
  BmpImage image = ReadImageFile(job.Path, 8, 8, 0xFF, ctx);
  if (image.PixelCount == 0)
    return false;
  ScreenPicture screen;
  if (!BuildScreenPicture(image, ctx, screen))
    return false;
  image.ColPayload = screen.ColPayload;

  DataText text;
  if (!text.Open(ctx.Settings().TextOut != 0, job.OutDir + job.FileName + "_SCR_DATA.txt", ctx))
    return false;
  if (text.IsOpen())
    WritePaletteData(text.Text(), image);
  const std::string base = NoteResourceName(job, "SCR", ctx);
  bool ok = WriteColFile(job, image, base, ctx);
  // The tiles one below the other, a picture 8 pixels wide that the tile payload builder cuts into banks.
  std::vector<std::uint8_t> column;
  for (const Tile& tile : screen.Tiles)
    column.insert(column.end(), tile.begin(), tile.end());
  const PixelGrid grid{column, 8, static_cast<std::int32_t>(8 * screen.Tiles.size())};
  const auto banks = static_cast<std::int64_t>((screen.Tiles.size() + 255) / 256);
  const auto make = [&](std::int64_t i, ResourcePayload& payload) {
    payload = BuildTilePayload(grid, kChrBlockPixels, static_cast<std::uint32_t>(i), 8, 8, 8);
    return true;
  };
  const auto write = [&](std::int64_t i, const ResourcePayload& payload, const Md5Digest& digest) {
    job.OutFile = job.OutDir + job.FileName + "_CHR" + std::to_string(i) + ".zkp";
    job.ResName = base + HexText(static_cast<std::uint64_t>(i));
    bool wrote = WriteZkpContainer(job, payload, digest, ResourceType::Chr, ctx);
    if (text.IsOpen()) {
      text.Text() += "' - BG" + std::to_string(i) + "\r";
      WriteChrData(text.Text(), payload, 8, 8, static_cast<int>(i));
      wrote = text.Flush(ctx) && wrote;
    }
    return wrote;
  };
  ok = MakeAndWritePayloads(banks, make, write) && ok;
  job.OutFile = job.OutDir + job.FileName + "_SCR.zkp";
  job.ResName = base;
  ok = WriteZkpContainer(job, ScrPayloadFromMap(screen.Map), ResourceType::Scr, ctx) && ok;
  if (text.IsOpen()) {
    // The picture's cells, row by row, 16 cells of 4 hex digits to a line.
    text.Text() +=
        "' SCREEN MAP " + std::to_string(image.Width / 8) + "x" + std::to_string(image.Height / 8) + "\r";
    for (int cy = 0; cy < image.Height / 8; ++cy) {
      for (int cx = 0; cx < image.Width / 8; cx += 16) {
        text.Text() += "DATA \"";
        for (int x = cx; x < std::min(cx + 16, image.Width / 8); ++x) {
          const std::uint16_t cell = screen.Map[static_cast<std::size_t>(cy * kScreenSide + x)];
          const std::string hex = HexText(cell);
          text.Text() += std::string(4 - hex.size(), '0') + hex;
        }
        text.Text() += "\"\r";
      }
    }
  }
  return text.Finish(ctx) && ok;
}

}  // namespace granvel
