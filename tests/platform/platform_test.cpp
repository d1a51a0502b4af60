// The platform layer: profile keys, whole-file reads, atomic outputs, folders, output identities, MD5, sinks,
// the PNG encoder.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "platform/windows_text.h"
#else
#include <sys/resource.h>

#include <csignal>
#endif
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "platform/files.h"
#include "platform/ini.h"
#include "platform/md5.h"
#include "platform/output_sink.h"
#include "platform/png_decoder.h"
#include "platform/png_encoder.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

TEST(IniProfile, IgnoresCaseKeepsCommentsAndForeignKeysAndUpdatesInPlace) {
  test::TempDir dir;
  test::WriteText(dir / "a.ini",
                  "; my notes\n[convert]\ndata_type=0\nMine=yes\n[Directory]\nUser=\"C:\\out\"\n");
  IniProfile ini;
  std::string error;
  ASSERT_TRUE(ini.Load(dir / "a.ini", error)) << error;
  EXPECT_EQ(ini.GetInt("Convert", "DATA_Type", -1), 0);
  EXPECT_EQ(ini.GetInt("Convert", "WideMode", -1), -1);
  EXPECT_EQ(ini.GetString("DIRECTORY", "user", ""), "C:\\out");
  ini.SetInt("CONVERT", "Data_Type", 1);
  ASSERT_TRUE(ini.Save(dir / "a.ini", error)) << error;
  const std::string text = test::ReadText(dir / "a.ini");
  for (const char* kept : {"; my notes", "Mine=yes", "data_type=1"})
    EXPECT_NE(text.find(kept), std::string::npos) << kept << " in\n" << text;
  EXPECT_TRUE(ini.Load(dir / "none.ini", error));  // a missing file is an empty profile
  EXPECT_EQ(ini.GetInt("Convert", "DATA_Type", 7), 7);
  EXPECT_FALSE(ini.Save(dir / "no/a.ini", error));  // the writer's reason reaches the caller
  EXPECT_EQ(error,
            "cannot create a file in the folder of " + dir / "no/a.ini" + ": No such file or directory");
}

TEST(EnsureDirectory, MakesOneLevelAndAcceptsAnExistingFolder) {
  test::TempDir dir;
  std::string error;
  EXPECT_TRUE(EnsureDirectory(dir / "a", error) && EnsureDirectory(dir / "a", error));
  EXPECT_FALSE(EnsureDirectory(dir / "b/c", error));
  EXPECT_FALSE(std::filesystem::exists(dir / "b"));
  // Every level, split at the system's separators only: "\\" is a name's own on Linux.
  ASSERT_TRUE(EnsureDirectories(dir / "b/c\\d", error)) << error;
  EXPECT_TRUE(std::filesystem::is_directory(dir / "b/c\\d"));
  EXPECT_EQ(std::filesystem::exists(dir / "b/c"), kPathSeparators.size() == 2);
  // Past the classic 260-character path limit, and a name in UTF-8 that the system sees as its characters.
  std::string deep = dir.Path();
  for (char level = 'a'; level < 'f'; ++level) {
    deep += "/" + std::string(60, level);
    ASSERT_TRUE(EnsureDirectory(deep, error)) << error;
  }
  const std::string name = "\xE6\x97\xA5\xE6\x9C\xAC \xE8\xAA\x9E.bin";  // "日本 語.bin"
  for (const std::string& folder : {deep, dir / "a"}) {
    ASSERT_TRUE(WriteWholeFile(folder + "/" + name, {1, 2, 3}, error)) << error;
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(folder + "/" + name, back, error)) << error;
    EXPECT_EQ(back, (std::vector<std::uint8_t>{1, 2, 3}));
  }
  const std::u8string seen = std::filesystem::directory_iterator(dir / "a")->path().filename().u8string();
  EXPECT_EQ(std::string(seen.begin(), seen.end()), name);
  // Threads making the same folders at once (a project's assets building into one folder) all succeed.
  std::vector<std::thread> threads;
  std::atomic<int> failed{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      std::string reason;
      for (int i = 0; i < 50; ++i)
        failed += EnsureDirectories(dir / ("race/" + std::to_string(i) + "/x"), reason) ? 0 : 1;
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(failed, 0);
}

// Two spellings of one file are one identity, whether a run asks once or many times; a folder that is missing
// when first asked is resolved once it exists.
TEST(PathIdentities, OneFileIsOneIdentityAndALaterFolderIsResolvedWhenMade) {
  test::TempDir dir;
  std::string error;
  ASSERT_TRUE(EnsureDirectory(dir / "a", error)) << error;
  PathIdentities run;
  const std::string plain = run.Of(dir / "a/x.zkp");
  EXPECT_EQ(plain, PathIdentity(dir / "a/x.zkp"));
  EXPECT_EQ(run.Of(dir / "a/../a/x.zkp"), plain);
  EXPECT_EQ(run.Of(dir / "a/./x.zkp"), plain);
  EXPECT_NE(run.Of(dir / "a/y.zkp"), plain);
  EXPECT_NE(run.Of(dir / "x.zkp"), plain);

#ifndef _WIN32  // Windows makes a full path without asking the file system
  EXPECT_EQ(run.Of(dir / "b/../b/x.zkp"), dir / "b/../b/x.zkp");  // no folder b yet: the path as written
#endif
  ASSERT_TRUE(EnsureDirectory(dir / "b", error)) << error;
  EXPECT_EQ(run.Of(dir / "b/../b/x.zkp"), run.Of(dir / "b/x.zkp"));
  EXPECT_EQ(run.Of(dir / "b/x.zkp"), PathIdentity(dir / "b/x.zkp"));
}

// Paths as a user reads them: with the system's own separator, the folder of a file for a file manager.
TEST(DisplayPath, UsesTheSystemsSeparatorAndShownFolderOfAFile) {
#ifdef _WIN32
  EXPECT_EQ(DisplayPath("C:\\a/ZKP/b\\x.zkp"), "C:\\a\\ZKP\\b\\x.zkp");
  EXPECT_EQ(ShownFolderOf("C:\\a\\x.zkp"), "C:\\a\\");
#else
  EXPECT_EQ(DisplayPath("/a/ZKP/b\\x.zkp"), "/a/ZKP/b\\x.zkp");  // "\\" is a name's own on Linux
#endif
  EXPECT_EQ(ShownFolderOf("out/ZKP/x.zkp") + "|" + ShownFolderOf("x.zkp"), "out/ZKP/|.");
}

TEST(OutputFile, FailuresLeaveTheOlderFileAndNothingElse) {
  test::TempDir dir;
  test::WriteText(dir / "old", "older");
  std::string error;
  EXPECT_FALSE(WriteWholeFile("", {1}, error) || WriteWholeFile(dir / "", {1}, error) ||
               WriteWholeFile(dir / "no/such", {1}, error));
#ifdef _WIN32
  // Another program holds the older file without sharing it: the move over it fails after its retries.
  HANDLE held = ::CreateFileW(windows::Widen(dir / "old").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteWholeFile(dir / "old", std::vector<std::uint8_t>(1000, 7), error));
  ::CloseHandle(held);
  EXPECT_EQ(error.rfind("cannot replace " + dir / "old" + ": ", 0), 0u) << error;
#else
  rlimit saved{};  // a full disk: writes past 100 bytes fail, in this process for a moment
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{100, saved.rlim_max};
  ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool wrote = WriteWholeFile(dir / "old", std::vector<std::uint8_t>(1000, 7), error);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(error, "cannot write " + dir / "old" + ": File too large");
#endif
  EXPECT_EQ(test::ReadText(dir / "old"), "older");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Digests from RFC 1321's own list and from coreutils' md5sum: each padding case (the length fits in the last
// block, or needs one more) on both sides of 56 and 64 bytes, and many blocks of every byte value.
TEST(ComputeMd5, MatchesTheKnownDigestsAtEveryPaddingBoundaryOneByOneOrSideBySide) {
  const auto hex = [](const std::string& bytes) {
    const Md5Digest digest = ComputeMd5({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    std::string text;
    for (const std::uint8_t byte : digest)
      text += "0123456789abcdef"[byte >> 4], text += "0123456789abcdef"[byte & 15];
    return text;
  };
  const std::pair<std::string, const char*> rows[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
      {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
      {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
      {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
      {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
      {std::string(119, 'a'), "8a7bd0732ed6a28ce75f6dabc90e1613"},
      {std::string(120, 'a'), "5f61c0ccad4cac44c75ff505e1f1e537"},
  };
  for (const auto& [bytes, digest] : rows)
    EXPECT_EQ(hex(bytes), digest) << bytes.size() << " bytes";
  std::string everyByte;
  for (int i = 0; i < 256000; ++i)
    everyByte.push_back(static_cast<char>(i & 0xFF));
  EXPECT_EQ(hex(everyByte), "1da708a75e25110b1341d16814feb52d");

  // Side by side: 22 messages (a group of 16, then one of 6 with ten empty lanes), each of its own bytes and
  // length, so that a lane read from another message or stopped at the shortest one's blocks shows.
  std::vector<std::span<const std::uint8_t>> messages;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(everyByte.data());
  for (std::size_t i = 0; i < 22; ++i)
    messages.emplace_back(bytes + 7 * i, 49164 - 2203 * i);
  std::vector<Md5Digest> digests(messages.size());
  ComputeMd5s(messages, digests);
  for (std::size_t i = 0; i < messages.size(); ++i)
    EXPECT_EQ(digests[i], ComputeMd5(messages[i])) << "message " << i;
}

TEST(MemorySink, KeepsWhatWasWrittenAndNeverAFileAndAFolderOfOneName) {
  MemorySink sink;
  std::string error;
  EXPECT_TRUE(sink.EnsureFolder("out/ZKP_A/", error));
  EXPECT_TRUE(sink.WriteFile("out/ZKP_A/a.txt", {1, 2}, error));
  EXPECT_TRUE(sink.WriteFile("out/ZKP_A/a.txt", {3}, error));
  EXPECT_EQ(sink.Files.at("out/ZKP_A/a.txt"), std::vector<std::uint8_t>{3});
  EXPECT_FALSE(sink.WriteFile("out/ZKP_A", {}, error));
  EXPECT_FALSE(sink.EnsureFolder("out/ZKP_A/a.txt", error));
}

// Every index comes back through the decoder, those of identical colours too (entries 2k and 2k + 1 share
// one), and the file is an 8-bit palette PNG: the signature, then IHDR with the size, depth 8 and type 3.
TEST(EncodeIndexedPng, DecodesBackToItsIndicesAndAll256PaletteEntries) {
  PngPalette palette;
  for (int i = 0; i < 256; ++i)
    palette[i] = {static_cast<std::uint8_t>(i / 2 * 2), 0x80, static_cast<std::uint8_t>(255 - i / 2 * 2)};
  const std::uint8_t header[] = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (const auto& [width, height] : {std::pair{1u, 1u}, {5u, 3u}, {256u, 1u}, {40u, 512u}}) {
    std::vector<std::uint8_t> indices(std::size_t{width} * height), file;
    for (std::size_t i = 0; i < indices.size(); ++i)
      indices[i] = static_cast<std::uint8_t>(i * 7 + i / width);
    std::string error;
    ASSERT_TRUE(EncodeIndexedPng(width, height, indices, palette, file, error)) << error;
    ASSERT_GT(file.size(), 33u);
    EXPECT_TRUE(std::equal(std::begin(header), std::end(header), file.begin()));
    EXPECT_EQ(file[16] << 24 | file[17] << 16 | file[18] << 8 | file[19], static_cast<int>(width));
    EXPECT_EQ(file[20] << 24 | file[21] << 16 | file[22] << 8 | file[23], static_cast<int>(height));
    EXPECT_EQ(file[24], 8);
    EXPECT_EQ(file[25], 3);
    DecodedPng png;
    ASSERT_TRUE(DecodePng(file, png, error)) << error;
    EXPECT_TRUE(png.Indexed && png.BitDepth == 8 && png.Width == width && png.Height == height);
    EXPECT_EQ(png.Indices, indices) << width << " x " << height;
    EXPECT_TRUE(std::equal(palette.begin(), palette.end(), png.Palette.begin(), png.Palette.end()));
  }
  std::vector<std::uint8_t> file{1};
  std::string error;
  EXPECT_FALSE(EncodeIndexedPng(4, 2, std::vector<std::uint8_t>(7), palette, file, error));
  EXPECT_EQ(error, "cannot encode the PNG: 7 indices for 4 x 2 pixels");
  EXPECT_TRUE(file.empty());
}

}  // namespace
}  // namespace granvel
