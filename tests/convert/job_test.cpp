#include "convert/job.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::TempDir;

ConvertSettings Defaults() {
  ConvertSettings s;
  s.ToolDir = "C:\\tool";
  s.User = "D:\\out";
  return s;
}

TEST(MakeConvertJob, ClassifiesByExtensionNameAndSettings) {
  struct Row {
    std::string path;
    int toScr, toMem, convertType;
    JobKind kind;
  };
  const Row rows[] = {
      {"x.BMP", 1, 1, 257, JobKind::Bitmap},           {"t.zkp", 1, 1, 257, JobKind::ZkpFile},
      {"Map_SCR.TXT", 1, 1, 257, JobKind::ScrText},    {"Map_SCR.TXT", 0, 1, 257, JobKind::PrgText},
      {"Map.rscr", 0, 0, 257, JobKind::ScrText},       {"Notes_mem.txt", 1, 1, 257, JobKind::MemText},
      {"Notes_mem.txt", 1, 0, 257, JobKind::PrgText},  {"mem.txt", 1, 1, 257, JobKind::PrgText},
      {"Notes_mem2.txt", 1, 1, 257, JobKind::PrgText}, {"_scr.txt", 1, 1, 257, JobKind::ScrText},
      {"x.bmpx", 1, 1, 257, JobKind::BinaryData},      {"x.png", 1, 1, 257, JobKind::BinaryData},
      {"noext", 1, 1, 257, JobKind::BinaryData},       {"x.bmp", 1, 1, 266, JobKind::BinaryData},
      {"x.txt", 1, 1, 266, JobKind::BinaryData},       {"x.zkp", 1, 1, 266, JobKind::BinaryData},
      {"x.bmp", 1, 1, 265, JobKind::Bitmap},
  };
  for (const Row& row : rows) {
    ConvertSettings s = Defaults();
    s.PRG_To_SCR = row.toScr;
    s.PRG_To_MEM = row.toMem;
    s.ConvertType = static_cast<std::uint16_t>(row.convertType);
    EXPECT_EQ(MakeConvertJob("C:\\data\\" + row.path, false, s).Kind, row.kind)
        << row.path << " " << row.convertType;
  }
}

TEST(MakeConvertJob, SplitsPathsLikeTheWindowsSplitterOnEveryPlatform) {
  struct Row {
    std::string path, dir, name, ext;
  };
  const Row rows[] = {
      {"C:\\dir\\sub\\a.bmp", "\\dir\\sub\\", "a", ".bmp"},
      {"C:\\data\\a.b.txt", "\\data\\", "a.b", ".txt"},
      {"/home/u/Map_SCR.TXT", "/home/u/", "Map_SCR", ".txt"},
      {"mixed/dir\\x.Zkp", "mixed/dir\\", "x", ".zkp"},
      {"plain", "", "plain", ""},
      {"C:file.Txt", "", "file", ".txt"},
      {"dir.d/noext", "dir.d/", "noext", ""},
  };
  for (const Row& row : rows) {
    const ConvertJob job = MakeConvertJob(row.path, false, Defaults());
    EXPECT_EQ(job.Path, row.path);
    EXPECT_EQ(job.Dir, row.dir) << row.path;
    EXPECT_EQ(job.FileName, row.name) << row.path;
    EXPECT_EQ(job.Ext, row.ext) << row.path;
    EXPECT_TRUE(job.OutFile.empty());
    EXPECT_TRUE(job.ResName.empty());
  }
}

TEST(MakeConvertJob, OutputFolderFollowsSelect) {
  struct Row {
    int select;
    std::string outDir;
  };
  for (const Row& row :
       {Row{768, "C:\\data\\"}, Row{769, "C:\\tool/"}, Row{770, "D:\\out/"}, Row{5, "C:\\tool/"}}) {
    ConvertSettings s = Defaults();
    s.Select = row.select;
    EXPECT_EQ(MakeConvertJob("C:\\data\\Hero.bmp", false, s).OutDir, row.outDir) << row.select;
  }
  EXPECT_EQ(MakeConvertJob("Hero.bmp", false, Defaults()).OutDir, "");
}

TEST(MakeConvertJob, MakesTheZkpAndPerFileFoldersOnDemand) {
  TempDir dir;
  ConvertSettings s = Defaults();
  const ConvertJob hero = MakeConvertJob(dir / "Hero.bmp", true, s);
  EXPECT_EQ(hero.Kind, JobKind::Bitmap);
  EXPECT_EQ(hero.OutDir, dir.Path() + "/ZKP/Hero/");
  EXPECT_TRUE(IsDirectory(hero.OutDir));

  // An existing ZKP folder is used as it is; a ".zkp" input gets no per-file folder.
  const ConvertJob title = MakeConvertJob(dir / "Title.zkp", true, s);
  EXPECT_EQ(title.Kind, JobKind::ZkpFile);
  EXPECT_EQ(title.OutDir, dir.Path() + "/ZKP/");
  EXPECT_EQ(dir.List("ZKP"), std::vector<std::string>{"Hero"});

  s.Select = 770;
  s.User = dir / "user";
  ASSERT_TRUE(test::Exists(dir.Path()));
  std::string error;
  const ConvertJob missing = MakeConvertJob(dir / "Hero.bmp", true, s, &error);
  EXPECT_EQ(missing.Kind, JobKind::FolderFailed);
  EXPECT_NE(error.find("user/ZKP/"), std::string::npos) << error;
  EXPECT_FALSE(test::Exists(dir / "user"));
}

TEST(MakeConvertJob, WithoutMakeFoldersNothingIsCreated) {
  TempDir dir;
  const ConvertJob job = MakeConvertJob(dir / "Hero.bmp", false, Defaults());
  EXPECT_EQ(job.OutDir, dir.Path() + "/");
  EXPECT_TRUE(dir.List().empty());
}

TEST(HasExtension, ComparesWholeExtensionAgainstTheLoweredPattern) {
  ConvertJob job;
  job.Ext = ".txt";
  EXPECT_TRUE(HasExtension(job, ".TXT"));
  EXPECT_FALSE(HasExtension(job, ".tx"));
  EXPECT_FALSE(HasExtension(job, ".txt2"));
  job.FileName = "Notes_MEM";
  EXPECT_TRUE(NameEndsWith(job, "_mem"));
  EXPECT_FALSE(NameEndsWith(job, "x_Notes_mem"));
}

}  // namespace
}  // namespace granvel
