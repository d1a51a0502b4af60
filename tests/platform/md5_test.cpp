#include "platform/md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace granvel {
namespace {

std::string Hex(const Md5Digest& digest) {
  std::string hex;
  char pair[3];
  for (std::uint8_t b : digest) {
    std::snprintf(pair, sizeof pair, "%02x", b);
    hex += pair;
  }
  return hex;
}

TEST(ComputeMd5, MatchesTheRfc1321TestSuite) {
  struct Row {
    std::string text, digest;
  };
  for (const Row& row :
       {Row{"", "d41d8cd98f00b204e9800998ecf8427e"}, Row{"abc", "900150983cd24fb0d6963f7d28e17f72"},
        Row{"message digest", "f96b697d7cb7938d525a2f31aaf161d0"}}) {
    Md5Digest digest;
    ASSERT_TRUE(ComputeMd5(reinterpret_cast<const std::uint8_t*>(row.text.data()), row.text.size(), digest));
    EXPECT_EQ(Hex(digest), row.digest) << row.text;
  }
}

}  // namespace
}  // namespace granvel
