#include "platform/rtl/form_parser.h"

#include <utility>

namespace wenmoor {

std::string JoinPath(const std::vector<std::string>& path) {
  std::string out;
  for (const auto& part : path) {
    if (!out.empty()) out.push_back('.');
    out += part;
  }
  return out;
}

bool IsObjectHeaderWord(const FormToken& token) {
  return token.IsWord("object") || token.IsWord("inherited") || token.IsWord("inline");
}

FormParser::FormParser(std::string_view text, std::string file_name) : lexer_(text, std::move(file_name)) {}

FormObject ParseFormText(std::string_view text, const std::string& file_name) {
  return FormParser(text, file_name).ParseRoot();
}

void FormParser::FailHere(std::string_view expected) const {
  lexer_.Fail(tok_.pos, Format("Expected %s but found %s", expected, DescribeToken(tok_)));
}

void FormParser::CheckDepth(int depth) const {
  if (depth > kMaxDepth) lexer_.Fail(tok_.pos, Format("Nesting deeper than %d levels", kMaxDepth));
}

void FormParser::Expect(char c, std::string_view what) {
  if (!tok_.IsSymbol(c)) FailHere(what);
  Advance();
}

std::string FormParser::ExpectIdent(std::string_view what) {
  if (tok_.kind != FormTokenKind::Ident) FailHere(what);
  std::string name = std::move(tok_.text);
  Advance();
  return name;
}

FormObject FormParser::ParseRoot() {
  Advance();
  if (!IsObjectHeaderWord(tok_)) FailHere("'object'");
  FormObject root = ParseObject(1);
  if (tok_.kind != FormTokenKind::EndOfText)
    lexer_.Fail(tok_.pos, Format("Unexpected %s after the end of the root object", DescribeToken(tok_)));
  return root;
}

FormObject FormParser::ParseObject(int depth) {
  CheckDepth(depth);
  FormObject obj;
  obj.pos = tok_.pos;
  if (tok_.IsWord("inherited")) obj.header = FormObject::Header::Inherited;
  else if (tok_.IsWord("inline")) obj.header = FormObject::Header::Inline;
  Advance();

  // "Name: TClass" or just "TClass".
  FormPos first_pos = tok_.pos;
  std::string first = ExpectIdent("a component name or class name");
  if (tok_.IsSymbol(':')) {
    Advance();
    obj.name = std::move(first);
    obj.name_pos = first_pos;
    obj.class_pos = tok_.pos;
    obj.class_name = ExpectIdent("a class name");
  } else {
    obj.class_name = std::move(first);
    obj.class_pos = first_pos;
    obj.name_pos = first_pos;
  }

  for (;;) {
    if (tok_.kind == FormTokenKind::EndOfText) {
      lexer_.Fail(tok_.pos, Format("Missing 'end' of object %s opened at line %d",
                                   obj.name.empty() ? obj.class_name : obj.name, obj.pos.line));
    }
    if (tok_.IsWord("end")) {
      Advance();
      return obj;
    }
    if (IsObjectHeaderWord(tok_)) {
      obj.children.push_back(ParseObject(depth + 1));
    } else if (tok_.kind == FormTokenKind::Ident) {
      if (!obj.children.empty())
        lexer_.Fail(tok_.pos, Format("Property %s follows child objects; properties come first", tok_.text));
      obj.properties.push_back(ParseProperty(depth));
    } else {
      FailHere("a property, an object or 'end'");
    }
  }
}

FormProperty FormParser::ParseProperty(int depth) {
  FormProperty prop;
  prop.pos = tok_.pos;
  prop.path_pos.push_back(tok_.pos);
  prop.path.push_back(ExpectIdent("a property name"));
  while (tok_.IsSymbol('.')) {
    Advance();
    prop.path_pos.push_back(tok_.pos);
    prop.path.push_back(ExpectIdent("a property name after '.'"));
  }
  Expect('=', "'='");
  prop.value = ParseValue(depth + 1);
  return prop;
}

FormValue FormParser::ParseValue(int depth) {
  CheckDepth(depth);
  FormValue v;
  v.pos = tok_.pos;
  switch (tok_.kind) {
    case FormTokenKind::String:
      v.kind = FormValue::Kind::String;
      v.text = std::move(tok_.text);
      Advance();
      // 'a' + 'b': long strings are split over lines this way.
      while (tok_.IsSymbol('+')) {
        Advance();
        if (tok_.kind != FormTokenKind::String) FailHere("a string after '+'");
        v.text += tok_.text;
        Advance();
      }
      return v;
    case FormTokenKind::Integer:
      v.kind = FormValue::Kind::Integer;
      v.integer = tok_.integer;
      v.hex = tok_.hex;
      Advance();
      return v;
    case FormTokenKind::Float:
      v.kind = FormValue::Kind::Float;
      v.real = tok_.real;
      Advance();
      return v;
    case FormTokenKind::Ident:
      // "A =" followed by the object's end is a missing value, not a name.
      if (tok_.IsWord("end")) FailHere("a value");
      v.kind = FormValue::Kind::Ident;
      v.text = std::move(tok_.text);
      Advance();
      while (tok_.IsSymbol('.')) {
        Advance();
        v.text += '.';
        v.text += ExpectIdent("a name after '.'");
      }
      return v;
    case FormTokenKind::Binary:
      v.kind = FormValue::Kind::Binary;
      v.bytes = std::move(tok_.bytes);
      Advance();
      return v;
    case FormTokenKind::Symbol:
    case FormTokenKind::EndOfText:
      break;
  }
  if (tok_.IsSymbol('[')) {
    v.kind = FormValue::Kind::Set;
    Advance();
    if (tok_.IsSymbol(']')) {
      Advance();
      return v;
    }
    for (;;) {
      FormValue item;
      item.kind = FormValue::Kind::Ident;
      item.pos = tok_.pos;
      item.text = ExpectIdent("a set element");
      v.items.push_back(std::move(item));
      if (tok_.IsSymbol(']')) break;
      Expect(',', "',' or ']'");
    }
    Advance();
    return v;
  }
  if (tok_.IsSymbol('(')) {
    v.kind = FormValue::Kind::List;
    Advance();
    while (!tok_.IsSymbol(')')) {
      if (tok_.kind == FormTokenKind::EndOfText)
        lexer_.Fail(tok_.pos, Format("Missing ')' of the list opened at line %d", v.pos.line));
      v.items.push_back(ParseValue(depth + 1));
    }
    Advance();
    return v;
  }
  if (tok_.IsSymbol('<')) {
    ParseCollection(v, depth);
    return v;
  }
  FailHere("a value");
}

void FormParser::ParseCollection(FormValue& v, int depth) {
  v.kind = FormValue::Kind::Collection;
  Advance();  // '<'
  while (!tok_.IsSymbol('>')) {
    if (tok_.kind == FormTokenKind::EndOfText)
      lexer_.Fail(tok_.pos, Format("Missing '>' of the collection opened at line %d", v.pos.line));
    if (!tok_.IsWord("item")) FailHere("'item' or '>'");
    FormValue::Item item;
    item.pos = tok_.pos;
    Advance();
    for (;;) {
      if (tok_.kind == FormTokenKind::EndOfText)
        lexer_.Fail(tok_.pos, Format("Missing 'end' of the item opened at line %d", item.pos.line));
      if (tok_.IsWord("end")) break;
      if (tok_.kind != FormTokenKind::Ident) FailHere("a property or 'end'");
      item.properties.push_back(ParseProperty(depth + 1));
    }
    Advance();  // 'end'
    v.collection.push_back(std::move(item));
  }
  Advance();  // '>'
}

}  // namespace wenmoor
