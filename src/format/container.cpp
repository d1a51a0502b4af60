#include "format/container.h"

#include <algorithm>
#include <limits>

#include "format/bytes.h"
#include "platform/md5.h"

namespace granvel {

ResourcePayload NewPayload(std::string_view tag, std::size_t size) {
  ResourcePayload payload(std::max(size, tag.size()), 0);
  std::copy(tag.begin(), tag.end(), payload.begin());
  return payload;
}

std::string MakeResourceName(const std::string& fileName) {
  std::string name;
  for (std::size_t i = 0; i < fileName.size() && i < 8; ++i) {
    const auto byte = static_cast<unsigned char>(fileName[i]);
    if (byte < 0x20 || byte > 'z')
      break;  // control bytes, 0x7B to 0xFF end the name
    name.push_back(byte >= 'a' ? static_cast<char>(byte - 'a' + 'A') : static_cast<char>(byte));
  }
  return name;
}

std::string ResourceNameOr(const std::string& fileName, const std::string& fallback) {
  std::string name = MakeResourceName(fileName);
  return name.empty() ? fallback : name;
}

std::string NoteResourceName(const ConvertJob& job, const std::string& fallback, const ConvertContext& ctx) {
  const std::string& given = ctx.Settings().ResourceName;
  const std::string& source = given.empty() ? job.FileName : given;
  const std::string made = MakeResourceName(source);
  if (made.empty()) {
    // Every such file gets the same name: on the handheld the second replaces the first.
    ctx.Note("the name " + source + " gives no resource name (A-Z, 0-9 and ASCII signs), so it is " +
             fallback + ", as every such file is, and two of them collide on the handheld; rename the " +
             "file, or name it with convert --name NAME");
    return fallback;
  }
  if (made != UpperAscii(source))
    ctx.Note("resource name " + made + " from " + (given.empty() ? "the file name " : "the name given, ") +
             source);
  return made;
}

std::vector<std::uint8_t> BuildZkpContainer(const ResourcePayload& payload, ResourceType type,
                                            const std::string& resName) {
  return BuildZkpContainer(payload, type, resName, ComputeMd5(payload));
}

std::vector<std::uint8_t> BuildZkpContainer(const ResourcePayload& payload, ResourceType type,
                                            const std::string& resName, const Md5Digest& digest) {
  if (payload.size() <= kTagSize)
    return {};
  if (payload.size() - kBrandSize > std::numeric_limits<std::uint32_t>::max())
    return {};

  // The header is zero where no field is written; the payload after its brand is appended, not zeroed first.
  std::vector<std::uint8_t> file;
  file.reserve(kContainerHeaderSize + payload.size() - kBrandSize);
  file.resize(kContainerHeaderSize, 0);
  std::copy(kContainerMagic.begin(), kContainerMagic.end(), file.begin());
  PutU32LE(&file[4], static_cast<std::uint32_t>(payload.size() - kBrandSize));
  PutU32LE(&file[8], static_cast<std::uint32_t>(type));
  const std::size_t nameLength =
      std::min<std::size_t>(resName.find('\0'), std::min<std::size_t>(resName.size(), 8));
  std::copy_n(resName.begin(), nameLength, file.begin() + 12);
  std::copy(digest.begin(), digest.end(), file.begin() + 20);
  file.insert(file.end(), payload.begin() + kBrandSize, payload.end());
  return file;
}

bool WriteZkpContainer(const ConvertJob& job, const ResourcePayload& payload, ResourceType type,
                       const ConvertContext& ctx) {
  return WriteZkpContainer(job, payload, ComputeMd5(payload), type, ctx);
}

bool WriteZkpContainer(const ConvertJob& job, const ResourcePayload& payload, const Md5Digest& digest,
                       ResourceType type, const ConvertContext& ctx) {
  if (payload.size() <= kTagSize)
    return ctx.Fail("resource for " + job.OutFile + " holds no data");
  const std::vector<std::uint8_t> file = BuildZkpContainer(payload, type, job.ResName, digest);
  if (file.empty())
    return ctx.Fail("resource for " + job.OutFile + " is too large for a container");
  return ctx.WriteOutput(job.OutFile, file);
}

bool MakeAndWritePayloads(std::int64_t count, const PayloadMaker& make, const PayloadWriter& write) {
  std::vector<ResourcePayload> payloads;
  std::vector<std::span<const std::uint8_t>> messages;
  std::vector<Md5Digest> digests;
  bool ok = true;
  for (std::int64_t first = 0; first < count; first += kPayloadGroup) {
    const auto size = static_cast<std::size_t>(std::min(kPayloadGroup, count - first));
    payloads.resize(size);
    messages.clear();
    for (std::size_t k = 0; k < size; ++k) {
      if (!make(first + static_cast<std::int64_t>(k), payloads[k]))
        return false;
      messages.emplace_back(payloads[k]);
    }
    digests.resize(size);
    ComputeMd5s(messages, digests);
    for (std::size_t k = 0; k < size; ++k)
      ok = write(first + static_cast<std::int64_t>(k), payloads[k], digests[k]) && ok;
  }
  return ok;
}

}  // namespace granvel
