// MD5 with nothing to load or look up first. The 64 steps are written out once, for one message in plain
// words and for 16 messages in vectors (GCC's vector types: SSE2 registers on x86-64). The second round's
// choice is added as two halves that do not depend on each other, which shortens each step's chain.
#include "platform/md5.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

// Passing a 64-byte vector would differ between builds with and without AVX-512; these functions are this
// file's own, so no other code depends on how they pass it.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace granvel {
namespace {

constexpr std::size_t kBlockSize = 64;
constexpr int kLanes = kMd5Lanes;
// Fewer messages than this are hashed one by one: the 16 lanes cost about as much as 5 single messages.
constexpr std::size_t kFewestSideBySide = 6;

using Lanes = std::uint32_t __attribute__((vector_size(4 * kLanes)));
using State = std::array<std::uint32_t, 4>;
constexpr State kInitialState = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};

// The message words are little-endian whatever the machine.
std::uint32_t LoadLE(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

// One step of each round, a = b + ((a + f(b, c, d) + x + t) <<< s), for a word or a vector of words.
template <typename W>
W Rotl(W x, int s) {
  return (x << s) | (x >> (32 - s));
}
template <typename W>
void F(W& a, W b, W c, W d, W x, int s, std::uint32_t t) {
  a += x + t;
  a += d ^ (b & (c ^ d));
  a = Rotl(a, s) + b;
}
template <typename W>
void G(W& a, W b, W c, W d, W x, int s, std::uint32_t t) {
  a += x + t;
  a += ~d & c;  // (b & d) | (c & ~d): the halves never share a bit, so they can be added
  a += d & b;
  a = Rotl(a, s) + b;
}
template <typename W>
void H(W& a, W b, W c, W d, W x, int s, std::uint32_t t) {
  a += x + t;
  a += b ^ c ^ d;
  a = Rotl(a, s) + b;
}
template <typename W>
void I(W& a, W b, W c, W d, W x, int s, std::uint32_t t) {
  a += x + t;
  a += c ^ (b | ~d);
  a = Rotl(a, s) + b;
}

// The compression function over one block's 16 words `x`.
template <typename W>
inline __attribute__((always_inline)) void Compress(W& a, W& b, W& c, W& d, const W (&x)[16]) {
  const W a0 = a, b0 = b, c0 = c, d0 = d;
  F(a, b, c, d, x[0], 7, 0xd76aa478), F(d, a, b, c, x[1], 12, 0xe8c7b756);
  F(c, d, a, b, x[2], 17, 0x242070db), F(b, c, d, a, x[3], 22, 0xc1bdceee);
  F(a, b, c, d, x[4], 7, 0xf57c0faf), F(d, a, b, c, x[5], 12, 0x4787c62a);
  F(c, d, a, b, x[6], 17, 0xa8304613), F(b, c, d, a, x[7], 22, 0xfd469501);
  F(a, b, c, d, x[8], 7, 0x698098d8), F(d, a, b, c, x[9], 12, 0x8b44f7af);
  F(c, d, a, b, x[10], 17, 0xffff5bb1), F(b, c, d, a, x[11], 22, 0x895cd7be);
  F(a, b, c, d, x[12], 7, 0x6b901122), F(d, a, b, c, x[13], 12, 0xfd987193);
  F(c, d, a, b, x[14], 17, 0xa679438e), F(b, c, d, a, x[15], 22, 0x49b40821);

  G(a, b, c, d, x[1], 5, 0xf61e2562), G(d, a, b, c, x[6], 9, 0xc040b340);
  G(c, d, a, b, x[11], 14, 0x265e5a51), G(b, c, d, a, x[0], 20, 0xe9b6c7aa);
  G(a, b, c, d, x[5], 5, 0xd62f105d), G(d, a, b, c, x[10], 9, 0x02441453);
  G(c, d, a, b, x[15], 14, 0xd8a1e681), G(b, c, d, a, x[4], 20, 0xe7d3fbc8);
  G(a, b, c, d, x[9], 5, 0x21e1cde6), G(d, a, b, c, x[14], 9, 0xc33707d6);
  G(c, d, a, b, x[3], 14, 0xf4d50d87), G(b, c, d, a, x[8], 20, 0x455a14ed);
  G(a, b, c, d, x[13], 5, 0xa9e3e905), G(d, a, b, c, x[2], 9, 0xfcefa3f8);
  G(c, d, a, b, x[7], 14, 0x676f02d9), G(b, c, d, a, x[12], 20, 0x8d2a4c8a);

  H(a, b, c, d, x[5], 4, 0xfffa3942), H(d, a, b, c, x[8], 11, 0x8771f681);
  H(c, d, a, b, x[11], 16, 0x6d9d6122), H(b, c, d, a, x[14], 23, 0xfde5380c);
  H(a, b, c, d, x[1], 4, 0xa4beea44), H(d, a, b, c, x[4], 11, 0x4bdecfa9);
  H(c, d, a, b, x[7], 16, 0xf6bb4b60), H(b, c, d, a, x[10], 23, 0xbebfbc70);
  H(a, b, c, d, x[13], 4, 0x289b7ec6), H(d, a, b, c, x[0], 11, 0xeaa127fa);
  H(c, d, a, b, x[3], 16, 0xd4ef3085), H(b, c, d, a, x[6], 23, 0x04881d05);
  H(a, b, c, d, x[9], 4, 0xd9d4d039), H(d, a, b, c, x[12], 11, 0xe6db99e5);
  H(c, d, a, b, x[15], 16, 0x1fa27cf8), H(b, c, d, a, x[2], 23, 0xc4ac5665);

  I(a, b, c, d, x[0], 6, 0xf4292244), I(d, a, b, c, x[7], 10, 0x432aff97);
  I(c, d, a, b, x[14], 15, 0xab9423a7), I(b, c, d, a, x[5], 21, 0xfc93a039);
  I(a, b, c, d, x[12], 6, 0x655b59c3), I(d, a, b, c, x[3], 10, 0x8f0ccc92);
  I(c, d, a, b, x[10], 15, 0xffeff47d), I(b, c, d, a, x[1], 21, 0x85845dd1);
  I(a, b, c, d, x[8], 6, 0x6fa87e4f), I(d, a, b, c, x[15], 10, 0xfe2ce6e0);
  I(c, d, a, b, x[6], 15, 0xa3014314), I(b, c, d, a, x[13], 21, 0x4e0811a1);
  I(a, b, c, d, x[4], 6, 0xf7537e82), I(d, a, b, c, x[11], 10, 0xbd3af235);
  I(c, d, a, b, x[2], 15, 0x2ad7d2bb), I(b, c, d, a, x[9], 21, 0xeb86d391);
  a += a0, b += b0, c += c0, d += d0;
}

// One message's blocks from `p` on.
void Blocks(State& state, const std::uint8_t* p, std::size_t count) {
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (; count > 0; --count, p += kBlockSize) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i)
      x[i] = LoadLE(p + 4 * i);
    Compress(a, b, c, d, x);
  }
  state = {a, b, c, d};
}

// The first `count` blocks of 16 messages, side by side: lane l of each vector belongs to message l.
void LaneBlocks(State (&states)[kLanes], const std::uint8_t* const (&messages)[kLanes], std::size_t count) {
  Lanes a = {}, b = {}, c = {}, d = {};
  for (int l = 0; l < kLanes; ++l)
    a[l] = states[l][0], b[l] = states[l][1], c[l] = states[l][2], d[l] = states[l][3];
  for (std::size_t block = 0; block < count; ++block) {
    Lanes x[16];
    for (int l = 0; l < kLanes; ++l) {
      const std::uint8_t* p = messages[l] + block * kBlockSize;
      for (int i = 0; i < 16; ++i)
        x[i][l] = LoadLE(p + 4 * i);
    }
    Compress(a, b, c, d, x);
  }
  for (int l = 0; l < kLanes; ++l)
    states[l] = {a[l], b[l], c[l], d[l]};
}

// Hashes what follows the `done` whole blocks already in `state`: the other whole blocks, then the rest with
// the bit 1 after it, zeros and the length in bits (64-bit little-endian), which make one or two blocks.
Md5Digest Finish(State state, std::span<const std::uint8_t> bytes, std::size_t done) {
  const std::size_t whole = bytes.size() / kBlockSize;
  Blocks(state, bytes.data() + done * kBlockSize, whole - done);
  std::uint8_t tail[2 * kBlockSize] = {};
  const std::size_t rest = bytes.size() % kBlockSize;
  if (rest > 0)
    std::memcpy(tail, bytes.data() + whole * kBlockSize, rest);
  tail[rest] = 0x80;
  const std::size_t tailSize = rest < kBlockSize - 8 ? kBlockSize : 2 * kBlockSize;
  const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
  for (int i = 0; i < 8; ++i)
    tail[tailSize - 8 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  Blocks(state, tail, tailSize / kBlockSize);

  Md5Digest digest;
  for (int w = 0; w < 4; ++w)
    for (int i = 0; i < 4; ++i)
      digest[4 * w + i] = static_cast<std::uint8_t>(state[w] >> (8 * i));
  return digest;
}

}  // namespace

Md5Digest ComputeMd5(std::span<const std::uint8_t> bytes) {
  return Finish(kInitialState, bytes, 0);
}

void ComputeMd5s(std::span<const std::span<const std::uint8_t>> messages, std::span<Md5Digest> digests) {
  const std::size_t count = std::min(messages.size(), digests.size());
  std::size_t first = 0;
  while (count - first >= kFewestSideBySide) {
    // A group of fewer than 16 fills its empty lanes with its first message and keeps their results out.
    const std::size_t used = std::min<std::size_t>(kLanes, count - first);
    const std::uint8_t* starts[kLanes];
    std::size_t shared = messages[first].size() / kBlockSize;
    for (std::size_t l = 0; l < kLanes; ++l) {
      const std::span<const std::uint8_t> message = messages[first + (l < used ? l : 0)];
      starts[l] = message.data();
      shared = std::min(shared, message.size() / kBlockSize);
    }
    State states[kLanes];
    std::fill(std::begin(states), std::end(states), kInitialState);
    LaneBlocks(states, starts, shared);
    for (std::size_t l = 0; l < used; ++l)
      digests[first + l] = Finish(states[l], messages[first + l], shared);
    first += used;
  }
  for (; first < count; ++first)
    digests[first] = ComputeMd5(messages[first]);
}

}  // namespace granvel
