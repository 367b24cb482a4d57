#include "platform/rtl/form_writer.h"

#include <charconv>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/rtl/collection.h"
#include "platform/rtl/form_parser.h"

namespace wenmoor {
namespace {

constexpr size_t kCharsPerStringLine = 64;
constexpr size_t kBytesPerBinaryLine = 32;
constexpr int kMaxSubObjectDepth = 16;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// 'text' with '' for a quote; control characters as #n outside the quotes.
std::string Quote(std::string_view s) {
  std::string out;
  bool open = false;
  for (char ch : s) {
    auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 || b == 0x7F) {
      if (open) out.push_back('\'');
      open = false;
      out += "#" + std::to_string(b);
    } else {
      if (!open) out.push_back('\'');
      open = true;
      out.push_back(ch);
      if (ch == '\'') out.push_back('\'');
    }
  }
  if (open) out.push_back('\'');
  return out.empty() ? "''" : out;
}

// Pieces of at most kCharsPerStringLine characters, never splitting a
// UTF-8 sequence.
std::vector<std::string_view> SplitString(std::string_view s) {
  std::vector<std::string_view> pieces;
  size_t start = 0, chars = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (IsContinuationByte(s[i])) continue;
    if (chars == kCharsPerStringLine) {
      pieces.push_back(s.substr(start, i - start));
      start = i;
      chars = 0;
    }
    ++chars;
  }
  pieces.push_back(s.substr(start));
  return pieces;
}

std::string FloatText(double v, const std::string& name) {
  if (!std::isfinite(v)) throw EWriteError("Property %s has no finite value", name);
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, r.ptr);
  // Keep it a float to the eye and to the lexer: 2 is written 2.0.
  if (s.find_first_of(".eE") == std::string::npos) s += ".0";
  return s;
}

class FormWriter {
 public:
  explicit FormWriter(const TComponent& root) : root_(root) {}

  std::string Run() {
    std::unordered_set<const TComponent*> owned;
    for (int i = 0; i < root_.ComponentCount(); ++i) owned.insert(root_.Components(i));
    std::vector<const TComponent*> top;
    for (int i = 0; i < root_.ComponentCount(); ++i) {
      const TComponent* c = root_.Components(i);
      const TComponent* parent = c->GetParentComponent();
      if (parent && parent != &root_ && parent != c && owned.count(parent)) children_[parent].push_back(c);
      else top.push_back(c);
    }
    Line(0, Header(root_));
    WriteProperties(root_, "", 2, 0);
    for (const TComponent* c : top) WriteObject(*c, 1);
    // Components whose parents form a cycle have no way down from the top.
    for (int i = 0; i < root_.ComponentCount(); ++i)
      if (!written_.count(root_.Components(i))) WriteObject(*root_.Components(i), 1);
    Line(0, "end");
    return std::move(out_);
  }

 private:
  static std::string Header(const TComponent& c) {
    return c.Name().empty() ? "object " + c.ClassName() : "object " + c.Name() + ": " + c.ClassName();
  }

  void Line(int indent, std::string_view text) {
    out_.append(static_cast<size_t>(indent), ' ');
    out_ += text;
    out_.push_back('\n');
  }
  // Puts `closer` at the end of the last line written: "'b')", "...}", "end>".
  void CloseLast(char closer) {
    out_.pop_back();
    out_.push_back(closer);
    out_.push_back('\n');
  }

  void WriteObject(const TComponent& c, int level) {
    if (level > FormParser::kMaxDepth)
      throw EWriteError("Components nest deeper than %d levels under %s", FormParser::kMaxDepth, c.Name());
    written_.insert(&c);
    Line(2 * level, Header(c));
    WriteProperties(c, "", 2 * level + 2, 0);
    if (auto it = children_.find(&c); it != children_.end())
      for (const TComponent* child : it->second)
        if (!written_.count(child)) WriteObject(*child, level + 1);
    Line(2 * level, "end");
  }

  void WriteProperties(const TPersistent& obj, const std::string& prefix, int indent, int depth) {
    if (depth > kMaxSubObjectDepth) throw EWriteError("Sub-objects of %s nest too deeply", prefix);
    for (const TPropInfo* p : obj.ClassType().Properties()) {
      if (p->read_only || !p->IsStored(obj)) continue;
      WriteProperty(obj, *p, prefix + p->name, indent, depth);
    }
  }

  // `lead` is "Name = ", or empty for an item of a list.
  void WriteString(int indent, const std::string& lead, std::string_view s) {
    std::vector<std::string_view> pieces = SplitString(s);
    if (pieces.size() == 1) return Line(indent, lead + Quote(s));
    if (!lead.empty()) Line(indent, lead.substr(0, lead.size() - 1));  // "Name =" without the space
    int at = lead.empty() ? indent : indent + 2;
    for (size_t i = 0; i < pieces.size(); ++i)
      Line(at, Quote(pieces[i]) + (i + 1 < pieces.size() ? " +" : ""));
  }

  void WriteProperty(const TPersistent& obj, const TPropInfo& p, const std::string& name, int indent, int depth) {
    const std::string lead = name + " = ";
    switch (p.kind) {
      case TTypeKind::Integer: {
        int64_t v = p.get_ordinal(obj);
        const char* ident = p.int_idents ? p.int_idents->NameOf(v) : nullptr;
        return Line(indent, lead + (ident ? std::string(ident) : std::to_string(v)));
      }
      case TTypeKind::Boolean:
        return Line(indent, lead + (p.get_ordinal(obj) ? "True" : "False"));
      case TTypeKind::Enumeration:
        return Line(indent, lead + EnumName(p, name, p.get_ordinal(obj)));
      case TTypeKind::Set: {
        auto bits = static_cast<uint64_t>(p.get_ordinal(obj));
        std::string items;
        for (int b = 0; b < 64; ++b) {
          if (!(bits >> b & 1)) continue;
          if (!items.empty()) items += ", ";
          items += EnumName(p, name, b);
        }
        return Line(indent, lead + "[" + items + "]");
      }
      case TTypeKind::Float:
        return Line(indent, lead + FloatText(p.get_float(obj), name));
      case TTypeKind::String:
        return WriteString(indent, lead, p.get_string(obj));
      case TTypeKind::Component:
        return Line(indent, lead + ReferenceName(dynamic_cast<const TComponent*>(p.get_object(obj)), name));
      case TTypeKind::Method:
        return Line(indent, lead + p.get_method_name(obj));
      case TTypeKind::Lines: {
        Line(indent, lead + "(");
        for (const std::string& line : p.get_lines(obj)) WriteString(indent + 2, "", line);
        return CloseLast(')');
      }
      case TTypeKind::Binary: {
        static constexpr char kHex[] = "0123456789ABCDEF";
        Line(indent, lead + "{");
        std::vector<uint8_t> bytes = p.get_binary(obj);
        for (size_t at = 0; at < bytes.size(); at += kBytesPerBinaryLine) {
          std::string hex;
          for (size_t i = at; i < bytes.size() && i < at + kBytesPerBinaryLine; ++i) {
            hex.push_back(kHex[bytes[i] >> 4]);
            hex.push_back(kHex[bytes[i] & 15]);
          }
          Line(indent + 2, hex);
        }
        return CloseLast('}');
      }
      case TTypeKind::Class: {
        const TPersistent* sub = p.get_object(obj);
        auto* coll = dynamic_cast<const TCollection*>(sub);
        if (!coll) return WriteProperties(*sub, name + ".", indent, depth + 1);
        if (coll->Count() == 0) return;
        Line(indent, lead + "<");
        for (int i = 0; i < coll->Count(); ++i) {
          Line(indent + 2, "item");
          WriteProperties(*coll->Items(i), "", indent + 4, depth + 1);
          Line(indent + 2, "end");
        }
        return CloseLast('>');
      }
    }
  }

  static std::string EnumName(const TPropInfo& p, const std::string& name, int64_t ordinal) {
    const std::string& s = ordinal >= 0 && ordinal < p.enum_info->Count() ? p.enum_info->Name(static_cast<int>(ordinal))
                                                                          : std::string();
    if (s.empty()) throw EWriteError("Value %d of %s is not a value of %s", ordinal, name, p.enum_info->TypeName());
    return s;
  }

  // The name by which the reader finds `c` from the root: "Button1", or
  // "Frame1.Button1" for a component that a component of the root owns.
  std::string ReferenceName(const TComponent* c, const std::string& name) const {
    if (c == &root_) {
      if (root_.Name().empty()) throw EWriteError("Property %s refers to the root, which has no name", name);
      return root_.Name();
    }
    std::string path;
    for (const TComponent* at = c; at != &root_; at = at->Owner()) {
      if (!at) throw EWriteError("Property %s refers to %s, which is outside %s", name, c->Name(), root_.Name());
      if (at->Name().empty())
        throw EWriteError("Property %s refers to a %s without a name", name, at->ClassName());
      path = path.empty() ? at->Name() : at->Name() + "." + path;
    }
    return path;
  }

  const TComponent& root_;
  std::unordered_map<const TComponent*, std::vector<const TComponent*>> children_;
  std::unordered_set<const TComponent*> written_;
  std::string out_;
};

}  // namespace

std::string WriteComponentToText(const TComponent& root) { return FormWriter(root).Run(); }

}  // namespace wenmoor
