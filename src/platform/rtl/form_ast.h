// The parsed form text: objects with their properties and children, before
// any component exists. The parser builds it; the reader turns it into
// components.
//
//   object MainForm: TForm            header: object | inherited | inline,
//     Caption = 'Setup'               then "Name: Class", or the class alone
//     Font.Name = 'Arial'             properties, possibly dotted paths
//     object Install1: TInstall       children after the properties
//       InstallTypes = [itFull]
//     end
//   end
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/form_error.h"

namespace wenmoor {

struct FormProperty;

// One value; `kind` says which of the fields below hold it.
struct FormValue {
  enum class Kind : uint8_t {
    Integer,     // integer (hex: written with '$')
    Float,       // real
    String,      // text: the decoded string, '+' pieces joined
    Ident,       // text: an identifier, possibly dotted (Form1.Button1)
    Set,         // items: identifiers
    List,        // items: any values
    Collection,  // collection: items of properties
    Binary,      // bytes
  };
  struct Item {
    FormPos pos;
    std::vector<FormProperty> properties;
  };

  Kind kind = Kind::Integer;
  FormPos pos;
  int64_t integer = 0;
  bool hex = false;
  double real = 0;
  std::string text;
  std::vector<FormValue> items;
  std::vector<Item> collection;
  std::vector<uint8_t> bytes;
};

struct FormProperty {
  FormPos pos;
  std::vector<std::string> path;  // "Font.Name" is {"Font", "Name"}
  std::vector<FormPos> path_pos;  // where each part of the path stands
  FormValue value;
};

struct FormObject {
  enum class Header : uint8_t { Object, Inherited, Inline };
  Header header = Header::Object;
  FormPos pos;              // of the header word
  std::string name;         // empty for "object TClass"
  FormPos name_pos;
  std::string class_name;
  FormPos class_pos;
  std::vector<FormProperty> properties;
  std::vector<FormObject> children;
};

// "Font.Name" from a property's path.
std::string JoinPath(const std::vector<std::string>& path);

}  // namespace wenmoor
