// MD5 computed here, with nothing to load or look up first. The 64 steps are written out so that the four
// working words stay in registers; the second round's choice is added as two halves that do not depend on
// each other, which shortens the chain from one step to the next.
#include <cstring>

#include "platform/md5.h"

namespace granvel {
namespace {

constexpr std::size_t kBlockSize = 64;

std::uint32_t Rotl(std::uint32_t x, int s) {
  return (x << s) | (x >> (32 - s));
}

// The message words are little-endian whatever the machine.
std::uint32_t LoadLE(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

void StoreLE(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// One step of each round: a = b + ((a + f(b, c, d) + x + t) <<< s).
void F(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
       std::uint32_t t) {
  a += t + x;
  a += d ^ (b & (c ^ d));
  a = Rotl(a, s) + b;
}

void G(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
       std::uint32_t t) {
  a += t + x;
  a += ~d & c;  // (b & d) | (c & ~d): the halves never share a bit, so they can be added
  a += d & b;
  a = Rotl(a, s) + b;
}

void H(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
       std::uint32_t t) {
  a += t + x;
  a += b ^ c ^ d;
  a = Rotl(a, s) + b;
}

void I(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
       std::uint32_t t) {
  a += t + x;
  a += c ^ (b | ~d);
  a = Rotl(a, s) + b;
}

// Runs the compression function over `count` whole blocks at `p`.
void Blocks(std::uint32_t (&state)[4], const std::uint8_t* p, std::size_t count) {
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (; count > 0; --count, p += kBlockSize) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i)
      x[i] = LoadLE(p + 4 * i);
    const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

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
  state[0] = a, state[1] = b, state[2] = c, state[3] = d;
}

}  // namespace

bool ComputeMd5(const std::uint8_t* data, std::size_t size, Md5Digest& digest) {
  std::uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  const std::size_t whole = size / kBlockSize;
  if (whole > 0)
    Blocks(state, data, whole);

  // The rest, the bit 1 after it, zeros and the length in bits (64-bit little-endian) make one or two blocks.
  std::uint8_t tail[2 * kBlockSize] = {};
  const std::size_t rest = size % kBlockSize;
  if (rest > 0)
    std::memcpy(tail, data + whole * kBlockSize, rest);
  tail[rest] = 0x80;
  const std::size_t tailSize = rest < kBlockSize - 8 ? kBlockSize : 2 * kBlockSize;
  const std::uint64_t bits = static_cast<std::uint64_t>(size) * 8;
  for (int i = 0; i < 8; ++i)
    tail[tailSize - 8 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  Blocks(state, tail, tailSize / kBlockSize);

  for (int i = 0; i < 4; ++i)
    StoreLE(digest.data() + 4 * i, state[i]);
  return true;
}

}  // namespace granvel
