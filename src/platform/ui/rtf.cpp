#include "platform/ui/rtf.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <vector>

namespace wenmoor {
namespace {

// Destinations whose content is no part of the visible text.
constexpr std::array<std::string_view, 24> kSkippedDestinations = {
    "fonttbl",  "colortbl",    "stylesheet", "info",      "pict",        "header",   "headerl",   "headerr",
    "headerf",  "footer",      "footerl",    "footerr",   "footerf",     "object",   "fldinst",   "listtable",
    "listoverridetable", "rsidtbl", "themedata", "colorschememapping", "latentstyles", "datastore", "revtbl",
    "generator"};

// Windows-1252 bytes 0x80 to 0x9F; 0 where the code page has no character.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

uint32_t FromCp1252(uint8_t b) {
  if (b >= 0x80 && b < 0xA0) {
    char16_t c = kCp1252High[b - 0x80];
    return c ? c : 0xFFFD;
  }
  return b;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct Group {
  bool skip = false;  // inside a destination that is not shown
  int uc = 1;         // fallback characters after \uN
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view in) : in_(in) {}

  std::string Run() {
    groups_.push_back({});
    while (pos_ < in_.size()) {
      char c = in_[pos_++];
      switch (c) {
        case '{':
          groups_.push_back(groups_.back());
          first_in_group_ = true;
          continue;
        case '}':
          if (groups_.size() > 1) groups_.pop_back();
          break;
        case '\\':
          ControlWord();
          break;
        case '\r':
        case '\n':
          break;  // line breaks of the file are no part of the text
        default:
          Text(static_cast<unsigned char>(c));
          break;
      }
      first_in_group_ = false;
    }
    return std::move(out_);
  }

 private:
  bool Skipping() const { return groups_.back().skip; }

  void Text(uint32_t cp) {
    if (pending_skip_ > 0) {
      --pending_skip_;
      return;
    }
    if (!Skipping()) AppendUtf8(out_, cp);
  }

  void Emit(std::string_view s) {
    pending_skip_ = 0;
    if (!Skipping()) out_ += s;
  }

  void ControlWord() {
    if (pos_ >= in_.size()) return;
    char c = in_[pos_];
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      ++pos_;
      ControlSymbol(c);
      return;
    }
    size_t start = pos_;
    while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])) && pos_ - start < 32) ++pos_;
    std::string_view word = in_.substr(start, pos_ - start);
    bool has_param = false;
    bool negative = false;
    int64_t param = 0;
    if (pos_ < in_.size() && in_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    size_t digits = 0;
    while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
      if (digits++ < 10) param = param * 10 + (in_[pos_] - '0');
      has_param = true;
      ++pos_;
    }
    if (negative) param = -param;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
    Word(word, has_param, param);
  }

  void ControlSymbol(char c) {
    switch (c) {
      case '\\':
      case '{':
      case '}':
        Text(static_cast<unsigned char>(c));
        break;
      case '~':
        Text(0xA0);
        break;
      case '_':
        Text(0x2011);
        break;
      case '*':
        // "{\*\dest ...}": a destination this reader need not know.
        groups_.back().skip = true;
        break;
      case '\'': {
        int hi = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
        int lo = pos_ + 1 < in_.size() ? HexValue(in_[pos_ + 1]) : -1;
        if (hi < 0 || lo < 0) break;
        pos_ += 2;
        Text(FromCp1252(static_cast<uint8_t>(hi * 16 + lo)));
        break;
      }
      case '\r':
      case '\n':
        Emit("\r\n");  // "\" at the end of a line is a paragraph mark
        break;
      default:
        break;  // \- (optional hyphen) and unknown symbols show nothing
    }
  }

  void Word(std::string_view w, bool has_param, int64_t param) {
    if (first_in_group_) {
      for (std::string_view d : kSkippedDestinations)
        if (w == d) {
          groups_.back().skip = true;
          return;
        }
    }
    if (w == "par" || w == "line" || w == "row" || w == "sect" || w == "page") return Emit("\r\n");
    if (w == "tab" || w == "cell") return Emit("\t");
    if (w == "emdash") return Text(0x2014);
    if (w == "endash") return Text(0x2013);
    if (w == "bullet") return Text(0x2022);
    if (w == "lquote") return Text(0x2018);
    if (w == "rquote") return Text(0x2019);
    if (w == "ldblquote") return Text(0x201C);
    if (w == "rdblquote") return Text(0x201D);
    if (w == "emspace" || w == "enspace") return Text(' ');
    if (w == "uc" && has_param) {
      groups_.back().uc = param < 0 ? 0 : static_cast<int>(param > 16 ? 16 : param);
      return;
    }
    if (w == "u" && has_param) {
      // A signed 16-bit value: negative numbers stand for 65536 + N.
      int64_t cp = param < 0 ? param + 65536 : param;
      Text(cp >= 0 && cp <= 0x10FFFF ? static_cast<uint32_t>(cp) : 0xFFFD);
      pending_skip_ = groups_.back().uc;
      return;
    }
  }

  std::string_view in_;
  size_t pos_ = 0;
  std::vector<Group> groups_;
  std::string out_;
  bool first_in_group_ = false;
  int pending_skip_ = 0;
};

}  // namespace

bool LooksLikeRtf(std::string_view text) {
  size_t i = text.find_first_not_of(" \t\r\n");
  return i != std::string_view::npos && text.substr(i, 5) == "{\\rtf";
}

std::string RtfToPlainText(std::string_view rtf) {
  std::string text = RtfReader(rtf).Run();
  // A document usually ends with \par: that is no empty last line.
  while (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
  return text;
}

}  // namespace wenmoor
