// The screen text reader: BGPUT statements, one cell each, read by a state machine over the bytes in memory.
#include <cstdio>
#include <string>

#include "encode/text/scr.h"

namespace granvel {
namespace {

constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kLf = 0x0A;
constexpr std::uint32_t kHReverse = 0x400;
constexpr std::uint32_t kVReverse = 0x800;

enum class State {
  LineStart,  // blanks so far at most
  K1,         // "B" read
  K2,         // "BG"
  K3,         // "BGP"
  K4,         // "BGPU"
  K5,         // "BGPUT": a blank must follow
  Layer,      // skipping the layer argument up to its comma
  X,
  Y,
  Number,
  Palette,
  HReverse,
  VReverse,
  Quoted,  // inside a quoted four-digit value
  Done,    // the statement is stored; only the rest of its line follows
};

enum class Radix { Decimal, Ampersand, Hex };

struct Argument {
  std::uint32_t value = 0;  // wraps past 32 bits
  int digits = 0;
  Radix radix = Radix::Decimal;
  bool negative = false;
  bool ended = false;  // a blank followed its digits
};

bool IsArgumentState(State s) {
  return s >= State::X;
}

class ScreenTextReader {
 public:
  explicit ScreenTextReader(ScreenMap& map) : map_(map) {}

  // Takes one byte; false when it cannot be accepted, with the reason in Reason(). The common bytes (a
  // comment's, a decimal digit, a blank before an argument) take the short way.
  bool Feed(std::uint8_t byte) {
    const bool lineEnd = byte == kCr || byte == kLf;
    if (comment_)
      return lineEnd ? Act(byte) : true;
    if (state_ == State::Layer && !lineEnd) {
      if (byte == ',')
        state_ = State::X;
      return true;
    }
    if (IsArgumentState(state_) && !arg_.ended && arg_.radix == Radix::Decimal) {
      if (byte >= '0' && byte <= '9') {
        AddDigit(byte - '0');
        return true;
      }
      if (byte == ' ' && arg_.digits == 0 && !quoted_)
        return true;
    }
    return Act(byte);
  }

  // The end of the text: complete as a line end would, unless nothing is pending.
  bool Finish() {
    if (state_ == State::LineStart)
      return true;
    atEnd_ = true;
    return Feed(kCr);
  }

  const std::string& Reason() const { return reason_; }

 private:
  // What a byte does by the full table (outside a comment, or the line end that closes one).
  bool Act(std::uint8_t byte) {
    const bool lineEnd = byte == kCr || byte == kLf;
    if (state_ == State::Layer) {
      if (lineEnd)
        return Unexpected(byte);
      if (byte == ',')
        state_ = State::X;
      return true;
    }
    switch (byte) {
      case '\t':
      case ' ':
        return Blank(byte);
      case kCr:
      case kLf:
        return LineEnd(byte);
      case '\'':
        if (state_ != State::LineStart && state_ != State::Done)
          return Unexpected(byte);
        comment_ = true;
        return true;
      case 'B':
      case 'b':
        if (state_ != State::LineStart)
          return HexLetter(byte, 11);
        state_ = State::K1;
        return true;
      case 'G':
      case 'g':
        return Keyword(byte, State::K1, State::K2);
      case 'P':
      case 'p':
        return Keyword(byte, State::K2, State::K3);
      case 'U':
      case 'u':
        return Keyword(byte, State::K3, State::K4);
      case 'T':
      case 't':
        return Keyword(byte, State::K4, State::K5);
      case '&':
        if (!IsArgumentState(state_) || arg_.radix != Radix::Decimal || arg_.digits > 0)
          return Unexpected(byte);
        arg_.radix = Radix::Ampersand;
        return true;
      case 'H':
      case 'h':
        if (!IsArgumentState(state_) || arg_.radix != Radix::Ampersand || arg_.digits > 0)
          return Unexpected(byte);
        arg_.radix = Radix::Hex;
        return true;
      case '-':
        if ((state_ != State::X && state_ != State::Y && state_ != State::HReverse &&
             state_ != State::VReverse) ||
            arg_.negative)
          return Unexpected(byte);
        arg_.negative = true;
        return true;
      case '"':
        return Quote(byte);
      case ',':
        return Comma(byte);
      default:
        break;
    }
    if (byte >= '0' && byte <= '9')
      return Digit(byte, byte - '0');
    if ((byte >= 'A' && byte <= 'F') || (byte >= 'a' && byte <= 'f'))
      return HexLetter(byte, (byte | 0x20) - 'a' + 10);
    return true;  // any other byte counts for nothing
  }

  [[gnu::cold, gnu::noinline]] bool Fail(const char* reason) {
    reason_ = reason;
    return false;
  }
  [[gnu::cold, gnu::noinline]] bool FailRange(const char* what, std::uint32_t value, int top) {
    reason_ = std::string(what) + " " + std::to_string(value) + " is above " + std::to_string(top);
    return false;
  }

  [[gnu::cold, gnu::noinline]] bool Unexpected(std::uint8_t byte) {
    if (atEnd_)
      return Fail("the file ends inside a statement");
    if (byte == kCr || byte == kLf)
      return Fail("unexpected line end");
    if (byte == ' ' || byte == '\t')
      return Fail("unexpected blank");
    char text[32];
    if (byte > 0x20 && byte < 0x7F)
      std::snprintf(text, sizeof text, "unexpected '%c'", byte);
    else
      std::snprintf(text, sizeof text, "unexpected byte 0x%02X", byte);
    reason_ = text;
    return false;
  }

  bool NeedDigits() {
    if (arg_.digits > 0)
      return true;
    return Fail(atEnd_ ? "the file ends inside a statement" : "an argument has no digits");
  }

  void FreshArgument() { arg_ = Argument{}; }
  void FreshStatement() {
    FreshArgument();
    x_ = y_ = 0;
    cell_ = 0;
    quoted_ = false;
  }
  void EndLine() {
    state_ = State::LineStart;
    comment_ = false;
    FreshStatement();
  }
  void Store(bool lineEnd) {
    map_[static_cast<std::size_t>(y_) * kScreenSide + x_] = static_cast<std::uint16_t>(cell_);
    FreshStatement();
    state_ = lineEnd ? State::LineStart : State::Done;
  }
  // The argument as a coordinate: its value with its sign, modulo 64, from 0 to 63.
  int Coordinate() const {
    const int v = static_cast<int>(arg_.value % kScreenSide);
    return arg_.negative ? (kScreenSide - v) % kScreenSide : v;
  }

  bool Keyword(std::uint8_t byte, State from, State to) {
    if (state_ != from)
      return Unexpected(byte);
    state_ = to;
    return true;
  }

  bool Blank(std::uint8_t byte) {
    if (state_ == State::K5) {
      state_ = State::Layer;
      return true;
    }
    if (state_ == State::LineStart)
      return true;
    if (!IsArgumentState(state_) || quoted_)
      return Unexpected(byte);
    if (arg_.digits > 0) {
      arg_.ended = true;
      if (state_ == State::VReverse) {
        if (arg_.value != 0)
          cell_ |= kVReverse;
        Store(false);
      }
    }
    return true;
  }

  bool LineEnd(std::uint8_t byte) {
    switch (state_) {
      case State::LineStart:
        EndLine();
        return true;
      case State::Number:
        if (!NeedDigits())
          return false;
        cell_ = arg_.value;
        Store(true);
        return true;
      case State::VReverse:
        if (!NeedDigits())
          return false;
        if (arg_.value != 0)
          cell_ |= kVReverse;
        Store(true);
        return true;
      case State::Done:
        if (arg_.digits > 0)
          return Fail("digits after a complete statement");
        EndLine();
        return true;
      default:
        return Unexpected(byte);
    }
  }

  bool Digit(std::uint8_t byte, unsigned digit) {
    if (!IsArgumentState(state_))
      return Unexpected(byte);
    if (arg_.radix == Radix::Ampersand)
      return Fail("'&' must be followed by 'H'");
    if (arg_.ended)
      return Unexpected(byte);
    AddDigit(digit);
    return true;
  }

  bool HexLetter(std::uint8_t byte, unsigned digit) {
    if (arg_.radix != Radix::Hex || arg_.ended)
      return Unexpected(byte);
    AddDigit(digit);
    return true;
  }

  void AddDigit(unsigned digit) {
    arg_.value = arg_.value * (arg_.radix == Radix::Hex ? 16u : 10u) + digit;
    ++arg_.digits;
  }

  bool Quote(std::uint8_t byte) {
    if (state_ == State::Number && arg_.digits == 0) {
      quoted_ = true;
      arg_.radix = Radix::Hex;
      state_ = State::Quoted;
      return true;
    }
    if (state_ != State::Quoted)
      return Unexpected(byte);
    if (arg_.digits != 4)
      return Fail("a quoted value needs exactly 4 hexadecimal digits");
    cell_ = arg_.value;
    Store(false);
    return true;
  }

  bool Comma(std::uint8_t byte) {
    switch (state_) {
      case State::X:
      case State::Y:
      case State::Number:
      case State::Palette:
      case State::HReverse:
        break;
      default:
        return Unexpected(byte);
    }
    if (!NeedDigits())
      return false;
    switch (state_) {
      case State::X:
        x_ = Coordinate();
        state_ = State::Y;
        break;
      case State::Y:
        y_ = Coordinate();
        state_ = State::Number;
        break;
      case State::Number:
        cell_ = arg_.value;
        state_ = State::Palette;
        break;
      case State::Palette:
        if (cell_ >= 1024)
          return FailRange("character number", cell_, 1023);
        if (arg_.value > 15)
          return FailRange("palette", arg_.value, 15);
        cell_ += arg_.value * 4096;
        state_ = State::HReverse;
        break;
      default:  // HReverse
        if (arg_.value != 0)
          cell_ |= kHReverse;
        state_ = State::VReverse;
        break;
    }
    FreshArgument();
    return true;
  }

  ScreenMap& map_;
  State state_ = State::LineStart;
  bool comment_ = false;
  bool atEnd_ = false;
  bool quoted_ = false;
  Argument arg_;
  int x_ = 0, y_ = 0;
  std::uint32_t cell_ = 0;
  std::string reason_;
};

}  // namespace

bool ReadScreenText(std::span<const std::uint8_t> text, ScreenMap& map, std::string& error) {
  ScreenTextReader reader(map);
  std::size_t i = 0;
  while (i < text.size() && reader.Feed(text[i]))
    ++i;
  if (i == text.size() && reader.Finish())
    return true;
  // Find the place: lines end with CR, LF or CR LF.
  std::size_t line = 1, lineStart = 0;
  for (std::size_t k = 0; k < i; ++k) {
    if (text[k] == kCr || (text[k] == kLf && !(k > 0 && text[k - 1] == kCr)))
      ++line;
    if (text[k] == kCr || text[k] == kLf)
      lineStart = k + 1;
  }
  error = "line " + std::to_string(line);
  if (i < text.size())
    error += ", column " + std::to_string(i - lineStart + 1);
  error += ": " + reader.Reason();
  return false;
}

}  // namespace granvel
