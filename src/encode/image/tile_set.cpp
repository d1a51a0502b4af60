#include "encode/image/tile_set.h"

#include <algorithm>
#include <bit>

#include "format/bytes.h"
#include "format/tiles.h"

namespace granvel {
namespace {

constexpr int kMaxSide = 512;
constexpr std::size_t kPaletteColours = 15;
constexpr std::size_t kPalettes = 16;

std::string Cell(std::size_t x, std::size_t y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// "#RRGGBB" of a colour word, as the handheld shows it.
std::string ColourText(std::uint16_t word) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto entry = ColourTableEntry(word);  // blue, green, red, 0
  std::string text = "#";
  for (const int c : {2, 1, 0}) {
    text += kDigits[entry[c] >> 4];
    text += kDigits[entry[c] & 15];
  }
  return text;
}

std::uint64_t SwapHalves(std::uint64_t rows) {
  return (rows << 32) | (rows >> 32);
}

// The distinct visible indices of the cell at (cx, cy) of a true-colour picture, in ascending order.
std::size_t VisibleIndices(const BmpImage& image, std::size_t cx, std::size_t cy,
                           std::array<std::uint8_t, 64>& list) {
  std::array<std::uint64_t, 4> seen{};
  for (std::size_t y = 0; y < 8; ++y) {
    const std::uint8_t* row = &image.Pixels[(8 * cy + y) * static_cast<std::size_t>(image.Width) + 8 * cx];
    for (std::size_t x = 0; x < 8; ++x) {
      if (!(image.ZeroIsTransparent && row[x] == 0))
        seen[row[x] >> 6] |= std::uint64_t{1} << (row[x] & 63);
    }
  }
  std::size_t count = 0;
  for (std::size_t w = 0; w < 4; ++w) {
    for (std::uint64_t bits = seen[w]; bits != 0; bits &= bits - 1)
      list[count++] = static_cast<std::uint8_t>(64 * w + static_cast<std::size_t>(std::countr_zero(bits)));
  }
  return count;
}

// The tile of a true-colour cell whose index k is drawn with slot slotOf[k] (transparent pixels with 0).
Tile SlotTile(const BmpImage& image, std::size_t cx, std::size_t cy,
              const std::array<std::uint8_t, 256>& slotOf) {
  Tile tile{};
  for (std::size_t y = 0; y < 8; ++y) {
    const std::uint8_t* row = &image.Pixels[(8 * cy + y) * static_cast<std::size_t>(image.Width) + 8 * cx];
    for (std::size_t x = 0; x < 8; ++x)
      tile[8 * y + x] = image.ZeroIsTransparent && row[x] == 0 ? 0 : slotOf[row[x]];
  }
  return tile;
}

std::uint16_t WordAt(const BmpImage& image, std::size_t index) {
  return GetU16LE(&image.ColPayload[kTagSize + 2 * index]);
}

bool TooManyColours(std::size_t count, std::size_t cx, std::size_t cy, const ConvertContext& ctx) {
  return count > kPaletteColours &&
         !ctx.Fail("the tile at cell " + Cell(cx, cy) + " has " + std::to_string(count) +
                   " colours; a palette holds 15 and the transparent one");
}

// Each 8 x 8 cell of `image` in reading order: its visible indices are listed (a cell of more than 15 colours
// is refused), `bankOf(cx, cy, list, count, slotOf)` gives its palette bank, filling `slotOf` for those
// indices, or -1 once it has recorded why the cell fails; the cell's tile of slots and its bank are appended.
template <class BankOf>
bool AppendCells(const BmpImage& image, const ConvertContext& ctx, std::vector<Tile>& tiles,
                 std::vector<std::uint8_t>& banks, BankOf bankOf) {
  const std::size_t columns = static_cast<std::size_t>(image.Width) / 8,
                    rows = static_cast<std::size_t>(image.Height) / 8;
  std::array<std::uint8_t, 64> list{};
  std::array<std::uint8_t, 256> slotOf{};
  for (std::size_t cy = 0; cy < rows; ++cy) {
    for (std::size_t cx = 0; cx < columns; ++cx) {
      const std::size_t count = VisibleIndices(image, cx, cy, list);
      if (TooManyColours(count, cx, cy, ctx))
        return false;
      const int bank = bankOf(cx, cy, list, count, slotOf);
      if (bank < 0)
        return false;
      tiles.push_back(SlotTile(image, cx, cy, slotOf));
      banks.push_back(static_cast<std::uint8_t>(bank));
    }
  }
  return true;
}

}  // namespace

std::size_t TileSet::KeyHash::operator()(const Key& key) const {
  std::uint64_t h = 0x9E3779B97F4A7C15u;
  for (const std::uint64_t rows : key.Rows) {
    h = (h ^ rows) * 0xBF58476D1CE4E5B9u;
    h ^= h >> 31;
  }
  return static_cast<std::size_t>(h);
}

TileSet::Key TileSet::KeyOf(const Tile& tile) {
  Key key;
  for (std::size_t y = 0; y < 8; ++y) {
    std::uint64_t row = 0;
    for (std::size_t x = 0; x < 8; ++x)
      row |= std::uint64_t{tile[8 * y + x]} << (4 * x);
    key.Rows[y / 2] |= row << (32 * (y % 2));
  }
  return key;
}

TileSet::Key TileSet::Flipped(const Key& key, bool horizontal, bool vertical) {
  Key out;
  for (std::size_t w = 0; w < 4; ++w) {
    std::uint64_t rows = vertical ? SwapHalves(key.Rows[3 - w]) : key.Rows[w];
    if (horizontal) {
      // The 16 nibbles of the two rows reversed, then each row back in its own half.
      rows = ((rows & 0x0F0F0F0F0F0F0F0Fu) << 4) | ((rows >> 4) & 0x0F0F0F0F0F0F0F0Fu);
      rows = SwapHalves(__builtin_bswap64(rows));
    }
    out.Rows[w] = rows;
  }
  return out;
}

TileSet::TileSet(bool shared) : shared_(shared), tiles_(1, Tile{}) {
  lookup_.emplace(KeyOf(Tile{}), 0);
  usedBy_.fill(-1);
}

void TileSet::StartFrom(const std::vector<std::vector<std::uint8_t>>& banks) {
  std::vector<Tile> read;
  std::size_t end = 1;
  for (const std::vector<std::uint8_t>& bank : banks) {
    for (std::size_t i = 0; i < kBankTiles && 32 * i + 32 <= bank.size(); ++i) {
      Tile tile{};
      for (std::size_t p = 0; p < 64; ++p) {
        const std::uint8_t pair = bank[32 * i + p / 2];
        tile[p] = p % 2 == 0 ? pair & 0x0F : pair >> 4;
      }
      read.push_back(tile);
      if (tile != Tile{})
        end = read.size();
    }
  }
  read.resize(std::max<std::size_t>(end, 1));
  read[0] = Tile{};  // the bank reader refuses a tile 0 that is not empty
  for (std::size_t i = 1; i < read.size(); ++i)
    lookup_.emplace(KeyOf(read[i]), static_cast<std::uint16_t>(i));
  tiles_ = std::move(read);
  startTiles_ = tiles_.size();
  startedFromBanks_ = true;
}

void TileSet::FixPalettes(const std::vector<std::uint16_t>& words, const std::string& colName) {
  col_.fill(0);
  std::copy_n(words.begin(), std::min(words.size(), col_.size()), col_.begin());
  fixedPalettes_ = true;
  colName_ = colName;
}

bool TileSet::IndexedCells(const BmpImage& image, const ConvertContext& ctx, Cells& cells,
                           std::array<std::uint16_t, 256>& col, std::array<int, 256>& usedBy) const {
  const std::size_t columns = static_cast<std::size_t>(image.Width) / 8,
                    rows = static_cast<std::size_t>(image.Height) / 8;
  std::array<bool, 256> used{};
  for (std::size_t cy = 0; cy < rows; ++cy) {
    for (std::size_t cx = 0; cx < columns; ++cx) {
      Tile tile{};
      unsigned banks = 0;
      for (std::size_t y = 0; y < 8; ++y) {
        const std::uint8_t* row =
            &image.Pixels[(8 * cy + y) * static_cast<std::size_t>(image.Width) + 8 * cx];
        for (std::size_t x = 0; x < 8; ++x) {
          tile[8 * y + x] = row[x] & 0x0F;
          if ((row[x] & 0x0F) != 0) {
            banks |= 1u << (row[x] >> 4);
            used[row[x]] = true;
          }
        }
      }
      if (std::popcount(banks) > 1) {
        std::string list;
        for (unsigned b = 0; b < 16; ++b) {
          if (banks & (1u << b))
            list += (list.empty() ? "" : ", ") + std::to_string(b);
        }
        return ctx.Fail("the tile at cell " + Cell(cx, cy) + " mixes palette banks " + list);
      }
      cells.Tiles.push_back(tile);
      cells.Banks.push_back(static_cast<std::uint8_t>(banks == 0 ? 0 : std::countr_zero(banks)));
    }
  }
  // Every entry the picture shows must hold the colour it held for the pictures before, or the fixed COL's.
  const int picture = static_cast<int>(added_.size());
  if (kind_ == Kind::None && !fixedPalettes_) {
    for (std::size_t v = 0; v < 256; ++v)
      col[v] = WordAt(image, v);
  }
  for (std::size_t v = 0; v < 256; ++v) {
    const std::uint16_t word = WordAt(image, v);
    if (!used[v] || word == col[v] || (!fixedPalettes_ && usedBy[v] < 0)) {
      if (used[v] && usedBy[v] < 0) {
        col[v] = word;
        usedBy[v] = picture;
      }
      continue;
    }
    const std::string where =
        fixedPalettes_
            ? "the COL " + colName_ + " (Palette_File=" + colName_ + " matches the picture to it by colour)"
            : added_[static_cast<std::size_t>(usedBy[v])].Name + ", which used it first";
    return ctx.Fail("palette entry " + std::to_string(v) + " is " + ColourText(word) + " here but " +
                    ColourText(col[v]) + " in " + where);
  }
  return true;
}

bool TileSet::PackedCells(const BmpImage& image, const std::string& name, const ConvertContext& ctx,
                          Cells& cells, std::vector<std::vector<std::uint16_t>>& palettes) const {
  const auto bankOf = [&](std::size_t, std::size_t, const std::array<std::uint8_t, 64>& list,
                          std::size_t count, std::array<std::uint8_t, 256>& slotOf) {
    // The first palette that takes the cell's colours beside the ones it holds; a new one when none does.
    std::size_t p = 0;
    for (; p < palettes.size(); ++p) {
      std::size_t both = palettes[p].size();
      for (std::size_t k = 0; k < count; ++k)
        both += std::count(palettes[p].begin(), palettes[p].end(), WordAt(image, list[k])) == 0 ? 1 : 0;
      if (both <= kPaletteColours)
        break;
    }
    if (p == palettes.size())
      palettes.emplace_back();
    for (std::size_t k = 0; k < count; ++k) {
      const std::uint16_t word = WordAt(image, list[k]);
      auto at = std::find(palettes[p].begin(), palettes[p].end(), word);
      if (at == palettes[p].end())
        at = palettes[p].insert(palettes[p].end(), word);
      slotOf[list[k]] = static_cast<std::uint8_t>(at - palettes[p].begin() + 1);
    }
    return static_cast<int>(p);
  };
  if (!AppendCells(image, ctx, cells.Tiles, cells.Banks, bankOf))
    return false;
  if (palettes.size() <= kPalettes)
    return true;
  const std::string count = std::to_string(palettes.size());
  return ctx.Fail(shared_
                      ? name + " takes the set to " + count + " palettes of 15 colours, past 16"
                      : "the picture's colours need " + count + " palettes of 15 colours; a screen has 16");
}

bool TileSet::FixedColourCells(const BmpImage& image, const ConvertContext& ctx, Cells& cells) const {
  const auto bankOf = [&](std::size_t cx, std::size_t cy, const std::array<std::uint8_t, 64>& list,
                          std::size_t count, std::array<std::uint8_t, 256>& slotOf) {
    // The first palette of the COL whose slots 1 to 15 hold every colour of the cell.
    for (std::size_t bank = 0; bank < kPalettes; ++bank) {
      const auto first = col_.begin() + static_cast<std::ptrdiff_t>(16 * bank + 1), last = first + 15;
      std::size_t k = 0;
      for (; k < count; ++k) {
        const auto at = std::find(first, last, WordAt(image, list[k]));
        if (at == last)
          break;
        slotOf[list[k]] = static_cast<std::uint8_t>(at - first + 1);
      }
      if (k == count)
        return static_cast<int>(bank);
    }
    ctx.Fail("the tile at cell " + Cell(cx, cy) + " fits no palette of the COL " + colName_ +
             ": none holds all of its " + std::to_string(count) + " colours");
    return -1;
  };
  return AppendCells(image, ctx, cells.Tiles, cells.Banks, bankOf);
}

bool TileSet::Add(const BmpImage& image, const std::string& name, const ConvertContext& ctx, ScreenMap& map) {
  if (image.Width % 8 != 0 || image.Height % 8 != 0)
    return ctx.Fail("a screen is cut into 8 x 8 cells: " + std::to_string(image.Width) + " x " +
                    std::to_string(image.Height) + " is not a multiple of 8");
  if (image.Width > kMaxSide || image.Height > kMaxSide)
    return ctx.Fail("the picture of " + std::to_string(image.Width) + " x " + std::to_string(image.Height) +
                    " pixels is larger than the 512 x 512 screen");
  const Kind kind = image.TrueColour ? Kind::TrueColour : Kind::Indexed;
  if (kind_ != Kind::None && kind != kind_)
    return ctx.Fail(std::string("this picture is ") + (image.TrueColour ? "true colour" : "indexed") +
                    " and the set holds " + (image.TrueColour ? "indexed" : "true-colour") + " pictures (" +
                    added_.front().Name +
                    " first): a set keeps indexed pictures' palette indices or packs true-colour pictures' "
                    "colours, not both");
  if (kind == Kind::TrueColour && startedFromBanks_ && !fixedPalettes_)
    return ctx.Fail(
        "a true-colour picture needs the COL of the banks it adds to (--col): their tiles hold "
        "palette slots, whose colours only that COL gives");

  Cells cells;
  cells.Tiles.reserve(static_cast<std::size_t>(image.Width / 8) * static_cast<std::size_t>(image.Height / 8));
  std::array<std::uint16_t, 256> col = col_;
  std::array<int, 256> usedBy = usedBy_;
  std::vector<std::vector<std::uint16_t>> palettes = palettes_;
  const bool packed = kind == Kind::TrueColour && !fixedPalettes_;
  if (!(kind == Kind::Indexed ? IndexedCells(image, ctx, cells, col, usedBy)
        : packed              ? PackedCells(image, name, ctx, cells, palettes)
                              : FixedColourCells(image, ctx, cells)))
    return false;

  // Each tile once: a cell takes a stored tile when it equals that tile or one of its flips.
  map.fill(0);
  const std::size_t before = tiles_.size(), columns = static_cast<std::size_t>(image.Width) / 8;
  std::size_t missing = 0, firstMissing = 0;
  unsigned banksUsed = 0;
  for (std::size_t i = 0; i < cells.Tiles.size(); ++i) {
    const Key key = KeyOf(cells.Tiles[i]);
    std::size_t number = 0;
    unsigned flips = 0;
    for (; flips < 4; ++flips) {
      const auto at = lookup_.find(flips == 0 ? key : Flipped(key, flips & 1, flips & 2));
      if (at != lookup_.end()) {
        number = at->second;
        break;
      }
    }
    if (flips == 4) {
      flips = 0;
      if (fixedTiles_) {
        firstMissing = missing++ == 0 ? i : firstMissing;
        continue;
      }
      number = tiles_.size();
      lookup_.emplace(key, static_cast<std::uint16_t>(number));
      tiles_.push_back(cells.Tiles[i]);
    }
    if (number != 0)
      banksUsed |= 1u << cells.Banks[i];
    map[(i / columns) * kScreenSide + i % columns] =
        static_cast<std::uint16_t>((number & 0x3FF) + 1024 * flips + 4096 * cells.Banks[i]);
  }
  if (missing > 0)
    return ctx.Fail("cell " + Cell(firstMissing % columns, firstMissing / columns) + " of " + name +
                    " needs a tile not in the set" +
                    (missing > 1 ? ", as do " + std::to_string(missing - 1) + " more cells" : ""));
  if (tiles_.size() > kSetTileLimit) {
    const std::size_t total = tiles_.size();
    Forget(before);
    return ctx.Fail(shared_ ? BudgetRefusal(name, total, total - before)
                            : "the picture has " + std::to_string(total) +
                                  " unique tiles with the empty one; a screen holds 1024");
  }

  kind_ = kind;
  col_ = col;
  usedBy_ = usedBy;
  palettes_ = std::move(palettes);
  if (packed && image.ZeroIsTransparent && !hasTransparent_) {
    transparent_ = WordAt(image, 0);
    hasTransparent_ = true;
  }
  banksUsed_ = static_cast<std::uint16_t>(banksUsed_ | banksUsed);
  added_.push_back({name, tiles_.size() - before});
  return true;
}

std::string TileSet::BudgetRefusal(const std::string& name, std::size_t total, std::size_t added) const {
  std::string parts = startedFromBanks_ ? "the banks read held " + std::to_string(startTiles_) : "";
  bool first = true;
  const auto part = [&](const std::string& picture, std::size_t tiles) {
    parts += (parts.empty() ? "" : ", ") + picture + (first ? " added " : " ") + std::to_string(tiles);
    first = false;
  };
  for (const Added& earlier : added_)
    part(earlier.Name, earlier.Tiles);
  part(name, added);
  return name + " takes the set to " + std::to_string(total) + " tiles with the empty one, past " +
         std::to_string(kSetTileLimit) + " (" + parts + ")";
}

void TileSet::Forget(std::size_t count) {
  for (std::size_t i = count; i < tiles_.size(); ++i)
    lookup_.erase(KeyOf(tiles_[i]));
  tiles_.resize(count);
}

ResourcePayload TileSet::BankPayload(std::size_t bank) const {
  // The bank's tiles one below the other: a picture 8 pixels wide that the tile payload builder cuts.
  const std::size_t first = std::min(kBankTiles * bank, tiles_.size()),
                    last = std::min(first + kBankTiles, tiles_.size());
  std::vector<std::uint8_t> column;
  column.reserve(64 * (last - first));
  for (std::size_t i = first; i < last; ++i)
    column.insert(column.end(), tiles_[i].begin(), tiles_[i].end());
  const PixelGrid grid{column, 8, static_cast<std::int32_t>(8 * (last - first))};
  return BuildTilePayload(grid, kChrBlockPixels, 0, 8, 8, 8);
}

ResourcePayload TileSet::ColPayload() const {
  ResourcePayload col = NewPayload(kTagCol, kColPayloadSize);
  if (kind_ == Kind::TrueColour && !fixedPalettes_) {
    for (std::size_t p = 0; p < palettes_.size(); ++p) {
      PutU16LE(&col[kTagSize + 32 * p], transparent_);
      for (std::size_t c = 0; c < palettes_[p].size(); ++c)
        PutU16LE(&col[kTagSize + 32 * p + 2 * (c + 1)], palettes_[p][c]);
    }
    return col;
  }
  for (std::size_t v = 0; v < col_.size(); ++v)
    PutU16LE(&col[kTagSize + 2 * v], col_[v]);
  return col;
}

std::size_t TileSet::PaletteCount() const {
  if (kind_ == Kind::TrueColour && !fixedPalettes_)
    return palettes_.size();
  return static_cast<std::size_t>(std::popcount(banksUsed_));
}

std::string TileSet::BudgetText() const {
  return std::to_string(tiles_.size()) + " of " + std::to_string(kSetTileLimit) + " tiles, " +
         std::to_string(PaletteCount()) + " of 16 palettes";
}

}  // namespace granvel
