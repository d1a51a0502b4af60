// Taking a ".zkp" file held in memory apart: its 36-byte header and the resources stored one after another
// from offset 36 on. Nothing here writes a file; the decoder, the inspector, the package builder (a slot
// given a ".zkp") and the reader of COL palette files walk with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace granvel {

struct ContainerHeader {
  std::string Magic;             // the first 4 bytes, "PX01" in a file the system wrote
  std::uint32_t StoredSize = 0;  // the size field: bytes after the header
  std::uint32_t Type = 0;        // the ResourceType code
  std::string Name;              // the 8-byte name field up to its first zero byte, unchanged
};

// Reads the header fields. False with a reason when the file is shorter than the 36-byte header; nothing in
// the header is checked otherwise.
bool ReadContainerHeader(std::span<const std::uint8_t> file, ContainerHeader& header, std::string& reason);

// True when the digest at offset 20 is the MD5 of the brand word "ZORIKAMU" followed by every byte from
// offset 36 to the end of the file. False for a file shorter than the header.
bool ContainerDigestMatches(std::span<const std::uint8_t> file);

// One stored resource as the walk found it.
struct StoredResource {
  std::size_t Offset = 0;      // where the walk started on it: the family word of its tag, normally
  std::string Letters;         // its three type letters, "PRG", "CHR", "COL", "GRP", "SCR" or "MEM"
  std::size_t DataOffset = 0;  // the file offset just past the type letters
  std::size_t DataSize = 0;    // the data bytes it consumes (PRG: the 12 header bytes and the program)
  std::span<const std::uint8_t> Data;  // those bytes (PRG: the program alone)
  // PRG only: the header words. A package stores its slot mask in the first two.
  std::uint32_t MaskHigh = 0;
  std::uint32_t MaskLow = 0;
  std::uint32_t ProgramLength = 0;
};

// The data bytes of a resource of the five fixed-size kinds, or 0 for any other letters.
std::size_t FixedDataSize(std::string_view letters);

// Walks the resources of a container from offset 36. Each resource is the 12 bytes of its tag after the brand
// word (8 bytes are skipped, then the bytes up to the next "R"), its three type letters and its data. A
// program is followed by zero to three padding bytes up to a multiple of 4 of the file offset.
class ResourceWalk {
 public:
  enum class Step { Resource, End, Malformed };

  explicit ResourceWalk(std::span<const std::uint8_t> file) : file_(file) {}

  // The next resource; End once the walk has reached the end of the file; Malformed with a reason naming the
  // file offset for bytes that hold no resource, unknown type letters or a resource cut short.
  Step Next(StoredResource& resource, std::string& reason);

 private:
  std::span<const std::uint8_t> file_;
  std::size_t position_ = 36;
};

// The first resource of type `letters` in a container held in memory. False with a reason (the walk's, or
// "no CHR resource") when there is none.
bool FindResource(std::span<const std::uint8_t> file, std::string_view letters, StoredResource& resource,
                  std::string& reason);

}  // namespace granvel
