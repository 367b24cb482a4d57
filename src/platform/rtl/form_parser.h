// Parser of the form text format into FormObject trees (see form_ast.h).
//
//   root       = object <end of text>
//   object     = ("object" | "inherited" | "inline") [Name ":"] Class
//                { property } { object } "end"
//   property   = Ident { "." Ident } "=" value
//   value      = string { "+" string } | integer | float | Ident { "." Ident }
//              | "[" [ Ident { "," Ident } ] "]"          a set
//              | "(" { value } ")"                         a list
//              | "<" { "item" { property } "end" } ">"     a collection
//              | binary
//
// Words (object, end, item, ...) are matched without regard to case. The
// properties of an object come before its children, as the writer puts
// them. Objects, lists and collections nest at most kMaxDepth levels, so
// that no text can exhaust the stack.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/form_ast.h"
#include "platform/rtl/form_lexer.h"

namespace wenmoor {

class FormParser {
 public:
  static constexpr int kMaxDepth = 256;

  // `text` must outlive the parser; `file_name` names it in errors.
  FormParser(std::string_view text, std::string file_name);

  // Parses the whole text: one object and nothing after it. Raises
  // EFormError with the place and reason of the first fault.
  FormObject ParseRoot();

 private:
  FormObject ParseObject(int depth);
  FormProperty ParseProperty(int depth);
  FormValue ParseValue(int depth);
  void ParseCollection(FormValue& value, int depth);
  void CheckDepth(int depth) const;
  // Consumes the symbol `c` or fails with "Expected <what>".
  void Expect(char c, std::string_view what);
  std::string ExpectIdent(std::string_view what);
  void Advance() { tok_ = lexer_.Next(); }
  [[noreturn]] void FailHere(std::string_view expected) const;

  FormLexer lexer_;
  FormToken tok_;
};

// Parses `text` (named `file_name` in errors) into its root object.
FormObject ParseFormText(std::string_view text, const std::string& file_name);

// Whether the identifier starts an object: object, inherited or inline.
bool IsObjectHeaderWord(const FormToken& token);

}  // namespace wenmoor
