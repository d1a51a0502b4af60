// One set of 8x8 tiles that the screen maps of one or more pictures place: each tile stored once, a tile
// equal to a stored one flipped across, down or both found as that one; the palettes the tiles are drawn
// with; and how many tiles each picture added.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "convert/context.h"
#include "encode/image/bmp.h"
#include "encode/text/scr.h"
#include "format/palettes.h"

namespace granvel {

// One tile: 64 palette slots of 0 to 15, row by row.
using Tile = std::array<std::uint8_t, 64>;

inline constexpr std::size_t kSetTileLimit = 1024;  // the cell's tile number has 10 bits
inline constexpr std::size_t kBankTiles = 256;      // tiles of one CHR bank
inline constexpr std::size_t kSetBankLimit = kSetTileLimit / kBankTiles;

class TileSet {
 public:
  // A set of several pictures (`shared`) names them in its refusals; a set of one refuses as one screen.
  explicit TileSet(bool shared = false);

  // Starts from CHR banks made before (their 8192 data bytes, bank 0 first): tile i of bank k keeps the
  // number 256k + i, and the set holds the tiles up to its last non-empty one. Before any picture.
  void StartFrom(const std::vector<std::vector<std::uint8_t>>& banks);
  // Fixes the palettes to a COL's colour words (`colName` names it in refusals). Before any picture.
  void FixPalettes(const std::vector<std::uint16_t>& words, const std::string& colName);
  // Adds no tile: a picture that needs one is refused.
  void FixTiles() { fixedTiles_ = true; }

  // Maps `image` onto the set: its cells into `map` (cells outside the picture 0), each tile that the set
  // holds neither as it is nor flipped appended. Indexed pictures keep their indices: a tile's palette bank
  // is the high nibble its visible pixels share, and an entry a picture uses must hold the colour that an
  // earlier picture, or a fixed COL, has there. True-colour tiles are packed into palettes of 15 colour
  // words (slot 0 is transparent) in the order the set meets them, or take the first palette of a fixed COL
  // that holds their colours. False with the reason in `ctx` (`name` names the picture); the set is then as
  // it was.
  bool Add(const BmpImage& image, const std::string& name, const ConvertContext& ctx, ScreenMap& map);

  std::size_t TileCount() const { return tiles_.size(); }  // the empty tile 0 included
  std::size_t BankCount() const { return (tiles_.size() + kBankTiles - 1) / kBankTiles; }
  // The CHR payload of bank `bank`: tiles 256 x bank on, the rest of the bank 0.
  ResourcePayload BankPayload(std::size_t bank) const;
  // The COL payload: a fixed COL's words; the palettes packed for true-colour pictures; or the first indexed
  // picture's palette with the entries later pictures used first.
  ResourcePayload ColPayload() const;
  // Palettes used: those packed for true-colour pictures, else the banks that non-empty cells name.
  std::size_t PaletteCount() const;
  // "612 of 1024 tiles, 3 of 16 palettes".
  std::string BudgetText() const;
  // How many tiles the last picture added.
  std::size_t LastAdded() const { return added_.empty() ? 0 : added_.back().Tiles; }

 private:
  enum class Kind { None, Indexed, TrueColour };
  struct Key {
    std::array<std::uint64_t, 4> Rows{};  // two rows of 8 nibbles a word
    bool operator==(const Key& other) const { return Rows == other.Rows; }
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const;
  };
  struct Added {
    std::string Name;
    std::size_t Tiles = 0;
  };
  // Each cell of a picture as a tile of palette slots and the palette bank it is drawn with.
  struct Cells {
    std::vector<Tile> Tiles;
    std::vector<std::uint8_t> Banks;
  };

  static Key KeyOf(const Tile& tile);
  static Key Flipped(const Key& key, bool horizontal, bool vertical);
  bool IndexedCells(const BmpImage& image, const ConvertContext& ctx, Cells& cells,
                    std::array<std::uint16_t, 256>& col, std::array<int, 256>& usedBy) const;
  bool PackedCells(const BmpImage& image, const std::string& name, const ConvertContext& ctx, Cells& cells,
                   std::vector<std::vector<std::uint16_t>>& palettes) const;
  bool FixedColourCells(const BmpImage& image, const ConvertContext& ctx, Cells& cells) const;
  std::string BudgetRefusal(const std::string& name, std::size_t total, std::size_t added) const;
  void Forget(std::size_t count);

  bool shared_;
  bool fixedTiles_ = false;
  bool fixedPalettes_ = false;
  Kind kind_ = Kind::None;
  std::vector<Tile> tiles_;
  std::unordered_map<Key, std::uint16_t, KeyHash> lookup_;  // each stored tile as it is: its number
  std::size_t startTiles_ = 0;                              // tiles of the banks started from
  bool startedFromBanks_ = false;
  std::string colName_;
  std::array<std::uint16_t, 256> col_{};  // indexed pictures or a fixed COL: the set's palette
  std::array<int, 256> usedBy_{};         // indexed pictures: the picture that used an entry first, or -1
  std::vector<std::vector<std::uint16_t>> palettes_;  // true colour: slots 1 to 15 of each palette
  std::uint16_t transparent_ = 0;                     // true colour: slot 0 of every palette
  bool hasTransparent_ = false;
  std::uint16_t banksUsed_ = 0;  // the palette banks that non-empty cells name
  std::vector<Added> added_;
};

}  // namespace granvel
