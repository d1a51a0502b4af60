// Tile sets: true-colour pictures that share their palettes, and the same pictures mapped again onto the
// set's banks and fixed COL, render back through the decoder's RenderScreen to their own colour words.
#include "encode/image/tile_set.h"

#include <gtest/gtest.h>

#include <random>

#include "decode/render.h"
#include "format/bytes.h"
#include "support/fake_host.h"

namespace granvel {
namespace {

constexpr int kColumns = 8, kRows = 6;

// Colour words of a true-colour picture, -1 for a transparent pixel. Each cell shows 2 to 9 neighbours of a
// list of 48 words (so that cells share colours and fill several palettes); a quarter of the cells are
// earlier cells flipped, some pixels are transparent.
std::vector<int> Words(std::mt19937& random) {
  std::vector<int> words(64 * kColumns * kRows);
  const auto at = [](int cell, int x, int y) {
    return (8 * (cell / kColumns) + y) * 8 * kColumns + 8 * (cell % kColumns) + x;
  };
  for (int cell = 0; cell < kColumns * kRows; ++cell) {
    const int from = static_cast<int>(random() % 40), count = 2 + static_cast<int>(random() % 8);
    const int copy =
        cell > 0 && random() % 4 == 0 ? static_cast<int>(random() % static_cast<unsigned>(cell)) : -1;
    const unsigned flips = 1 + random() % 3;
    for (int p = 0; p < 64; ++p) {
      const int x = p % 8, y = p / 8;
      words[at(cell, x, y)] = copy >= 0 ? words[at(copy, flips & 1 ? 7 - x : x, flips & 2 ? 7 - y : y)]
                              : random() % 8 == 0 ? -1
                                                  : 1 + 611 * (from + static_cast<int>(random() % count));
    }
  }
  return words;
}

// The picture as the reader gives it: index 0 transparent, the words indexed in order of first appearance.
BmpImage Image(const std::vector<int>& words) {
  BmpImage image;
  image.Width = 8 * kColumns;
  image.Height = 8 * kRows;
  image.PixelCount = image.Width * image.Height;
  image.TrueColour = image.ZeroIsTransparent = true;
  image.ColPayload = NewPayload(kTagCol, kColPayloadSize);
  std::vector<int> order{-1};
  for (const int word : words) {
    auto index = std::find(order.begin(), order.end(), word);
    if (index == order.end()) {
      PutU16LE(&image.ColPayload[kTagSize + 2 * order.size()], static_cast<std::uint16_t>(word));
      index = order.insert(order.end(), word);
    }
    image.Pixels.push_back(static_cast<std::uint8_t>(index - order.begin()));
  }
  return image;
}

TEST(TileSet, TrueColourPicturesSharingPalettesRenderBackToTheirColours) {
  std::mt19937 random(1206);
  std::vector<std::vector<int>> pictures;
  for (int i = 0; i < 3; ++i)
    pictures.push_back(Words(random));
  pictures.push_back(pictures[0]);  // a picture again: nothing added
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  TileSet shared(true), fixed(true);
  std::vector<ScreenMap> maps(pictures.size());
  for (std::size_t i = 0; i < pictures.size(); ++i)
    ASSERT_TRUE(shared.Add(Image(pictures[i]), "p.bmp", ctx, maps[i])) << report.Reason;
  EXPECT_EQ(shared.LastAdded(), 0u);
  EXPECT_GT(shared.PaletteCount(), 3u);
  std::vector<std::vector<std::uint8_t>> banks;
  for (std::size_t k = 0; k < shared.BankCount(); ++k) {
    const ResourcePayload bank = shared.BankPayload(k);
    banks.emplace_back(bank.begin() + kTagSize, bank.end());
  }
  const ResourcePayload col = shared.ColPayload();
  std::vector<std::uint16_t> words;
  for (std::size_t v = 0; v < 256; ++v)
    words.push_back(GetU16LE(&col[kTagSize + 2 * v]));
  fixed.StartFrom(banks);
  fixed.FixPalettes(words, "set_COL.zkp");
  for (TileSet* set : {&shared, &fixed}) {
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      if (set == &fixed) {
        ASSERT_TRUE(fixed.Add(Image(pictures[i]), "p.bmp", ctx, maps[i])) << report.Reason;
      }
      std::vector<std::span<const std::uint8_t>> spans;
      std::vector<ResourcePayload> payloads;
      for (std::size_t k = 0; k < set->BankCount(); ++k)
        payloads.push_back(set->BankPayload(k));
      for (const ResourcePayload& payload : payloads)
        spans.emplace_back(payload.data() + kTagSize, payload.size() - kTagSize);
      const IndexedImage back =
          RenderScreen({maps[i].begin(), maps[i].end()}, spans, 8 * kColumns, 8 * kRows);
      const ResourcePayload shownCol = set->ColPayload();
      for (std::size_t p = 0; p < back.Pixels.size(); ++p) {
        const int shown = back.Pixels[p] == 0 ? -1 : GetU16LE(&shownCol[kTagSize + 2 * back.Pixels[p]]);
        ASSERT_EQ(shown, pictures[i][p]) << "picture " << i << ", pixel " << p;
      }
    }
  }
}

}  // namespace
}  // namespace granvel
