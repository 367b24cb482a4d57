// Saving a component tree as form text (the format of form_parser.h), laid
// out the way the component library lays out its forms:
//
//   object MainForm: TForm
//     Caption = 'Setup'
//     Font.Name = 'Arial'              owned sub-objects as dotted paths
//     Lines.Strings = (                string lists
//       'first'
//       'second')
//     Picture.Data = {                 binary data, 32 bytes per line
//       0754426974...}
//     Items = <                        collections
//       item
//         Caption = 'x'
//       end>
//     object Install1: TInstall        the root's components in creation
//       InstallTypes = [itFull, itDefault]   order, nested under the parent
//     end                              component the loader recorded
//   end
//
// Two spaces indent each level. Properties come in declaration order, and
// only those that are stored (TPropInfo::IsStored) and writable. Strings are
// quoted with '' for a quote and #n for control characters; strings of more
// than 64 characters are split into '+'-joined lines. Component references
// are written by name ("Other.Name" for a component that a component of the
// root owns), event handlers by the handler's name.
//
// Reading the result back and writing again gives the same text.
#pragma once

#include <string>

#include "platform/rtl/component.h"

namespace wenmoor {

// The form text of `root` and the components it owns. Raises EWriteError
// for what the text cannot express: a reference to a component without a
// name or outside the root, an enumeration or set value outside its type,
// a float that is not finite.
std::string WriteComponentToText(const TComponent& root);

}  // namespace wenmoor
