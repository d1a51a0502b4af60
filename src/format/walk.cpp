#include "format/walk.h"

#include <algorithm>
#include <vector>

#include "format/bytes.h"
#include "format/container.h"
#include "platform/md5.h"

namespace granvel {
namespace {

constexpr std::size_t kTagSkip = 8;         // family word and version, before the scan for "R"
constexpr std::size_t kPrgHeaderSize = 12;  // mask high, mask low, program length

// Type letters as they can be shown in a reason: printable ASCII as it is, other bytes as \xNN.
std::string Printable(std::span<const std::uint8_t> bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t b : bytes) {
    if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
      text.push_back(static_cast<char>(b));
    } else {
      text += "\\x";
      text.push_back(kHex[b >> 4]);
      text.push_back(kHex[b & 15]);
    }
  }
  return text;
}

}  // namespace

bool ReadContainerHeader(std::span<const std::uint8_t> file, ContainerHeader& header, std::string& reason) {
  if (file.size() < kContainerHeaderSize) {
    reason = "the file is " + std::to_string(file.size()) + " bytes long, shorter than the " +
             std::to_string(kContainerHeaderSize) + "-byte container header";
    return false;
  }
  header.Magic.assign(file.begin(), file.begin() + 4);
  header.StoredSize = GetU32LE(&file[4]);
  header.Type = GetU32LE(&file[8]);
  header.Name.clear();
  for (std::size_t i = 12; i < 20 && file[i] != 0; ++i)
    header.Name.push_back(static_cast<char>(file[i]));
  return true;
}

bool ContainerDigestMatches(std::span<const std::uint8_t> file) {
  if (file.size() < kContainerHeaderSize)
    return false;
  std::vector<std::uint8_t> payload(kBrandWord.begin(), kBrandWord.end());
  payload.insert(payload.end(), file.begin() + kContainerHeaderSize, file.end());
  const Md5Digest digest = ComputeMd5(payload);
  return std::equal(digest.begin(), digest.end(), file.begin() + 20);
}

std::size_t FixedDataSize(std::string_view letters) {
  if (letters == "CHR" || letters == "SCR")
    return 8192;
  if (letters == "COL")
    return 512;
  if (letters == "GRP")
    return 49152;
  if (letters == "MEM")
    return 516;
  return 0;
}

ResourceWalk::Step ResourceWalk::Next(StoredResource& resource, std::string& reason) {
  const std::size_t size = file_.size();
  if (position_ >= size)
    return Step::End;
  const std::size_t start = position_;
  resource = StoredResource{};
  resource.Offset = start;

  std::size_t r = start + kTagSkip;
  while (r < size && file_[r] != 'R')
    ++r;
  if (r >= size) {
    reason = "offset " + std::to_string(start) + ": the last " + std::to_string(size - start) +
             " bytes hold no resource (no type letters before the end of the file)";
    return Step::Malformed;
  }
  if (size - r < 4) {
    reason = "offset " + std::to_string(r + 1) + ": the type letters are cut off by the end of the file";
    return Step::Malformed;
  }
  const auto letters = file_.subspan(r + 1, 3);
  resource.Letters.assign(letters.begin(), letters.end());
  const std::size_t p = r + 4;
  resource.DataOffset = p;
  const std::size_t remaining = size - p;

  if (resource.Letters == "PRG") {
    if (remaining < kPrgHeaderSize) {
      reason = "offset " + std::to_string(p) + ": the PRG header needs 12 bytes, the file holds only " +
               std::to_string(remaining);
      return Step::Malformed;
    }
    resource.MaskHigh = GetU32LE(&file_[p]);
    resource.MaskLow = GetU32LE(&file_[p + 4]);
    resource.ProgramLength = GetU32LE(&file_[p + 8]);
    if (resource.ProgramLength > remaining - kPrgHeaderSize) {
      reason = "offset " + std::to_string(p + kPrgHeaderSize) + ": the PRG resource announces " +
               std::to_string(resource.ProgramLength) + " program bytes, the file holds only " +
               std::to_string(remaining - kPrgHeaderSize);
      return Step::Malformed;
    }
    resource.DataSize = kPrgHeaderSize + resource.ProgramLength;
    resource.Data = file_.subspan(p + kPrgHeaderSize, resource.ProgramLength);
    position_ = p + resource.DataSize;
    position_ += (4 - position_ % 4) % 4;  // padding by file offset; missing padding at the end is no fault
    return Step::Resource;
  }

  const std::size_t dataSize = FixedDataSize(resource.Letters);
  if (dataSize == 0) {
    reason = "offset " + std::to_string(r + 1) + ": unknown resource type \"" + Printable(letters) + "\"";
    return Step::Malformed;
  }
  if (remaining < dataSize) {
    reason = "offset " + std::to_string(p) + ": the " + resource.Letters + " resource needs " +
             std::to_string(dataSize) + " data bytes, the file holds only " + std::to_string(remaining);
    return Step::Malformed;
  }
  resource.DataSize = dataSize;
  resource.Data = file_.subspan(p, dataSize);
  position_ = p + dataSize;
  return Step::Resource;
}

bool FindResource(std::span<const std::uint8_t> file, std::string_view letters, StoredResource& resource,
                  std::string& reason) {
  ResourceWalk walk(file);
  ResourceWalk::Step step;
  while ((step = walk.Next(resource, reason)) == ResourceWalk::Step::Resource) {
    if (resource.Letters == letters)
      return true;
  }
  if (step == ResourceWalk::Step::End)
    reason = "no " + std::string(letters) + " resource";
  return false;
}

}  // namespace granvel
