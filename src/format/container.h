// The ".zkp" container every resource file has, the resource tags and types, and resource names.
//
// Layout: "PX01", stored size (u32), type (u32), 8-byte name, 16-byte MD5 digest, then the stored payload.
// The digest covers the whole payload buffer including its 8-byte brand word "ZORIKAMU", which is not stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/context.h"
#include "convert/job.h"
#include "platform/md5.h"

namespace granvel {

// A payload as builders return it: the 20-byte tag, then the resource data. Empty means the builder failed.
using ResourcePayload = std::vector<std::uint8_t>;

enum class ResourceType : std::uint32_t {
  Prg = 0,  // programs, and every package
  Mem = 1,
  Grp = 2,
  Chr = 3,
  Scr = 4,
  Col = 5,
};

inline constexpr std::size_t kContainerHeaderSize = 36;
inline constexpr std::size_t kTagSize = 20;
inline constexpr std::size_t kBrandSize = 8;
inline constexpr std::string_view kContainerMagic = "PX01";
inline constexpr std::string_view kBrandWord = "ZORIKAMU";

// The six resource tags, 20 bytes each, without terminator.
inline constexpr std::string_view kTagPrg = "ZORIKAMUQAVN0300RPRG";
inline constexpr std::string_view kTagMem = "ZORIKAMUQAVN0200RMEM";
inline constexpr std::string_view kTagGrp = "ZORIKAMUQAVN0100RGRP";
inline constexpr std::string_view kTagChr = "ZORIKAMUQAVN0100RCHR";
inline constexpr std::string_view kTagScr = "ZORIKAMUQAVN0100RSCR";
inline constexpr std::string_view kTagCol = "ZORIKAMUQAVN0100RCOL";

// Payload sizes, tag included.
inline constexpr std::size_t kMemPayloadSize = 536;
inline constexpr std::size_t kGrpPayloadSize = 49172;
inline constexpr std::size_t kChrPayloadSize = 8212;
inline constexpr std::size_t kScrPayloadSize = 8212;
inline constexpr std::size_t kColPayloadSize = 532;

// A payload of `size` bytes (tag included), zero-filled behind `tag`.
ResourcePayload NewPayload(std::string_view tag, std::size_t size);

// The handheld's resource name for a file name: at most its first 8 bytes, small letters capitalised, cut at
// the first control byte, byte from 0x80 up, or one of "{|}~" and DEL. Empty when nothing is left.
std::string MakeResourceName(const std::string& fileName);
// MakeResourceName, or `fallback` when it gives no name.
std::string ResourceNameOr(const std::string& fileName, const std::string& fallback);
// ResourceNameOr for the job's file (or for the settings' ResourceName when one is given), with a note in
// `ctx` when the name is not simply that name in capitals (cut to 8 characters, cut at a byte a name cannot
// hold, or the fallback, which every file without a usable name shares).
std::string NoteResourceName(const ConvertJob& job, const std::string& fallback, const ConvertContext& ctx);

// The whole file for a payload: header, digest and the payload without its brand word. Empty for a payload of
// 20 bytes or less (no more than its tag) or one too large for the 32-bit size field.
std::vector<std::uint8_t> BuildZkpContainer(const ResourcePayload& payload, ResourceType type,
                                            const std::string& resName);
// The same with the payload's digest already computed.
std::vector<std::uint8_t> BuildZkpContainer(const ResourcePayload& payload, ResourceType type,
                                            const std::string& resName, const Md5Digest& digest);

// Writes `payload` as a container to job.OutFile with job.ResName, atomically. A payload of 20 bytes or less
// is refused and no file is touched; a failed write leaves an older file of that name untouched. Records the
// file written or the reason in `ctx`.
bool WriteZkpContainer(const ConvertJob& job, const ResourcePayload& payload, ResourceType type,
                       const ConvertContext& ctx);
// The same with the payload's digest already computed.
bool WriteZkpContainer(const ConvertJob& job, const ResourcePayload& payload, const Md5Digest& digest,
                       ResourceType type, const ConvertContext& ctx);

// Makes payload `index`. False stops the conversion; the reason is then the maker's to record.
using PayloadMaker = std::function<bool(std::int64_t index, ResourcePayload& payload)>;
// Writes payload `index`, whose digest is given. False records a failure; the next payload follows.
using PayloadWriter =
    std::function<bool(std::int64_t index, const ResourcePayload& payload, const Md5Digest& digest)>;

// How many payloads MakeAndWritePayloads makes, digests side by side and writes as one group.
inline constexpr std::int64_t kPayloadGroup = kMd5Lanes;

// For converters that write many containers (pages, banks): payloads 0 to count - 1 are made a group of
// kPayloadGroup at a time, each group's digests computed side by side (ComputeMd5s), then written in order.
// No more than one group is held. False when a maker stopped (nothing after it is made or written) or a
// writer failed.
bool MakeAndWritePayloads(std::int64_t count, const PayloadMaker& make, const PayloadWriter& write);

}  // namespace granvel
